// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The About page, over the title picture or the pause panel: the version, the licences, and
// credits for every library the game links and every outside work its content is made from, each
// with its licence. Its one control, Back, answers a click, Space (pad A) or Backspace (pad B);
// nothing else on it does anything, and the press or click that closes it reaches nothing else.

struct GameState;

// The version and licence text of `skarnwing --version`, lines ending in '\n'.
const char* versionNotice();

void openAbout(GameState& game);
// The page's input, once per frame while it is up.
void updateAbout(GameState& game);
void drawAbout(const GameState& game);
