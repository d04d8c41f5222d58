#include "raster/colours.h"
#include "screens/briefing.h"

#include <cstdint>

#include "assets/game_assets.h"
#include "assets/music.h"
#include "combat/cargo.h"
#include "combat/convoy.h"
#include "combat/outcome.h"
#include "flight/airshow.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "screens/focus.h"

namespace {

constexpr int32_t kTextWidth = 570;  // every briefing text wraps inside 570x600
constexpr int32_t kTextHeight = 600;

struct MapMarker {
    int32_t opensAt; // missionsUnlocked from which the marker is shown
    int32_t x, y;    // top-left; the hot area is 25x25 from here, bounds included
};

constexpr MapMarker kMarkers[3] = {{1, 935, 630}, {2, 825, 600}, {3, 750, 545}};
constexpr int32_t kMarkerSize = 25;
constexpr int32_t kStarTop = 548;
constexpr int32_t kStarLeft[4] = {760, 820, 880, 940};
constexpr int32_t kStarWidth = 55;
constexpr int32_t kStarHeight = 50;

struct BriefingLine {
    int32_t x, y;
    const char* text;
};

// The orders of each mission; a tab sets the directive's text at the indent.
constexpr BriefingLine kMissionOneText[] = {
    {640, 213, "Captain Veskor,"},
    {640, 238,
     "Thank you for your years with the Royal Canadian Air Force. The interceptor we built in secret "
     "must now fly in the open, and you are reassigned to the black-ops programme that flies it. You "
     "will leave your current fighters behind."},
    {640, 328,
     "A convoy of transport trucks loaded with stolen weapons and secrets is driving east toward a "
     "neighbouring country's town. Destroy it. Land at base whenever you need more bombs or rounds "
     "for the 20 mm gun."},
    {660, 448, "Mission Directives:"},
    {680, 478, "1.\tTake off and fly east."},
    {680, 503, "2.\tIntercept and destroy transports."},
    {680, 528, "3.\tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

constexpr BriefingLine kMissionTwoText[] = {
    {640, 213, "Captain,"},
    {640, 238,
     "Radar has found several An-225 cargo aircraft, the largest ever built, flying at full thrust "
     "toward our base. They have been converted to carry bombs, and they mean to destroy the "
     "facility of our secret aircraft."},
    {640, 328, "Get moving Captain. We need those jets taken out of the sky immediately."},
    {660, 448, "Mission Directives:"},
    {680, 478, "1.\tTake off and fly west."},
    {680, 503, "2.\tIntercept and destroy Antonov An-225 Mriyas."},
    {680, 528, "3.\tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

constexpr BriefingLine kMissionThreeText[] = {
    {640, 213, "Captain,"},
    {640, 238,
     "As a reward you will show our secret fighter at a local airshow, where the crowd pays to see "
     "it fly."},
    {640, 328,
     "Perform for the time required; every trick earns extra money. The crowd loves loops and a fast "
     "low pass with the afterburner lit. A box on the radar marks the stretch the crowd likes best."},
    {660, 438, "Mission Directives:"},
    {680, 468, "1.\tTake off and fly east."},
    {680, 493, "2.\tPerform Tricks and show the world the CF-105."},
    {680, 518, "3.\tOnce you have performed for the required time,"},
    {680, 533, "  \tReturn to base and land."},
    {680, 568, "Difficulty:"},
};

template <size_t N>
void drawLines(const BriefingLine (&lines)[N]) {
    for (const BriefingLine& line : lines) {
        platformDrawText(line.text, line.x, line.y, line.x + kTextWidth, line.y + kTextHeight);
    }
}

int32_t unlockedDifficulty(const GameState& game) {
    const bool known = game.mission >= kMissionConvoy && game.mission <= kMissionAirshow;
    return known ? game.unlockedDifficulty[game.mission] : 0;
}

} // namespace

bool mouseOnMarker(const GameState& game, const MapMarker& marker) {
    return mouseIn(game.mouse, marker.x, marker.x + kMarkerSize, marker.y, marker.y + kMarkerSize);
}

bool mouseOnStar(const GameState& game, int32_t level) {
    const int32_t x = kStarLeft[level];
    return mouseIn(game.mouse, x, x + kStarWidth, kStarTop, kStarTop + kStarHeight);
}

bool mouseOnTakeOff(const GameState& game) { return mouseIn(game.mouse, 1220, 1270, 635, 685); }

namespace {

// What a click on a shown marker does.
void pickMission(GameState& game, int32_t index) {
    game.difficulty = 0;
    game.mission = static_cast<Mission>(index + 1);
    game.clickLatch = 1;
    game.screen = Screen::Briefing;
    if (game.mission == kMissionAirshow) {
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
    return game.missionsUnlocked < 1 ? 1 : (game.missionsUnlocked > 3 ? 3 : game.missionsUnlocked);
}

Control markerControl(int32_t index) {
    const MapMarker& marker = kMarkers[index];
    return Control{marker.x, marker.y, marker.x + kMarkerSize, marker.y + kMarkerSize};
}

// The briefing's controls the keys reach: the open stars, then TAKE OFF, then close.
int32_t briefingControls(const GameState& game, Control* out) {
    int32_t count = 0;
    for (int32_t level = 0; level <= unlockedDifficulty(game) && level < 4; ++level) {
        out[count++] = Control{kStarLeft[level], kStarTop, kStarLeft[level] + kStarWidth, kStarTop + kStarHeight};
    }
    out[count++] = Control{1220, 635, 1270, 685};
    out[count++] = Control{1250, 2, 1275, 27};
    return count;
}

// The map's keys: the focus starts on the newest mission; Space picks it as a click does,
// Backspace goes back to mission control.
void runMapKeys(GameState& game) {
    Control all[3];
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
    Control all[6];
    const int32_t count = briefingControls(game, all);
    const int32_t takeOffControl = count - 2;
    const int32_t focus = focusFor(game, kFocusBriefing, takeOffControl);
    const NavPress nav = navigation(game);
    game.focus = nearestControl(all, count, focus < count ? focus : takeOffControl, nav.dx, nav.dy);
    if (nav.back || (nav.activate && game.focus == count - 1)) {
        closeBriefing(game);
    } else if (nav.activate && game.focus == takeOffControl) {
        takeOff(game);
        game.fireSwallowed = 1;
    } else if (nav.activate) {
        game.difficulty = game.focus;
    }
}

} // namespace

void drawMissionMap(const GameState& game) {
    drawTexture(game, kTexMapPicture, 0, 0);
    for (const MapMarker& marker : kMarkers) {
        if (game.missionsUnlocked < marker.opensAt) continue;
        const bool lit = mouseOnMarker(game, marker) && !game.clickLatch;
        drawTexture(game, lit ? kTexMapMarkerLit : kTexMapMarker, marker.x, marker.y);
    }
    if (game.focusShown && game.focusScreen == kFocusMap && game.focus >= 0 && game.focus < shownMarkers(game)) {
        drawFocusRing(game, markerControl(game.focus));
    }
}

void handleMissionMap(GameState& game) {
    for (int32_t i = 0; i < 3; ++i) {
        const MapMarker& marker = kMarkers[i];
        if (game.missionsUnlocked < marker.opensAt) continue;
        if (!mouseOnMarker(game, marker) || game.clickLatch || !game.mouse.leftDown) continue;
        pickMission(game, i);
    }
    if (game.screen == Screen::Map) runMapKeys(game);
}

void handleBriefing(GameState& game) {
    // Stars answer a held button on every frame, so dragging across them picks the last one.
    const int32_t open = unlockedDifficulty(game);
    for (int32_t level = 0; level <= open && level < 4; ++level) {
        if (mouseOnStar(game, level) && game.mouse.leftDown) game.difficulty = level;
    }
    if (game.mouse.leftDown) {
        if (mouseIn(game.mouse, 1250, 1275, 2, 27) && !game.clickLatch) closeBriefing(game);
        if (mouseOnTakeOff(game) && !game.clickLatch) takeOff(game);
    }
    if (game.screen == Screen::Briefing) runBriefingKeys(game);
}

void drawBriefing(const GameState& game) {
    drawTexture(game, kTexBriefingPicture, 0, 0);
    switch (game.mission) {
    case kMissionConvoy: drawTexture(game, kTexPhotoConvoy, 300, 120); break;
    case kMissionCargo:
        drawTexture(game, kTexPhotoLarge, 80, 360);
        drawTexture(game, kTexPhotoCargo, 300, 120);
        break;
    case kMissionAirshow: drawTexture(game, kTexPhotoAirshow, 315, 130); break;
    default: break;
    }
    const int32_t open = unlockedDifficulty(game);
    for (int32_t level = 0; level <= open && level < 4; ++level) {
        const int32_t x = kStarLeft[level];
        drawTexture(game, game.difficulty == level ? kTexStarLit : kTexStar, x, kStarTop);
        if (mouseOnStar(game, level)) drawTexture(game, kTexStarLit, x, kStarTop);
    }
    switch (game.mission) {
    case kMissionConvoy: drawLines(kMissionOneText); break;
    case kMissionCargo: drawLines(kMissionTwoText); break;
    case kMissionAirshow: drawLines(kMissionThreeText); break;
    default: break;
    }
    drawTexture(game, kTexClose, 1250, 2);
    drawTexture(game, mouseOnTakeOff(game) ? kTexArrowLit : kTexArrow, 1220, 635);
    drawSmallText(game, "TAKE OFF", 1090, 650, kGreen);
    if (game.focusShown && game.focusScreen == kFocusBriefing) {
        Control all[6];
        const int32_t count = briefingControls(game, all);
        if (game.focus >= 0 && game.focus < count) drawFocusRing(game, all[game.focus]);
    }
}

namespace {

constexpr int32_t kCargoLevels[4] = {3, 5, 7, 10}; // cargo aircraft of mission 2 by difficulty

} // namespace

void setUpMission(GameState& game) {
    // Only the cargo mission flies cargo aircraft; a count left from an earlier sortie must not
    // carry over into the convoy or the airshow.
    switch (game.mission) {
    case kMissionConvoy:
        game.cargoCount = 0;
        setUpMissionOneConvoy(game, game.difficulty);
        break;
    case kMissionCargo:
        // A level that is not open sets nothing up; the previous counts remain.
        if (game.difficulty > game.unlockedDifficulty[kMissionCargo]) break;
        game.truckCount = game.difficulty == 0 ? 3 : 4;
        setUpConvoy(game);
        game.cargoCount = kCargoLevels[game.difficulty < 0 ? 0 : (game.difficulty > 3 ? 3 : game.difficulty)];
        setUpCargoAircraft(game);
        break;
    case kMissionAirshow:
        game.truckCount = 0;
        game.cargoCount = 0;
        setUpAirshow(game);
        break;
    default: break;
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
    // The airshow flies to track 2, and the show clock starts with the switch; when track 2
    // already plays, the clock stays cleared until the aircraft first enters the show box.
    if (game.mission == kMissionAirshow && game.musicTrack == 1) {
        switchToTrack2(game);
        startStopwatch(game.showClock);
    }
}
