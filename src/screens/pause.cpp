// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/pause.h"

#include <cstring>

#include "assets/game_assets.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/about.h"
#include "screens/controls.h"
#include "screens/focus.h"
#include "screens/plates.h"
#include "screens/settings_screen.h"

namespace {

constexpr int32_t kEntryCount = 6;
constexpr const char* kEntries[kEntryCount] = {"Resume", "Settings", "Controls", "About", "Quit to title", "Quit game"};
constexpr Rect kEntryControls[kEntryCount] = {{540, 262, 740, 290}, {540, 302, 740, 330}, {540, 342, 740, 370},
                                              {540, 382, 740, 410}, {540, 422, 740, 450}, {540, 462, 740, 490}};
enum Entry : int32_t { kResume, kSettings, kControls, kAbout, kQuitToTitle, kQuitGame };

bool flying(const GameState& game) { return !titleShown(game) && !game.missionOver; }

// A running clock counts on from where it stood; a cleared or stopped one is left alone.
void shiftRunning(Stopwatch& watch, int64_t ticks) {
    if (!watch.stopped && watch.startCount != 0) watch.startCount += ticks;
}

void pauseSortie(GameState& game) {
    game.paused = 1;
    game.pauseChoice = kResume;
    game.pausedAtCount = platformCounter();
    game.panelClickLatch = game.mouse.leftDown;
    mixerHoldEffects(true);
    platformHoldLastFrame();
}

void resumeSortie(GameState& game) {
    const int64_t ticks = platformCounter() - game.pausedAtCount;
    shiftRunning(game.missionStopwatch, ticks);
    shiftRunning(game.showClock, ticks);
    shiftRunning(game.fpsStopwatch, ticks);
    game.paused = 0;
    game.settingsShown = 0;
    game.controlsShown = 0;
    game.aboutShown = 0;
    mixerHoldEffects(false);
}

void choose(GameState& game, int32_t entry) {
    spendNavigation(game);
    switch (entry) {
    case kResume: resumeSortie(game); break;
    case kSettings: openSettings(game); break;
    case kControls: openControls(game); break;
    case kAbout: openAbout(game); break;
    case kQuitToTitle:
        resumeSortie(game);
        quitSortie(game);
        break;
    default: platformPostQuit(); break;
    }
}

} // namespace

void updatePause(GameState& game) {
    const bool pausePress = game.keys[kVkPauseKey] && !game.pauseKeyLatch;
    game.pauseKeyLatch = game.keys[kVkPauseKey];
    if (!game.paused) {
        if ((pausePress || game.keys[kVkFocusLost]) && flying(game)) pauseSortie(game);
        return;
    }
    if (pausePress) {
        resumeSortie(game);
        spendNavigation(game);
        return;
    }
    if (game.controlsShown) {
        updateControls(game);
        return;
    }
    if (game.settingsShown) {
        updateSettings(game);
        return;
    }
    if (game.aboutShown) {
        updateAbout(game);
        return;
    }
    const NavPress nav = navigation(game);
    if (nav.dy != 0) game.pauseChoice = nearestControl(kEntryControls, kEntryCount, game.pauseChoice, 0, nav.dy);
    const int32_t under = controlUnderMouse(game, kEntryControls, kEntryCount);
    const bool click = game.mouse.leftDown && !game.panelClickLatch;
    game.panelClickLatch = game.mouse.leftDown;
    if (click && under >= 0) {
        choose(game, under);
    } else if (nav.activate) {
        choose(game, game.pauseChoice);
    }
}

void drawPause(const GameState& game) {
    platformDrawHeldFrame();
    dimFrame(game);
    if (game.settingsShown) drawSettings(game);
    if (game.controlsShown) drawControls(game);
    if (game.aboutShown) drawAbout(game);
    if (game.settingsShown || game.controlsShown || game.aboutShown) return;
    drawPlate(game, 490, 180, 790, 520, true);
    drawHeading(game, "PAUSED", 640, 202);
    const int32_t under = controlUnderMouse(game, kEntryControls, kEntryCount);
    for (int32_t i = 0; i < kEntryCount; ++i) {
        const Rect& c = kEntryControls[i];
        drawBacking(game.assets->canvas, c.left, c.top, c.right, c.bottom, kHouseNavyMid);
        const int32_t width = labelWidth(game, kEntries[i]);
        const bool lit = i == under || i == game.pauseChoice;
        drawLabel(game, kEntries[i], (c.left + c.right - width) / 2, c.top + 2, lit ? kHouseAmber : kHouseCream);
    }
    drawFocusRing(game, kEntryControls[game.pauseChoice]);
}
