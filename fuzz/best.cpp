// The best flight's reader on any bytes, through the file checks: whatever the text says, a best
// it accepts puts only values inside their ranges into a game record, and its script's frames
// stay within the flight.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/bests.h"
#include "assets/game_assets.h"
#include "fuzz_file.h"
#include "game/game_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeFuzzFile(data, size)) return 0;
    BestFlight best;
    if (!looksLikeBest(fuzzFilePath()) || !readBestFile("fuzz", fuzzFilePath(), best)) return 0;
    static auto game = std::make_unique<GameState>();
    static auto assets = std::make_unique<GameAssets>(); // empty tracks: the music switch plays nothing
    *game = GameState{};
    game->assets = assets.get();
    game->musicTrack = 1;
    applyTakeOff(*game, best);
    if (game->truckCount > kTruckCapacity || game->cargoCount > kCargoCapacity || game->smokeIndex >= kSmokePuffCount ||
        game->mission < kMissionConvoy || game->mission > kMissionAirshow || game->lockTarget >= kCargoCapacity ||
        game->missilesFired != 0) {
        std::abort();
    }
    for (const Command& c : scriptOf(best).commands) {
        if (c.frame < 0 || c.frame > best.frames) std::abort();
    }
    return 0;
}
