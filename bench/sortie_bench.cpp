// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The dispatcher's cost for a flying frame low over the home base, with the terrain, buildings,
// runway, shadow, gear, body and exhaust all in view: the aircraft takes off again and again.
// And for a mission-2 frame with the formation of ten cargo aircraft ahead, as spaced in flight or
// bunched into view, the drones playing, the lock diamond up and missiles homing.

#include <benchmark/benchmark.h>

#include <memory>

#include "app/dispatcher.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "raster/canvas.h"
#include "screens/briefing.h"

namespace {

constexpr int kFramesPerRun = 150; // from the brakes off to just past lift-off

void launchRun(GameState& game) {
    game.screen = Screen::Briefing;
    game.mission = kMissionConvoy;
    takeOff(game);
    game.keys[kVkA] = 1;
}

// One started game for every run; its assets live as long as it does.
GameState& startedGame() {
    static std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    static std::unique_ptr<GameState> game = [] {
        enterDataFolder("skarnwing-bench");
        auto g = std::make_unique<GameState>();
        platformOpen();
        runStartUp(*g, *assets, 1);
        return g;
    }();
    return *game;
}

void BM_SortieFrameOverTheBase(benchmark::State& state) {
    GameState& g = startedGame();
    launchRun(g);
    int frame = 0;
    for (auto _ : state) {
        if (++frame == kFramesPerRun) {
            state.PauseTiming();
            launchRun(g);
            frame = 0;
            state.ResumeTiming();
        }
        state.PauseTiming();
        g.assets->canvas.pixels = platformBeginFrame(&g.assets->canvas.rowPitch);
        wipeCanvas(g.assets->canvas);
        state.ResumeTiming();
        runDispatcher(g);
    }
}
BENCHMARK(BM_SortieFrameOverTheBase)->Unit(benchmark::kMillisecond);

constexpr int kInterceptionFrames = 40; // the missiles' flight from launch to their target

// Mission 2 at difficulty 3 in section -1, the aircraft flying level east just above the lane,
// the ten cargo aircraft `spacing` px apart ahead of it, missiles selected and the fire key held.
void launchInterception(GameState& g, int64_t spacing) {
    g.screen = Screen::Briefing;
    g.mission = kMissionCargo;
    g.difficulty = 3;
    g.unlockedDifficulty[kMissionCargo] = 3;
    g.missileLoad = 58;
    takeOff(g);
    g.sector = -1;
    g.aircraft.onGround = 0;
    g.aircraft.gearUp = 1;
    g.aircraft.worldX = 10000.0;
    g.aircraft.worldY = 7600.0;
    g.aircraft.airspeed = 8.0;
    g.aircraft.velX = 13.0;
    g.selectedWeapon = kWeaponMissiles;
    for (int i = 0; i < kCargoCapacity; ++i) {
        g.cargoAircraft[i].sector = -1;
        g.cargoAircraft[i].x = 10500.0 + double(spacing) * i;
    }
    for (uint8_t& key : g.keys) key = 0;
    g.keys[kVkSpace] = 1;
}

void BM_InterceptionFrame(benchmark::State& state) {
    GameState& g = startedGame();
    launchInterception(g, state.range(0));
    int frame = 0;
    for (auto _ : state) {
        if (++frame == kInterceptionFrames) {
            state.PauseTiming();
            launchInterception(g, state.range(0));
            frame = 0;
            state.ResumeTiming();
        }
        state.PauseTiming();
        g.assets->canvas.pixels = platformBeginFrame(&g.assets->canvas.rowPitch);
        wipeCanvas(g.assets->canvas);
        // A press every fourth frame: a new missile each time.
        g.keys[kVkSpace] = frame % 4 != 0;
        state.ResumeTiming();
        runDispatcher(g);
    }
}
// 2000: as they fly, one or two in view; 120: all ten bunched on the screen.
BENCHMARK(BM_InterceptionFrame)->Arg(2000)->Arg(120)->Unit(benchmark::kMillisecond);

} // namespace
