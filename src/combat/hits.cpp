#include "combat/hits.h"

#include <algorithm>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/blasts.h"
#include "combat/cargo.h"
#include "combat/convoy.h"
#include "combat/missiles.h"
#include "game/game_state.h"
#include "game/world.h"

namespace {

constexpr int32_t kGunHitVolume = 3000; // outside the device's range: the voice keeps its last volume
constexpr int32_t kNearDetonationVolume = 3000;
constexpr int32_t kFarDetonationVolume = 10000;
constexpr double kFarDetonationAbove = 18500.0; // aircraft world y above which a ground burst sounds far

// A projectile as the hit boxes see it.
struct Shot {
    Blow blow;
    double viewX, viewY; // where it was let go, relative to the camera then, moved with it
    double worldX, worldY;
    int32_t sector;      // section it was let go in
    bool homing;         // a missile marked by the lock-on, on cargo aircraft `target`
    int32_t target;
};

Shot shotOf(const Bullet& b) { return {Blow::Round, b.viewX, b.viewY, b.worldX, b.worldY, b.sector, false, 0}; }
Shot shotOf(const Bomb& b) { return {Blow::Bomb, b.viewX, b.viewY, b.worldX, b.worldY, b.sector, false, 0}; }
Shot shotOf(const Missile& m) {
    return {Blow::Missile, m.viewX, m.viewY, m.worldX, m.worldY, m.sector, m.locked != 0, m.target};
}

// The hit boxes, one per target kind.

// A blow at world x meets a live truck of its section inside its own window around the truck's
// x; a blast reaches across sections.
bool meetsTruck(Blow blow, double x, int32_t sector, const Truck& truck) {
    const double t = truck.x;
    bool inside = false;
    switch (blow) {
    case Blow::Round: inside = t - 50 < x && x < t + 65; break;
    case Blow::Bomb: inside = x - 50 < t + 98 && t < x + 60; break;
    case Blow::Missile: inside = x - 40 < t + 98 && t < x + 55; break;
    case Blow::Blast: return t > x - 70 && t < x + 70 && truck.alive;
    }
    return inside && sector == truck.sector && truck.alive;
}

// Each kind of projectile reaches the ground at its own line.
bool meetsGround(const Shot& shot) {
    switch (shot.blow) {
    case Blow::Round: return shot.worldY >= kBulletGroundY;
    case Blow::Bomb: return shot.worldY >= kRoadY;
    case Blow::Missile: return shot.worldY >= kMissileGroundY;
    case Blow::Blast: break;
    }
    return false;
}

// A projectile meets a live cargo aircraft of its section inside one of its boxes: the tail's
// boxes where it was let go; the fuselage there too for a round, where it is now for a bomb or an
// unguided missile, and never for a homing one (that strikes through meetsOwnTarget).
bool meetsCargo(const Shot& shot, const CargoAircraft& cargo, const CargoBoxes& boxes, double cameraX) {
    if (shot.sector != cargo.sector || !cargo.active) return false;
    const double x = shot.viewX;
    const double y = shot.viewY;
    const bool tail = insideBox(boxes.b, x, y) || insideBox(boxes.c, x, y) || insideBox(boxes.d, x, y);
    if (shot.blow == Blow::Round) return insideBox(boxes.a, x, y) || tail;
    return (!shot.homing && insideBox(boxes.a, shot.worldX - cameraX, y)) || tail;
}

// A homing missile has reached the aircraft it homes on, whatever that aircraft's section or state.
bool meetsOwnTarget(const Shot& shot, const CargoAircraft& target) {
    return target.x <= shot.worldX + 100 && shot.worldX <= target.x + 230 && target.y - 70 <= shot.worldY + 15 &&
           shot.worldY + 15 <= target.y + 110;
}

// A bomb bursting at world x catches the player's aircraft flying low over it.
bool meetsOwnAircraft(double bombX, const Aircraft& self) {
    return self.worldY > kRoadY - 70 && bombX - 100 < self.worldX && self.worldX < bombX + 55;
}

void playDetonation(GameState& game, bool far) {
    if (far) {
        playOnce(game.assets->sounds[kSoundDetonationFar], kFarDetonationVolume);
    } else {
        playOnce(game.assets->sounds[kSoundDetonationClose], kNearDetonationVolume);
    }
}

BlastKind blastOf(Blow blow) { return blow == Blow::Bomb ? BlastKind::Bomb : BlastKind::Missile; }

// A projectile on the ground: a round sounds and strikes the trucks; a bomb or missile strikes
// them, bursts, may catch the aircraft (a bomb) and detonates, far when the aircraft is high.
void land(GameState& game, const Shot& shot) {
    if (shot.blow == Blow::Round) playOnce(game.assets->sounds[kSoundGroundHit], 0);
    strikeTrucks(game, shot.blow, shot.worldX, shot.sector);
    if (shot.blow == Blow::Round) return;
    startGroundBlast(game, blastOf(shot.blow), shot.worldX);
    if (shot.blow == Blow::Bomb && meetsOwnAircraft(shot.worldX, game.aircraft)) raiseOutcome(game, "Blew");
    playDetonation(game, game.aircraft.worldY < kFarDetonationAbove);
}

// A hit on a cargo aircraft: a round takes 1 hit point with the gun-hit sound, a bomb 20 and a
// missile 25, bursting in the air where it struck, far when the player is well below.
void hitCargo(GameState& game, const Shot& shot, CargoAircraft& cargo) {
    if (shot.blow == Blow::Round) {
        cargo.hitPoints -= 1.0f;
        playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
        return;
    }
    cargo.hitPoints -= shot.blow == Blow::Bomb ? 20.0f : 25.0f;
    startAirBlast(game, blastOf(shot.blow), shot.worldX, shot.worldY);
    playDetonation(game, game.aircraft.worldY < cargo.y - 1500);
}

// What a strike is made against: the ground (cargo -1), or one cargo aircraft and its boxes.
struct Target {
    int32_t cargo;
    const CargoBoxes* boxes;
};

// Whether the shot strikes the target, applying the hit when it does.
bool strikes(GameState& game, const Target& target, const Shot& shot) {
    if (target.cargo < 0) {
        const bool down = meetsGround(shot);
        if (down) land(game, shot);
        return down;
    }
    CargoAircraft& cargo = game.cargoAircraft[target.cargo];
    if (meetsCargo(shot, cargo, *target.boxes, game.camera.cameraX)) {
        hitCargo(game, shot, cargo);
        return true;
    }
    if (!shot.homing || shot.target < 0 || shot.target >= kCargoCapacity) return false;
    CargoAircraft& own = game.cargoAircraft[shot.target];
    const bool reached = meetsOwnTarget(shot, own);
    if (reached) hitCargo(game, shot, own);
    return reached;
}

// The one loop over the projectile tables. The ground sees the slots the moves do, below the
// counts; a cargo aircraft also the slot at a count, which may still hold a projectile from before
// a re-arm. Rounds fill slots from 1, so their count is their last slot.
void strike(GameState& game, const Target& target) {
    const bool ground = target.cargo < 0;
    const auto last = [ground](int32_t count, int32_t capacity) {
        return ground ? std::min(count, capacity) - 1 : std::min(count, capacity - 1);
    };
    const int32_t lastRound = std::min(game.roundsFired, kBulletCapacity - 1);
    for (int32_t j = 0; j <= lastRound; ++j) {
        Bullet& bullet = game.bullets[j];
        if (bullet.active && strikes(game, target, shotOf(bullet))) bullet = Bullet{};
    }
    const int32_t lastBomb = last(game.bombsDropped, kBombCapacity);
    for (int32_t j = 0; j <= lastBomb; ++j) {
        Bomb& bomb = game.bombs[j];
        if (bomb.active && strikes(game, target, shotOf(bomb))) bomb = Bomb{};
    }
    const int32_t lastMissile = last(game.missilesFired, kMissileCapacity);
    for (int32_t j = 0; j <= lastMissile; ++j) {
        Missile& missile = game.missiles[j];
        if (missile.active && strikes(game, target, shotOf(missile))) retireMissile(missile);
    }
}

} // namespace

void strikeTrucks(GameState& game, Blow blow, double x, int32_t sector) {
    for (int32_t t = 0; t < game.truckCount && t < kTruckCapacity; ++t) {
        Truck& truck = game.trucks[t];
        const bool hit = meetsTruck(blow, x, sector, truck);
        if (blow != Blow::Round) {
            if (hit) killTruck(game, truck, blow, x);
            continue;
        }
        if (hit) {
            truck.hitPoints -= 10.0f;
            playOnce(game.assets->sounds[kSoundGunHit], kGunHitVolume);
        }
        // A truck at 0 burns where it stands; it dies, and counts, in the truck step.
        if (truck.hitPoints <= 0.0f && truck.alive) {
            truck.burning = 1;
            playOnce(game.assets->sounds[kSoundTruckWrecked], 0);
        }
    }
}

void landProjectiles(GameState& game) { strike(game, Target{-1, nullptr}); }

void strikeCargo(GameState& game, int32_t index, const CargoBoxes& boxes) { strike(game, Target{index, &boxes}); }
