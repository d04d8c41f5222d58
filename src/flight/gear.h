#pragma once
// The landing gear, the home runway and re-arming. The runway exists only in world section 0,
// 1560 pixels long from runwayX; the aircraft parks at baseX + 100 with the gear down.
//
// Order within a sortie frame (the dispatcher's): updateRunway right after the objective check
// (it reads the altitude the cockpit wrote on the previous frame), checkRunwayEndCollision with
// the base drawing, and updateGear after the pitch and roll-over controls and the shadow.

#include <cstdint>

struct GameState;

constexpr int32_t kGearTravelUp = 18;      // gearTravel when fully retracted; 0 is fully down
constexpr double kRunwayLength = 1560.0;   // pixels from runwayX
constexpr int32_t kReloadNoticeFrames = 160;

// Whether the attitude lets the wheels meet the runway: upright, nose level or raised, heading
// east (115 < pitch <= 180, not flipped) or west (0 <= pitch < 65, flipped).
bool canTouchDown(double pitch, uint8_t flipped);

// Whether the aircraft is inside the obstacle box just past the runway's east end; positions
// are screen pixels of this frame's camera.
bool insideRunwayEndBox(double aircraftScreenX, double aircraftScreenY, double runwayScreenX,
                        double groundScreenY);

// The G key, the gear animation, the flight-physics step when physicsTimer is 0, and the gear
// drawing.
void updateGear(GameState& game);

// The re-arm notice, touchdown, re-arming at a standstill, levelling on the runway, and leaving
// the runway state.
void updateRunway(GameState& game);

// The gear down and the aircraft resting on the home runway, re-armed, at a sortie start.
void resetGearAndRunway(GameState& game);

// Ends the sortie as "Crashed" when the aircraft flies into the obstacle past the runway's east
// end (section 0 only).
void checkRunwayEndCollision(GameState& game);
