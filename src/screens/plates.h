// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The house style for what the game draws itself (the pause panel, the settings, the controls
// page, the cues and the captions), as the pictures draw mission control and the briefing:
// navy plates with an amber rule, cream lettering, amber for what is lit and for values, and a
// binding shown as the key's cap or the pad button's picture.

#include <cstdint>

struct GameState;

// A navy plate with a navy-line edge; `ruled` adds the amber rule two pixels inside its top.
void drawPlate(const GameState& game, int32_t left, int32_t top, int32_t right, int32_t bottom, bool ruled);
// A heading in the large font, letterspaced by 4 pixels, centred on `centreX`, with a short
// amber rule under it.
void drawHeading(const GameState& game, const char* text, int32_t centreX, int32_t top);
// Width in pixels of drawHeading's text.
int32_t headingWidth(const GameState& game, const char* text);
// One line in the small font; returns its width in pixels.
int32_t drawLabel(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour);
int32_t labelWidth(const GameState& game, const char* text);

// A key's cap: its name in amber on a navy-mid cap with a cream edge, 30 pixels high with its
// top at y. Returns the width drawn.
int32_t drawKeyCap(const GameState& game, const char* name, int32_t x, int32_t y);
int32_t keyCapWidth(const GameState& game, const char* name);
// A pad button's picture (0..14), 44x32 with its top-left at (x, y); "none" as a cap for
// kPadNone. Returns the width drawn.
int32_t drawPadButton(const GameState& game, int32_t button, int32_t x, int32_t y);
// How an action is reached now: the pad button's picture when `pad`, else the key's cap
// ("none" when unbound). Returns the width drawn.
int32_t drawBinding(const GameState& game, int32_t action, int32_t x, int32_t y, bool pad);
int32_t bindingWidth(const GameState& game, int32_t action, bool pad);
