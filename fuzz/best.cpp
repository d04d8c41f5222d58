// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The best flight's reader on any bytes: whatever the text says, a best it accepts puts only
// values inside their ranges into a game record, and its script's frames stay within the flight.
// (The file checks before reading, a FIFO, a link or a huge file, are the tests' to try.)

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "replay/bests.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BestFlight best;
    std::string why;
    if (!parseBest(reinterpret_cast<const char*>(data), size, best, why)) return 0;
    static auto game = std::make_unique<GameState>();
    static auto assets = std::make_unique<GameAssets>(); // empty tracks: the music switch plays nothing
    game->assets.to = assets.get();
    game->musicTrack = 1;
    applyTakeOff(*game, best);
    if (game->truckCount > kTruckCapacity || game->cargoCount > kCargoCapacity || game->smokeIndex >= kSmokePuffCount ||
        game->mission < kMissionConvoy || game->mission > kMissionAirshow || game->lockTarget >= kCargoCapacity ||
        game->missilesFired != 0 || game->musicTrack < 1 || game->musicTrack > 2) {
        std::abort();
    }
    for (const Command& c : scriptOf(best).commands) {
        if (c.frame < 1 || c.frame > best.frames) std::abort();
    }
    return 0;
}
