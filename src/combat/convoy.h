#pragma once
// The trucks: the mission-1 convoy driving east through section 1, and the trucks parked there
// in mission 2. A truck dies burning (gunfire) or thrown as a tumbling wreck (a bomb, a missile
// or a blast); when every truck of the convoy is dead the objective is met, and a truck that
// drives past the section's far edge ends the sortie ("Escaped").

#include <cstdint>

struct GameState;

// Fills the first truckCount trucks for the mission: the convoy (80 hit points, 2.5 pixels a
// frame, truck i at x = 2000 - 1000 i) or the parked trucks of mission 2.
void setUpConvoy(GameState& game);

// The mission-1 convoy at a difficulty: 4, 8, 15 or 20 trucks, their hit points and speed.
void setUpMissionOneConvoy(GameState& game, int32_t difficulty);

// One frame of every truck: wrecks thrown and tumbling, driving, the kill bookkeeping while the
// aircraft is beyond section 0, and the escape.
void updateTrucks(GameState& game);
// Burning trucks where they stand and, beyond section 0, intact ones where this frame's drive
// takes them (before an escape moves one).
void drawTrucks(const GameState& game);
// The wrecks where this frame left them.
void drawWrecks(const GameState& game);

// The wreck's angle one frame after it lies on the ground: it settles toward about 2, 179 or
// 359 degrees.
double settleWreckAngle(double angle);
