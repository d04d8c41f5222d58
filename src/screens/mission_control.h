// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Mission control: the last mission's results credited once, the five upgrades, save and load,
// and the way on to the mission map.

#include <cstdint>

#include "game/upgrades.h"

struct GameState;

// One frame of the screen, its input and its drawing in the order that shows the frame's picture:
// the results credited once and drawn as the frame began, then save and load, then the prices
// and buy icons as they stood before this frame's purchase, the purchases and the way on to the
// map, and the rest as the presses left it. The keys act after the mouse, while the screen is up.
void runMissionControl(GameState& game);
// The screen's picture alone, as the logbook over it shows it.
void drawMissionControl(const GameState& game);

// Corner marks around the 120x50 save or load button whose top edge is at y.
void drawButtonFrame(const GameState& game, int32_t y);

// What the next step of upgrade row `row` (an Upgrade) costs after `steps` bought.
int32_t upgradePrice(int row, int32_t steps);
