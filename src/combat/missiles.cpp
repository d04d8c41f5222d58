#include "combat/missiles.h"

#include <algorithm>
#include <cmath>

#include "assets/game_assets.h"
#include "assets/sound.h"
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

// The step toward the target is split linearly between x and y by the aim's angle.
void home(Missile& missile, const CargoAircraft& target) {
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
// aircraft of the table (a damaged save) leaves the missile unguided.
void fly(Missile& missile, const GameState& game) {
    if (missile.locked && missile.target >= 0 && missile.target < kCargoCapacity) {
        home(missile, game.cargoAircraft[missile.target]);
    } else {
        flyStraight(missile);
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

bool lockedOn(const GameState& game, int32_t i) {
    const CargoAircraft& cargo = game.cargoAircraft[i];
    return cargo.active && cargo.x > 0 && cargo.sector == game.sector && i == game.lockTarget &&
           game.selectedWeapon == kWeaponMissiles && cargo.hitPoints > 0 && game.missilesFired < game.missileLoad;
}

void updateLockOn(GameState& game) {
    SoundEffect& lockTone = game.assets->sounds[kSoundLockTone];
    SoundEffect& searchTone = game.assets->sounds[kSoundSearchTone];
    game.sectorTarget = SectorTarget::Absent;
    const int32_t count = std::clamp(game.cargoCount, 0, kCargoCapacity);
    for (int32_t i = 0; i < count; ++i) {
        const CargoAircraft& cargo = game.cargoAircraft[i];
        if (cargo.sector == game.sector && cargo.hitPoints > 0) {
            game.sectorTarget = SectorTarget::Present;
        }
        if (!cargo.active || cargo.x <= 0) continue;
        if (cargo.sector != game.sector) {
            if (game.selectedWeapon == kWeaponMissiles) startTone(searchTone, kSearchToneVolume);
            continue;
        }
        if (!lockedOn(game, i)) continue;
        startTone(lockTone, kLockToneVolume);
        // Holding the fire key marks the slot the next launch will use.
        if (game.keys[kVkSpace] && game.missilesFired >= 0 && game.missilesFired < kMissileCapacity) {
            Missile& next = game.missiles[game.missilesFired];
            next.locked = 1;
            next.target = i;
            next.aimX = cargo.x - game.camera.cameraX;
            next.aimY = cargo.y - game.camera.cameraY;
        }
    }
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
