#include "screens/pause.h"

#include <cstring>

#include "assets/game_assets.h"
#include "combat/outcome.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "screens/about.h"
#include "screens/focus.h"
#include "screens/settings_screen.h"

namespace {

constexpr int32_t kEntryCount = 5;
constexpr const char* kEntries[kEntryCount] = {"Resume", "Settings", "About", "Quit to title", "Quit game"};
constexpr Rect kEntryControls[kEntryCount] = {
    {540, 300, 740, 330}, {540, 345, 740, 375}, {540, 390, 740, 420}, {540, 435, 740, 465}, {540, 480, 740, 510}};
enum Entry : int32_t { kResume, kSettings, kAbout, kQuitToTitle, kQuitGame };

constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

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
    game.aboutShown = 0;
    mixerHoldEffects(false);
}

void choose(GameState& game, int32_t entry) {
    spendNavigation(game);
    switch (entry) {
    case kResume: resumeSortie(game); break;
    case kSettings: openSettings(game); break;
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
    if (game.settingsShown) {
        drawSettings(game);
        return;
    }
    if (game.aboutShown) {
        drawAbout(game);
        return;
    }
    drawPanel(game, 500, 230, 780, 535);
    Canvas& canvas = game.assets->canvas;
    const BitmapFont& font = game.assets->smallFont;
    drawText(canvas, "PAUSED", 640 - 3 * font.cellWidth, 250, font, kGreen);
    const int32_t under = controlUnderMouse(game, kEntryControls, kEntryCount);
    for (int32_t i = 0; i < kEntryCount; ++i) {
        const Rect& c = kEntryControls[i];
        const int32_t width = static_cast<int32_t>(std::strlen(kEntries[i])) * font.cellWidth;
        drawText(canvas, kEntries[i], (c.left + c.right - width) / 2, c.top + 8, font, i == under ? kGreen : kWhite);
    }
    drawFocusRing(game, kEntryControls[game.pauseChoice]);
}
