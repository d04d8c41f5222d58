// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/dispatcher.h"

#include <cstring>

#include "assets/game_assets.h"
#include "cockpit/cockpit.h"
#include "combat/blasts.h"
#include "combat/cargo.h"
#include "combat/hits.h"
#include "combat/missiles.h"
#include "combat/targets.h"
#include "combat/trucks.h"
#include "combat/weapons.h"
#include "flight/flight.h"
#include "flight/gear.h"
#include "flight/scenery.h"
#include "flight/smoke.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "save/save_file.h"
#include "screens/about.h"
#include "screens/briefing.h"
#include "screens/captions.h"
#include "screens/controls.h"
#include "screens/cues.h"
#include "screens/focus.h"
#include "screens/logbook.h"
#include "screens/mission_control.h"
#include "screens/overlay.h"
#include "screens/pause.h"
#include "screens/plates.h"
#include "screens/settings_screen.h"

namespace {

// What a click on the title does: mission control opens.
void leaveTitle(GameState& game) {
    game.screen = Screen::Control;
    game.clickLatch = 1;
    game.titleEntriesShown = 0;
}

// The title's entries for the keys, shown once keys are used: the way on, where the focus
// starts (so any press of Space goes on), the settings, the controls page and the About page.
// Once shown they stay for the title's visit and answer a click too; a game played by mouse
// alone never shows them, and its click anywhere goes on.
constexpr int32_t kTitleEntryCount = 4;
constexpr const char* kTitleLabels[kTitleEntryCount] = {"PLAY", "SETTINGS", "CONTROLS", "ABOUT"};
constexpr Rect kTitleControls[kTitleEntryCount] = {
    {560, 470, 720, 496}, {560, 506, 720, 532}, {560, 542, 720, 568}, {560, 578, 720, 604}};

void chooseTitleEntry(GameState& game, int32_t entry) {
    switch (entry) {
    case 0: leaveTitle(game); break;
    case 1: openSettings(game); break;
    case 2: openControls(game); break;
    default: openAbout(game); break;
    }
}

void runTitleKeys(GameState& game) {
    const int32_t focus = focusFor(game, kFocusTitle, 0);
    const NavPress nav = navigation(game);
    if (game.focusShown) game.titleEntriesShown = 1;
    game.focus = nearestControl(kTitleControls, kTitleEntryCount, focus, nav.dx, nav.dy);
    if (nav.activate) chooseTitleEntry(game, game.focus);
}

// The title's own line: a click, the key or the pad button that goes on, as bound now.
void drawTitleLine(const GameState& game) {
    constexpr int32_t kTop = 668;
    const char* before = "CLICK, OR PRESS";
    const char* between = "OR";
    const char* after = "TO ENTER MISSION CONTROL";
    const int32_t gap = 10;
    const int32_t width = labelWidth(game, before) + labelWidth(game, between) + labelWidth(game, after) +
                          bindingWidth(game, kActFire, false) + bindingWidth(game, kActFire, true) + 4 * gap;
    int32_t x = 640 - width / 2;
    x += drawLabel(game, before, x, kTop + 3, kHouseCream) + gap;
    x += drawBinding(game, kActFire, x, kTop, false) + gap;
    x += drawLabel(game, between, x, kTop + 3, kHouseCream) + gap;
    x += drawBinding(game, kActFire, x, kTop - 1, true) + gap;
    drawLabel(game, after, x, kTop + 3, kHouseCream);
}

void drawTitle(const GameState& game) {
    drawTexture(game, kTexTitle, 0, 0);
    drawTitleLine(game);
    if ((game.focusShown || game.titleEntriesShown) && game.focusScreen == kFocusTitle && game.focus >= 0 &&
        game.focus < kTitleEntryCount) {
        for (int32_t i = 0; i < kTitleEntryCount; ++i) {
            const Rect& c = kTitleControls[i];
            drawBacking(game.assets->canvas, c.left, c.top, c.right, c.bottom, kHouseNavyMid);
            const int32_t width = labelWidth(game, kTitleLabels[i]);
            drawLabel(game, kTitleLabels[i], (c.left + c.right - width) / 2, c.top + 1,
                      i == game.focus ? kHouseAmber : kHouseCream);
        }
        if (game.focusShown) drawFocusRing(game, kTitleControls[game.focus]);
    }
    // A notice set to 60 shows on 61 frames: drawn before the count goes down.
    if (game.loadNotice >= 0 && game.gameLoaded) drawSmallText(game, "Game Loaded.", 560, 630, kGreen);
}

void handleTitle(GameState& game) {
    stopStopwatch(game.missionStopwatch);
    computeTickLength(game.missionStopwatch);
    if (game.mouse.leftDown) {
        const int32_t entry = game.titleEntriesShown ? controlUnderMouse(game, kTitleControls, kTitleEntryCount) : -1;
        if (!game.clickLatch) chooseTitleEntry(game, entry > 0 ? entry : 0);
        game.clickLatch = 1;
    } else {
        game.clickLatch = 0;
    }
    if (game.loadNotice >= 0 && game.gameLoaded) game.loadNotice -= 1;
    if (titleShown(game)) runTitleKeys(game);
}

// The screen that is up, or the message of a lost sortie; then the outcome step, which waits
// for Y after a loss. Each screen's input and drawing run in the order that shows the frame's
// picture as the player has always seen it: mission control interleaves them, the map and the
// briefing draw before their clicks are taken (the clicked marker shows lit once, the star held
// shows lit over the one it replaces), the briefing's focus ring where its keys left it.
void runBetweenSorties(GameState& game) {
    if (game.outcome == Outcome::Won) {
        if (game.screen == Screen::Control) {
            runMissionControl(game);
            countDownSaveNotice(game);
        } else if (game.screen == Screen::Map) {
            drawMissionMap(game);
            handleMissionMap(game);
        } else if (game.screen == Screen::Briefing) {
            drawBriefing(game);
            handleBriefing(game);
            drawBriefingFocus(game);
        }
        if (!game.mouse.leftDown && game.clickLatch) game.clickLatch = 0;
    } else {
        drawSmallText(game, "Mission Failed.", 580, 360, kRed);
        drawSmallText(game, "Restart Game? Y for Yes.", 480, 400, kRed);
    }
    drawOutcomeMessage(game);
    handleOutcome(game);
}

void drawFrameRate(const GameState& game) {
    if (!game.fullScreen) return; // the title bar shows it
    char text[kTextBufferSize];
    formatText(text, "%dfps", game.framesPerSecond);
    drawSmallText(game, text, 1215, 0, kFrameRateColour);
}

// Latches that clear once their keys are up again.
void releaseKeyLatches(GameState& game) {
    const uint8_t* keys = game.keys;
    if (!keys[kVkUp] && !keys[kVkDown] && game.aircraft.rollReturning && game.aircraft.rollFrame == 0 &&
        game.aircraft.rollActive) {
        game.aircraft.rollDone = 0;
        game.aircraft.rollActive = 0;
        game.aircraft.rollReturning = 0;
    }
    if (!keys[kVkDown]) game.spinLatchDown = 0;
    if (!keys[kVkUp]) game.spinLatchUp = 0;
    if (!keys[kVkA] && !keys[kVkG]) game.keyLatchAG = 0;
    if (!keys[kVkZ]) game.keyLatchZ = 0;
}

// One frame of a sortie: every step that changes the game, in the one order the game has, with
// the drawing between them. A drawing takes the record read-only and shows it as the steps
// before it left it; the picture is layered in the order drawn (textures beneath the canvas).
//
// The order matters where a step reads what another wrote:
// - the world step moves the aircraft with the velocity of the last physics step (the gear step
//   runs the physics, later in the frame), and the camera follows before the aircraft moves;
// - the runway rule reads the altitude of the previous frame (updateAltitude writes it later);
// - the lock-on offers the candidate the search found on the previous frame, and the search
//   reads the distances the cargo step left on the previous frame;
// - the projectiles fly only below section 2, after the cockpit; they land once all three tables
//   have moved, and hit the cargo aircraft in the cargo step, at the end;
// - the airshow's box test uses the box computed at the end of the previous frame;
// - a mission decides its objective where its facts are final: the convoy and the cargo
//   aircraft after the trucks' step (what the projectiles bring down later counts on the next
//   frame), the airshow after its own step; the mission's own step ends the frame, after the
//   aircraft is drawn, so its texts write over it.
// Moving things (rounds, bombs, missiles, cargo aircraft, trucks, blasts, the roll-over) are
// drawn where this frame's step takes them, just before the step that moves them and may retire
// them; the step's motion is one function both use.
void runSortie(GameState& game) {
    const MissionRow& mission = currentMission(game);
    if (isBelowCrashLine(game.aircraft.worldY)) raiseCrash(game, Outcome::Crashed); // the frame still runs
    scrollScenery(game);
    drawBackdrop(game, mission.sky);
    drawTerrain(game, mission.terrain);
    updateWorld(game, mission.sections);
    drawStallNotice(game);
    countPhysicsTimer(game);
    startSortieClock(game);
    winWhenParked(game);
    drawObjectivePrompt(game);
    drawReloadNotice(game);
    updateRunway(game);
    checkRunwayEndCollision(game);
    scrollGroundMarks(game);
    drawBase(game, mission.drawScenery);
    updateSmoke(game);
    drawSmoke(game);
    drawRollOver(game);
    updatePitchAndRoll(game);
    drawCargo(game);
    moveCargo(game);
    drawTrucks(game);
    updateTrucks(game);
    stepTargetKinds(game);
    markObjectiveIfMet(game, ObjectiveCheck::kAfterTargets);
    drawWrecks(game);
    updateAltitude(game);
    setThrottleBarColour(game);
    drawCockpit(game, mission.drawOnRadar);
    updateLockOn(game);
    // Outside the mission's weapon sections every projectile stands frozen.
    if (game.sector >= mission.weaponSections.westEnd && game.sector <= mission.weaponSections.eastEnd) {
        fireGun(game);
        drawMuzzleFlash(game);
        drawTracers(game);
        moveBullets(game);
        releaseStores(game);
        drawBombs(game);
        moveBombs(game);
        drawMissiles(game);
        moveMissiles(game);
        landProjectiles(game);
    }
    cycleWeapon(game);
    releaseKeyLatches(game);
    drawShadow(game);
    updateGear(game);
    drawGear(game);
    drawAircraftBody(game);
    updateThrottle(game);
    drawExhaust(game);
    drawBlasts(game);
    updateBlasts(game);
    countMarkerBlink(game);
    drawDirectionMarker(game);
    runMissionStep(game);
    // The player's aids over everything the sortie drew, reading what every step has moved.
    runCues(game);
    drawCaptions(game);
    drawFrameRate(game);
}

} // namespace

void holdOffPanelPresses(GameState& game, bool panelUp) {
    if (panelUp && game.mouse.leftDown) game.clickLatch = 1;
    for (int32_t key = 0; key < kKeyTableSize; ++key) {
        if (!game.keys[key]) {
            game.keysHeldOff[key] = 0;
        } else if (panelUp && !game.keysLastFrame[key]) {
            game.keysHeldOff[key] = 1;
        }
        game.keysLastFrame[key] = game.keys[key];
    }
}

bool runDispatcher(GameState& game) {
    if (game.keys[kVkEsc]) platformPostQuit();
    bool flown = false;
    if (game.paused) {
        drawPause(game);
    } else if (game.settingsShown || game.controlsShown || game.aboutShown) {
        drawTexture(game, kTexTitle, 0, 0);
        if (game.settingsShown) {
            dimFrame(game);
            drawSettings(game);
        }
        if (game.aboutShown) {
            dimFrame(game);
            drawAbout(game);
        }
        if (game.controlsShown) drawControls(game);
    } else if (titleShown(game)) {
        drawTitle(game);
        handleTitle(game);
    } else if (game.logbookShown && game.missionOver && game.screen == Screen::Control) {
        drawMissionControl(game);
        runLogbook(game);
    } else if (game.missionOver) {
        runBetweenSorties(game);
    } else {
        // A press a panel or TAKE OFF took is not the sortie's: its key reads up until released.
        uint8_t keys[kKeyTableSize];
        std::memcpy(keys, game.keys, sizeof keys);
        for (int32_t key = 0; key < kKeyTableSize; ++key) {
            if (game.keysHeldOff[key]) game.keys[key] = 0;
        }
        game.focus = -1; // the screens after this sortie start from their first focus
        game.titleEntriesShown = 0;
        runSortie(game);
        // The win stops the sortie's sounds where it is raised, and the frame runs on: what the
        // rest of it started (a fresh press of the gun) must not play over mission control.
        if (game.missionOver && game.outcome == Outcome::Won) stopSortieSounds(game);
        std::memcpy(game.keys, keys, sizeof keys);
        flown = true;
    }
    // The overlay runs last in every frame, so the world stops one frame after Tab goes down.
    updateFreeze(game);
    RenderStats& stats = game.renderStats;
    if (!stats.started) { // its first reading of the clock belongs here, in the first frame's step
        stats.watch = makeStopwatch();
        stats.started = 1;
    }
    drawDiagnostics(game, RenderTimes{stats.lastAverage, stats.lastMin, stats.lastMax});
    drawWatchTimeline(game);
    return flown;
}
