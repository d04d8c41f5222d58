// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/inventory.h"
#include "assets/game_assets.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/platform.h"

namespace {
const char* const kTrickNameTexts[kTrickCount] = {"Buzz Crowd", "Normal Loop", "Inverted Loop", "Spin",
                                                  "Low Speed Flyby"};
} // namespace

std::unique_ptr<InventoryLoad> beginStartUp(GameState& game, GameAssets& assets, bool holdBack) {
    game.assets.to = &assets;
    // Buffers of a megabyte or more (decoded pictures, their scaled copies) get mappings of their
    // own, which go back to the system when freed. Left to malloc's sliding threshold they come
    // from the heaps once the first has been freed, and the free tops of the loading threads'
    // heaps, which malloc_trim does not return, kept 15-27 MB resident for the whole run.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    // Past a file-size limit a write then fails with EFBIG, which the save reports, instead of
    // the signal ending the game.
    std::signal(SIGXFSZ, SIG_IGN);
    createSoundDevice(game);
    return startInventory(game, holdBack);
}

void awaitAssets(GameState& game) {
    if (game.assets->loadBehindTitle != nullptr) finishInventory(game, std::move(game.assets->loadBehindTitle));
}

void startBehindTitle(GameState& game) {
    int32_t& frames = game.assets->framesBeforeStart;
    if (frames == 0 || --frames > 0) return;
    audioStart();
    if (game.assets->loadBehindTitle != nullptr) releaseInventory(*game.assets->loadBehindTitle);
}

void runStartUp(GameState& game, GameAssets& assets, uint32_t seed, std::unique_ptr<InventoryLoad> begun,
                bool titleFirst) {
    if (begun == nullptr) begun = beginStartUp(game, assets);
    game.missionStopwatch = makeStopwatch();

    for (int i = 0; i < kTrickCount; ++i) {
        std::snprintf(game.trickNames[i], kTrickNameSize, "%s", kTrickNameTexts[i]);
    }
    game.spinLatchUp = 0;
    game.spinLatchDown = 0;
    game.throttleUntouched = 1;
    game.gameLoaded = 0;
    game.enterHeld = 0;
    game.saveLoadLatch = 0;
    game.versionNumber = kVersionNumber;

    game.assets->canvas.width = kClientWidth;
    game.assets->canvas.height = kClientHeight;

    game.showClock = makeStopwatch();

    game.screen = Screen::None;
    game.fullScreen = 0;
    game.missionsUnlocked = 1;
    for (int32_t& level : game.unlockedDifficulty) level = 0;
    game.difficulty = 0;
    game.cargoCount = 1;
    game.smokeMode = 1;
    game.camera.cameraLeadMin = 0;
    game.camera.cameraLeadMax = 300;
    game.musicTrack = 1;

    game.fpsStopwatch = makeStopwatch();
    game.outcome = Outcome::Unset;

    loadFonts(game);
    if (titleFirst) {
        finishTitle(game, *begun);
        game.assets->loadBehindTitle = std::move(begun);
        game.assets->framesBeforeStart = 2; // as the second frame begins
    } else {
        finishInventory(game, std::move(begun));
        audioStart();
    }
    setUpSprites(game);

    playMusic(game.assets->track1);

    resetNewGame(game);
    platformShowCursor(true);
    seedRandom(game, seed);
}

void runShutDown(GameState& game) {
    awaitAssets(game); // no load may still write into the records being released
    game.outcome = Outcome::Unset;
    releaseSounds(game);
}
