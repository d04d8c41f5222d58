// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keyboard and pad focus on the screens between sorties, the pause panel and the settings: the
// arrow keys (the d-pad and stick send them) move a ring to the nearest control in their
// direction, Space (pad A) activates the control under the ring through the code a click on it
// runs, Backspace (pad B) goes back. The ring shows from the first key or pad press on the title
// (or arrow key anywhere) on every screen that keeps a focus, until a click hides it; a game
// played by mouse never sees it. Presses are edge-triggered: a key held acts once.

#include <cstdint>

#include "game/game_state.h"

// The go-on arrow at the bottom right of mission control (to the map) and of the briefing (TAKE
// OFF): its picture's place and its hot area, bounds included as every control's are.
constexpr Rect kGoOnArrow{1220, 635, 1270, 685};

// This frame's navigation presses.
struct NavPress {
    int32_t dx = 0;        // -1 left, 1 right
    int32_t dy = 0;        // -1 up, 1 down
    bool activate = false; // Space
    bool back = false;     // Backspace
};

// Takes this frame's navigation keys: which went down since the last frame, and whether the
// ring hides (the mouse moved) or shows (an arrow key). The frame calls it once, first, on
// every frame, so a key held into a screen never counts as pressed there.
void readNavigation(GameState& game);
// The presses readNavigation found this frame.
NavPress navigation(const GameState& game);
// Spends this frame's presses: a Space that pressed one control presses no other.
void spendNavigation(GameState& game);

// The control nearest to `from` in the direction (dx, dy): among those whose centre lies that
// way, the one at the smallest distance, with sideways distance weighing double. `from` when
// there is none.
int32_t nearestControl(const Rect* controls, int32_t count, int32_t from, int32_t dx, int32_t dy);

// The control under the mouse, or -1.
int32_t controlUnderMouse(const GameState& game, const Rect* controls, int32_t count);

// Makes `screen`'s focus start at `initial` the first frame it is up. Returns the focus.
int32_t focusFor(GameState& game, int32_t screen, int32_t initial);

// The ring: a two-pixel amber frame three pixels outside the control. The screens between
// sorties draw it only while GameState::focusShown is set.
void drawFocusRing(const GameState& game, const Rect& control);

// Halves the brightness of everything already in the frame (the canvas and the textures beneath).
void dimFrame(const GameState& game);
// A filled box with a green edge.
void drawPanel(const GameState& game, int32_t left, int32_t top, int32_t right, int32_t bottom);

// The screens that keep a focus, for focusFor.
enum FocusScreen : int32_t {
    kFocusTitle = 1,
    kFocusControl,
    kFocusMap,
    kFocusBriefing,
    kFocusPause,
    kFocusSettings,
    kFocusLogbook
};
