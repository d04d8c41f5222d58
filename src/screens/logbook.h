// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// BEST FLIGHTS, mission control's logbook of the player's bests: a table of the missions by their
// levels with each best's figure and date. Cell `index`, the number a chosen best's watchRequest
// holds, is mission index / kLevelSlots + 1 at level index % kLevelSlots; app/watch.h plays it.

#include <cstdint>

struct GameState;
struct LogbookCell;

// The logbook's frame over mission control: its input (arrows, Space, Backspace, the mouse), then
// its picture. The first frame it is up it reads the best files.
void runLogbook(GameState& game);

// The cell of `mission`'s best at `level` as its file says now: none kept, damaged, flown under
// other rules, or kept with its figure and date.
LogbookCell readLogbookCell(const GameState& game, int32_t mission, int32_t level);

// A best being watched: the thin timeline of how far it has run, along the bottom of the frame.
void drawWatchTimeline(const GameState& game);
