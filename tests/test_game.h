// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A game record for tests that run steps without start-up: assets nothing has loaded (every
// texture absent, the fonts without ink), a canvas of its own, and a real mixer voice in every
// sound slot so that what plays can be read back (the mixer has voices for two such games at
// once). It starts as a new game on the title.
// Content the build generates is reached through `generated`, which fails the test when the file
// is missing instead of skipping it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "raster/canvas.h"
#include "screens/briefing.h"

struct TestGame {
    std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    std::unique_ptr<GameState> game = std::make_unique<GameState>();
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(kCanvasWidth) * kCanvasHeight, 0);
    uint8_t* keys = game->keys;

    // `voiced` false leaves every sound slot silent, for tests that load sounds into them.
    explicit TestGame(bool voiced = true) {
        game->assets.to = assets.get();
        assets->canvas = Canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, pixels.data()};
        if (voiced) {
            for (SoundEffect& sound : assets->sounds)
                sound.voice = mixerCreateVoice(std::vector<int16_t>(20000, 100), false);
        }
        resetNewGame(*game);
    }
    ~TestGame() {
        for (SoundEffect& sound : assets->sounds) mixerReleaseVoice(sound.voice);
    }
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;
    GameState& operator*() { return *game; }
    GameState* operator->() { return game.get(); }

    // From the title straight into a sortie, as the screens would get there.
    void launch(int32_t mission, int32_t difficulty = 0) {
        game->screen = Screen::Briefing;
        game->mission = static_cast<Mission>(mission);
        game->difficulty = difficulty;
        takeOff(*game);
    }
    bool playing(int slot) const { return isPlaying(assets->sounds[slot]); }
    uint32_t pixel(int32_t x, int32_t y) const { return pixels[size_t(y) * kCanvasWidth + size_t(x)]; }
    // Pixels of exactly `colour` in the box from (x0, y0) to (x1, y1), exclusive.
    int count(uint32_t colour, int32_t x0 = 0, int32_t y0 = 0, int32_t x1 = kCanvasWidth,
              int32_t y1 = kCanvasHeight) const {
        int n = 0;
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) n += pixel(x, y) == colour ? 1 : 0;
        }
        return n;
    }
    void wipe() { std::fill(pixels.begin(), pixels.end(), 0u); }
};

// A file the build generates (pictures, sounds, music), by its path in the build tree.
inline std::string generated(const std::string& relative) {
    const std::string path = std::string(SKARNWING_BUILD_DIR) + "/" + relative;
    EXPECT_TRUE(std::filesystem::exists(path)) << path << " is missing: build the content first";
    return path;
}
