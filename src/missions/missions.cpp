#include "missions/missions.h"

#include "assets/game_assets.h"
#include "assets/music.h"
#include "combat/cargo.h"
#include "combat/convoy.h"
#include "combat/outcome.h"
#include "flight/airshow.h"
#include "game/game_state.h"
#include "game/stopwatch.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr int32_t kRewardPerKill = 200;            // dollars per truck; a cargo aircraft counts twice
constexpr int32_t kMarkerCycle = 30;               // frames per blink cycle of the direction marker
constexpr int32_t kMarkerVisibleFrom = 15;         // the marker shows while the counter is 29..15
constexpr int32_t kCargoLevels[4] = {3, 5, 7, 10}; // cargo aircraft of mission 2 by difficulty

// ---- Set-up ----

// Only the cargo mission flies cargo aircraft; a count left from an earlier sortie must not
// carry over into the convoy or the airshow.
void setUpConvoyMission(GameState& game) {
    game.cargoCount = 0;
    setUpMissionOneConvoy(game, game.difficulty);
}

void setUpCargoMission(GameState& game) {
    // A level that is not open sets nothing up; the previous counts remain.
    if (game.difficulty > game.unlockedDifficulty[kMissionCargo]) return;
    game.truckCount = game.difficulty == 0 ? 3 : 4;
    setUpConvoy(game, true);
    game.cargoCount = kCargoLevels[game.difficulty < 0 ? 0 : (game.difficulty > 3 ? 3 : game.difficulty)];
    setUpCargoAircraft(game);
}

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

// ---- Objectives ----

// Every truck down while the aircraft is out over the convoy's road.
bool convoyDestroyed(const GameState& game) {
    if (game.sector <= 0 || game.truckCount <= 0 || game.truckCount > kTruckCapacity) return false;
    for (int32_t i = 0; i < game.truckCount; ++i) {
        if (game.trucks[i].alive) return false;
    }
    return true;
}

bool formationDestroyed(const GameState& game) { return game.cargoCount > 0 && game.cargoDestroyed == game.cargoCount; }

// The show time flown, counted only at the stand.
bool showTimeFlown(const GameState& game) {
    return game.sector == kShowSection && game.showTimeElapsed >= game.showTimeRequired;
}

// ---- Own steps ----

// The lock candidate from last frame's distances, then the formation's collisions, hits,
// distances and drones.
void interceptStep(GameState& game) {
    findNearestTarget(game);
    updateCargo(game);
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

// ---- Pay ----

int32_t payForKills(const GameState& game) { return (game.trucksDestroyed + 2 * game.cargoDestroyed) * kRewardPerKill; }

int32_t convoyTimeBonus(const GameState& game, int32_t missionMs) {
    const int32_t seconds = (missionMs / 1000) % 60; // within the minute
    if (missionMs / 60000 > 1) return 0;
    if (game.missionsWon <= 1) return seconds <= 20 ? 220 : seconds <= 40 ? 110 : 0;
    return seconds <= 45 ? 420 : 210;
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

// The airshow pays for the show time flown, whatever the clock says.
int32_t airshowTimeBonus(const GameState& game, int32_t) {
    int32_t bonus = 0;
    for (const double threshold : {100000.0, 200000.0, 300000.0, 400000.0}) {
        if (game.showTimeElapsed >= threshold) bonus += 500;
    }
    return bonus;
}

// ---- Direction marker ----

bool always(const GameState&) { return true; }

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

// ---- Briefings ----

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

constexpr BriefingPhoto kConvoyPhotos[] = {{kTexPhotoConvoy, 300, 120}};
constexpr BriefingPhoto kCargoPhotos[] = {{kTexPhotoLarge, 80, 360}, {kTexPhotoCargo, 300, 120}};
constexpr BriefingPhoto kAirshowPhotos[] = {{kTexPhotoAirshow, 315, 130}};

// ---- The table ----

constexpr DirectionMarker kEastArrow(int32_t homeWest, int32_t homeEast) {
    return {homeWest, homeEast, kTexArrow, 1170, 310, always};
}

// Row 0 is no mission: what a sortie flies when none was picked. A field a row leaves out takes
// MissionRow's default.
// clang-format off
constexpr MissionRow kMissions[kMissionCount + 1] = {
    {.reward = payForKills},
    {.mission = kMissionConvoy, .sky = kTexSkyMission1, .terrain = kTexTerrainMission1,
     .marker = kEastArrow(0, 0),
     .setUp = setUpConvoyMission,
     .objectiveMet = convoyDestroyed, .objectiveCheck = ObjectiveCheck::kAfterTargets,
     .reward = payForKills, .timeBonus = convoyTimeBonus,
     .photos = kConvoyPhotos, .orders = kMissionOneText, .mapMarker = {1, 935, 630}},
    {.mission = kMissionCargo, .sections = {-2, 1},
     .marker = {-1, 0, kTexMission2Marker, 10, 310, formationElsewhere},
     .setUp = setUpCargoMission,
     .objectiveMet = formationDestroyed, .objectiveCheck = ObjectiveCheck::kAfterTargets,
     .step = interceptStep,
     .reward = payForKills, .timeBonus = cargoTimeBonus,
     .photos = kCargoPhotos, .orders = kMissionTwoText, .mapMarker = {2, 825, 600}},
    // The airshow may go on for more trick money; the other missions only want the aircraft back.
    {.mission = kMissionAirshow, .sections = {0, 2},
     .marker = kEastArrow(0, 1),
     .setUp = setUpAirshowMission, .start = startAirshow, .clearsOnPick = true,
     .objectiveMet = showTimeFlown, .objectiveCheck = ObjectiveCheck::kAfterOwnStep,
     .prompt = "Keep Performing or Return to Base.", .promptX = 380, .promptY = 30,
     .step = airshowStep,
     .reward = payForKills, .timeBonus = airshowTimeBonus,
     .photos = kAirshowPhotos, .orders = kMissionThreeText, .mapMarker = {3, 750, 545}},
};
// clang-format on

} // namespace

const MissionRow& missionRow(Mission mission) {
    return mission >= kMissionConvoy && mission <= kMissionCount ? kMissions[mission] : kMissions[kMissionNone];
}

const MissionRow& currentMission(const GameState& game) { return missionRow(game.mission); }

int32_t unlockedDifficulty(const GameState& game) {
    const MissionRow& row = currentMission(game);
    return row.mission == kMissionNone ? 0 : game.unlockedDifficulty[row.mission];
}

void setUpMission(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.setUp) row.setUp(game);
}

void startMission(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.start) row.start(game);
}

void checkObjective(GameState& game) {
    if (!game.sortieClockStarted) {
        startStopwatch(game.missionStopwatch);
        game.sortieClockStarted = 1;
    }
    if (!game.objectiveDone) return;
    if (game.aircraft.onGround && game.aircraft.airspeed == 0.0) {
        stopSortieSounds(game);
        if (game.missionsWon < INT32_MAX) game.missionsWon += 1; // a save may start at the most
        const MissionRow& row = currentMission(game);
        game.reward = row.reward ? row.reward(game) : 0;
        game.outcome = Outcome::Won;
        game.missionOver = 1;
        game.screen = Screen::Control;
        stopStopwatch(game.missionStopwatch);
    }
}

void settleObjective(GameState& game, ObjectiveCheck check) {
    const MissionRow& row = currentMission(game);
    if (row.objectiveCheck == check && row.objectiveMet && row.objectiveMet(game)) game.objectiveDone = 1;
}

void drawObjectivePrompt(const GameState& game) {
    if (!game.objectiveDone) return;
    const MissionRow& row = currentMission(game);
    Canvas& canvas = game.assets->canvas;
    drawTextPlate(canvas, row.prompt, row.promptX, row.promptY, game.assets->largeFont);
    drawText(canvas, row.prompt, row.promptX, row.promptY, game.assets->largeFont, kGreen);
}

void runMissionStep(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.step) row.step(game);
    settleObjective(game, ObjectiveCheck::kAfterOwnStep);
}

void countMarkerBlink(GameState& game) {
    const DirectionMarker& marker = currentMission(game).marker;
    const bool nearHome = game.sector >= marker.homeWest && game.sector <= marker.homeEast;
    if (!game.objectiveDone && game.markerBlink == 0 && nearHome) game.markerBlink = kMarkerCycle;
    if (game.markerBlink > 0) game.markerBlink -= 1;
}

void drawDirectionMarker(const GameState& game) {
    if (game.markerBlink < kMarkerVisibleFrom) return;
    const DirectionMarker& marker = currentMission(game).marker;
    if (marker.shown && marker.shown(game)) drawTexture(game, marker.texture, marker.x, marker.y);
}

int32_t computeTimeBonus(const GameState& game, int32_t missionMs) {
    const MissionRow& row = currentMission(game);
    return row.timeBonus ? row.timeBonus(game, missionMs) : 0;
}
