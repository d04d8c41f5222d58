// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/cargo.h"

#include <algorithm>
#include <cmath>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/hits.h"
#include "game/game_state.h"
#include "game/world.h"
#include "raster/blit.h"

namespace {

constexpr double kFormationY = 7750.0;
constexpr double kBombingX = 20000.0;  // passing it in section 0 destroys the base
constexpr double kDroneReach = 3000.0; // pixels from the nose within which a drone sounds
constexpr int32_t kBreakupVolume = -10;
constexpr int32_t kImpactVolume = 1000; // outside the device's range: the voice keeps its last volume
constexpr int32_t kGunHitVolume = 3000; // outside the device's range: the voice keeps its last volume

struct Point {
    double x;
    double y;
};

// The player's nose, tail and fin, in screen pixels.
struct PlayerPoints {
    Point nose, tail, fin;
};

PlayerPoints playerPoints(const GameState& game) {
    const Aircraft& self = game.aircraft;
    const double t1 = radians(self.pitchAtStep + (self.flipped ? -5.0 : 5.0));
    const double t2 = radians(self.pitchAtStep + (self.flipped ? 15.0 : -15.0));
    const double scale = self.spriteScale;
    return {{self.screenX - std::cos(t1) * 38.0, self.screenY - std::sin(t1) * 38.0},
            {self.screenX + std::cos(t1) * 50.0 / scale, self.screenY + std::sin(t1) * 50.0 / scale},
            {self.screenX + std::cos(t2) * 68.0 / scale, self.screenY + std::sin(t2) * 68.0 / scale}};
}

bool insideAny(const CargoBoxes& boxes, const Point& p) {
    return strictlyWithinRect(boxes.a, p.x, p.y) || strictlyWithinRect(boxes.b, p.x, p.y) ||
           strictlyWithinRect(boxes.c, p.x, p.y) || strictlyWithinRect(boxes.d, p.x, p.y);
}

// One frame of an aircraft's flight: level and east, or once shot down nosing over and falling
// ever faster, until it is below the ground and out. Its picture follows unless the world is frozen.
void fly(CargoAircraft& cargo, const GameState& game) {
    if (cargo.active && !game.frozen) cargo.x += cargo.speed;
    if (cargo.hitPoints <= 0 && cargo.active) {
        if (cargo.tilt < 90) cargo.tilt += 1;
        if (cargo.speed > 0) cargo.speed -= 1;
        if (cargo.fallSpeed < 10) cargo.fallSpeed += 1;
        cargo.y += cargo.fallSpeed;
        if (cargo.y > kSectionHeight) cargo.active = 0;
    }
    if (cargo.active && !game.frozen) {
        cargo.drawX = cargo.x - game.camera.cameraX;
        cargo.drawY = cargo.y - game.camera.cameraY - 15;
    }
}

int32_t droneVolume(double distance) { return -static_cast<int32_t>(std::clamp(distance, 0.0, 10000.0)); }

void updateDrones(GameState& game) {
    SoundEffect* drones = &game.assets->sounds[kSoundEngineDrone0];
    static_assert(kCargoCapacity == kDroneSlots, "one drone per cargo aircraft");
    for (int32_t k = 0; k < kDroneSlots; ++k) {
        const CargoAircraft& cargo = game.cargoAircraft[k];
        if (cargo.hitPoints > 0 && cargo.sector == game.sector && cargo.distance <= kDroneReach &&
            !isPlaying(drones[k])) {
            playLooping(drones[k], droneVolume(cargo.distance));
        }
    }
    for (int32_t k = 0; k < kDroneSlots; ++k) {
        const CargoAircraft& cargo = game.cargoAircraft[k];
        if (isPlaying(drones[k]) && cargo.distance < kDroneReach && cargo.hitPoints > 0 &&
            cargo.sector == game.sector) {
            setVolume(drones[k], droneVolume(cargo.distance));
        }
    }
    for (int32_t k = 0; k < kDroneSlots; ++k) {
        const CargoAircraft& cargo = game.cargoAircraft[k];
        if (isPlaying(drones[k]) &&
            (cargo.sector != game.sector || cargo.hitPoints <= 0 || cargo.distance > kDroneReach)) {
            stopSound(drones[k]);
        }
    }
}

int32_t cargoInUse(const GameState& game) { return std::clamp(game.cargoCount, 0, kCargoCapacity); }

} // namespace

CargoBoxes cargoBoxes(const GameState& game, const CargoAircraft& cargo) {
    const double l = cargo.x - game.camera.cameraX - 150;
    const double t = cargo.y - game.camera.cameraY - 25;
    return {{wholePixels(l + 20), wholePixels(t + 13), wholePixels(l + 420), wholePixels(t + 71)},
            {wholePixels(l + 420), wholePixels(t + 38), wholePixels(l + 450), wholePixels(t + 61)},
            {wholePixels(l - 58), wholePixels(t), wholePixels(l + 50), wholePixels(t + 48)},
            {wholePixels(l - 55), wholePixels(t - 18), wholePixels(l - 35), wholePixels(t)}};
}

void setUpCargoAircraft(GameState& game) {
    game.cargoCount = cargoInUse(game);
    for (int32_t i = 0; i < game.cargoCount; ++i) {
        CargoAircraft& cargo = game.cargoAircraft[i];
        cargo = CargoAircraft{};
        cargo.x = 3000.0 - 2000.0 * i;
        cargo.y = kFormationY;
        cargo.speed = game.aircraft.minSpeed + 5.5;
        cargo.active = 1;
        cargo.hitPoints = 100.0f;
        cargo.sector = -2;
        cargo.drawScale = 0.69;
        cargo.upright = 1;
    }
}

void drawCargo(const GameState& game) {
    const FrameSet* frames = frameSetOf(game, game.cargoSprite.frames);
    const PixelImage* image = frames != nullptr && !frames->images.empty() ? &frames->images[0] : nullptr;
    if (image == nullptr) return;
    const int32_t count = cargoInUse(game);
    for (int32_t i = 0; i < count; ++i) {
        // Where this frame's flight takes the aircraft, before it may change section.
        CargoAircraft cargo = game.cargoAircraft[i];
        fly(cargo, game);
        if (cargo.active && cargo.sector == game.sector) {
            blitRotatedBlended(game.assets->canvas, *image, wholePixels(cargo.drawX), wholePixels(cargo.drawY),
                               cargo.upright, cargo.tilt, cargo.drawScale);
        }
    }
}

void moveCargo(GameState& game) {
    const int32_t count = cargoInUse(game);
    for (int32_t i = 0; i < count; ++i) {
        CargoAircraft& cargo = game.cargoAircraft[i];
        const bool falling = cargo.hitPoints <= 0 && cargo.active;
        SoundEffect& breakup = game.assets->sounds[kSoundCargoBreakup];
        if (falling && !isPlaying(breakup) && cargo.tilt < 30) playOnce(breakup, kBreakupVolume);
        fly(cargo, game);
        if (falling && !cargo.active) {
            playOnce(game.assets->sounds[kSoundDetonationFar], kImpactVolume);
            game.cargoDestroyed += 1;
        }
        if (cargo.x > kSectionWidth && cargo.sector < 0) {
            cargo.sector += 1;
            cargo.x = -100;
        } else if (cargo.x > kBombingX && cargo.active && cargo.sector == 0) {
            raiseOutcome(game, Outcome::Bombed);
            cargo.sector = -2; // so it cannot bomb the base twice
        }
    }
}

void updateCargo(GameState& game) {
    const PlayerPoints player = playerPoints(game);
    const int32_t count = cargoInUse(game);
    for (int32_t i = 0; i < count; ++i) {
        CargoAircraft& cargo = game.cargoAircraft[i];
        const CargoBoxes boxes = cargoBoxes(game, cargo);
        for (const Point& p : {player.nose, player.tail, player.fin}) {
            if (insideAny(boxes, p) && cargo.hitPoints > 0 && cargo.sector == game.sector)
                raiseCrash(game, Outcome::Crashed);
        }
        strikeInAir(game, kTargetCargo, i);
        cargo.noseDX = boxes.a.left - player.nose.x;
        cargo.noseDY = boxes.a.top - player.nose.y;
        cargo.distance = std::sqrt(cargo.noseDX * cargo.noseDX + cargo.noseDY * cargo.noseDY);
    }
    if (game.cargoDestroyed < game.cargoCount) updateDrones(game);
}

namespace {

bool meetsCargo(const GameState& game, const Shot& shot, int32_t index) {
    const CargoAircraft& cargo = game.cargoAircraft[index];
    if (shot.sector != cargo.sector || !cargo.active) return false;
    const CargoBoxes boxes = cargoBoxes(game, cargo);
    const double x = shot.viewX, y = shot.viewY;
    const bool tail = strictlyWithinRect(boxes.b, x, y) || strictlyWithinRect(boxes.c, x, y) ||
                      strictlyWithinRect(boxes.d, x, y);
    if (shot.blow == Blow::Round) return strictlyWithinRect(boxes.a, x, y) || tail;
    return (!shot.homing && strictlyWithinRect(boxes.a, shot.worldX - game.camera.cameraX, y)) || tail;
}

bool homedOnCargo(const GameState& game, const Shot& shot, int32_t index) {
    const CargoAircraft& target = game.cargoAircraft[index];
    return target.x <= shot.worldX + 100 && shot.worldX <= target.x + 230 && target.y - 70 <= shot.worldY + 15 &&
           shot.worldY + 15 <= target.y + 110;
}

void strikeCargo(GameState& game, int32_t index, const Shot& shot, bool hit) {
    if (!hit) return;
    game.cargoAircraft[index].hitPoints -= kCargoTarget.damage[int32_t(shot.blow)];
    if (shot.blow == Blow::Round) playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
}

int32_t cargoDestroyed(const GameState& game) { return game.cargoDestroyed; }

WorldPoint cargoAt(const GameState& game, int32_t index) {
    return {game.cargoAircraft[index].x, game.cargoAircraft[index].y};
}

bool cargoOnRadar(const GameState& game, int32_t index) {
    const CargoAircraft& cargo = game.cargoAircraft[index];
    return cargo.active && cargo.x > 0 && cargo.sector == game.sector;
}

LockView cargoLockView(const GameState& game, int32_t index) {
    const CargoAircraft& cargo = game.cargoAircraft[index];
    return {cargo.active && cargo.x > 0, cargo.sector, cargo.hitPoints > 0};
}

double cargoNoseDistance(const GameState& game, int32_t index) { return game.cargoAircraft[index].distance; }

} // namespace

// clang-format off
// A live aircraft of the shot's section is met by its tail boxes where the shot was let go; by its
// fuselage there too for a round, where it is now for a bomb or unguided missile, never for a
// homing one, which strikes when near the aircraft it homes on, whatever that aircraft's section
// or state. A round, a bomb and a missile take 1, 20 and 25 of its 100 hit points; each counts
// twice in the pay.
constinit const TargetRow kCargoTarget = {
    .onGround = false, .damage = {1.0f, 20.0f, 25.0f}, .blastDestroys = false, .rewardWeight = 2,
    .mark = kMarkCargo, .missileLock = true, .capacity = kCargoCapacity,
    .inUse = cargoInUse, .meets = meetsCargo, .homedOn = homedOnCargo, .take = strikeCargo,
    .destroyed = cargoDestroyed, .where = cargoAt, .onRadar = cargoOnRadar, .lockView = cargoLockView,
    .noseDistance = cargoNoseDistance};
// clang-format on
