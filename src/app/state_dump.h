#pragma once
// One line of JSON with the game record's scalar state, for replays and reviewers.

#include <cstdint>
#include <string>

struct GameState;

// {"frame":F, "<field>":value, ...}: numbers as numbers, byte flags 0 or 1, outcome a string.
std::string dumpState(const GameState& game, int64_t frame);
