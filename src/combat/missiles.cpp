// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/missiles.h"

#include <algorithm>
#include <cmath>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/targets.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"
#include "raster/canvas.h"

namespace {

constexpr int32_t kLaunchVolume = 0;
constexpr int32_t kLockToneVolume = -700;
constexpr int32_t kSearchToneVolume = 300; // outside the device's range: the voice keeps its last volume
constexpr double kHomingStep = 40.0;       // pixels a frame, |dx| + |dy|
constexpr double kNoTarget = 999999999.0;  // the distance when no candidate is found

// Missiles the table can hold whatever the load says (a load may come from a damaged save).
int32_t usableMissiles(const GameState& game) { return std::min(game.missileLoad, kMissileCapacity); }

void flyStraight(Missile& missile) {
    if (missile.boost < kMissileTopBoost) missile.boost += 1;
    const double step = missile.boost + 15;
    missile.viewX -= std::cos(missile.heading) * step;
    missile.worldX -= std::cos(missile.heading) * step;
    missile.viewY -= std::sin(missile.heading) * step;
    missile.worldY -= std::sin(missile.heading) * step;
}

// The step toward the target at `target` is split linearly between x and y by the aim's angle.
void home(Missile& missile, WorldPoint target) {
    missile.aimX = target.x - 150 - missile.worldX + 60;
    missile.aimY = target.y - missile.worldY;
    if (missile.boost < kMissileTopBoost) missile.boost += 1;
    const double a = std::atan2(missile.aimY, missile.aimX) * 180.0 / kPi;
    missile.drawAngle = a;
    const double sx = (90.0 - std::fabs(a)) * kHomingStep / 90.0;
    const double sy = a >= 0 ? kHomingStep - std::fabs(sx) : std::fabs(sx) - kHomingStep;
    missile.worldX += sx;
    missile.worldY += sy;
}

// A missile in flight one frame on: homing on its mark's target, or straight. A mark naming no
// target (a damaged save) leaves the missile unguided.
void fly(Missile& missile, const GameState& game) {
    TargetRef target;
    if (missile.locked && targetOfLock(missile.target, &target)) {
        home(missile, targetRow(target.kind).where(game, target.index));
    } else {
        flyStraight(missile);
    }
}

// Calls `visit(kind, row, index)` for every target in use of the kinds missiles lock on to, in
// kind order.
template <typename Visit>
void eachLockable(const GameState& game, Visit visit) {
    for (int32_t kind = 0; kind < kTargetKinds; ++kind) {
        const TargetRow& row = targetRow(TargetKind(kind));
        if (!row.missileLock) continue;
        const int32_t count = row.inUse(game);
        for (int32_t i = 0; i < count; ++i) visit(TargetKind(kind), row, i);
    }
}

// The tones loop: started only when silent, so they sound whole rather than as a restarted buzz.
void startTone(SoundEffect& tone, int32_t volume) {
    if (!isPlaying(tone)) playLooping(tone, volume);
}

void stopTone(SoundEffect& tone) {
    if (isPlaying(tone)) stopSound(tone);
}

} // namespace

void launchMissile(GameState& game) {
    if (!game.keys[kVkSpace] || game.selectedWeapon != kWeaponMissiles || game.triggerLatch || !game.aircraft.gearUp)
        return;
    if (game.missilesFired >= 0 && game.missilesFired < usableMissiles(game)) {
        playOnce(game.assets->sounds[kSoundMissileLaunch], kLaunchVolume);
        Missile& missile = game.missiles[game.missilesFired];
        missile.viewX = game.aircraft.screenX;
        missile.viewY = game.aircraft.screenY;
        missile.worldX = game.aircraft.worldX;
        missile.worldY = game.aircraft.worldY;
        missile.heading = radians(game.aircraft.pitchAtStep - 3);
        missile.drawDivisor = 3.5;
        // The picture points the other way from the pitch: turned half round it flies nose first.
        missile.drawAngle = game.aircraft.pitch - 180;
        missile.sector = game.sector;
        missile.boost = 0;
        missile.active = 1;
        game.missilesFired += 1;
    }
    // Set even when none is left, so a press launches at most one.
    game.triggerLatch = 1;
}

void moveMissiles(GameState& game) {
    const int32_t used = std::clamp(game.missilesFired, 0, kMissileCapacity);
    for (int32_t i = 0; i < used; ++i) {
        Missile& missile = game.missiles[i];
        if (!missile.active) continue;
        fly(missile, game);
        if (!(missile.worldX >= 0 && missile.worldX <= kSectionWidth && missile.worldY >= 0)) retireMissile(missile);
    }
}

void drawMissiles(const GameState& game) {
    const int32_t used = std::clamp(game.missilesFired, 0, kMissileCapacity);
    for (int32_t i = 0; i < used; ++i) {
        if (!game.missiles[i].active) continue;
        // Where this frame's flight takes it, before a landing retires it.
        Missile missile = game.missiles[i];
        fly(missile, game);
        if (missile.sector != game.sector) continue;
        blitRotatedSoft(game.assets->canvas, game.assets->missileImage,
                        wholePixels(missile.worldX - game.camera.cameraX),
                        wholePixels(missile.worldY - game.camera.cameraY), missile.drawDivisor, missile.drawAngle);
    }
}

bool lockedOn(const GameState& game, TargetKind kind, int32_t i) {
    const TargetRow& row = targetRow(kind);
    if (!row.missileLock) return false;
    const LockView target = row.lockView(game, i);
    return target.present && target.sector == game.sector && lockNumber(kind, i) == game.lockTarget &&
           game.selectedWeapon == kWeaponMissiles && target.alive && game.missilesFired < game.missileLoad;
}

void findNearestTarget(GameState& game) {
    game.nearestTargetDistance = kNoTarget;
    eachLockable(game, [&](TargetKind kind, const TargetRow& row, int32_t i) {
        const double distance = row.noseDistance(game, i);
        if (distance < game.nearestTargetDistance && row.lockView(game, i).alive) {
            game.nearestTargetDistance = distance;
            game.lockTarget = lockNumber(kind, i);
        }
    });
}

void updateLockOn(GameState& game) {
    SoundEffect& lockTone = game.assets->sounds[kSoundLockTone];
    SoundEffect& searchTone = game.assets->sounds[kSoundSearchTone];
    game.sectorTarget = SectorTarget::Absent;
    eachLockable(game, [&](TargetKind kind, const TargetRow& row, int32_t i) {
        const LockView target = row.lockView(game, i);
        if (target.sector == game.sector && target.alive) game.sectorTarget = SectorTarget::Present;
        if (!target.present) return;
        if (target.sector != game.sector) {
            if (game.selectedWeapon == kWeaponMissiles) startTone(searchTone, kSearchToneVolume);
            return;
        }
        if (!lockedOn(game, kind, i)) return;
        startTone(lockTone, kLockToneVolume);
        // Holding the fire key marks the slot the next launch will use.
        if (game.keys[kVkSpace] && game.missilesFired >= 0 && game.missilesFired < kMissileCapacity) {
            Missile& next = game.missiles[game.missilesFired];
            const WorldPoint at = row.where(game, i);
            next.locked = 1;
            next.target = lockNumber(kind, i);
            next.aimX = at.x - game.camera.cameraX;
            next.aimY = at.y - game.camera.cameraY;
        }
    });
    if (game.sectorTarget == SectorTarget::Absent) stopTone(lockTone);
    if (game.selectedWeapon == kWeaponGun || game.selectedWeapon == kWeaponBombs ||
        game.missilesFired == game.missileLoad)
        stopTone(lockTone);
}

void retireMissile(Missile& missile) {
    missile.viewX = missile.viewY = 0.0;
    missile.worldX = missile.worldY = 0.0;
    missile.heading = 0.0;
    missile.active = 0;
}

void resetMissiles(GameState& game, bool newGame) {
    for (Missile& missile : game.missiles) {
        retireMissile(missile);
        if (newGame) missile.locked = 0;
    }
}
