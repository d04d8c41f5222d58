// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The settings screen, over the title picture or the pause panel: the volumes, full screen at
// start, vsync, the pause on focus loss, the radar palette, and a key and a pad button for
// every action. Worked by mouse (a click on a value), keyboard or pad (arrows to a value, Left
// and Right change a volume or a choice, Space to change or to bind, then the key or button).
// A key or button taken from another action gives that action this one's old one, and the
// screen says so. Leaving it (Back, Backspace) writes the settings file when anything changed.

struct GameState;

void openSettings(GameState& game);
// The screen's input, once per frame while it is up.
void updateSettings(GameState& game);
void drawSettings(const GameState& game);
