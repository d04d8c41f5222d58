// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Mission 1, the convoy: destroy the trucks driving east through section 1, then land.

#include "combat/trucks.h"
#include "missions/missions.h"

namespace {

// Only the cargo mission flies cargo aircraft; a count left from an earlier sortie must not
// carry over into the convoy or the airshow.
void setUpConvoyMission(GameState& game) {
    game.cargoCount = 0;
    setUpMissionOneConvoy(game, game.difficulty);
}

// Every truck down while the aircraft is out over the convoy's road.
bool convoyDestroyed(const GameState& game) {
    if (game.sector <= 0 || game.truckCount <= 0 || game.truckCount > kTruckCapacity) return false;
    for (int32_t i = 0; i < game.truckCount; ++i) {
        if (game.trucks[i].alive) return false;
    }
    return true;
}

int32_t convoyTimeBonus(const GameState& game, int32_t missionMs) {
    const int32_t seconds = (missionMs / 1000) % 60; // within the minute
    if (missionMs / 60000 > 1) return 0;
    if (game.missionsWon <= 1) return seconds <= 20 ? 220 : seconds <= 40 ? 110 : 0;
    return seconds <= 45 ? 420 : 210;
}

constexpr BriefingLine kMissionOneText[] = {
    {640, 213, "Captain Veskor,"},
    {640, 238,
     "Thank you for your years with the Royal Canadian Air Force. The interceptor we built in secret "
     "must now fly in the open, and you are reassigned to the black-ops programme that flies it. You "
     "will leave your current fighters behind."},
    {640, 328,
     "A convoy of transport trucks loaded with stolen weapons and secrets is driving east toward a "
     "neighbouring country's town. Destroy it. Land at base whenever you need more bombs or rounds "
     "for the 20 mm gun."},
    {660, 448, "Mission Directives:"},
    {680, 478, "1.\tTake off and fly east."},
    {680, 503, "2.\tIntercept and destroy transports."},
    {680, 528, "3.\tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

constexpr BriefingPhoto kConvoyPhotos[] = {{kTexPhotoConvoy, 300, 120}};

} // namespace

// clang-format off
constinit const MissionRow kConvoyMission = {
    .mission = kMissionConvoy, .sky = kTexSkyMission1, .terrain = kTexTerrainMission1,
    .marker = kEastArrow(0, 0),
    .setUp = setUpConvoyMission,
    .objectiveMet = convoyDestroyed, .objectiveCheck = ObjectiveCheck::kAfterTargets,
    .reward = payForKills, .timeBonus = convoyTimeBonus, .logbookName = "1 CONVOY",
    .photos = kConvoyPhotos, .orders = kMissionOneText, .mapMarker = {1, 935, 630},
};
// clang-format on
