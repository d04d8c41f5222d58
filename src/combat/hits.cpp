// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "combat/hits.h"

#include <algorithm>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/blasts.h"
#include "combat/missiles.h"
#include "game/game_state.h"
#include "game/world.h"

namespace {

constexpr int32_t kNearDetonationVolume =
    3000; // these two lie outside the device's range: the voice keeps its last volume
constexpr int32_t kFarDetonationVolume = 10000;
constexpr double kFarDetonationAbove = 18500.0; // aircraft world y above which a ground burst sounds far
// By Blow (round, bomb, missile): where each lands.
constexpr double kGroundLine[3] = {kBulletGroundY, kRoadY, kMissileGroundY};

Shot shotOf(const Bullet& b) { return {Blow::Round, b.viewX, b.viewY, b.worldX, b.worldY, b.sector}; }
Shot shotOf(const Bomb& b) { return {Blow::Bomb, b.viewX, b.viewY, b.worldX, b.worldY, b.sector}; }
Shot shotOf(const Missile& m) {
    return {Blow::Missile, m.viewX, m.viewY, m.worldX, m.worldY, m.sector, m.locked != 0, m.target};
}

bool meetsGround(const Shot& shot) { return shot.worldY >= kGroundLine[static_cast<int32_t>(shot.blow)]; }

// A bomb bursting at world x catches the player's aircraft flying low over it.
bool meetsOwnAircraft(double bombX, const Aircraft& self) {
    return self.worldY > kRoadY - 70 && bombX - 100 < self.worldX && self.worldX < bombX + 55;
}

// A bomb or missile that struck bursts: over a target at world y `targetY` in the air, or on the
// ground, where a bomb may catch the aircraft; heard far when the player is well above.
void burst(GameState& game, const Shot& shot, bool inAir, double targetY) {
    const BlastKind kind = shot.blow == Blow::Bomb ? BlastKind::Bomb : BlastKind::Missile;
    if (inAir) startAirBlast(game, kind, shot.worldX, shot.worldY);
    if (!inAir) startGroundBlast(game, kind, shot.worldX);
    if (!inAir && shot.blow == Blow::Bomb && meetsOwnAircraft(shot.worldX, game.aircraft)) {
        raiseOutcome(game, Outcome::Blew);
    }
    const bool far = game.aircraft.worldY < (inAir ? targetY - 1500 : kFarDetonationAbove);
    playOnce(game.assets->sounds[far ? kSoundDetonationFar : kSoundDetonationClose],
             far ? kFarDetonationVolume : kNearDetonationVolume);
}

// Whether the shot reaches the ground, where it strikes the kinds standing on it.
bool landsOnGround(GameState& game, const Shot& shot) {
    if (!meetsGround(shot)) return false;
    if (shot.blow == Blow::Round) playOnce(game.assets->sounds[kSoundGroundHit], 0);
    reachTargets(game, shot, &TargetRow::onGround);
    if (shot.blow != Blow::Round) burst(game, shot, false, 0.0);
    return true;
}

// Whether the shot strikes target `index` of `kind` (or, homing, its own target), applying the hit.
bool strikesInAir(GameState& game, TargetKind kind, int32_t index, const Shot& shot) {
    const TargetRow& row = targetRow(kind);
    int32_t struck = index;
    if (!row.meets(game, shot, index)) {
        TargetRef target;
        if (!shot.homing || !targetOfLock(shot.target, &target) || target.kind != kind ||
            !row.homedOn(game, shot, target.index)) {
            return false;
        }
        struck = target.index;
    }
    row.take(game, struck, shot, true);
    if (shot.blow != Blow::Round) burst(game, shot, true, row.where(game, struck).y);
    return true;
}

// The one loop over the projectile tables; `strikes` says whether a projectile struck, and a
// projectile that did is spent. The slots walked are those the moves walk, below the counts, and
// with `atCount` also the slot at each count, which may still hold a projectile from before a
// re-arm. Rounds fill slots from 1, so their count is their last slot.
template <typename Strikes>
void strikeEach(GameState& game, int32_t atCount, Strikes strikes) {
    const int32_t rounds = std::min(game.roundsFired, kBulletCapacity - 1) + 1;
    const int32_t bombs = std::min(game.bombsDropped, kBombCapacity - atCount) + atCount;
    const int32_t missiles = std::min(game.missilesFired, kMissileCapacity - atCount) + atCount;
    for (int32_t j = 0; j < rounds; ++j) {
        Bullet& bullet = game.bullets[j];
        if (bullet.active && strikes(shotOf(bullet))) bullet = Bullet{};
    }
    for (int32_t j = 0; j < bombs; ++j) {
        Bomb& bomb = game.bombs[j];
        if (bomb.active && strikes(shotOf(bomb))) bomb = Bomb{};
    }
    for (int32_t j = 0; j < missiles; ++j) {
        Missile& missile = game.missiles[j];
        if (missile.active && strikes(shotOf(missile))) retireMissile(missile);
    }
}

} // namespace

void landProjectiles(GameState& game) {
    strikeEach(game, 0, [&](const Shot& shot) { return landsOnGround(game, shot); });
}

void strikeInAir(GameState& game, TargetKind kind, int32_t index) {
    strikeEach(game, 1, [&](const Shot& shot) { return strikesInAir(game, kind, index, shot); });
}
