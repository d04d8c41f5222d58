// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Mission 3, the airshow: fly tricks before the crowd in section 2 for the show time, then land
// or keep performing for more trick money.

#include "assets/game_assets.h"
#include "cockpit/cockpit.h"
#include "game/stopwatch.h"
#include "missions/airshow_rules.h"
#include "missions/missions.h"

namespace {

void setUpAirshowMission(GameState& game) {
    game.truckCount = 0;
    game.cargoCount = 0;
    setUpAirshow(game);
}

// The airshow flies to track 2, and the show clock starts with the switch; when track 2 already
// plays, the clock stays cleared until the aircraft first enters the show box.
void startAirshow(GameState& game) {
    if (game.musicTrack != 1) return;
    switchToTrack2(game);
    startStopwatch(game.showClock);
}

// The show time flown, counted only at the stand.
bool showTimeFlown(const GameState& game) {
    return game.sector == kShowSection && game.showTimeElapsed >= game.showTimeRequired;
}

void airshowStep(GameState& game) {
    drawShowTime(game);
    countShowTime(game);
    drawLoopCount(game);
    payTricks(game);
    drawTrickMessage(game);
    updateCrowd(game);
    drawShowDiagnostics(game);
}

int32_t trickMoney(const GameState& game) { return game.showEarnings; }

// The airshow pays for the show time flown, whatever the clock says.
int32_t airshowTimeBonus(const GameState& game, int32_t) {
    int32_t bonus = 0;
    for (const double threshold : {100000.0, 200000.0, 300000.0, 400000.0}) {
        if (game.showTimeElapsed >= threshold) bonus += 500;
    }
    return bonus;
}

constexpr BriefingLine kMissionThreeText[] = {
    {640, 213, "Captain,"},
    {640, 238,
     "As a reward you will show our secret fighter at a local airshow, where the crowd pays to see "
     "it fly."},
    {640, 328,
     "Perform for the time required; every trick earns extra money. The crowd loves loops and a fast "
     "low pass with the afterburner lit. A box on the radar marks the stretch the crowd likes best."},
    {660, 438, "Mission Directives:"},
    {680, 468, "1.\tTake off and fly east."},
    {680, 493, "2.\tPerform Tricks and show the world the CF-105."},
    {680, 518, "3.\tOnce you have performed for the required time,"},
    {680, 533, "  \tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

// The crowd's stand over the show section's runway, and the show box on its radar.
void drawCrowdStand(const GameState& game) {
    if (game.sector != kShowSection) return;
    drawTexture(game, kTexCrowdStand, game.runwayX - game.camera.cameraX, game.groundScreenY + 20);
}
void drawShowBox(const GameState& game) {
    if (game.sector == kShowSection) drawShowBoxOnRadar(game);
}

constexpr BriefingPhoto kAirshowPhotos[] = {{kTexPhotoAirshow, 315, 130}};

} // namespace

// The airshow may go on for more trick money; the other missions only want the aircraft back.
// clang-format off
constinit const MissionRow kAirshowMission = {
    .mission = kMissionAirshow, .sections = {0, 2},
    .marker = kEastArrow(0, 1),
    .setUp = setUpAirshowMission, .start = startAirshow, .clearsOnPick = true,
    .objectiveMet = showTimeFlown, .objectiveCheck = ObjectiveCheck::kAfterOwnStep,
    .prompt = "Keep Performing or Return to Base.", .promptX = 380, .promptY = 30,
    .weaponSections = {0, 1}, .drawScenery = drawCrowdStand, .drawOnRadar = drawShowBox,
    .step = airshowStep,
    .reward = payForKills, .extraPay = trickMoney, .extraPayText = "Trick Bonus", .extraPayBonus = 500,
    .timeBonus = airshowTimeBonus, .logbookName = "3 AIRSHOW",
    .photos = kAirshowPhotos, .orders = kMissionThreeText, .mapMarker = {3, 750, 545},
};
// clang-format on
