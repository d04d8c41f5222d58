// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flight/flight.h"

#include "assets/game_assets.h"
#include "assets/images.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

// Volumes of the engine loops, hundredths of a decibel.
constexpr int32_t kCruiseVolume = -800;
constexpr int32_t kLowEngineVolume = -1000;
constexpr int32_t kAfterburnerVolume = -1200;

constexpr double kThrottleStep = 0.1;  // airspeed and lift per frame of A or Z
constexpr double kAirborneFloor = 4.0; // in the air with the gear down Z stops here
constexpr int32_t kStageBoostOut = 2;  // throttleStage after the afterburner went out
constexpr int32_t kStageBoost = 3;     // throttleStage while the afterburner is lit
constexpr int32_t kLastRollImage = 2;

// Ceiling stall, on h = worldY + 95: entered above y -145, left below y -85.
constexpr double kStallHeightOffset = 95.0;
constexpr double kStallEntry = -50.0;   // stall when h < -50
constexpr double kStallRecovery = 10.0; // recover when h > 10; "STALL" shows while h < 10

// One row of a physics table: x = xBase + xPerSpeed * s, y = yBase + yPerLift * L.
struct PitchBandRow {
    double lowerBound; // degrees; the band runs up to the next row's bound
    double xBase;
    double xPerSpeed;
    double yBase;
    double yPerLift;
    ClimbRule rule;
};

constexpr ClimbRule P = ClimbRule::Plain;
constexpr ClimbRule G = ClimbRule::Ground;
constexpr ClimbRule V = ClimbRule::Level;

// Gear retracted. Row 0 is 357..360 and 0..4.
constexpr PitchBandRow kGearUpTable[kPitchBandCount] = {
    {357, -5, -1, 0, 0, P},  // -5 - s, 0
    {4, -4, -1, 2, -1, P},   // -4 - s, 2 - L
    {36, -3, -1, 0, -1, P},  // -3 - s, -L
    {54, -2, -1, -2, -1, P}, // -2 - s, -2 - L
    {72, -1, -1, -4, -1, P}, // -1 - s, -4 - L
    {87, 0, 0, -5, -1, P},   // 0, -5 - L
    {94, 1, 1, -4, -1, P},   // 1 + s, -4 - L
    {126, 2, 1, -2, -1, P},  // 2 + s, -2 - L
    {144, 3, 1, 0, -1, P},   // 3 + s, -L
    {162, 4, 1, 2, -1, P},   // 4 + s, 2 - L
    {177, 5, 1, 0, 0, P},    // 5 + s, 0
    {184, 4, 1, -2, 1, P},   // 4 + s, -2 + L
    {216, 2, 1, 0, 1, P},    // 2 + s, L
    {234, 0, 1, 3, 1, P},    // s, 3 + L
    {252, -2, 1, 4, 1, P},   // -2 + s, 4 + L
    {267, 0, 0, 5, 1, P},    // 0, 5 + L
    {274, 2, -1, 4, 1, P},   // 2 - s, 4 + L
    {306, 0, -1, 3, 1, P},   // -s, 3 + L
    {324, -2, -1, 0, 1, P},  // -2 - s, L
    {342, -4, -1, -2, 1, P}, // -4 - s, -2 + L
};

// Gear extended.
constexpr PitchBandRow kGearDownTable[kPitchBandCount] = {
    {357, 0, -1, 6, -1, V},   // -s, 6 - L
    {4, 0.5, -1, 5, -1, G},   // 0.5 - s, 5 - L
    {36, 1, -1, 4, -1, G},    // 1 - s, 4 - L
    {54, 2, -1, 3, -1, G},    // 2 - s, 3 - L
    {72, 3, -1, 2, -1, P},    // 3 - s, 2 - L
    {87, 0, 0, 1, -1, P},     // 0, 1 - L
    {94, -3, 1, 2, -1, P},    // s - 3, 2 - L
    {126, -2, 1, 3, -1, G},   // s - 2, 3 - L
    {144, -1, 1, 4, -1, G},   // s - 1, 4 - L
    {162, -0.5, 1, 5, -1, G}, // s - 0.5, 5 - L
    {177, 0, 1, 6, -1, V},    // s, 6 - L
    {184, 0, 1, 1, 1, P},     // s, 1 + L
    {216, 0, 1, 2, 1, P},     // s, 2 + L
    {234, 0, 1, 3, 1, P},     // s, 3 + L
    {252, 0, 1, 4, 1, P},     // s, 4 + L
    {267, 0, 0, 5, 1, P},     // 0, 5 + L
    {274, 0, -1, 4, 1, P},    // -s, 4 + L
    {306, 0, -1, 3, 1, P},    // -s, 3 + L
    {324, 0, -1, 2, 1, P},    // -s, 2 + L
    {342, 0, -1, 1, 1, P},    // -s, 1 + L
};

VelocityTarget targetOf(const PitchBandRow* table, int band, double airspeed, double lift) {
    if (band < 0 || band >= kPitchBandCount) band = 0;
    const PitchBandRow& row = table[band];
    return {row.xBase + row.xPerSpeed * airspeed, row.yBase + row.yPerLift * lift, row.rule};
}

double stepClimb(ClimbRule rule, double velY, double target, bool onGround) {
    switch (rule) {
    case ClimbRule::Ground: return stepGround(velY, target, onGround);
    case ClimbRule::Level: return stepLevel(velY, target, onGround);
    case ClimbRule::Plain: break;
    }
    return stepToward(velY, target);
}

// Keeps the nose angle in 0..360: past 360 it becomes 0, below 0 it becomes 360.
double wrapPitch(double pitch) {
    if (pitch > 360.0) return 0.0;
    if (pitch < 0.0) return 360.0;
    return pitch;
}

void drawBlended(const GameState& game, const SpriteRecord& sprite) {
    const PixelImage* image = currentImage(game, sprite);
    if (image == nullptr) return;
    blitRotatedBlended(game.assets->canvas, *image, (int32_t)sprite.x, (int32_t)sprite.y, sprite.upright, sprite.angle,
                       sprite.scale);
}

// The exhaust or flame the throttle shows now, or null: none without fuel or with the engine idle.
const SpriteRecord* exhaustShown(const GameState& game) {
    const double s = game.aircraft.airspeed;
    const double top = game.aircraft.maxSpeed;
    if (game.aircraft.fuel <= 0.0) return nullptr;
    if (s == game.aircraft.boostSpeed) return &game.exhaustAfterburnerSprite;
    if (top - 4.0 <= s && s <= top + 5.0) return &game.exhaustCruiseSprite;
    if (s < top - 4.0 && s > 0.0) return &game.exhaustLowSprite;
    return nullptr;
}

// Overlays hide once a roll-over has finished until Up and Down are both up.
bool overlaysHidden(const GameState& game) {
    return game.aircraft.rollDone && !game.keys[kVkUp] && !game.keys[kVkDown];
}

// The exhaust or flame follows the aircraft and advances its animation.
void advanceExhaust(GameState& game, SpriteRecord& sprite) {
    if (overlaysHidden(game)) return;
    placeOverlay(game, sprite, game.aircraft.flipped);
    advanceSprite(sprite, frameSetOf(game, sprite.frames));
}

void lightAfterburner(GameState& game) {
    game.aircraft.throttleStage = kStageBoost;
    game.aircraft.airspeed = game.aircraft.boostSpeed;
    game.aircraft.lift = game.aircraft.boostSpeed;
    stopSound(game.assets->sounds[kSoundEngineLow]);
    stopSound(game.assets->sounds[kSoundEngineCruise]);
    playLooping(game.assets->sounds[kSoundAfterburner], kAfterburnerVolume);
}

void throttleUp(GameState& game) {
    bool reachedTop = false;
    if (game.aircraft.throttleStage != kStageBoost && game.aircraft.airspeed < game.aircraft.maxSpeed) {
        game.aircraft.airspeed += kThrottleStep;
        game.aircraft.lift += kThrottleStep;
        game.throttleUntouched = 0;
        if ((int32_t)game.aircraft.airspeed == game.aircraft.maxSpeed) {
            game.keyLatchAG = 1;
            reachedTop = true;
        }
    }
    // The top is reached at about maxSpeed + 0.1 with the latch set, so the afterburner needs
    // A released and pressed again.
    if ((int32_t)game.aircraft.airspeed == game.aircraft.maxSpeed && !reachedTop &&
        game.aircraft.airspeed != game.aircraft.boostSpeed) {
        lightAfterburner(game);
    }
}

void throttleDown(GameState& game) {
    const bool boostLit = game.aircraft.throttleStage == kStageBoost;
    const bool mayDrop = (game.aircraft.throttleStage != kStageBoost &&
                          game.aircraft.airspeed > game.aircraft.minSpeed) ||
                         (!game.aircraft.gearUp && game.aircraft.airspeed > game.aircraft.gearDownMinSpeed);
    if (mayDrop && game.aircraft.airspeed > 0.0) {
        // Only on the runway with the gear down may the throttle close below about 4.
        if (game.aircraft.onGround || game.aircraft.gearUp || game.aircraft.airspeed > kAirborneFloor) {
            game.aircraft.airspeed -= kThrottleStep;
            game.aircraft.lift -= kThrottleStep;
        }
        if (game.aircraft.airspeed < 0.0) {
            game.aircraft.airspeed = 0.0;
            game.aircraft.lift = 0.0;
        }
        if (game.aircraft.airspeed == game.aircraft.minSpeed) game.keyLatchZ = 1;
    }
    if (boostLit) {
        game.aircraft.throttleStage = kStageBoostOut;
        game.aircraft.highEngineOn = 0;
        game.keyLatchZ = 1;
        game.aircraft.airspeed = game.aircraft.maxSpeed;
        game.aircraft.lift = game.aircraft.maxSpeed;
    }
}

// Which engine loop sounds, and which exhaust shows, for the current throttle.
void updateEngine(GameState& game) {
    const double s = game.aircraft.airspeed;
    const double top = game.aircraft.maxSpeed;
    if (game.aircraft.fuel <= 0.0) return;
    if (s == game.aircraft.boostSpeed) {
        advanceExhaust(game, game.exhaustAfterburnerSprite);
    } else if (top - 4.0 <= s && s <= top + 5.0) {
        game.aircraft.lowEngineOn = 0;
        if (!game.aircraft.highEngineOn) {
            stopSound(game.assets->sounds[kSoundEngineLow]);
            stopSound(game.assets->sounds[kSoundAfterburner]);
            playLooping(game.assets->sounds[kSoundEngineCruise], kCruiseVolume);
            game.aircraft.highEngineOn = 1;
        }
        advanceExhaust(game, game.exhaustCruiseSprite);
    } else if (s < top - 4.0 && s > 0.0) {
        game.aircraft.highEngineOn = 0;
        if (!game.aircraft.lowEngineOn) {
            stopSound(game.assets->sounds[kSoundEngineCruise]);
            stopSound(game.assets->sounds[kSoundAfterburner]);
            playLooping(game.assets->sounds[kSoundEngineLow], kLowEngineVolume);
            game.aircraft.lowEngineOn = 1;
        }
        advanceExhaust(game, game.exhaustLowSprite);
    }
}

// One frame of the roll-over: images 0, 1, 2 on three frames, flipped toggled on the third.
void stepRoll(GameState& game) {
    game.aircraft.rollActive = 1;
    if (!game.aircraft.rollReturning) {
        if (game.aircraft.rollFrame < kLastRollImage) {
            game.aircraft.rollFrame += 1;
        } else if (game.aircraft.rollFrame == kLastRollImage) {
            game.aircraft.rollFrame = 1;
            game.aircraft.rollReturning = 1;
        }
    }
    if (game.aircraft.rollReturning) {
        if (game.aircraft.rollFrame > 0) game.aircraft.rollFrame -= 1;
        if (game.aircraft.rollFrame == 0) {
            game.aircraft.flipped = game.aircraft.flipped ? 0 : 1;
            game.aircraft.rollDone = 1;
            game.aircraft.rollFrame = 0;
        }
    }
}

} // namespace

int pitchBand(double pitch) {
    if (pitch >= 357.0 || pitch < 4.0) return 0;
    int band = 0;
    for (int k = 1; k < kPitchBandCount; ++k) {
        if (kGearUpTable[k].lowerBound <= pitch) band = k;
    }
    return band;
}

double stepToward(double value, double target) {
    if (value > target) return value - 1.0;
    if (value < target) return value + 1.0;
    return value;
}

double stepGround(double velY, double target, bool onGround) {
    if (onGround && velY > 0.0) return velY - 1.0;
    if (onGround && velY < 0.0) return velY + 1.0;
    return stepToward(velY, target);
}

double stepLevel(double velY, double target, bool onGround) {
    if (onGround) return stepToward(velY, 0.0);
    if (velY > 0.0) return stepToward(velY, target);
    if (velY == 0.0) return target > 0.0 ? 1.0 : 0.0;
    return velY + 1.0;
}

VelocityTarget gearUpTarget(int band, double airspeed, double lift) {
    return targetOf(kGearUpTable, band, airspeed, lift);
}

VelocityTarget gearDownTarget(int band, double airspeed, double lift) {
    return targetOf(kGearDownTable, band, airspeed, lift);
}

const PixelImage* currentImage(const GameState& game, const SpriteRecord& sprite) {
    const FrameSet* set = frameSetOf(game, sprite.frames);
    if (set == nullptr || sprite.imageIndex < 0 || sprite.imageIndex >= set->count ||
        sprite.imageIndex >= (int32_t)set->images.size()) {
        return nullptr;
    }
    const PixelImage& image = set->images[sprite.imageIndex];
    if (image.width <= 0 || image.height <= 0) return nullptr;
    return &image;
}

void placeOverlay(const GameState& game, SpriteRecord& sprite, uint8_t upright) {
    sprite.x = game.aircraft.screenX;
    sprite.y = game.aircraft.screenY;
    sprite.angle = game.aircraft.pitch;
    sprite.scale = game.aircraft.spriteScale;
    sprite.upright = upright;
}

namespace {

// The nose angle after this frame's pitch keys.
double turnedPitch(const GameState& game) {
    const uint8_t* keys = game.keys;
    const bool canTurn = !game.aircraft.stalled && game.aircraft.airspeed >= kMinTurningSpeed;
    double pitch = game.aircraft.pitch;
    if (keys[kVkRight] && canTurn) {
        pitch = wrapPitch(pitch + (game.aircraft.flipped ? game.aircraft.pitchUpRate : game.aircraft.pitchDownRate));
    }
    if (keys[kVkLeft] && canTurn) {
        pitch = wrapPitch(pitch - (game.aircraft.flipped ? game.aircraft.pitchDownRate : game.aircraft.pitchUpRate));
    }
    return pitch;
}

bool rollStepDue(const GameState& game) {
    const Aircraft& self = game.aircraft;
    const bool startsRoll = (game.keys[kVkUp] || game.keys[kVkDown]) && !self.rollActive && !self.onGround;
    // A roll once started finishes even if the key is let go.
    const bool continuesRoll = self.rollActive && !self.rollDone && self.rollFrame > 0 && !self.stalled &&
                               !self.onGround;
    return startsRoll || continuesRoll;
}

} // namespace

void updatePitchAndRoll(GameState& game) {
    game.aircraft.pitch = turnedPitch(game);
    if (rollStepDue(game)) stepRoll(game);
}

void drawRollOver(const GameState& game) {
    if (!rollStepDue(game)) return;
    SpriteRecord sprite = game.rollSprite;
    placeOverlay(game, sprite, 0);
    sprite.angle = turnedPitch(game);
    sprite.imageIndex = game.aircraft.rollFrame;
    drawBlended(game, sprite);
}

void countPhysicsTimer(GameState& game) {
    if (game.aircraft.physicsTimer > 0) game.aircraft.physicsTimer -= 1;
}

void runFlightPhysics(GameState& game) {
    game.aircraft.pitchAtStep = game.aircraft.pitch;
    const int band = pitchBand(game.aircraft.pitchAtStep);
    if (game.aircraft.gearUp) {
        const VelocityTarget target = gearUpTarget(band, game.aircraft.airspeed, game.aircraft.lift);
        game.aircraft.velX = stepToward(game.aircraft.velX, target.x);
        game.aircraft.velY = stepToward(game.aircraft.velY, target.y);
        game.aircraft.physicsTimer = kPhysicsPeriodGearUp;
    } else {
        const VelocityTarget target = gearDownTarget(band, game.aircraft.airspeed, game.aircraft.lift);
        game.aircraft.velX = stepToward(game.aircraft.velX, target.x);
        game.aircraft.velY = stepClimb(target.rule, game.aircraft.velY, target.y, game.aircraft.onGround);
        game.aircraft.physicsTimer = kPhysicsPeriodGearDown;
    }
}

bool isBelowCrashLine(double worldY) { return (worldY + 47.0) - 20.0 >= kCrashLineY; }

void moveAircraft(GameState& game) {
    if (!game.frozen) {
        game.aircraft.worldX += game.aircraft.velX;
        game.aircraft.worldY += game.aircraft.velY;
        game.aircraft.screenX = game.aircraft.worldX - game.camera.cameraX;
        game.aircraft.screenY = game.aircraft.worldY - game.camera.cameraY;
    }
    const double h = game.aircraft.worldY + kStallHeightOffset;
    if (h < kStallEntry && !game.aircraft.stalled) {
        game.aircraft.stalled = 1;
        game.aircraft.lift = -game.aircraft.lift - kStallLiftPenalty;
    } else if (h > kStallRecovery && game.aircraft.stalled) {
        // Recovery negates the stalled lift, so the aircraft comes out with 6 more than it had.
        game.aircraft.stalled = 0;
        game.aircraft.lift = -game.aircraft.lift;
    }
}

void drawStallNotice(const GameState& game) {
    const double h = game.aircraft.worldY + kStallHeightOffset;
    if (h < kStallRecovery && game.aircraft.stalled) {
        drawTextPlate(game.assets->canvas, "STALL", 605, 350, game.assets->largeFont);
        drawText(game.assets->canvas, "STALL", 605, 350, game.assets->largeFont, kRed);
    }
}

void updateThrottle(GameState& game) {
    const uint8_t* keys = game.keys;
    const bool throttleLive = !game.aircraft.stalled && game.edgeArmed && game.aircraft.fuel > 0.0;
    if (keys[kVkA] && !game.keyLatchAG && throttleLive) throttleUp(game);
    if (keys[kVkZ] && !game.keyLatchZ && throttleLive) throttleDown(game);
    updateEngine(game);
}

void drawExhaust(const GameState& game) {
    const SpriteRecord* sprite = exhaustShown(game);
    if (sprite == nullptr || overlaysHidden(game)) return;
    drawBlended(game, *sprite);
}

void drawAircraftBody(const GameState& game) {
    SpriteRecord sprite = game.aircraftSprite;
    placeOverlay(game, sprite, game.aircraft.flipped);
    drawBlended(game, sprite);
}

void resetAircraft(GameState& game) {
    // Until the first frame places it, the screen position holds the parking spot.
    game.aircraft.screenX = kParkedX;
    game.aircraft.screenY = kParkedY;
    game.aircraft.velX = 0.0;
    game.aircraft.velY = 0.0;
    game.aircraft.pitch = 180.0;
    game.aircraft.pitchAtStep = 0.0;
    game.aircraft.flipped = 0;
    game.aircraft.airspeed = 0.0;
    game.aircraft.lift = 0.0;
    game.aircraft.throttleStage = 1;
    game.aircraft.fuel = 400.0;
    game.aircraft.fuelCapacity = 400.0;
    game.aircraft.physicsTimer = kPhysicsPeriodGearUp;
    game.aircraft.stalled = 0;
    game.aircraft.spriteScale = 1.25;
    game.keyLatchAG = 0;
    game.keyLatchZ = 0;
    game.aircraft.rollActive = 0;
    game.aircraft.rollReturning = 0;
    game.aircraft.rollDone = 0;
    game.aircraft.rollFrame = 0;
    game.aircraft.highEngineOn = 0;
    game.aircraft.lowEngineOn = 0;
    game.edgeArmed = 1;
}

void resetFlightConstants(GameState& game) {
    game.aircraft.pitchUpRate = kNewGamePitchUpRate;
    game.aircraft.pitchDownRate = kNewGamePitchDownRate;
    game.aircraft.minSpeed = 4;
    game.aircraft.maxSpeed = kNewGameMaxSpeed;
    game.aircraft.boostSpeed = kNewGameBoostSpeed;
    game.aircraft.gearDownMinSpeed = 0;
}
