#include "combat/outcome.h"

#include "combat/blasts.h"
#include "combat/cockpit.h"
#include "combat/weapons.h"
#include "flight/airshow.h"
#include "flight/flight.h"
#include "flight/gear.h"
#include "flight/scenery.h"
#include "flight/smoke.h"
#include "game/game_state.h"

namespace {

constexpr double kNoTargetDistance = 999999999.0;
constexpr double kParkedX = 19100.0; // world x of the aircraft parked on the home runway
constexpr double kParkedY = 19836.0;

// The fields both resets give the same values (the blasts' pace aside).
void resetSortieFields(GameState& game, bool newGame) {
    game.objectiveDone = 0;
    game.outcomeFresh = 0;
    game.clickLatch = 0;
    game.mapShown = 0;
    game.briefingShown = 0;
    game.throttleUntouched = 1;
    game.gameLoaded = 0;
    resetWeapons(game, newGame);
    // A blast's frames per image: 30 or 40 over its strip's image count.
    resetBlasts(game, newGame ? 30 : 40);
    game.trucksDestroyed = 0;
    game.cargoDestroyed = 0;
    game.bombRightOfTruck = 0;
    game.nearestTargetDistance = kNoTargetDistance;
    game.aircraft.worldX = kParkedX;
    game.aircraft.worldY = kParkedY;
    resetAircraft(game);
    resetGearAndRunway(game);
    resetScenery(game);
    resetCockpit(game);
    resetAirshow(game);
    game.frameCount = 0;
    game.framesPerSecond = 0;
}

} // namespace

void resetNewGame(GameState& game) {
    resetSortieFields(game, true);
    resetSmoke(game);
    resetFlightConstants(game);
    // A lost mission costs the whole game: money, upgrades and progress start over.
    game.money = 0;
    game.turnUpgrades = 0;
    game.engineUpgrades = 0;
    game.gunUpgrades = 0;
    game.bombUpgrades = 0;
    game.missileUpgrades = 0;
    game.missionsWon = 0;
    game.missionsUnlocked = 1;
    setOutcome(game, "Won");
    game.missionOver = 1;
    game.titleShown = 1;
    game.controlShown = 0;
}

void resetMission(GameState& game) {
    resetSortieFields(game, false);
    setOutcome(game, "NULL");
    game.missionOver = 0;
    game.controlShown = 1;
}
