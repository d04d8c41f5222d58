// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/logbook.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "replay/bests.h"
#include "screens/focus.h"

namespace {

constexpr int32_t kMostControls = (kMissionSlots - 1) * kLevelSlots + 1; // the cells the record holds, and BACK
constexpr int32_t kPanelLeft = 150, kPanelTop = 100, kPanelRight = 1130, kPanelBottom = 560;
constexpr int32_t kFirstColumn = 380, kColumnWidth = 185, kFirstRow = 200, kRowsHeight = 270;

// The cells in use: a row per mission, a column per level slot (a mission with fewer levels
// leaves its later cells empty). Cell `index` is mission index / kLevelSlots + 1.
int32_t cellCount() { return missionCount() * kLevelSlots; }
int32_t backControl() { return cellCount(); } // after the cells, the way back
int32_t controlCount() { return cellCount() + 1; }
// The rows share the height three rows of 90 pixels take.
int32_t rowHeight() { return kRowsHeight / missionCount(); }

Rect controlAt(int32_t index) {
    if (index == backControl()) return Rect{560, 500, 720, 530};
    const int32_t x = kFirstColumn + (index % kLevelSlots) * kColumnWidth;
    const int32_t y = kFirstRow + (index / kLevelSlots) * rowHeight();
    return Rect{x, y, x + kColumnWidth - 15, y + rowHeight() - 15};
}

void readLogbook(GameState& game) {
    for (int32_t m = 0; m < missionCount(); ++m) {
        for (int32_t level = 0; level < kLevelSlots; ++level)
            game.logbook[m][level] = readLogbookCell(game, m + 1, level);
    }
}

void choose(GameState& game, int32_t index) {
    if (index == backControl()) {
        game.logbookShown = 0;
        game.focus = -1;
    } else if (game.logbook[index / kLevelSlots][index % kLevelSlots].state == BestState::Kept) {
        game.watchRequest = index;
    }
}

void drawCell(const GameState& game, int32_t index) {
    const LogbookCell& cell = game.logbook[index / kLevelSlots][index % kLevelSlots];
    const Rect c = controlAt(index);
    char text[kTextBufferSize];
    switch (cell.state) {
    case BestState::None: drawSmallText(game, "-", c.left + 10, c.top + 10, kGrey); return;
    case BestState::Damaged: drawSmallText(game, "DAMAGED", c.left + 10, c.top + 10, kRed); return;
    case BestState::OtherRules: drawSmallText(game, "OLD RULES", c.left + 10, c.top + 10, kGrey); break;
    case BestState::Kept:
        if (mapMission(index / kLevelSlots).extraPay) {
            formatText(text, "$%d", cell.figure);
        } else {
            formatText(text, "%d:%02d.%02d", cell.figure / 60000, cell.figure / 1000 % 60, cell.figure % 1000 / 10);
        }
        drawSmallText(game, text, c.left + 10, c.top + 10, kGreen);
        break;
    }
    drawSmallText(game, cell.date, c.left + 10, c.top + 40, kGrey);
}

void drawLogbook(const GameState& game) {
    dimFrame(game);
    drawPanel(game, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom);
    drawSmallText(game, "BEST FLIGHTS", 560, 120, kGreen);
    char text[kTextBufferSize];
    for (int32_t level = 0; level < kLevelSlots; ++level) {
        formatText(text, "LEVEL %d", level + 1);
        drawSmallText(game, text, kFirstColumn + level * kColumnWidth + 10, 165, kWhite);
    }
    for (int32_t m = 0; m < missionCount(); ++m)
        drawSmallText(game, mapMission(m).logbookName, 180, kFirstRow + m * rowHeight() + 10, kWhite);
    for (int32_t i = 0; i < cellCount(); ++i) drawCell(game, i);
    const Rect back = controlAt(backControl());
    drawSmallText(game, "BACK", back.left + 52, back.top + 6, kGreen);
    drawSmallText(game, "Space watches a flight, P pauses it, Backspace returns.", 300, 460, kGrey);
    if (game.focus >= 0 && game.focus < controlCount() && game.focusScreen == kFocusLogbook) {
        drawFocusRing(game, controlAt(game.focus));
    }
}

} // namespace

LogbookCell readLogbookCell(const GameState& game, int32_t mission, int32_t level) {
    LogbookCell cell;
    const std::string path = bestFilePath(game, mission, level);
    BestFlight best;
    struct stat info;
    if (path.empty() || (lstat(path.c_str(), &info) != 0 && errno == ENOENT)) return cell; // none kept yet
    if (!readBestFile("skarnwing", path, best) || best.mission != mission || best.level != level) {
        cell.state = BestState::Damaged;
        return cell;
    }
    cell.state = best.rules == kRulesVersion ? BestState::Kept : BestState::OtherRules;
    cell.figure = static_cast<int32_t>(best.figure);
    std::memcpy(cell.date, best.date.c_str(), std::min(best.date.size(), sizeof cell.date - 1));
    return cell;
}

void runLogbook(GameState& game) {
    if (game.logbookShown == 1) {
        readLogbook(game);
        game.logbookShown = 2;
    }
    Rect all[kMostControls];
    const int32_t count = controlCount();
    for (int32_t i = 0; i < count; ++i) all[i] = controlAt(i);
    const int32_t focus = focusFor(game, kFocusLogbook, 0);
    const NavPress nav = navigation(game);
    game.focus = nearestControl(all, count, focus, nav.dx, nav.dy);
    const int32_t under = controlUnderMouse(game, all, count);
    if (game.mouse.leftDown && !game.clickLatch) {
        game.clickLatch = 1;
        if (under >= 0) choose(game, under);
    } else if (nav.back) {
        choose(game, backControl());
    } else if (nav.activate) {
        choose(game, game.focus);
    }
    if (!game.mouse.leftDown) game.clickLatch = 0;
    if (game.logbookShown) drawLogbook(game);
}

void drawWatchTimeline(const GameState& game) {
    if (game.watchLength <= 0) return;
    Canvas& canvas = game.assets->canvas;
    const int64_t run = kCanvasWidth * std::min(game.watchFrame, game.watchLength) / game.watchLength;
    markDrawn(canvas, 0, kCanvasHeight - 4, kCanvasWidth, kCanvasHeight);
    for (int32_t y = kCanvasHeight - 4; y < kCanvasHeight; ++y) {
        uint32_t* row = canvas.pixels + static_cast<ptrdiff_t>(y) * (canvas.rowPitch / 4);
        for (int32_t x = 0; x < kCanvasWidth; ++x) row[x] = x < run ? kGreen : kTimelineBack;
    }
}
