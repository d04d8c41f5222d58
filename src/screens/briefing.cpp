#include "screens/briefing.h"

#include "assets/music.h"
#include "combat/cargo.h"
#include "combat/convoy.h"
#include "combat/outcome.h"
#include "flight/airshow.h"
#include "game/game_state.h"

namespace {

constexpr int32_t kCargoLevels[4] = {3, 5, 7, 10}; // cargo aircraft of mission 2 by difficulty

} // namespace

void setUpMission(GameState& game) {
    // Only the cargo mission flies cargo aircraft; a count left from an earlier sortie must not
    // carry over into the convoy or the airshow.
    switch (game.mission) {
    case 1:
        game.cargoCount = 0;
        setUpMissionOneConvoy(game, game.difficulty);
        break;
    case 2:
        // A level that is not open sets nothing up; the previous counts remain.
        if (game.difficulty > game.unlockedDifficulty2) break;
        game.truckCount = game.difficulty == 0 ? 3 : 4;
        setUpConvoy(game);
        game.cargoCount = kCargoLevels[game.difficulty < 0 ? 0 : (game.difficulty > 3 ? 3 : game.difficulty)];
        setUpCargoAircraft(game);
        break;
    case 3:
        game.truckCount = 0;
        game.cargoCount = 0;
        setUpAirshow(game);
        break;
    default: break;
    }
}

void takeOff(GameState& game) {
    setUpMission(game);
    game.throttleUntouched = 1;
    game.clickLatch = 1;
    game.mapShown = 0;
    game.briefingShown = 0;
    game.controlShown = 0;
    resetMission(game);
    stopStopwatch(game.missionStopwatch);
    computeTickLength(game.missionStopwatch);
    clearStopwatch(game.showClock);
    // The airshow flies to track 2, and the show clock starts with the switch; when track 2
    // already plays, the clock stays cleared until the aircraft first enters the show box.
    if (game.mission == 3 && game.musicTrack1On) {
        switchToTrack2(game);
        startStopwatch(game.showClock);
    }
}
