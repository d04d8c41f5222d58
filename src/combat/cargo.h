// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The cargo formation of mission 2: very large aircraft flying level and east from section -2
// toward the base, which they destroy once one passes x 20000 in section 0 ("Bombed"). Gun
// rounds, bombs and missiles wear their hit points down; at 0 an aircraft noses over, falls and
// counts as destroyed when it reaches the ground.
// Flying into a live one is a crash. Each aircraft has an engine drone that swells as the
// player closes in.
// The distances the cargo step leaves serve the next frame's lock candidate search.

#include <cstdint>

#include "combat/targets.h"
#include "game/game_state.h"

struct GameState;
struct CargoAircraft;

// The four boxes of an aircraft at the camera's current position: the fuselage (A), the nose
// (B), the tail (C) and the fin (D). A point on a box's bounds is outside it (strictlyWithinRect).
struct CargoBoxes {
    Rect a, b, c, d;
};
CargoBoxes cargoBoxes(const GameState& game, const CargoAircraft& cargo);

// The formation for cargoCount aircraft (clamped to the table), aircraft i at x 3000 - 2000 i.
void setUpCargoAircraft(GameState& game);

// Flight, the crash's tilt and fall, section changes and the base.
void moveCargo(GameState& game);
// Every aircraft in the player's section where this frame's flight takes it.
void drawCargo(const GameState& game);

// Collisions with the player, hits by projectiles (strikeInAir), distances and engine drones.
void updateCargo(GameState& game);
