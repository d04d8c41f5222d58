#include "screens/pause.h"

#include <cstring>

#include "assets/game_assets.h"
#include "combat/outcome.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/controls.h"
#include "screens/focus.h"
#include "screens/plates.h"
#include "screens/settings_screen.h"

namespace {

constexpr int32_t kEntryCount = 5;
constexpr const char* kEntries[kEntryCount] = {"Resume", "Settings", "Controls", "Quit to title", "Quit game"};
constexpr Control kEntryControls[kEntryCount] = {
    {540, 282, 740, 310}, {540, 322, 740, 350}, {540, 362, 740, 390}, {540, 402, 740, 430}, {540, 442, 740, 470}};
enum Entry : int32_t { kResume, kSettings, kControls, kQuitToTitle, kQuitGame };

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
    mixerHoldEffects(false);
}

void choose(GameState& game, int32_t entry) {
    spendNavigation(game);
    switch (entry) {
    case kResume: resumeSortie(game); break;
    case kSettings: openSettings(game); break;
    case kControls: openControls(game); break;
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
    if (game.settingsShown || game.controlsShown) return;
    drawPlate(game, 490, 200, 790, 500, true);
    drawHeading(game, "PAUSED", 640, 222);
    const int32_t under = controlUnderMouse(game, kEntryControls, kEntryCount);
    for (int32_t i = 0; i < kEntryCount; ++i) {
        const Control& c = kEntryControls[i];
        drawBacking(game.assets->canvas, c.left, c.top, c.right, c.bottom, kHouseNavyMid);
        const int32_t width = labelWidth(game, kEntries[i]);
        const bool lit = i == under || i == game.pauseChoice;
        drawLabel(game, kEntries[i], (c.left + c.right - width) / 2, c.top + 2, lit ? kHouseAmber : kHouseCream);
    }
    drawFocusRing(game, kEntryControls[game.pauseChoice]);
}
