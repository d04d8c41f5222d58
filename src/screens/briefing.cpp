// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/briefing.h"
#include "raster/colours.h"

#include <algorithm>
#include <cstdint>

#include "assets/game_assets.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "screens/focus.h"

namespace {

constexpr int32_t kTextWidth = 570; // every briefing text wraps inside 570x600
constexpr int32_t kTextHeight = 600;

constexpr int32_t kMarkerSize = 25;
constexpr int32_t kStarTop = 548;
constexpr int32_t kStarLeft[kLevelSlots] = {760, 820, 880, 940};
constexpr int32_t kStarWidth = 55;
constexpr int32_t kStarHeight = 50;
constexpr Rect kCloseButton{1250, 2, 1275, 27}; // back to the map

Rect markerArea(const MapMarker& marker) {
    return Rect{marker.x, marker.y, marker.x + kMarkerSize, marker.y + kMarkerSize};
}
Rect starArea(int32_t level) {
    return Rect{kStarLeft[level], kStarTop, kStarLeft[level] + kStarWidth, kStarTop + kStarHeight};
}
constexpr int32_t kBriefingControls = kLevelSlots + 2; // the stars, TAKE OFF and close

void drawOrders(const MissionRow& row) {
    for (const BriefingLine& line : row.orders) {
        platformDrawText(line.text, line.x, line.y, line.x + kTextWidth, line.y + kTextHeight);
    }
}

} // namespace

bool mouseOnMarker(const GameState& game, const MapMarker& marker) { return mouseIn(game.mouse, markerArea(marker)); }

bool mouseOnStar(const GameState& game, int32_t level) { return mouseIn(game.mouse, starArea(level)); }

bool mouseOnTakeOff(const GameState& game) { return mouseIn(game.mouse, kGoOnArrow); }

namespace {

// What a click on a shown marker does.
void pickMission(GameState& game, int32_t index) {
    game.difficulty = 0;
    game.mission = mapMission(index).mission;
    game.clickLatch = 1;
    game.screen = Screen::Briefing;
    if (currentMission(game).clearsOnPick) {
        game.truckCount = 0;
        game.cargoCount = 0;
        game.trickCount = 0;
        game.showEarnings = 0;
    }
}

// What a click on the close button does: back to the map, the mission and difficulty kept.
void closeBriefing(GameState& game) {
    game.clickLatch = 1;
    game.screen = Screen::Map;
}

int32_t shownMarkers(const GameState& game) {
    return game.missionsUnlocked < 1
               ? 1
               : (game.missionsUnlocked > missionCount() ? missionCount() : game.missionsUnlocked);
}

const MapMarker& markerOf(int32_t index) { return mapMission(index).mapMarker; }

// The levels the briefing offers: those open, no more than the mission has.
int32_t offeredLevels(const GameState& game) {
    return std::min(unlockedDifficulty(game) + 1, currentMission(game).levels);
}

Rect markerControl(int32_t index) { return markerArea(markerOf(index)); }

// The briefing's controls the keys reach: the open stars, then TAKE OFF, then close.
int32_t briefingControls(const GameState& game, Rect* out) {
    int32_t count = 0;
    for (int32_t level = 0; level < offeredLevels(game); ++level) {
        out[count++] = starArea(level);
    }
    out[count++] = kGoOnArrow;
    out[count++] = kCloseButton;
    return count;
}

// The map's keys: the focus starts on the newest mission; Space picks it as a click does,
// Backspace goes back to mission control.
void runMapKeys(GameState& game) {
    Rect all[kMissionSlots];
    const int32_t count = shownMarkers(game);
    for (int32_t i = 0; i < count; ++i) all[i] = markerControl(i);
    const int32_t focus = focusFor(game, kFocusMap, count - 1);
    const NavPress nav = navigation(game);
    game.focus = nearestControl(all, count, focus < count ? focus : count - 1, nav.dx, nav.dy);
    if (nav.activate) {
        pickMission(game, game.focus);
    } else if (nav.back) {
        // Mission control recomputes its results from these every frame: a mission only looked
        // at must not count as the one won.
        game.mission = game.mapFromMission;
        game.difficulty = game.mapFromDifficulty;
        game.showEarnings = game.mapFromShowEarnings;
        game.screen = Screen::Control;
    }
}

// The briefing's keys: the focus starts on TAKE OFF; Space chooses a star, takes off or closes
// as a click does; Backspace closes. The press that takes off is not the gun's.
void runBriefingKeys(GameState& game) {
    Rect all[kBriefingControls];
    const int32_t count = briefingControls(game, all);
    const int32_t takeOffControl = count - 2;
    const int32_t focus = focusFor(game, kFocusBriefing, takeOffControl);
    const NavPress nav = navigation(game);
    game.focus = nearestControl(all, count, focus < count ? focus : takeOffControl, nav.dx, nav.dy);
    if (nav.back || (nav.activate && game.focus == count - 1)) {
        closeBriefing(game);
    } else if (nav.activate && game.focus == takeOffControl) {
        takeOff(game);
        game.keysHeldOff[kVkSpace] = 1; // the gun waits for this press to end
    } else if (nav.activate) {
        game.difficulty = game.focus;
    }
}

} // namespace

void drawMissionMap(const GameState& game) {
    drawTexture(game, kTexMapPicture, 0, 0);
    for (int32_t i = 0; i < missionCount(); ++i) {
        const MapMarker& marker = markerOf(i);
        if (game.missionsUnlocked < marker.opensAt) continue;
        const bool lit = mouseOnMarker(game, marker) && !game.clickLatch;
        drawTexture(game, lit ? kTexMapMarkerLit : kTexMapMarker, marker.x, marker.y);
    }
    if (game.focusShown && game.focusScreen == kFocusMap && game.focus >= 0 && game.focus < shownMarkers(game)) {
        drawFocusRing(game, markerControl(game.focus));
    }
}

void handleMissionMap(GameState& game) {
    for (int32_t i = 0; i < missionCount(); ++i) {
        const MapMarker& marker = markerOf(i);
        if (game.missionsUnlocked < marker.opensAt) continue;
        if (!mouseOnMarker(game, marker) || game.clickLatch || !game.mouse.leftDown) continue;
        pickMission(game, i);
    }
    if (game.screen == Screen::Map) runMapKeys(game);
}

void handleBriefing(GameState& game) {
    // Stars answer a held button on every frame, so dragging across them picks the last one.
    for (int32_t level = 0; level < offeredLevels(game); ++level) {
        if (mouseOnStar(game, level) && game.mouse.leftDown) game.difficulty = level;
    }
    if (game.mouse.leftDown) {
        if (mouseIn(game.mouse, kCloseButton) && !game.clickLatch) closeBriefing(game);
        if (mouseOnTakeOff(game) && !game.clickLatch) takeOff(game);
    }
    if (game.screen == Screen::Briefing) runBriefingKeys(game);
}

void drawBriefing(const GameState& game) {
    drawTexture(game, kTexBriefingPicture, 0, 0);
    const MissionRow& row = currentMission(game);
    for (const BriefingPhoto& photo : row.photos) drawTexture(game, photo.texture, photo.x, photo.y);
    // The stars are drawn in order as the held button picks one: those before it show the level
    // chosen so far, those after it the one picked.
    int32_t chosen = game.difficulty;
    for (int32_t level = 0; level < offeredLevels(game); ++level) {
        const int32_t x = kStarLeft[level];
        drawTexture(game, chosen == level ? kTexStarLit : kTexStar, x, kStarTop);
        if (mouseOnStar(game, level)) drawTexture(game, kTexStarLit, x, kStarTop);
        if (mouseOnStar(game, level) && game.mouse.leftDown) chosen = level;
    }
    drawOrders(row);
    drawTexture(game, kTexClose, kCloseButton.left, kCloseButton.top);
    drawTexture(game, mouseOnTakeOff(game) ? kTexArrowLit : kTexArrow, kGoOnArrow.left, kGoOnArrow.top);
    drawSmallText(game, "TAKE OFF", 1090, 650, kGreen);
}

void drawBriefingFocus(const GameState& game) {
    if (game.focusShown && game.focusScreen == kFocusBriefing) {
        Rect all[kBriefingControls];
        const int32_t count = briefingControls(game, all);
        if (game.focus >= 0 && game.focus < count) drawFocusRing(game, all[game.focus]);
    }
}

void takeOff(GameState& game) {
    setUpMission(game);
    game.throttleUntouched = 1;
    game.clickLatch = 1;
    resetMission(game); // raises the screen a won sortie returns to
    stopStopwatch(game.missionStopwatch);
    computeTickLength(game.missionStopwatch);
    clearStopwatch(game.showClock);
    startMission(game);
}
