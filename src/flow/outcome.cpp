// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/outcome.h"

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "cockpit/cockpit.h"
#include "combat/blasts.h"
#include "combat/weapons.h"
#include "flight/flight.h"
#include "flight/gear.h"
#include "flight/scenery.h"
#include "flight/smoke.h"
#include "game/game_state.h"
#include "game/world.h"
#include "missions/airshow_rules.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr double kNoTargetDistance = 999999999.0;

// The fields both resets give the same values (the blasts' pace aside).
void resetSortieFields(GameState& game, bool newGame) {
    game.objectiveDone = 0;
    game.outcomeFresh = 0;
    game.outcomeHandled = 0;
    game.sortieClockStarted = 0;
    game.rewardPaid = 0;
    game.clickLatch = 0;
    game.throttleUntouched = 1;
    game.gameLoaded = 0;
    resetWeapons(game, newGame);
    // A blast's frames per image: 30 or 40 over its strip's image count.
    resetBlasts(game, newGame ? 30 : 40);
    game.trucksDestroyed = 0;
    game.cargoDestroyed = 0;
    game.nearestTargetDistance = kNoTargetDistance;
    game.aircraft.worldX = kParkedX;
    game.aircraft.worldY = kParkedY;
    resetAircraft(game);
    resetGearAndRunway(game);
    resetScenery(game);
    resetCockpit(game);
    resetAirshow(game);
    resetFrameRate(game);
}

// Money, upgrades and missions as a new game starts them. The open difficulty levels and the
// chosen one stay as they were: a lost game keeps the levels it opened.
void resetProgress(GameState& game) {
    game.money = 0;
    game.earned = 0;
    game.timeBonus = 0;
    game.reward = 0;
    game.savedNotice = 0;
    game.saveLoadLatch = 0;
    // Mission control prices each row from its steps before it shows them.
    constexpr int32_t kNewGamePrices[kUpgradeRows] = {100, 100, 100, 200, 0};
    for (int32_t row = 0; row < kUpgradeRows; ++row) {
        game.upgradeSteps[row] = 0;
        game.upgradePrices[row] = kNewGamePrices[row];
    }
    game.missionsUnlocked = 1;
    game.missionsWon = 0;
}

// The message of a lost sortie and where it stands; null for "Won" and "NULL".
const char* failureText(const GameState& game, int32_t* x) {
    // clang-format off
    switch (game.outcome) {
    case Outcome::Blew: *x = 540; return "You Blew Yourself Up.";
    case Outcome::Crashed: *x = 600; return "You Crashed.";
    case Outcome::Escaped: *x = 555; return "The Enemy Escaped.";
    case Outcome::Bombed: *x = 555; return "The Enemy Destroyed Our Base.";
    default: return nullptr;
    }
    // clang-format on
}

bool isLosingOutcome(const GameState& game) {
    int32_t x = 0;
    return failureText(game, &x) != nullptr;
}

} // namespace

void resetNewGame(GameState& game) {
    resetSortieFields(game, true);
    resetSmoke(game);
    resetFlightConstants(game);
    resetProgress(game);
    game.outcome = Outcome::Won;
    game.missionOver = 1;
    game.screen = Screen::Title;
}

void quitSortie(GameState& game) {
    stopSortieSounds(game);
    switchToTrack1(game);
    resetNewGame(game);
}

void resetMission(GameState& game) {
    resetSortieFields(game, false);
    game.outcome = Outcome::Flying;
    game.missionOver = 0;
    game.screen = titleShown(game) ? Screen::TitleOverControl : Screen::Control;
}

void drawOutcomeMessage(const GameState& game) {
    int32_t x = 0;
    if (const char* text = failureText(game, &x)) drawSmallText(game, text, x, 320, kRed);
}

void handleOutcome(GameState& game) {
    if (game.outcomeFresh && !game.outcomeHandled && isLosingOutcome(game)) {
        // The bomb's blast that blew the aircraft up is heard to its end.
        stopSortieSounds(game, game.outcome == Outcome::Blew ? kSoundDetonationClose : -1);
        playOnce(game.assets->sounds[game.outcome == Outcome::Crashed ? kSoundCrash : kSoundDetonationFar], 0);
        game.outcomeHandled = 1;
        game.outcomeFresh = 0;
        closeScreensBelowTitle(game);
    }
    if (game.keys[kVkY] && (game.screen == Screen::None || game.screen == Screen::Title)) {
        stopSortieSounds(game);
        switchToTrack1(game);
        if (game.outcome == Outcome::Won) {
            resetMission(game);
            stopStopwatch(game.missionStopwatch);
            computeTickLength(game.missionStopwatch);
        } else {
            resetNewGame(game);
        }
    }
}
