#include "combat/hits.h"

#include <algorithm>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/blasts.h"
#include "combat/cargo.h"
#include "combat/missiles.h"
#include "game/game_state.h"
#include "game/world.h"

namespace {

constexpr int32_t kGunHitVolume = 3000; // these three lie outside the device's range: the voice keeps its last volume
constexpr int32_t kNearDetonationVolume = 3000;
constexpr int32_t kFarDetonationVolume = 10000;
constexpr double kFarDetonationAbove = 18500.0; // aircraft world y above which a ground burst sounds far
// By Blow (round, bomb, missile): where each lands, and the hit points it takes from a cargo aircraft.
constexpr double kGroundLine[3] = {kBulletGroundY, kRoadY, kMissileGroundY};
constexpr float kCargoDamage[3] = {1.0f, 20.0f, 25.0f};

struct Shot { // a projectile as the hit boxes see it
    Blow blow;
    double viewX, viewY, worldX, worldY; // view: where it was let go, relative to the camera then
    int32_t sector;                      // section it was let go in
    bool homing = false;                 // a missile marked by the lock-on, on cargo aircraft `target`
    int32_t target = 0;
};

Shot shotOf(const Bullet& b) { return {Blow::Round, b.viewX, b.viewY, b.worldX, b.worldY, b.sector}; }
Shot shotOf(const Bomb& b) { return {Blow::Bomb, b.viewX, b.viewY, b.worldX, b.worldY, b.sector}; }
Shot shotOf(const Missile& m) {
    return {Blow::Missile, m.viewX, m.viewY, m.worldX, m.worldY, m.sector, m.locked != 0, m.target};
}

// The hit boxes, one per target kind. A truck: alive, of the blow's section (a blast reaches
// across sections), and inside the blow's own window around the truck's x.
bool meetsTruck(Blow blow, double x, int32_t sector, const Truck& truck) {
    const double t = truck.x;
    if (!truck.alive || (blow != Blow::Blast && sector != truck.sector)) return false;
    switch (blow) {
    case Blow::Round: return t - 50 < x && x < t + 65;
    case Blow::Bomb: return x - 50 < t + 98 && t < x + 60;
    case Blow::Missile: return x - 40 < t + 98 && t < x + 55;
    case Blow::Blast: return t > x - 70 && t < x + 70;
    }
    return false;
}

bool meetsGround(const Shot& shot) { return shot.worldY >= kGroundLine[static_cast<int32_t>(shot.blow)]; }

// A cargo aircraft, live and of the shot's section: its tail boxes where the shot was let go; its
// fuselage there too for a round, where it is now for a bomb or unguided missile, never for a
// homing one (that strikes through meetsOwnTarget).
bool meetsCargo(const Shot& shot, const CargoAircraft& cargo, const CargoBoxes& boxes, double cameraX) {
    if (shot.sector != cargo.sector || !cargo.active) return false;
    const double x = shot.viewX, y = shot.viewY;
    const bool tail = insideBox(boxes.b, x, y) || insideBox(boxes.c, x, y) || insideBox(boxes.d, x, y);
    if (shot.blow == Blow::Round) return insideBox(boxes.a, x, y) || tail;
    return (!shot.homing && insideBox(boxes.a, shot.worldX - cameraX, y)) || tail;
}

// A homing missile near the aircraft it homes on, whatever that aircraft's section or state.
bool meetsOwnTarget(const Shot& shot, const CargoAircraft& target) {
    return target.x <= shot.worldX + 100 && shot.worldX <= target.x + 230 && target.y - 70 <= shot.worldY + 15 &&
           shot.worldY + 15 <= target.y + 110;
}

// A bomb bursting at world x catches the player's aircraft flying low over it.
bool meetsOwnAircraft(double bombX, const Aircraft& self) {
    return self.worldY > kRoadY - 70 && bombX - 100 < self.worldX && self.worldX < bombX + 55;
}

// Whether the shot strikes the ground (cargo < 0) or cargo aircraft `cargo` (or, homing, its own
// target), applying the hit; a bomb or missile bursts, heard far when the player is well above.
bool strikes(GameState& game, int32_t cargo, const CargoBoxes* boxes, const Shot& shot) {
    CargoAircraft* struck = nullptr;
    if (cargo < 0) {
        if (!meetsGround(shot)) return false;
        if (shot.blow == Blow::Round) playOnce(game.assets->sounds[kSoundGroundHit], 0);
        strikeTrucks(game, shot.blow, shot.worldX, shot.sector);
    } else if (meetsCargo(shot, game.cargoAircraft[cargo], *boxes, game.camera.cameraX)) {
        struck = &game.cargoAircraft[cargo];
    } else if (shot.homing && shot.target >= 0 && shot.target < kCargoCapacity &&
               meetsOwnTarget(shot, game.cargoAircraft[shot.target])) {
        struck = &game.cargoAircraft[shot.target];
    } else {
        return false;
    }
    if (struck != nullptr) struck->hitPoints -= kCargoDamage[static_cast<int32_t>(shot.blow)];
    if (shot.blow == Blow::Round && struck != nullptr) playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
    if (shot.blow == Blow::Round) return true;
    const BlastKind kind = shot.blow == Blow::Bomb ? BlastKind::Bomb : BlastKind::Missile;
    if (struck != nullptr) startAirBlast(game, kind, shot.worldX, shot.worldY);
    if (struck == nullptr) startGroundBlast(game, kind, shot.worldX);
    if (struck == nullptr && shot.blow == Blow::Bomb && meetsOwnAircraft(shot.worldX, game.aircraft)) {
        raiseOutcome(game, Outcome::Blew);
    }
    const bool far = game.aircraft.worldY < (struck != nullptr ? struck->y - 1500 : kFarDetonationAbove);
    playOnce(game.assets->sounds[far ? kSoundDetonationFar : kSoundDetonationClose],
             far ? kFarDetonationVolume : kNearDetonationVolume);
    return true;
}

// The one loop over the projectile tables. The ground sees the slots the moves do, below the
// counts; a cargo aircraft also the slot at a count, which may still hold a projectile from
// before a re-arm. Rounds fill slots from 1, so their count is their last slot.
void strike(GameState& game, int32_t cargo, const CargoBoxes* boxes) {
    const int32_t atCount = cargo < 0 ? 0 : 1;
    const int32_t rounds = std::min(game.roundsFired, kBulletCapacity - 1) + 1;
    const int32_t bombs = std::min(game.bombsDropped, kBombCapacity - atCount) + atCount;
    const int32_t missiles = std::min(game.missilesFired, kMissileCapacity - atCount) + atCount;
    for (int32_t j = 0; j < rounds; ++j) {
        Bullet& bullet = game.bullets[j];
        if (bullet.active && strikes(game, cargo, boxes, shotOf(bullet))) bullet = Bullet{};
    }
    for (int32_t j = 0; j < bombs; ++j) {
        Bomb& bomb = game.bombs[j];
        if (bomb.active && strikes(game, cargo, boxes, shotOf(bomb))) bomb = Bomb{};
    }
    for (int32_t j = 0; j < missiles; ++j) {
        Missile& missile = game.missiles[j];
        if (missile.active && strikes(game, cargo, boxes, shotOf(missile))) retireMissile(missile);
    }
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

void strikeTrucks(GameState& game, Blow blow, double x, int32_t sector) {
    for (int32_t t = 0; t < game.truckCount && t < kTruckCapacity; ++t) {
        Truck& truck = game.trucks[t];
        const bool hit = meetsTruck(blow, x, sector, truck);
        if (hit && blow != Blow::Round) killTruck(game, truck, blow, x);
        if (blow != Blow::Round) continue;
        if (hit) {
            truck.hitPoints -= 10.0f;
            playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
        }
        if (truck.hitPoints <= 0.0f && truck.alive) { // it burns where it stands, and dies in the truck step
            truck.burning = 1;
            playOnce(game.assets->sounds[kSoundTruckWrecked], 0);
        }
    }
}

void landProjectiles(GameState& game) { strike(game, -1, nullptr); }

void strikeCargo(GameState& game, int32_t index, const CargoBoxes& boxes) { strike(game, index, &boxes); }
