// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The smoke trail: S cycles off and three styles; every third frame with any airspeed a puff is
// left behind the tail in a ring of 50, and each puff drifts against the aircraft's velocity,
// turns, grows and thins out on the screen. Decoration: nothing reads the puffs.

#include <cstdint>

struct GameState;
struct SmokePuff;

// One frame: the S key, the emission, then every puff moved and faded.
void updateSmoke(GameState& game);
void drawSmoke(const GameState& game);

// One frame of a puff in `mode` (1 to 3): moved against the aircraft's velocity, turned, thinned
// and grown, made inactive once grown to its style's size.
void stepSmokePuff(SmokePuff& puff, int32_t mode, double velX, double velY);

// The ring empty (newest slot -1) and the timer 0, for a new game.
void resetSmoke(GameState& game);
