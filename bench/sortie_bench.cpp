// The dispatcher's cost for a flying frame low over the home base, with the terrain, buildings,
// runway, shadow, gear, body and exhaust all in view: the aircraft takes off again and again.

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
    game.titleShown = 0;
    game.mission = 1;
    takeOff(game);
    game.keys[kVkA] = 1;
}

void BM_SortieFrameOverTheBase(benchmark::State& state) {
    // Both live for the whole run: the record points at the assets.
    static std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    static std::unique_ptr<GameState> game = [] {
        enterDataFolder("skarnwing-bench");
        auto g = std::make_unique<GameState>();
        platformOpen();
        runStartUp(*g, *assets, 1);
        return g;
    }();
    GameState& g = *game;
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

} // namespace
