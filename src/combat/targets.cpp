#include "combat/targets.h"

#include "game/game_state.h"

namespace {

// By TargetKind.
const TargetRow* const kTargetRows[kTargetKinds] = {&kTruckTarget, &kCargoTarget};

} // namespace

const TargetRow& targetRow(TargetKind kind) { return *kTargetRows[kind >= 0 && kind < kTargetKinds ? kind : 0]; }

int32_t weightedKills(const GameState& game) {
    int32_t kills = 0;
    for (const TargetRow* row : kTargetRows) kills += row->destroyed(game) * row->rewardWeight;
    return kills;
}

void reachTargets(GameState& game, const Shot& shot, bool TargetRow::*reached) {
    for (const TargetRow* row : kTargetRows) {
        if (!(row->*reached)) continue;
        const int32_t count = row->inUse(game);
        for (int32_t i = 0; i < count; ++i) row->take(game, i, shot, row->meets(game, shot, i));
    }
}
