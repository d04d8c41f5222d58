// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/weapons.h"

#include <cmath>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/missiles.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr int32_t kGunVolume = -500;

// The largest magazine and rack the tables can hold whatever the loads say (a load may come
// from a damaged save file): bullet slot n is used by the nth round, so 1999 rounds.
int32_t usableRounds(const GameState& game) {
    return game.gunRounds < kBulletCapacity - 1 ? game.gunRounds : kBulletCapacity - 1;
}
int32_t usableBombs(const GameState& game) { return game.bombLoad < kBombCapacity ? game.bombLoad : kBombCapacity; }

// The gun's flash scatters on every round: nine spreads drawn in this order from the one
// generator, so replays stay exact.
void rollMuzzleScatter(GameState& game) {
    constexpr int32_t kSpreads[9] = {2, 3, 4, 6, 6, 7, 8, 9, 10};
    for (int32_t i = 0; i < 9; ++i) game.muzzleScatter[i] = static_cast<int8_t>(gameRandom(game) % kSpreads[i]);
}

// A round one frame on, in a straight line at 60 pixels a frame before the sprite scale.
void advanceRound(Bullet& bullet) {
    const double step = 60.0 / bullet.scale;
    const double cx = std::cos(bullet.angle);
    const double cy = std::sin(bullet.angle);
    bullet.viewX -= cx * step;
    bullet.worldX -= cx * step;
    bullet.viewY -= cy * step;
    bullet.worldY -= cy * step;
}

// A bomb one frame on: it falls faster, slows toward no sideways speed and turns nose down.
void fall(Bomb& bomb) {
    bomb.velY += 0.15;
    if (bomb.velX > 0) bomb.velX -= 0.1;
    if (bomb.velX < 0) bomb.velX += 0.1;
    bomb.viewX += bomb.velX;
    bomb.viewY += bomb.velY;
    bomb.worldX += bomb.velX;
    bomb.worldY += bomb.velY;
}

bool upright(const GameState& game) {
    const double p = game.aircraft.pitch;
    if (!game.aircraft.flipped) return p >= 90.0 && p <= 270.0;
    return (p >= 0.0 && p <= 90.0) || (p >= 270.0 && p <= 360.0);
}

// The picture turns one degree a frame toward 270, straight down.
double turnNoseDown(double angle) {
    if (angle <= 0.0) angle = 360.0;
    if (angle >= 90.0 && angle < 270.0) angle += 1.0;
    if (angle > 270.0 && angle <= 360.0) angle -= 1.0;
    if (angle > 0.0 && angle <= 90.0) angle -= 1.0;
    return angle;
}

} // namespace

void cycleWeapon(GameState& game) {
    if (game.keys[kVkCtrl]) {
        if (!game.weaponKeyLatch) {
            game.selectedWeapon = game.selectedWeapon < kWeaponMissiles ? static_cast<Weapon>(game.selectedWeapon + 1)
                                                                        : kWeaponGun;
            game.weaponKeyLatch = 1;
        }
    } else {
        game.weaponKeyLatch = 0;
    }
}

void fireGun(GameState& game) {
    SoundEffect& gun = game.assets->sounds[kSoundGunFire];
    game.muzzleFlashLit = 0;
    if (game.keys[kVkSpace] && game.selectedWeapon == kWeaponGun) {
        if (game.roundsFired >= 0 && game.roundsFired < usableRounds(game)) {
            if (!game.triggerLatch) playLooping(gun, kGunVolume);
            game.triggerLatch = 1;
            game.roundsFired += 1;
            rollMuzzleScatter(game);
            game.muzzleFlashLit = 1;
            Bullet& bullet = game.bullets[game.roundsFired];
            bullet.viewX = game.aircraft.worldX - game.camera.cameraX;
            bullet.viewY = game.aircraft.worldY - game.camera.cameraY;
            bullet.worldX = game.aircraft.worldX;
            bullet.worldY = game.aircraft.worldY;
            bullet.angle = radians(game.aircraft.pitch);
            bullet.scale = game.aircraft.spriteScale;
            bullet.sector = game.sector;
            bullet.active = 1;
        }
        if (game.roundsFired >= usableRounds(game)) stopSound(gun);
    }
    if (!game.keys[kVkSpace]) {
        if (game.selectedWeapon == kWeaponGun) stopSound(gun);
        game.triggerLatch = 0;
    }
}

void moveBullets(GameState& game) {
    const int32_t last = game.roundsFired < kBulletCapacity - 1 ? game.roundsFired : kBulletCapacity - 1;
    for (int32_t i = 0; i <= last; ++i) {
        Bullet& bullet = game.bullets[i];
        if (bullet.active) advanceRound(bullet);
        // An empty slot holds zeros and passes unchanged.
        if (bullet.worldX < 0 || bullet.worldX > kSectionWidth || bullet.worldY < 0) bullet = Bullet{};
    }
}

void releaseStores(GameState& game) {
    const bool armed = game.keys[kVkSpace] && game.selectedWeapon == kWeaponBombs && !game.triggerLatch &&
                       game.aircraft.gearUp && upright(game);
    if (armed) {
        if (game.bombsDropped >= 0 && game.bombsDropped < usableBombs(game)) {
            playOnce(game.assets->sounds[kSoundBombDrop], 0);
            Bomb& bomb = game.bombs[game.bombsDropped];
            bomb.viewX = game.aircraft.screenX;
            bomb.viewY = game.aircraft.screenY + 20;
            bomb.worldX = game.aircraft.worldX;
            bomb.worldY = game.aircraft.worldY + 20;
            bomb.velX = game.aircraft.velX;
            bomb.velY = game.aircraft.velY + 1;
            bomb.drawDivisor = 4;
            bomb.drawAngle = game.aircraft.pitch;
            bomb.sector = game.sector;
            bomb.active = 1;
            game.bombsDropped += 1;
        }
        // Set even when the rack is empty, so a press releases at most one bomb.
        game.triggerLatch = 1;
    }
    // The missile launch sees the latch as the bomb release left it.
    launchMissile(game);
}

void moveBombs(GameState& game) {
    const int32_t used = game.bombsDropped < kBombCapacity ? game.bombsDropped : kBombCapacity;
    for (int32_t i = 0; i < used; ++i) {
        Bomb& bomb = game.bombs[i];
        if (!bomb.active) continue;
        fall(bomb);
        bomb.drawAngle = turnNoseDown(bomb.drawAngle);
    }
}

void drawStoresLabel(const GameState& game) {
    char text[kTextBufferSize];
    switch (game.selectedWeapon) {
    case kWeaponGun: formatText(text, "RCAF-20mm %d", game.gunRounds - game.roundsFired); break;
    case kWeaponBombs: formatText(text, "RCAF-750AG %d", game.bombLoad - game.bombsDropped); break;
    case kWeaponMissiles: formatText(text, "RCAF-Rapier %d", game.missileLoad - game.missilesFired); break;
    default: return;
    }
    drawSmallText(game, text, 5, 5, kInstrumentGreen);
}

void drawMuzzleFlash(const GameState& game) {
    if (!game.muzzleFlashLit) return;
    const double theta = radians(game.aircraft.pitchAtStep);
    const double mx = game.aircraft.screenX - std::cos(theta) * 34.0 / game.aircraft.spriteScale;
    const double my = game.aircraft.screenY - std::sin(theta) * 34.0 / game.aircraft.spriteScale;
    const int8_t* r = game.muzzleScatter;
    const int32_t a = r[0], b = r[1], c = r[2], d = r[3], e = r[4], f = r[5], g = r[6], h = r[7], k = r[8];
    const int32_t offsets[17][2] = {{b, c}, {-b, -a}, {-b, c}, {-c, a}, {a, -a}, {a, -a},  {-b, c}, {-a, b}, {-c, -a},
                                    {d, e}, {-f, -d}, {-c, f}, {e, -d}, {g, k},  {-f, -h}, {-g, k}, {g, -h}};
    for (int32_t i = 0; i < 17; ++i) {
        plot(game.assets->canvas, static_cast<int32_t>(mx + offsets[i][0]), static_cast<int32_t>(my + offsets[i][1]),
             i < 5 ? kWhite : kMuzzleYellow); // five white, then pale yellow
    }
}

void drawTracers(const GameState& game) {
    const int32_t last = game.roundsFired < kBulletCapacity - 1 ? game.roundsFired : kBulletCapacity - 1;
    for (int32_t i = 0; i <= last; ++i) {
        if (!game.bullets[i].active) continue;
        // Where this frame's move takes the round, before a landing retires it.
        Bullet bullet = game.bullets[i];
        advanceRound(bullet);
        const double cx = std::cos(bullet.angle);
        const double cy = std::sin(bullet.angle);
        for (int32_t k = 3; k <= 8; ++k) {
            plot(game.assets->canvas, static_cast<int32_t>(bullet.viewX - cx * k),
                 static_cast<int32_t>(bullet.viewY - cy * k), kTracerYellow);
        }
    }
}

void drawBombs(const GameState& game) {
    const int32_t used = game.bombsDropped < kBombCapacity ? game.bombsDropped : kBombCapacity;
    for (int32_t i = 0; i < used; ++i) {
        if (!game.bombs[i].active) continue;
        // Where this frame's fall takes the bomb, still at the angle it had.
        Bomb bomb = game.bombs[i];
        fall(bomb);
        const double sx = bomb.worldX - game.camera.cameraX;
        const double sy = bomb.worldY - game.camera.cameraY;
        if (sx <= 1280 && sy < 720) {
            blitRotatedSoft(game.assets->canvas, game.assets->bombImage, static_cast<int32_t>(sx),
                            static_cast<int32_t>(sy), bomb.drawDivisor, bomb.drawAngle);
        }
    }
}

void resetWeapons(GameState& game, bool newGame) {
    game.selectedWeapon = kWeaponGun;
    game.roundsFired = 0;
    game.bombsDropped = 0;
    game.missilesFired = 0;
    game.triggerLatch = 0;
    game.weaponKeyLatch = 0;
    // Projectiles of the last sortie never fly into the next one.
    for (Bullet& bullet : game.bullets) bullet = Bullet{};
    for (Bomb& bomb : game.bombs) bomb = Bomb{};
    resetMissiles(game, newGame);
    if (newGame) {
        game.gunRounds = kNewGameGunRounds;
        game.bombLoad = kNewGameBombLoad;
        game.missileLoad = kNewGameMissileLoad;
    }
}
