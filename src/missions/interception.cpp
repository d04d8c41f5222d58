// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Mission 2, the interception: bring down the cargo formation flying east toward the base
// before one of them bombs it, then land.

#include <algorithm>

#include "combat/cargo.h"
#include "combat/missiles.h"
#include "combat/trucks.h"
#include "missions/missions.h"

namespace {

constexpr int32_t kCargoLevels[4] = {3, 5, 7, 10}; // cargo aircraft by difficulty

void setUpCargoMission(GameState& game) {
    // A level that is not open sets nothing up; the previous counts remain.
    if (game.difficulty > game.unlockedDifficulty[kMissionCargo]) return;
    game.truckCount = game.difficulty == 0 ? 3 : 4;
    setUpParkedTrucks(game);
    game.cargoCount = kCargoLevels[game.difficulty < 0 ? 0 : (game.difficulty > 3 ? 3 : game.difficulty)];
    setUpCargoAircraft(game);
}

bool formationDestroyed(const GameState& game) { return game.cargoCount > 0 && game.cargoDestroyed == game.cargoCount; }

// The lock candidate from last frame's distances, then the formation's collisions, hits,
// distances and drones.
void interceptStep(GameState& game) {
    findNearestTarget(game);
    updateCargo(game);
}

int32_t cargoTimeBonus(const GameState&, int32_t missionMs) {
    const int32_t seconds = (missionMs / 1000) % 60; // within the minute
    const int32_t minutes = missionMs / 60000;
    int32_t bonus = 0;
    for (const int32_t limit : {45, 30, 15}) {
        if ((minutes <= 2 && seconds <= limit) || minutes <= 1) bonus += 500;
    }
    return bonus;
}

// Some cargo aircraft still flying lies in a section that is neither home nor the player's: the
// marker points west, where they come from.
bool formationElsewhere(const GameState& game) {
    if (game.cargoDestroyed == game.cargoCount) return false;
    for (int32_t i = 0; i < game.cargoCount && i < kCargoCapacity; ++i) {
        const CargoAircraft& cargo = game.cargoAircraft[i];
        if (cargo.active && cargo.hitPoints > 0 && cargo.sector != 0 && cargo.sector != game.sector) return true;
    }
    return false;
}

constexpr BriefingLine kMissionTwoText[] = {
    {640, 213, "Captain,"},
    {640, 238,
     "Radar has found several An-225 cargo aircraft, the largest ever built, flying at full thrust "
     "toward our base. They have been converted to carry bombs, and they mean to destroy the "
     "facility of our secret aircraft."},
    {640, 328, "Get moving Captain. We need those jets taken out of the sky immediately."},
    {660, 448, "Mission Directives:"},
    {680, 478, "1.\tTake off and fly west."},
    {680, 503, "2.\tIntercept and destroy Antonov An-225 Mriyas."},
    {680, 528, "3.\tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

constexpr BriefingPhoto kCargoPhotos[] = {{kTexPhotoLarge, 80, 360}, {kTexPhotoCargo, 300, 120}};

} // namespace

// clang-format off
constinit const MissionRow kInterceptionMission = {
    .mission = kMissionCargo, .sections = {-2, 1},
    .marker = {-1, 0, kTexMission2Marker, 10, 310, formationElsewhere},
    .setUp = setUpCargoMission,
    .objectiveMet = formationDestroyed, .objectiveCheck = ObjectiveCheck::kAfterTargets,
    .step = interceptStep,
    .reward = payForKills, .timeBonus = cargoTimeBonus, .logbookName = "2 CARGO",
    .photos = kCargoPhotos, .orders = kMissionTwoText, .mapMarker = {2, 825, 600},
};
// clang-format on
