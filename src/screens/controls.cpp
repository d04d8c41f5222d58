// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/controls.h"

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/focus.h"
#include "screens/plates.h"

namespace {

constexpr int32_t kRowStep = 36;     // pixels per row
constexpr int32_t kGroupGap = 16;    // pixels above a group's title after the first
constexpr int32_t kKeysOffset = 235; // from a column's left to its keys
constexpr int32_t kPadOffset = 400;  // to its pad buttons
constexpr int32_t kColumnLeft[2] = {150, 650};
constexpr int32_t kTop = 120;
constexpr Rect kBack = {580, 640, 700, 670};

// One row: a label and up to two actions (shown side by side); a key or pad button that no
// action owns is named instead.
struct Row {
    const char* label;
    int32_t actions[2];
    const char* fixedKey; // a key no binding moves, or null
    int32_t fixedPad;     // a pad button no binding moves, or kPadNone
};
struct Group {
    const char* title;
    int32_t column;
    int32_t rowCount;
    Row rows[8];
};

constexpr int32_t kNoAction = -1;

constexpr Group kGroups[] = {
    {"FLIGHT",
     0,
     7,
     {{"Turn the nose", {kActTurnLeft, kActTurnRight}, nullptr, kPadNone},
      {"Roll over", {kActRollUp, kActRollDown}, nullptr, kPadNone},
      {"Throttle up", {kActThrottleUp, kNoAction}, nullptr, kPadNone},
      {"Throttle down", {kActThrottleDown, kNoAction}, nullptr, kPadNone},
      {"Landing gear", {kActGear, kNoAction}, nullptr, kPadNone},
      {"Smoke", {kActSmoke, kNoAction}, nullptr, kPadNone},
      {"Restart (lost)", {kActRestart, kNoAction}, nullptr, kPadNone}}},
    {"WEAPONS",
     0,
     2,
     {{"Fire", {kActFire, kNoAction}, nullptr, kPadNone},
      {"Next weapon", {kActNextWeapon, kNoAction}, nullptr, kPadNone}}},
    {"BETWEEN SORTIES",
     1,
     4,
     {{"Move up, down", {kActRollUp, kActRollDown}, nullptr, kPadNone},
      {"Move left, right", {kActTurnLeft, kActTurnRight}, nullptr, kPadNone},
      {"Choose", {kActFire, kNoAction}, nullptr, kPadNone},
      {"Back", {kNoAction, kNoAction}, "Backspace", 1}}},
    {"THE GAME'S OWN KEYS",
     1,
     6,
     {{"Pause", {kActPause, kNoAction}, nullptr, kPadNone},
      {"Diagnostics", {kActOverlay, kNoAction}, nullptr, kPadNone},
      {"Screenshot", {kActScreenshot, kNoAction}, nullptr, kPadNone},
      {"Sound on, off", {kActMute, kNoAction}, nullptr, kPadNone},
      {"Full screen", {kNoAction, kNoAction}, "Enter", kPadNone},
      {"Quit the game", {kNoAction, kNoAction}, "Esc", kPadNone}}},
};

void close(GameState& game) {
    spendNavigation(game);
    game.controlsShown = 0;
}

void drawRow(const GameState& game, const Row& row, int32_t left, int32_t y) {
    drawLabel(game, row.label, left, y + 3, kHouseCream);
    int32_t keyX = left + kKeysOffset;
    int32_t padX = left + kPadOffset;
    if (row.fixedKey != nullptr) keyX += drawKeyCap(game, row.fixedKey, keyX, y);
    if (row.fixedPad != kPadNone) padX += drawPadButton(game, row.fixedPad, padX, y - 1);
    bool anyPad = row.fixedPad != kPadNone;
    for (const int32_t action : row.actions) {
        if (action == kNoAction) continue;
        keyX += drawBinding(game, action, keyX, y, false) + 6;
        if (game.settings.padButtons[action] != kPadNone) {
            padX += drawBinding(game, action, padX, y - 1, true) + 2;
            anyPad = true;
        }
    }
    if (!anyPad && row.fixedKey == nullptr) drawLabel(game, "-", left + kPadOffset + 16, y + 3, kHouseCreamDim);
}

} // namespace

void openControls(GameState& game) {
    spendNavigation(game);
    game.controlsShown = 1;
    game.panelClickLatch = game.mouse.leftDown;
}

void updateControls(GameState& game) {
    const bool click = game.mouse.leftDown && !game.panelClickLatch;
    game.panelClickLatch = game.mouse.leftDown;
    const NavPress nav = navigation(game);
    if (nav.back || nav.activate || (click && controlUnderMouse(game, &kBack, 1) == 0)) close(game);
}

void drawControls(const GameState& game) {
    dimFrame(game);
    drawPlate(game, 120, 30, 1160, 690, true);
    drawHeading(game, "CONTROLS", 640, 48);
    drawLabel(game, "key", kColumnLeft[0] + kKeysOffset, kTop - 34, kHouseCreamDim);
    drawLabel(game, "pad", kColumnLeft[0] + kPadOffset, kTop - 34, kHouseCreamDim);
    drawLabel(game, "key", kColumnLeft[1] + kKeysOffset, kTop - 34, kHouseCreamDim);
    drawLabel(game, "pad", kColumnLeft[1] + kPadOffset, kTop - 34, kHouseCreamDim);
    int32_t y[2] = {kTop, kTop};
    for (const Group& group : kGroups) {
        const int32_t left = kColumnLeft[group.column];
        int32_t& at = y[group.column];
        if (at != kTop) at += kGroupGap;
        drawLabel(game, group.title, left, at, kHouseAmber);
        drawBacking(game.assets->canvas, left, at + 26, left + 485, at + 26, kHouseNavyLine);
        at += kRowStep;
        for (int32_t i = 0; i < group.rowCount; ++i) {
            drawRow(game, group.rows[i], left, at);
            at += kRowStep;
        }
    }
    const bool lit = controlUnderMouse(game, &kBack, 1) == 0;
    drawBacking(game.assets->canvas, kBack.left, kBack.top, kBack.right, kBack.bottom, kHouseNavyMid);
    drawLabel(game, "Back", (kBack.left + kBack.right) / 2 - labelWidth(game, "Back") / 2, kBack.top + 3,
              lit ? kHouseAmber : kHouseCream);
    drawFocusRing(game, kBack);
}
