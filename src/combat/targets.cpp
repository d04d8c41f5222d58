// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

int32_t lockNumber(TargetKind kind, int32_t index) {
    int32_t first = 0;
    for (int32_t k = 0; k < kind; ++k) first += kTargetRows[k]->missileLock ? kTargetRows[k]->capacity : 0;
    return first + index;
}

bool targetOfLock(int32_t lock, TargetRef* target) {
    for (int32_t kind = 0; kind < kTargetKinds && lock >= 0; ++kind) {
        const TargetRow& row = *kTargetRows[kind];
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
    for (const TargetRow* row : kTargetRows) {
        if (row->setUp) row->setUp(game);
    }
}

void stepTargetKinds(GameState& game) {
    for (const TargetRow* row : kTargetRows) {
        if (row->step) row->step(game);
    }
}
