// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The landing gear, the home runway and re-arming. The runway exists only in world section 0,
// 1560 pixels long from runwayX; the aircraft parks at baseX + 100 with the gear down.

#include <cstdint>

struct GameState;

constexpr int32_t kGearTravelUp = 18;    // gearTravel when fully retracted; 0 is fully down
constexpr double kRunwayLength = 1560.0; // pixels from runwayX
constexpr int32_t kReloadNoticeFrames = 160;

// Whether the attitude lets the wheels meet the runway: upright, nose level or raised, heading
// east (115 < pitch <= 180, not flipped) or west (0 <= pitch < 65, flipped).
bool canTouchDown(double pitch, uint8_t flipped);

// Whether the aircraft is inside the obstacle box just past the runway's east end; positions
// are screen pixels of this frame's camera.
bool insideRunwayEndBox(double aircraftScreenX, double aircraftScreenY, double runwayScreenX, double groundScreenY);

// The G key, the gear animation and the flight-physics step when physicsTimer is 0.
void updateGear(GameState& game);
// The gear's picture, unless fully up or hidden after a roll-over.
void drawGear(const GameState& game);

// The re-arm notice's count, touchdown, re-arming at a standstill, levelling on the runway, and
// leaving the runway state. It reads the altitude of the previous frame.
void updateRunway(GameState& game);
// "Aircraft Reloaded." while its count lasts.
void drawReloadNotice(const GameState& game);

// The gear down and the aircraft resting on the home runway, re-armed, at a sortie start.
void resetGearAndRunway(GameState& game);

// Ends the sortie as "Crashed" when the aircraft flies into the obstacle past the runway's east
// end (section 0 only).
void checkRunwayEndCollision(GameState& game);
