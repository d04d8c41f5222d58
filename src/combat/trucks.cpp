// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/trucks.h"

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"

namespace {

constexpr int32_t kWreckLandingVolume = -300;
constexpr int32_t kGunHitVolume = 3000; // outside the device's range: the voice keeps its last volume

struct ConvoyLevel {
    int32_t trucks;
    float hitPoints;
    double speed;
};
constexpr ConvoyLevel kConvoyLevels[4] = {{4, 80, 2.5}, {8, 90, 2.5}, {15, 150, 3.5}, {20, 180, 4.0}};

void drawTruckTexture(const GameState& game, TextureSlot slot, const Truck& truck) {
    drawTexture(game, slot, truck.x - game.camera.cameraX, truck.y - game.camera.cameraY - 15);
}

// A bombed, blasted or missile-struck truck: thrown once, away from the side the last
// destroying bomb landed on.
void throwWreck(GameState& game, Truck& truck) {
    truck.wreckLaunched = 1;
    const int32_t r1 = gameRandom(game);
    const int32_t r2 = gameRandom(game);
    gameRandom(game); // drawn and unused, so the sequence stays as the rules give it
    truck.wreckVelX = r1 % 3 + 4;
    if (!game.bombRightOfTruck) truck.wreckVelX = -truck.wreckVelX;
    truck.wreckVelY = r2 % 3 + 6;
    truck.wreckY = truck.y - 15;
    truck.wreckX = truck.x;
}

void tumble(Truck& truck) {
    truck.wreckX -= truck.wreckVelX;
    truck.wreckY -= truck.wreckVelY;
    truck.wreckAngle += truck.wreckVelX >= 0 ? -15.0 : 15.0;
}

void flyWreck(GameState& game, Truck& truck) {
    if (truck.wreckVelY > 0) truck.wreckVelY -= 0.1;
    if (truck.wreckVelY == 0) truck.wreckVelY = -5;
    if (truck.wreckVelY < 0 && truck.wreckVelY > -100) truck.wreckVelY -= 0.1;
    if (truck.wreckY < kWreckTumblesY && truck.wreckVelY < 0) {
        tumble(truck); // falling above the ground
    } else if (truck.wreckY >= kWreckLandsY && truck.wreckVelY < 0) {
        if (!truck.wreckSoundPlayed) {
            playOnce(game.assets->sounds[kSoundTruckWrecked], kWreckLandingVolume);
            truck.wreckSoundPlayed = 1;
        }
        truck.wreckAngle = settleWreckAngle(truck.wreckAngle);
    }
    if (truck.wreckVelY > 0) tumble(truck); // rising
}

// A truck one frame on: it drives while intact.
void drive(Truck& truck, bool frozen) {
    if (truck.alive && !frozen) truck.x += truck.speed;
}

// Beyond section 0 a truck brought down by gunfire dies.
bool burnsOut(const GameState& game, const Truck& truck) {
    return game.sector > 0 && truck.hitPoints <= 0 && truck.alive;
}

} // namespace

void killTruck(GameState& game, Truck& truck, Blow by, double x) {
    if (!truck.alive) return;
    truck.alive = 0;
    if (by == Blow::Blast) return;
    game.trucksDestroyed += 1;
    if (by == Blow::Bomb) {
        game.bombRightOfTruck = x + 15 > truck.x + 50;
        truck.burning = 0;
    }
}

namespace {

int32_t trucksInUse(const GameState& game) {
    return game.truckCount < 0 ? 0 : (game.truckCount > kTruckCapacity ? kTruckCapacity : game.truckCount);
}

// Alive, of the blow's section (a blast reaches across sections), and inside the blow's own
// window around the truck's x.
bool meetsTruck(const GameState& game, const Shot& shot, int32_t index) {
    const Truck& truck = game.trucks[index];
    const double t = truck.x;
    const double x = shot.worldX;
    if (!truck.alive || (shot.blow != Blow::Blast && shot.sector != truck.sector)) return false;
    switch (shot.blow) {
    case Blow::Round: return t - 50 < x && x < t + 65;
    case Blow::Bomb: return x - 50 < t + 98 && t < x + 60;
    case Blow::Missile: return x - 40 < t + 98 && t < x + 55;
    case Blow::Blast: return t > x - 70 && t < x + 70;
    }
    return false;
}

void strikeTruck(GameState& game, int32_t index, const Shot& shot, bool hit) {
    Truck& truck = game.trucks[index];
    const float damage = shot.blow == Blow::Blast ? kDestroys : kTruckTarget.damage[int32_t(shot.blow)];
    if (damage == kDestroys) {
        if (hit) killTruck(game, truck, shot.blow, shot.worldX);
        return;
    }
    if (hit) {
        truck.hitPoints -= damage;
        playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
    }
    if (truck.hitPoints <= 0.0f && truck.alive) { // it burns where it stands, and dies in the truck step
        truck.burning = 1;
        playOnce(game.assets->sounds[kSoundTruckWrecked], 0);
    }
}

int32_t trucksDestroyed(const GameState& game) { return game.trucksDestroyed; }

WorldPoint truckAt(const GameState& game, int32_t index) { return {game.trucks[index].x, game.trucks[index].y}; }

bool truckOnRadar(const GameState& game, int32_t index) {
    const Truck& truck = game.trucks[index];
    return truck.alive && truck.sector == game.sector;
}

} // namespace

double settleWreckAngle(double a) {
    if (a < 0) a = -a;
    if (a > 360) a /= 360;
    if ((a >= 90 && a <= 179) || (a > 270 && a < 359)) {
        a += 0.5;
    } else if ((a > 2 && a < 90) || (a > 178 && a <= 270)) {
        a -= 0.5;
    }
    return a;
}

namespace {
void setUpTrucks(GameState& game, bool parked) {
    const int32_t count = game.truckCount < 0 ? 0
                                              : (game.truckCount > kTruckCapacity ? kTruckCapacity : game.truckCount);
    for (int32_t i = 0; i < count; ++i) {
        Truck& truck = game.trucks[i];
        truck = Truck{};
        truck.y = kRoadY;
        truck.sector = 1;
        truck.alive = 1;
        truck.wreckAngle = 180;
        if (parked) {
            truck.speed = 0;
            truck.hitPoints = 100;
            truck.x = 3000.0 + 3000.0 * i;
        } else {
            truck.speed = 2.5;
            truck.hitPoints = 80;
            truck.x = 2000.0 - 1000.0 * i;
        }
    }
}
} // namespace

void setUpDrivingConvoy(GameState& game) { setUpTrucks(game, false); }

void setUpParkedTrucks(GameState& game) { setUpTrucks(game, true); }

void setUpMissionOneConvoy(GameState& game, int32_t difficulty) {
    const ConvoyLevel& level = kConvoyLevels[difficulty < 0 ? 0 : (difficulty > 3 ? 3 : difficulty)];
    game.truckCount = level.trucks;
    setUpDrivingConvoy(game);
    if (difficulty < 1) return;
    for (int32_t i = 0; i < game.truckCount; ++i) {
        game.trucks[i].hitPoints = level.hitPoints;
        game.trucks[i].speed = level.speed;
        game.trucks[i].x = 2000.0 - 1000.0 * i;
    }
}

void drawTrucks(const GameState& game) {
    const int32_t count = game.truckCount < kTruckCapacity ? game.truckCount : kTruckCapacity;
    for (int32_t i = 0; i < count; ++i) {
        // A burning truck where it stands; an intact one beyond section 0 where this frame's
        // drive takes it, before it may escape.
        Truck truck = game.trucks[i];
        if (truck.burning) drawTruckTexture(game, kTexTruckBurning, truck);
        drive(truck, game.frozen);
        if (game.sector > 0 && truck.alive && !burnsOut(game, truck)) drawTruckTexture(game, kTexTruck, truck);
    }
}

void drawWrecks(const GameState& game) {
    const int32_t count = game.truckCount < kTruckCapacity ? game.truckCount : kTruckCapacity;
    for (int32_t i = 0; i < count; ++i) {
        const Truck& truck = game.trucks[i];
        if (truck.alive || truck.burning) continue;
        blitRotated(game.assets->canvas, game.assets->truckWreckImage,
                    static_cast<int32_t>(truck.wreckX - game.camera.cameraX),
                    static_cast<int32_t>(truck.wreckY - game.camera.cameraY - 30), 1, truck.wreckAngle, 1.0);
    }
}

void updateTrucks(GameState& game) {
    const int32_t count = game.truckCount < kTruckCapacity ? game.truckCount : kTruckCapacity;
    for (int32_t i = 0; i < count; ++i) {
        Truck& truck = game.trucks[i];
        if (!truck.alive && !truck.wreckLaunched && !truck.burning) throwWreck(game, truck);
        if (!truck.alive && !truck.burning) flyWreck(game, truck);
        drive(truck, game.frozen);
        if (burnsOut(game, truck)) killTruck(game, truck, Blow::Round, truck.x);
        if (truck.x > kSectionWidth) {
            raiseOutcome(game, Outcome::Escaped);
            truck.x = 0;
        }
    }
}

// clang-format off
// The trucks of the convoy and the ones parked in mission 2. A blow reaches every truck: a truck
// of the blow's section (a blast's reaches across sections) within the blow's window around its x
// is hit. A round takes 10 hit points and any truck at 0 or below, hit or not, catches fire; a
// bomb, a missile or a blast destroys one.
constinit const TargetRow kTruckTarget = {
    .onGround = true, .damage = {10.0f, kDestroys, kDestroys}, .blastDestroys = true, .rewardWeight = 1,
    .mark = kMarkTruck, .missileLock = false, .capacity = kTruckCapacity,
    .inUse = trucksInUse, .meets = meetsTruck, .homedOn = nullptr, .take = strikeTruck,
    .destroyed = trucksDestroyed, .where = truckAt, .onRadar = truckOnRadar};
// clang-format on
