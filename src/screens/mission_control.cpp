// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/mission_control.h"
#include "raster/colours.h"

#include <algorithm>
#include <cstdint>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "save/save_file.h"
#include "screens/focus.h"

namespace {

constexpr int32_t kNoticeFrames = 60;
constexpr int32_t kSaveButtonY = 115;
constexpr int32_t kLoadButtonY = 185;

// Where a row's texts, icon and pips stand on the background picture, whose labels and empty
// pip slots they fill in.
struct UpgradeRow {
    int32_t valueX, valueY;
    int32_t priceX, priceY;
    int32_t iconX, iconY;
    int32_t hotTop, hotBottom; // the buy icon's hot area, bounds included; x is the same for all
    int32_t pipX, pipY;
};

constexpr UpgradeRow kRows[kUpgradeRows] = {
    {745, 110, 1205, 82, 1175, 80, 83, 106, 892, 80},     {745, 170, 1205, 144, 1175, 142, 145, 168, 892, 142},
    {745, 230, 1205, 208, 1175, 206, 209, 232, 892, 206}, {745, 295, 1205, 271, 1175, 269, 272, 295, 892, 268},
    {745, 355, 1205, 329, 1175, 327, 330, 353, 893, 327},
};
constexpr int32_t kHotLeft = 1178;
constexpr int32_t kHotRight = 1202;
constexpr int32_t kPipSpacing = 28;
// The turn step as the single-precision constant it always was, widened.

void applyUpgrade(GameState& game, int row, int32_t missiles) {
    switch (row) {
    case kUpgradeTurn:
        game.aircraft.pitchUpRate += kTurnStep;
        game.aircraft.pitchDownRate += kTurnStep;
        break;
    case kUpgradeEngine:
        game.aircraft.maxSpeed += kEngineStep;
        game.aircraft.boostSpeed += kEngineStep;
        break;
    case kUpgradeGun: game.gunRounds += kGunStep; break;
    case kUpgradeBombs: game.bombLoad += kBombStep; break;
    default: game.missileLoad += missiles; break;
    }
}

void formatValue(const GameState& game, char* text, int row, int32_t missiles) {
    switch (row) {
    case kUpgradeTurn: formatText(text, "(%.1f + %.1f)", game.aircraft.pitchUpRate, kTurnStep); break;
    case kUpgradeEngine: formatText(text, "(%d + %d)", game.aircraft.boostSpeed, kEngineStep); break;
    case kUpgradeGun: formatText(text, "(%d + %d)", game.gunRounds, kGunStep); break;
    case kUpgradeBombs: formatText(text, "(%d + %d)", game.bombLoad, kBombStep); break;
    default: formatText(text, "(%d + %d)", game.missileLoad, missiles); break;
    }
}

// Winning at the highest open level opens the next one, and winning a mission opens the next
// mission; a second pass changes nothing.
void openProgress(GameState& game) {
    const MissionRow& row = currentMission(game);
    if (row.mission == kMissionNone) return;
    if (game.missionsUnlocked == row.mapMarker.opensAt && row.mapMarker.opensAt < missionCount()) {
        game.missionsUnlocked = row.mapMarker.opensAt + 1;
    }
    int32_t& unlocked = game.unlockedDifficulty[row.mission];
    for (int32_t level = 0; level < row.levels - 1; ++level) {
        if (unlocked == level && game.difficulty == level) unlocked = level + 1;
    }
}

bool resultsShown(const GameState& game) { return game.missionsWon > 0 && !game.gameLoaded; }

// The won mission's results: the progress it opens, its time bonus, and the credit, once.
void creditResults(GameState& game) {
    openProgress(game);
    // The clock was stopped at the win, so this is the sortie's time.
    game.timeBonus = computeTimeBonus(game, elapsedWholeMs(game.missionStopwatch));
    const int32_t extra = extraPayOf(game);
    if (!game.rewardPaid) {
        if (extra > 0) game.reward = currentMission(game).extraPayBonus;
        const int32_t total = game.reward + extra + game.timeBonus;
        game.earned = total;
        // Money held at the most an int32 holds (a save may start there) rather than run over.
        game.money = static_cast<int32_t>(std::min<int64_t>(int64_t(game.money) + total, INT32_MAX));
        game.rewardPaid = 1;
    }
    // Extra pay keeps the sum up to date with the time bonus, which is recomputed every frame.
    if (extra > 0) game.earned = game.reward + extra + game.timeBonus;
}

void drawResults(const GameState& game) {
    char text[kTextBufferSize];
    drawTexture(game, kTexResultsBanner, 400, 0);
    formatText(text, "Mission Bonus: $%d", game.reward);
    drawSmallText(game, text, 360, 160, kCyan);
    const int32_t ms = elapsedWholeMs(game.missionStopwatch);
    formatText(text, "Time: %.0f:%.2d ", static_cast<double>(ms / 60000), (ms / 1000) % 60);
    drawSmallText(game, text, 360, 190, kCyan);
    formatText(text, "Time Bonus: $%d ", game.timeBonus);
    drawSmallText(game, text, 360, 220, kCyan);
    if (const int32_t extra = extraPayOf(game); extra > 0) {
        formatText(text, "%s: $%d", currentMission(game).extraPayText, extra);
        drawSmallText(game, text, 360, 255, kCyan);
        formatText(text, "You Earned: $%d", game.earned);
        drawSmallText(game, text, 360, 295, kEarnedGreen);
    } else {
        formatText(text, "You Earned: $%d", game.earned);
        drawSmallText(game, text, 360, 260, kBlack);
    }
}

// The button sound plays once per press, however long the button is held.
void buttonSound(GameState& game) {
    if (!game.saveLoadLatch) playOnce(game.assets->sounds[kSoundGroundHit], 0);
    game.saveLoadLatch = 1;
}

constexpr Rect kSaveButton{80, kSaveButtonY, 195, kSaveButtonY + 50};
constexpr Rect kLoadButton{80, kLoadButtonY, 195, kLoadButtonY + 50};

Rect buyIcon(int row) { return Rect{kHotLeft, kRows[row].hotTop, kHotRight, kRows[row].hotBottom}; }

bool mouseOnSave(const GameState& game) { return mouseIn(game.mouse, kSaveButton); }
bool mouseOnLoad(const GameState& game) { return mouseIn(game.mouse, kLoadButton); }
bool mouseOnBuyIcon(const GameState& game, int row) { return mouseIn(game.mouse, buyIcon(row)); }
bool mouseOnArrow(const GameState& game) { return mouseIn(game.mouse, kGoOnArrow); }

void pressSave(GameState& game) {
    pressSaveButton(game);
    buttonSound(game);
}

// A load that fails leaves the game as it was, on this screen, and says so.
void pressLoad(GameState& game) {
    pressLoadButton(game);
    buttonSound(game);
}

// One step of a row, when the press is a new one and the money is there.
void buyStep(GameState& game, int row, int32_t missiles) {
    const int32_t price = game.upgradePrices[row];
    if (!game.clickLatch && game.money >= price) {
        applyUpgrade(game, row, missiles);
        game.upgradeSteps[row] += 1;
        game.money -= price;
    }
}

void goOnToMap(GameState& game) {
    game.mapFromMission = game.mission;
    game.mapFromDifficulty = game.difficulty;
    game.mapFromShowEarnings = game.showEarnings;
    game.screen = Screen::Map;
    switchToTrack1(game);
}

// BEST FLIGHTS, under the logbook's save and load: it opens the player's best flights.
constexpr Rect kBestsButton = {58, 262, 224, 298};

bool mouseOnBests(const GameState& game) { return mouseIn(game.mouse, kBestsButton); }

void openBests(GameState& game) {
    game.logbookShown = 1;
    game.focus = -1;
}

void drawBestsButton(const GameState& game) {
    drawPanel(game, kBestsButton.left, kBestsButton.top, kBestsButton.right, kBestsButton.bottom);
    drawSmallText(game, "BEST FLIGHTS", 64, 270, mouseOnBests(game) ? kGreen : kMoneyGreen);
}

// The controls the keys reach: save, load, the five buy icons, the go-on arrow, BEST FLIGHTS.
constexpr int32_t kSaveControl = 0;
constexpr int32_t kLoadControl = 1;
constexpr int32_t kFirstBuyControl = 2;
constexpr int32_t kArrowControl = kFirstBuyControl + kUpgradeRows;
constexpr int32_t kBestsControl = kArrowControl + 1;
constexpr int32_t kControlCount = kBestsControl + 1;

Rect controlAt(int32_t index) {
    if (index == kSaveControl) return kSaveButton;
    if (index == kLoadControl) return kLoadButton;
    if (index == kArrowControl) return kGoOnArrow;
    if (index == kBestsControl) return kBestsButton;
    return buyIcon(index - kFirstBuyControl);
}

// The arrows move the focus (it starts on the go-on arrow); Space presses the control as a
// click on it does, with the latch a click sets.
void runKeys(GameState& game, int32_t missiles) {
    Rect all[kControlCount];
    for (int32_t i = 0; i < kControlCount; ++i) all[i] = controlAt(i);
    const int32_t focus = focusFor(game, kFocusControl, kArrowControl);
    const NavPress nav = navigation(game);
    game.focus = nearestControl(all, kControlCount, focus, nav.dx, nav.dy);
    if (!nav.activate) return;
    if (game.focus == kSaveControl) {
        pressSave(game);
    } else if (game.focus == kLoadControl) {
        pressLoad(game);
    } else if (game.focus == kArrowControl) {
        goOnToMap(game);
    } else if (game.focus == kBestsControl) {
        openBests(game);
    } else if (game.upgradeSteps[game.focus - kFirstBuyControl] < kMaxUpgradeSteps) {
        buyStep(game, game.focus - kFirstBuyControl, missiles);
    }
    game.clickLatch = 1;
}

} // namespace

int32_t upgradePrice(int row, int32_t steps) {
    switch (row) {
    case kUpgradeBombs: return 400 * (steps + 3);
    case kUpgradeMissiles: return 400 * steps + 1000;
    default: return 300 * steps + 800;
    }
}

void drawButtonFrame(const GameState& game, int32_t y) {
    Canvas& canvas = game.assets->canvas;
    const auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        drawLine(canvas, x1, y1, x2, y2, kInstrumentGreen);
    };
    line(78, y - 2, 120, y - 2);
    line(77, y - 3, 120, y - 3);
    line(78, y - 2, 78, y + 40);
    line(77, y - 3, 77, y + 40);
    line(202, y + 52, 202, y + 10);
    line(203, y + 53, 203, y + 10);
    line(202, y + 52, 160, y + 52);
    line(203, y + 53, 160, y + 53);
}

namespace {

// What the frame does before any press: the prices and the results, credited once.
void startFrame(GameState& game) {
    platformShowCursor(true);
    game.timeBonus = 0;
    for (int row = 0; row < kUpgradeRows; ++row) game.upgradePrices[row] = upgradePrice(row, game.upgradeSteps[row]);
    if (resultsShown(game)) creditResults(game);
}

void drawBeneath(const GameState& game) {
    drawTexture(game, kTexUpgradePicture, 0, 0);
    if (resultsShown(game)) drawResults(game);
    drawTexture(game, kTexSaveButton, 80, kSaveButtonY);
    drawTexture(game, kTexLoadButton, 80, kLoadButtonY);
    if (mouseOnSave(game)) drawButtonFrame(game, kSaveButtonY);
    if (mouseOnLoad(game)) drawButtonFrame(game, kLoadButtonY);
}

// Save and load run on every frame the button is held on them.
void pressButtons(GameState& game) {
    if (mouseOnSave(game) && game.mouse.leftDown) pressSave(game);
    if (mouseOnLoad(game) && game.mouse.leftDown) pressLoad(game);
}

// The prices of this frame's start and the buy icons, pressed under a held button, before the
// press buys: the step that fills a row shows them once more.
void drawBuyIcons(const GameState& game) {
    char text[kTextBufferSize];
    for (int row = 0; row < kUpgradeRows; ++row) {
        if (game.upgradeSteps[row] >= kMaxUpgradeSteps) continue;
        formatText(text, "$%d", game.upgradePrices[row]);
        drawSmallText(game, text, kRows[row].priceX, kRows[row].priceY, kBlack);
        drawTexture(game, kTexBuyIcon, kRows[row].iconX, kRows[row].iconY);
        if (game.mouse.leftDown && mouseOnBuyIcon(game, row)) {
            drawTexture(game, kTexBuyIconPressed, kRows[row].iconX, kRows[row].iconY);
        }
    }
}

void pressBuyIconsAndArrow(GameState& game, int32_t missiles) {
    if (game.mouse.leftDown) {
        // One step per press: the latch stays set until the button is up, and the press that
        // opened this screen set it already.
        for (int row = 0; row < kUpgradeRows; ++row) {
            if (!mouseOnBuyIcon(game, row) || game.upgradeSteps[row] >= kMaxUpgradeSteps) continue;
            buyStep(game, row, missiles);
        }
        if (mouseOnArrow(game)) goOnToMap(game);
        if (mouseOnBests(game) && !game.clickLatch) openBests(game);
        game.clickLatch = 1;
    }
    if (game.screen == Screen::Control) runKeys(game, missiles); // not once a click left the screen
    if (!game.mouse.leftDown) {
        game.clickLatch = 0;
        game.saveLoadLatch = 0;
    }
}

// The rest as the presses left it; a value's added amount is the one this frame's step bought.
void drawAbove(const GameState& game, int32_t missiles) {
    char text[kTextBufferSize];
    drawSaveNotice(game);
    drawTexture(game, mouseOnArrow(game) ? kTexArrowLit : kTexArrow, kGoOnArrow.left, kGoOnArrow.top);
    drawSmallText(game, "MISSION CONTROL", 1010, 650, kGreen);
    drawBestsButton(game);
    for (int row = 0; row < kUpgradeRows; ++row) {
        for (int32_t i = 0; i < game.upgradeSteps[row] && i < kMaxUpgradeSteps; ++i) {
            drawTexture(game, kTexLevelPip, kRows[row].pipX + kPipSpacing * i, kRows[row].pipY);
        }
    }
    for (int row = 0; row < kUpgradeRows; ++row) {
        formatValue(game, text, row, missiles);
        drawSmallText(game, text, kRows[row].valueX, kRows[row].valueY, kBlack);
    }
    formatText(text, "Money: $%d", game.money);
    drawSmallText(game, text, 1050, 25, kMoneyGreen);
    if (game.focusShown && game.focusScreen == kFocusControl && game.focus >= 0 && game.focus < kControlCount) {
        drawFocusRing(game, controlAt(game.focus));
    }
}

} // namespace

void drawMissionControl(const GameState& game) {
    const int32_t missiles = missileStep(game.upgradeSteps[kUpgradeMissiles]);
    drawBeneath(game);
    drawBuyIcons(game);
    drawAbove(game, missiles);
}

void runMissionControl(GameState& game) {
    const int32_t missiles = missileStep(game.upgradeSteps[kUpgradeMissiles]);
    startFrame(game);
    drawBeneath(game);
    pressButtons(game);
    drawBuyIcons(game);
    pressBuyIconsAndArrow(game, missiles);
    drawAbove(game, missiles);
}
