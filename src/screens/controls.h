// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The controls page: every binding in force, keys and pad, grouped as flight, weapons, between
// sorties and the game's own keys, each pad button as its picture. It opens over the title, the
// pause panel or the settings and goes back to what it covers with Backspace (pad B), Space on
// Back, or a click on Back.

struct GameState;

void openControls(GameState& game);
// The page's input, once per frame while it is up, after the navigation keys are read.
void updateControls(GameState& game);
// The page over whatever the frame has drawn beneath it.
void drawControls(const GameState& game);
