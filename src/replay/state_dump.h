// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One line of JSON with the game record's state, for replays and reviewers.

#include <cstdint>
#include <string>

struct GameState;

// {"frame":F, "<field>":value, ...}: every field of the record but the machine's timings and the
// stopwatches' counter readings, by the one list in state_dump.cpp; numbers as numbers, byte
// flags 0 or 1, outcome a string, the tables as arrays of objects (the large ones as counts).
std::string dumpState(const GameState& game, int64_t frame);
