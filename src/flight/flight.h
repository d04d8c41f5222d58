// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How the player's aircraft flies. The nose angle picks one of twenty pitch bands; each
// band gives a target velocity built from small constants and the throttle's airspeed and
// lift, and every flight-physics step moves each velocity component toward its target by
// exactly one pixel per frame. Everything counts frames and pixels; nothing is scaled by time.
// A velocity set by a physics step first moves the aircraft on the next frame.

#include <cstdint>

struct GameState;
struct PixelImage;
struct SpriteRecord;

constexpr int kPitchBandCount = 20;
// The upgradeable flight values a new game sets (mission control's upgrades raise them).
constexpr double kNewGamePitchUpRate = 1.0;   // degrees per frame
constexpr double kNewGamePitchDownRate = 0.5; // degrees per frame
constexpr int32_t kNewGameMaxSpeed = 8;
constexpr int32_t kNewGameBoostSpeed = 12;
constexpr double kMinTurningSpeed = 3.9;      // airspeed below which the pitch keys do nothing
constexpr int32_t kPhysicsPeriodGearUp = 3;   // frames between physics steps, gear retracted
constexpr int32_t kPhysicsPeriodGearDown = 4; // frames between physics steps, gear extended
constexpr double kStallLiftPenalty = 6.0;     // lift lost on entering the ceiling stall

// How a band's vertical target is approached.
enum class ClimbRule : uint8_t {
    Plain,  // one step toward the target
    Ground, // on the runway velY is pulled toward 0 instead
    Level,  // gear down, nose level: the aircraft may hold height or sink, never climb
};

// What one pitch band asks of the velocity.
struct VelocityTarget {
    double x = 0.0;                    // pixels per frame
    double y = 0.0;                    // pixels per frame, positive sinks
    ClimbRule rule = ClimbRule::Plain; // how velY approaches y
};

// The band (0..19) that holds a nose angle in degrees. Band 0 holds 357..360 inclusive and
// 0 up to 4; band k > 0 holds its lower bound and runs up to the next one.
int pitchBand(double pitch);

// One step of the plain rule: exactly 1 toward the target, nothing when equal. A target that is
// not a whole number of steps away is overshot, and the value then alternates around it.
double stepToward(double value, double target);

// One step of the ground rule: on the runway a non-zero velY is pulled toward 0; otherwise
// (airborne, or resting with velY 0) the plain rule applies.
double stepGround(double velY, double target, bool onGround);

// One step of the level rule: on the runway velY is pulled toward 0; in the air a sinking velY
// follows the target, a zero velY starts sinking only for a positive target, and a climbing velY
// is always slowed by 1.
double stepLevel(double velY, double target, bool onGround);

// The targets of a band with the gear retracted; every y target uses the plain rule.
VelocityTarget gearUpTarget(int band, double airspeed, double lift);

// The targets of a band with the gear extended, with the rule for velY.
VelocityTarget gearDownTarget(int band, double airspeed, double lift);

// Copies the aircraft's screen position, angle and scale into an overlay record; `upright` is
// the mirroring to draw it with.
void placeOverlay(const GameState& game, SpriteRecord& sprite, uint8_t upright);

// The picture a record shows now, or null when its frame set is missing, empty or not loaded.
const PixelImage* currentImage(const GameState& game, const SpriteRecord& sprite);

// Pitch keys (Left, Right) and the three-frame roll-over (Up, Down).
void updatePitchAndRoll(GameState& game);
// The roll-over's image this frame's step shows, at the nose angle the pitch keys give.
void drawRollOver(const GameState& game);

// Counts one frame toward the next flight-physics step (the dispatcher calls it right after the
// world step; the gear step runs the physics when it reaches 0).
void countPhysicsTimer(GameState& game);

// One flight-physics step from the current nose angle, with the gear-up or gear-down table, then
// reloads physicsTimer. The gear step calls it when physicsTimer is 0.
void runFlightPhysics(GameState& game);

// The sortie ends in the ground when the aircraft's y reaches 19842 (y grows downward).
bool isBelowCrashLine(double worldY);

// Adds the velocity to the world position (unless frozen), sets the screen position from this
// frame's camera, and applies the ceiling stall.
void moveAircraft(GameState& game);
// "STALL" while the stall lasts near the ceiling.
void drawStallNotice(const GameState& game);

// Throttle keys (A, Z) with the afterburner, the engine loops, and the exhaust or flame's
// animation.
void updateThrottle(GameState& game);
// The exhaust or flame the throttle shows.
void drawExhaust(const GameState& game);

// Draws the aircraft's body picture at its screen position.
void drawAircraftBody(const GameState& game);

// The aircraft at a sortie start: parked on the runway facing east, engine idle and silent,
// tanks full, every roll and key latch clear.
void resetAircraft(GameState& game);

// The upgradeable flight values of a new game: turn rates and the throttle's speed steps.
void resetFlightConstants(GameState& game);
