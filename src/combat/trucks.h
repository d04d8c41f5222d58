// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The trucks: the mission-1 convoy driving east through section 1, and the trucks parked there
// in mission 2. A truck dies burning (gunfire) or thrown as a tumbling wreck (a bomb, a missile
// or a blast); a truck that drives past the section's far edge ends the sortie ("Escaped").

#include <cstdint>

#include "combat/targets.h"

struct GameState;
struct Truck;

// Fills the first truckCount trucks with the driving convoy: 80 hit points, 2.5 pixels a frame,
// truck i at x = 2000 - 1000 i.
void setUpDrivingConvoy(GameState& game);
// Fills the first truckCount trucks with mission 2's standing trucks: 100 hit points, truck i at
// x = 3000 + 3000 i.
void setUpParkedTrucks(GameState& game);

// The mission-1 convoy at a difficulty: 4, 8, 15 or 20 trucks, their hit points and speed.
void setUpMissionOneConvoy(GameState& game, int32_t difficulty);

// One frame of every truck: wrecks thrown and tumbling, driving, the gunfire kills, and the
// escape.
void updateTrucks(GameState& game);
// Burning trucks where they stand and, beyond section 0, intact ones where this frame's drive
// takes them (before an escape moves one).
void drawTrucks(const GameState& game);
// The wrecks where this frame left them.
void drawWrecks(const GameState& game);

// The one place a truck dies (a dead one stays as it is): all but a blast count toward the
// reward; a bomb puts out a fire and records the side it landed on (x) for the wreck's throw.
void killTruck(GameState& game, Truck& truck, Blow by, double x);

// The wreck's angle one frame after it lies on the ground: it settles toward about 2, 179 or
// 359 degrees.
double settleWreckAngle(double angle);
