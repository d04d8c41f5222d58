// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pause of a sortie: P (the pad's Start) or, when the player chose it, the window losing
// focus. While paused nothing of the sortie runs: its world, its frame counters, the mission
// clock, the show clock and the frame-rate window all stand still and its sounds hold where
// they are; the music plays on. A dimmed picture of the last frame carries a panel: Resume,
// Settings, Controls, About, Quit to title, Quit game. P again resumes at once, as if no time had passed.

struct GameState;

// The pause's input, once per frame after the navigation keys are read and before the canvas
// is wiped (a pause that begins keeps the last frame's picture).
void updatePause(GameState& game);

// The held picture, dimmed, with the panel (or the settings or About page opened from it).
void drawPause(const GameState& game);
