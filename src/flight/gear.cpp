// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flight/gear.h"

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "flight/flight.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr int32_t kFullVolume = 0; // hundredths of a decibel

constexpr int32_t kContactAltitude = 10;    // at or below: the wheels are on the runway
constexpr int32_t kRunwayStateCeiling = 41; // below it over the runway the runway state holds

// Re-arming puts the scenery back where it stands at a sortie start.
constexpr double kRearmBackdropX = -275.0;
constexpr double kRearmTerrainScroll = -350.0; // terrainScrollX less baseX

// Obstacle box past the runway's east end, screen x relative to the runway's start, and the
// screen row relative to the ground line.
constexpr double kRunwayEndBoxWest = 1650.0;
constexpr double kRunwayEndBoxEast = 1800.0;
constexpr double kRunwayEndBoxTop = 210.0;

bool overRunway(const GameState& game) {
    return game.runwayX <= game.aircraft.worldX && game.aircraft.worldX <= game.runwayX + kRunwayLength;
}

void rearm(GameState& game) {
    game.backdropX = kRearmBackdropX;
    game.camera.cameraLead = 0;
    game.terrainScrollX = kRearmTerrainScroll - game.baseX;
    game.aircraft.fuel = game.aircraft.fuelCapacity;
    game.aircraft.worldX = game.baseX + kParkedOffset;
    game.aircraft.flipped = 0;
    game.aircraft.pitch = 180.0;
    game.roundsFired = 0;
    game.bombsDropped = 0;
    game.missilesFired = 0;
    game.aircraft.reloaded = 1;
    if (!game.throttleUntouched) game.reloadNotice = kReloadNoticeFrames;
}

// Touchdown, re-arming and levelling while the wheels are on the runway.
void touchRunway(GameState& game) {
    if (!canTouchDown(game.aircraft.pitch, game.aircraft.flipped)) {
        game.aircraft.onGround = 0;
        return;
    }
    if (!game.aircraft.onGround && !game.throttleUntouched) playOnce(game.assets->sounds[kSoundWheel], kFullVolume);
    game.aircraft.onGround = 1;
    // Exactly 0: the throttle only reaches it by closing fully on the runway with the gear down.
    if (!game.aircraft.reloaded && game.aircraft.airspeed == 0.0) rearm(game);
    if (!game.aircraft.reloaded) {
        if (game.aircraft.flipped && 1.0 < game.aircraft.pitch && game.aircraft.pitch < 90.0)
            game.aircraft.pitch -= 1.0;
        if (!game.aircraft.flipped && 90.0 < game.aircraft.pitch && game.aircraft.pitch < 179.0)
            game.aircraft.pitch += 1.0;
    }
    if (game.altitude < kContactAltitude) game.aircraft.worldY -= 1.0;
}

} // namespace

bool canTouchDown(double pitch, uint8_t flipped) {
    if (flipped) return 0.0 <= pitch && pitch < 65.0;
    return 115.0 < pitch && pitch <= 180.0;
}

bool insideRunwayEndBox(double aircraftScreenX, double aircraftScreenY, double runwayScreenX, double groundScreenY) {
    return runwayScreenX + kRunwayEndBoxWest < aircraftScreenX && aircraftScreenX < runwayScreenX + kRunwayEndBoxEast &&
           aircraftScreenY >= groundScreenY + kRunwayEndBoxTop;
}

void updateGear(GameState& game) {
    const uint8_t* keys = game.keys;
    // The latch is shared with A and clears only when both keys are up.
    if (keys[kVkG] && !game.keyLatchAG && !game.aircraft.onGround) {
        playOnce(game.assets->sounds[kSoundGearMotor], kFullVolume);
        game.keyLatchAG = 1;
        if (!game.aircraft.gearUp) {
            game.aircraft.gearUp = 1;
            game.aircraft.gearTravel = 0;
        } else {
            game.aircraft.gearUp = 0;
            game.aircraft.gearTravel = kGearTravelUp;
        }
    }
    if (game.aircraft.gearTravel > 0 && !game.aircraft.gearUp) game.aircraft.gearTravel -= 1;
    if (game.aircraft.gearTravel < kGearTravelUp && game.aircraft.gearUp) game.aircraft.gearTravel += 1;

    if (game.aircraft.physicsTimer == 0) runFlightPhysics(game);
}

void drawGear(const GameState& game) {
    const uint8_t* keys = game.keys;
    if (game.aircraft.gearUp && game.aircraft.gearTravel == kGearTravelUp) return;
    if (game.aircraft.rollDone && !keys[kVkUp] && !keys[kVkDown]) return;
    SpriteRecord sprite = game.gearSprite;
    placeOverlay(game, sprite, game.aircraft.flipped);
    const PixelImage* image = currentImage(game, sprite);
    if (image == nullptr) return;
    // The pivot moves the picture along the aircraft's own vertical axis as the gear retracts.
    blitRotatedPivot(game.assets->canvas, *image, (int32_t)sprite.x, (int32_t)sprite.y, sprite.upright,
                     game.aircraft.gearTravel, sprite.angle, sprite.scale);
}

void drawReloadNotice(const GameState& game) {
    if (game.reloadNotice <= 0) return;
    drawTextPlate(game.assets->canvas, "Aircraft Reloaded.", 505, 250, game.assets->largeFont);
    drawText(game.assets->canvas, "Aircraft Reloaded.", 505, 250, game.assets->largeFont, kGreen);
}

void updateRunway(GameState& game) {
    if (game.reloadNotice > 0) game.reloadNotice -= 1;
    if (game.altitude <= kContactAltitude && game.sector == 0 && overRunway(game)) touchRunway(game);
    // Between altitudes 11 and 40 over the runway the flags hold, so the aircraft may bob up
    // a little after lift-off without leaving the runway state at once.
    if (!(game.altitude < kRunwayStateCeiling && overRunway(game))) {
        game.aircraft.onGround = 0;
        game.aircraft.reloaded = 0;
    }
}

void resetGearAndRunway(GameState& game) {
    game.aircraft.gearUp = 0;
    game.aircraft.gearTravel = 0;
    game.aircraft.onGround = 1;
    game.aircraft.reloaded = 1;
    // Parked, so the first frame's runway rule sees the wheels down.
    game.altitude = static_cast<int32_t>(kAltitudeZeroY - kParkedY);
    game.baseX = kBaseX;
    game.runwayX = kBaseX;
    game.reloadNotice = 0;
}

void checkRunwayEndCollision(GameState& game) {
    if (game.sector != 0) return;
    if (insideRunwayEndBox(game.aircraft.worldX - game.camera.cameraX, game.aircraft.worldY - game.camera.cameraY,
                           game.runwayX - game.camera.cameraX, game.groundScreenY)) {
        raiseCrash(game, Outcome::Crashed);
    }
}
