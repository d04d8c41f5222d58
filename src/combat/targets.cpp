#include "combat/targets.h"

#include "combat/cargo.h"
#include "combat/convoy.h"
#include "game/game_state.h"

namespace {

// clang-format off
constexpr TargetRow kTargetRows[kTargetKinds] = {
    // The trucks of the convoy and the ones parked in mission 2: a round takes 10 hit points,
    // a bomb, a missile or a blast destroys one.
    {.onGround = true, .damage = {10.0f, kDestroys, kDestroys}, .blastDestroys = true, .rewardWeight = 1,
     .mark = kMarkTruck, .missileLock = false, .capacity = kTruckCapacity,
     .inUse = trucksInUse, .meets = meetsTruck, .homedOn = nullptr, .take = strikeTruck,
     .destroyed = trucksDestroyed, .where = truckAt, .onRadar = truckOnRadar},
    // The cargo formation: 1, 20 and 25 hit points of its 100 by round, bomb and missile; each
    // counts twice in the pay.
    {.onGround = false, .damage = {1.0f, 20.0f, 25.0f}, .blastDestroys = false, .rewardWeight = 2,
     .mark = kMarkCargo, .missileLock = true, .capacity = kCargoCapacity,
     .inUse = cargoInUse, .meets = meetsCargo, .homedOn = homedOnCargo, .take = strikeCargo,
     .destroyed = cargoDestroyed, .where = cargoAt, .onRadar = cargoOnRadar, .lockView = cargoLockView,
     .noseDistance = cargoNoseDistance},
};
// clang-format on

} // namespace

const TargetRow& targetRow(TargetKind kind) { return kTargetRows[kind >= 0 && kind < kTargetKinds ? kind : 0]; }

int32_t weightedKills(const GameState& game) {
    int32_t kills = 0;
    for (const TargetRow& row : kTargetRows) kills += row.destroyed(game) * row.rewardWeight;
    return kills;
}

int32_t lockNumber(TargetKind kind, int32_t index) {
    int32_t first = 0;
    for (int32_t k = 0; k < kind; ++k) first += kTargetRows[k].missileLock ? kTargetRows[k].capacity : 0;
    return first + index;
}

bool targetOfLock(int32_t lock, TargetRef* target) {
    for (int32_t kind = 0; kind < kTargetKinds && lock >= 0; ++kind) {
        const TargetRow& row = kTargetRows[kind];
        if (!row.missileLock) continue;
        if (lock < row.capacity) {
            *target = {TargetKind(kind), lock};
            return true;
        }
        lock -= row.capacity;
    }
    return false;
}

int32_t lockNumbers() { return lockNumber(kTargetKinds, 0); }

Site* claimSite(GameState& game, TargetKind kind) {
    if (game.siteCount < 0 || game.siteCount >= kSiteCapacity) return nullptr;
    Site& site = game.sites[game.siteCount++];
    site = Site{};
    site.kind = kind;
    site.alive = 1;
    return &site;
}

void setUpTargetKinds(GameState& game) {
    game.siteCount = 0;
    for (const TargetRow& row : kTargetRows) {
        if (row.setUp) row.setUp(game);
    }
}

void stepTargetKinds(GameState& game) {
    for (const TargetRow& row : kTargetRows) {
        if (row.step) row.step(game);
    }
}
