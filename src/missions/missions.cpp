// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "missions/missions.h"

#include <iterator>

#include "assets/game_assets.h"
#include "combat/targets.h"
#include "game/game_state.h"
#include "game/stopwatch.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr int32_t kRewardPerKill = 200;    // dollars per kill, each kind by its weight
constexpr int32_t kMarkerCycle = 30;       // frames per blink cycle of the direction marker
constexpr int32_t kMarkerVisibleFrom = 15; // the marker shows while the counter is 29..15

// Row 0 is no mission: what a sortie flies when none was picked. A field a row leaves out takes
// MissionRow's default.
constexpr MissionRow kNoMission = {.reward = payForKills};
// By Mission: each row's `mission` is its place here.
const MissionRow* const kMissions[] = {&kNoMission, &kConvoyMission, &kInterceptionMission, &kAirshowMission};
constexpr int32_t kMissionCount = std::size(kMissions) - 1;
static_assert(kMissionCount < kMissionSlots, "the record's tables by Mission hold every mission");

} // namespace

int32_t payForKills(const GameState& game) { return weightedKills(game) * kRewardPerKill; }

int32_t missionCount() { return kMissionCount; }

const MissionRow& missionRow(Mission mission) {
    return mission >= kMissionConvoy && mission <= kMissionCount ? *kMissions[mission] : *kMissions[kMissionNone];
}

const MissionRow& mapMission(int32_t index) { return missionRow(static_cast<Mission>(index + 1)); }

int32_t extraPayOf(const GameState& game) {
    const MissionRow& row = currentMission(game);
    return row.extraPay ? row.extraPay(game) : 0;
}

const MissionRow& currentMission(const GameState& game) { return missionRow(game.mission); }

int32_t unlockedDifficulty(const GameState& game) {
    const MissionRow& row = currentMission(game);
    return row.mission == kMissionNone ? 0 : game.unlockedDifficulty[row.mission];
}

void setUpMission(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.setUp) row.setUp(game);
    setUpTargetKinds(game);
}

void startMission(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.start) row.start(game);
}

void startSortieClock(GameState& game) {
    if (game.sortieClockStarted) return;
    startStopwatch(game.missionStopwatch);
    game.sortieClockStarted = 1;
}

void winWhenParked(GameState& game) {
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

void markObjectiveIfMet(GameState& game, ObjectiveCheck check) {
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
    markObjectiveIfMet(game, ObjectiveCheck::kAfterOwnStep);
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
