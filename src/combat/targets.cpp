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
     .destroyed = cargoDestroyed, .where = cargoAt, .onRadar = cargoOnRadar},
};
// clang-format on

} // namespace

const TargetRow& targetRow(TargetKind kind) { return kTargetRows[kind >= 0 && kind < kTargetKinds ? kind : 0]; }

int32_t weightedKills(const GameState& game) {
    int32_t kills = 0;
    for (const TargetRow& row : kTargetRows) kills += row.destroyed(game) * row.rewardWeight;
    return kills;
}
