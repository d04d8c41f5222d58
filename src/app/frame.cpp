// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/frame.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "app/dispatcher.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "screens/about.h"
#include "screens/controls.h"
#include "screens/focus.h"
#include "screens/pause.h"
#include "screens/settings_screen.h"

static_assert(kCanvasBands == kDrawnBands && kCanvasBandRows == kDrawnBandRows,
              "the canvas and the platform share bands");

namespace {
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}
} // namespace

void recordRenderTime(RenderStats& stats, float elapsed) {
    stats.sum += elapsed;
    if (elapsed <= stats.min) stats.min = elapsed;
    if (elapsed >= stats.max) stats.max = elapsed;
    stats.count += 1;
    if (stats.count == kRenderStatsWindow) {
        stats.lastAverage = stats.sum / static_cast<float>(kRenderStatsWindow);
        stats.lastMin = stats.min;
        stats.lastMax = stats.max;
        stats.sum = 0.0f;
        stats.min = kLargestFloat;
        stats.max = 0.0f;
        stats.count = 0;
    }
}

void runFrame(GameState& game) {
    game.settings = activeSettings(); // what the player's settings are as this frame begins
    startBehindTitle(game);
    // The title needs only what start-up waited for; every other screen may need anything.
    if (!titleShown(game)) awaitAssets(game);
    game.assets->canvas.pixels = platformBeginFrame(&game.assets->canvas.rowPitch);
    // The player's conveniences take their input first: a pause that begins here keeps the
    // last frame's picture, which the wipe would lose.
    readNavigation(game);
    const bool panelWasUp = game.paused || game.settingsShown || game.controlsShown || game.aboutShown;
    updatePause(game);
    if (game.controlsShown && !game.paused) {
        updateControls(game);
    } else if (game.settingsShown && !game.paused) {
        updateSettings(game);
    } else if (game.aboutShown && !game.paused) {
        updateAbout(game);
    }
    holdOffPanelPresses(game, panelWasUp || game.paused || game.settingsShown || game.controlsShown || game.aboutShown);
    wipeDrawn(game.assets->canvas);
    const auto dispatchStart = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuMs();
    const bool flown = runDispatcher(game);
    game.dispatcherCpuMs = threadCpuMs() - cpuStart;
    game.dispatcherMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - dispatchStart).count();
    // The platform's own line (a screenshot's place, sound muted), over everything, top right
    // under the full-screen frame rate, clear of the overlay's column and the cockpit's boxes.
    uint32_t noticeColour = 0;
    if (const char* notice = platformNotice(&noticeColour)) {
        const int32_t width = static_cast<int32_t>(std::strlen(notice)) * game.assets->smallFont.cellWidth;
        drawText(game.assets->canvas, notice, std::max(0, kClientWidth - 8 - width), 28, game.assets->smallFont,
                 noticeColour);
    }

    RenderStats& stats = game.renderStats;
    startStopwatch(stats.watch);
    const Canvas& canvas = game.assets->canvas;
    platformPresentFrame(canvas.allDrawn ? DrawnBands{} : DrawnBands{canvas.drawnLeft, canvas.drawnRight});
    stopStopwatch(stats.watch);
    recordRenderTime(stats, elapsedMs(stats.watch));

    // A pause stops the frame-rate window with everything else.
    if (!game.paused) countFrame(game, flown);

    if (game.keys[kVkEnter] && !game.enterHeld) {
        game.fullScreen = !game.fullScreen;
        platformSetFullScreen(game.fullScreen);
        game.enterHeld = 1;
    } else if (!game.keys[kVkEnter] && game.enterHeld) {
        game.enterHeld = 0;
    }

    // In full screen there is no title bar; the dispatcher draws the rate on the frame.
    if (!game.fullScreen) {
        char title[kTextBufferSize];
        formatText(title, "Skarnwing %.2f - %d fps", static_cast<double>(game.versionNumber), game.framesPerSecond);
        platformSetTitle(title);
    }

    loopMusic(game);
}
