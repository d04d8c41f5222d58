// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "replay/bests.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <sstream>
#include <type_traits>

#include "assets/game_assets.h"
#include "combat/targets.h"
#include "missions/missions.h"
#include "platform/paths.h"
#include "platform/recorder.h"
#include "replay/field_list.h"
#include "replay/state_dump.h"
#include "save/save_file.h"

namespace {

constexpr const char* kMagic = "# A best flight of Skarnwing";
// No position of the record gets near it in play, and a few hours of motion from it at the
// fastest speeds a best may give still turn into whole pixels without overflow.
constexpr double kLargestCoordinate = 1e7;
constexpr int kFastest = 1000; // pixels per frame, the bound of every speed a best gives

// Calls `f(name, field, lowest, highest)` for every field of the record that a sortie reads or
// the state dump shows: what a best must carry to fly again as it flew. A floating-point field
// given the range 0, 0 takes ±kLargestCoordinate. The projectiles and
// blasts are not listed: every take-off empties their tables. A field added to the record is
// added here too or to the LEFT list below with its reason, or the build fails.
template <typename F>
void eachTakeOffField(GameState& g, F&& f) {
    char name[48];
    const auto at = [&](const char* table, int i, const char* field) -> const char* {
        std::snprintf(name, sizeof name, "%s.%d.%s", table, i, field);
        return name;
    };
    const auto watch = [&](const char* prefix, Stopwatch& w) {
        const std::string p = prefix;
        f((p + ".msPerTick").c_str(), w.msPerTick, 0, 0);
        f((p + ".stopped").c_str(), w.stopped, 0, 1);
        f((p + ".stopCount").c_str(), w.stopCount, INT64_MIN, INT64_MAX);
        f((p + ".startCount").c_str(), w.startCount, INT64_MIN, INT64_MAX);
    };
    const auto sprite = [&](const char* prefix, SpriteRecord& s) {
        const std::string p = prefix;
        f((p + ".imageIndex").c_str(), s.imageIndex, 0, 1000);
        f((p + ".tick").c_str(), s.tick, 0, 1000000);
        f((p + ".x").c_str(), s.x, 0, 0);
        f((p + ".y").c_str(), s.y, 0, 0);
        f((p + ".scale").c_str(), s.scale, 0, 0);
        f((p + ".angle").c_str(), s.angle, 0, 0);
        f((p + ".upright").c_str(), s.upright, 0, 1);
        f((p + ".framesPerImage").c_str(), s.framesPerImage, 0, 1000);
    };
    // Shell and screens.
    for (int k = 0; k < kKeyTableSize; ++k) {
        f(at("key", k, "held"), g.keys[k], 0, 1);
        f(at("key", k, "lastFrame"), g.keysLastFrame[k], 0, 1);
        f(at("key", k, "heldOff"), g.keysHeldOff[k], 0, 1);
    }
    f("mouse.x", g.mouse.x, INT32_MIN, INT32_MAX);
    f("mouse.y", g.mouse.y, INT32_MIN, INT32_MAX);
    f("mouse.leftDown", g.mouse.leftDown, 0, 1);
    f("mouse.captured", g.mouse.captured, 0, 1);
    watch("fpsStopwatch", g.fpsStopwatch);
    watch("renderStats.watch", g.renderStats.watch);
    f("renderStats.started", g.renderStats.started, 0, 1);
    f("frameCount", g.frameCount, 0, INT32_MAX);
    f("framesPerSecond", g.framesPerSecond, 0, INT32_MAX);
    f("fullScreen", g.fullScreen, 0, 1);
    f("enterHeld", g.enterHeld, 0, 1);
    f("frozen", g.frozen, 0, 1);
    f("screen", g.screen, Screen::None, Screen::TitleOverControl);
    f("clickLatch", g.clickLatch, 0, 1);
    f("saveLoadLatch", g.saveLoadLatch, 0, 1);
    f("savedNotice", g.savedNotice, -1, 1000);
    f("saveNoticeKind", g.saveNoticeKind, 0, 2);
    f("gameLoaded", g.gameLoaded, 0, 1);
    f("loadNotice", g.loadNotice, -1, 1000);
    f("mission", g.mission, kMissionConvoy, Mission{missionCount()});
    f("difficulty", g.difficulty, 0, kLevelSlots - 1);
    f("markerBlink", g.markerBlink, 0, 1000);
    f("musicTrack", g.musicTrack, 1, 2);
    f("randomState", g.randomState, 0, UINT32_MAX);
    // The aircraft.
    Aircraft& a = g.aircraft;
    f("aircraft.worldX", a.worldX, 0, 0);
    f("aircraft.worldY", a.worldY, 0, 0);
    f("aircraft.screenX", a.screenX, 0, 0);
    f("aircraft.screenY", a.screenY, 0, 0);
    f("aircraft.velX", a.velX, -kFastest, kFastest);
    f("aircraft.velY", a.velY, -kFastest, kFastest);
    f("aircraft.pitch", a.pitch, 0, 0);
    f("aircraft.pitchAtStep", a.pitchAtStep, 0, 0);
    f("aircraft.physicsTimer", a.physicsTimer, 0, 1000);
    f("aircraft.flipped", a.flipped, 0, 1);
    f("aircraft.rollActive", a.rollActive, 0, 1);
    f("aircraft.rollReturning", a.rollReturning, 0, 1);
    f("aircraft.rollDone", a.rollDone, 0, 1);
    f("aircraft.rollFrame", a.rollFrame, 0, 2);
    f("aircraft.airspeed", a.airspeed, -kFastest, kFastest);
    f("aircraft.lift", a.lift, -kFastest, kFastest);
    f("aircraft.throttleStage", a.throttleStage, 0, 3);
    f("aircraft.highEngineOn", a.highEngineOn, 0, 1);
    f("aircraft.lowEngineOn", a.lowEngineOn, 0, 1);
    f("aircraft.fuel", a.fuel, 0, 0);
    f("aircraft.fuelCapacity", a.fuelCapacity, 0, 0);
    f("aircraft.stalled", a.stalled, 0, 1);
    f("aircraft.spriteScale", a.spriteScale, 0, 0);
    f("aircraft.gearUp", a.gearUp, 0, 1);
    f("aircraft.gearTravel", a.gearTravel, 0, 18);
    f("aircraft.onGround", a.onGround, 0, 1);
    f("aircraft.reloaded", a.reloaded, 0, 1);
    f("aircraft.gearDownMinSpeed", a.gearDownMinSpeed, -1000, 1000);
    f("aircraft.minSpeed", a.minSpeed, -1000, 1000);
    f("aircraft.maxSpeed", a.maxSpeed, -1000, 1000);
    f("aircraft.boostSpeed", a.boostSpeed, -1000, 1000);
    f("aircraft.pitchUpRate", a.pitchUpRate, 0, 0);
    f("aircraft.pitchDownRate", a.pitchDownRate, 0, 0);
    f("keyLatchAG", g.keyLatchAG, 0, 1);
    f("keyLatchZ", g.keyLatchZ, 0, 1);
    f("throttleUntouched", g.throttleUntouched, 0, 1);
    f("reloadNotice", g.reloadNotice, -1, 1000);
    sprite("aircraftSprite", g.aircraftSprite);
    sprite("gearSprite", g.gearSprite);
    sprite("rollSprite", g.rollSprite);
    sprite("exhaustCruiseSprite", g.exhaustCruiseSprite);
    sprite("exhaustLowSprite", g.exhaustLowSprite);
    sprite("exhaustAfterburnerSprite", g.exhaustAfterburnerSprite);
    sprite("cargoSprite", g.cargoSprite);
    // Camera, scenery, cockpit.
    f("camera.cameraX", g.camera.cameraX, 0, 0);
    f("camera.cameraY", g.camera.cameraY, 0, 0);
    f("camera.cameraLead", g.camera.cameraLead, -100000, 100000);
    f("camera.cameraLeadMin", g.camera.cameraLeadMin, -100000, 100000);
    f("camera.cameraLeadMax", g.camera.cameraLeadMax, -100000, 100000);
    f("groundScreenY", g.groundScreenY, 0, 0);
    f("sector", g.sector, -1000, 1000);
    f("edgeArmed", g.edgeArmed, 0, 1);
    f("backdropX", g.backdropX, 0, 0);
    f("backdropY", g.backdropY, 0, 0);
    f("terrainScrollX", g.terrainScrollX, 0, 0);
    f("terrainScrollY", g.terrainScrollY, 0, 0);
    f("shadowScale", g.shadowScale, 0, 0);
    f("baseX", g.baseX, 0, 0);
    f("runwayX", g.runwayX, 0, 0);
    f("altitude", g.altitude, INT32_MIN, INT32_MAX);
    f("barColour", g.barColour, 0, UINT32_MAX);
    // Weapons.
    f("selectedWeapon", g.selectedWeapon, kWeaponNone, kWeaponMissiles);
    f("weaponKeyLatch", g.weaponKeyLatch, 0, 1);
    f("triggerLatch", g.triggerLatch, 0, 1);
    f("gunRounds", g.gunRounds, 0, kBulletCapacity - 1);
    f("bombLoad", g.bombLoad, 0, kBombCapacity);
    f("missileLoad", g.missileLoad, 0, kMissileCapacity);
    f("roundsFired", g.roundsFired, 0, 0); // every take-off re-arms
    f("bombsDropped", g.bombsDropped, 0, 0);
    f("missilesFired", g.missilesFired, 0, 0);
    f("bombRightOfTruck", g.bombRightOfTruck, 0, 1);
    f("muzzleFlashLit", g.muzzleFlashLit, 0, 1);
    for (int i = 0; i < 9; ++i) f(at("muzzleScatter", i, "spread"), g.muzzleScatter[i], 0, 9);
    f("lockTarget", g.lockTarget, 0, lockNumbers() - 1);
    f("nearestTargetDistance", g.nearestTargetDistance, 0, 999999999); // kNoTargetDistance when none
    // Convoy and cargo aircraft, every slot (the counts say which are in use).
    for (int i = 0; i < kTruckCapacity; ++i) {
        Truck& t = g.trucks[i];
        f(at("truck", i, "x"), t.x, 0, 0);
        f(at("truck", i, "y"), t.y, 0, 0);
        f(at("truck", i, "speed"), t.speed, -kFastest, kFastest);
        f(at("truck", i, "alive"), t.alive, 0, 1);
        f(at("truck", i, "hitPoints"), t.hitPoints, 0, 0);
        f(at("truck", i, "sector"), t.sector, -1000, 1000);
        f(at("truck", i, "wreckLaunched"), t.wreckLaunched, 0, 1);
        f(at("truck", i, "burning"), t.burning, 0, 1);
        f(at("truck", i, "wreckVelX"), t.wreckVelX, -kFastest, kFastest);
        f(at("truck", i, "wreckVelY"), t.wreckVelY, -kFastest, kFastest);
        f(at("truck", i, "wreckSoundPlayed"), t.wreckSoundPlayed, 0, 1);
        f(at("truck", i, "wreckX"), t.wreckX, 0, 0);
        f(at("truck", i, "wreckY"), t.wreckY, 0, 0);
        f(at("truck", i, "wreckAngle"), t.wreckAngle, 0, 0);
    }
    f("truckCount", g.truckCount, 0, kTruckCapacity);
    f("trucksDestroyed", g.trucksDestroyed, 0, kTruckCapacity);
    for (int i = 0; i < kCargoCapacity; ++i) {
        CargoAircraft& c = g.cargoAircraft[i];
        f(at("cargo", i, "x"), c.x, 0, 0);
        f(at("cargo", i, "y"), c.y, 0, 0);
        f(at("cargo", i, "speed"), c.speed, -kFastest, kFastest);
        f(at("cargo", i, "fallSpeed"), c.fallSpeed, -kFastest, kFastest);
        f(at("cargo", i, "active"), c.active, 0, 1);
        f(at("cargo", i, "hitPoints"), c.hitPoints, 0, 0);
        f(at("cargo", i, "sector"), c.sector, -1000, 1000);
        f(at("cargo", i, "noseDX"), c.noseDX, 0, 0);
        f(at("cargo", i, "noseDY"), c.noseDY, 0, 0);
        f(at("cargo", i, "distance"), c.distance, 0, 0);
        f(at("cargo", i, "drawX"), c.drawX, 0, 0);
        f(at("cargo", i, "drawY"), c.drawY, 0, 0);
        f(at("cargo", i, "tilt"), c.tilt, 0, 0);
        f(at("cargo", i, "drawScale"), c.drawScale, 0, 0);
        f(at("cargo", i, "upright"), c.upright, 0, 1);
    }
    f("cargoCount", g.cargoCount, 0, kCargoCapacity);
    f("cargoDestroyed", g.cargoDestroyed, 0, kCargoCapacity);
    for (int i = 0; i < kSiteCapacity; ++i) {
        Site& site = g.sites[i];
        f(at("site", i, "kind"), site.kind, 0, kTargetKinds - 1);
        f(at("site", i, "x"), site.x, 0, 0);
        f(at("site", i, "y"), site.y, 0, 0);
        f(at("site", i, "sector"), site.sector, -1000, 1000);
        f(at("site", i, "hitPoints"), site.hitPoints, 0, 0);
        f(at("site", i, "alive"), site.alive, 0, 1);
        f(at("site", i, "counted"), site.counted, 0, 1);
    }
    f("siteCount", g.siteCount, 0, kSiteCapacity);
    // The missiles' marks outlive sorties; nothing of a slot flies at take-off.
    for (int i = 0; i < kMissileCapacity; ++i) {
        Missile& m = g.missiles[i];
        f(at("missile", i, "locked"), m.locked, 0, 1);
        f(at("missile", i, "aimX"), m.aimX, 0, 0);
        f(at("missile", i, "aimY"), m.aimY, 0, 0);
        f(at("missile", i, "target"), m.target, 0, lockNumbers() - 1);
    }
    f("sectorTarget", g.sectorTarget, SectorTarget::NotLooked, SectorTarget::Present);
    // Smoke.
    f("smokeMode", g.smokeMode, 0, 3);
    f("smokeKeyLatch", g.smokeKeyLatch, 0, 1);
    f("smokeTimer", g.smokeTimer, 0, 0);
    f("smokeIndex", g.smokeIndex, -1, kSmokePuffCount - 1);
    for (int i = 0; i < kSmokePuffCount; ++i) {
        SmokePuff& p = g.smokePuffs[i];
        f(at("puff", i, "x"), p.x, 0, 0);
        f(at("puff", i, "y"), p.y, 0, 0);
        f(at("puff", i, "size"), p.size, 0, 0);
        f(at("puff", i, "angle"), p.angle, 0, 0);
        f(at("puff", i, "cutoff"), p.cutoff, 0, 0);
        f(at("puff", i, "active"), p.active, 0, 1);
    }
    // Airshow (the trick names are the game's own, set at start-up; the message is set by play).
    f("showTimeRequired", g.showTimeRequired, 0, 0);
    f("showTimeElapsed", g.showTimeElapsed, 0, 0);
    f("showTimeBanked", g.showTimeBanked, 0, 0);
    f("showClockStarted", g.showClockStarted, 0, 1);
    watch("showClock", g.showClock);
    f("showBox.left", g.showBox.left, INT32_MIN, INT32_MAX);
    f("showBox.right", g.showBox.right, INT32_MIN, INT32_MAX);
    f("showBox.top", g.showBox.top, INT32_MIN, INT32_MAX);
    f("showBox.bottom", g.showBox.bottom, INT32_MIN, INT32_MAX);
    f("showEarnings", g.showEarnings, 0, 0);
    f("trickCount", g.trickCount, 0, 0);
    f("loopDegrees", g.loopDegrees, 0, 0);
    f("normalLoopArmed", g.normalLoopArmed, 0, 1);
    f("invertedLoopArmed", g.invertedLoopArmed, 0, 1);
    f("trickCooldown", g.trickCooldown, 0, 100000);
    f("trickMessageTimer", g.trickMessageTimer, 0, 0);
    f("crowdDistance", g.crowdDistance, 0, 0);
    // Progress.
    f("money", g.money, 0, INT32_MAX);
    f("earned", g.earned, INT32_MIN, INT32_MAX);
    f("timeBonus", g.timeBonus, INT32_MIN, INT32_MAX);
    f("rewardPaid", g.rewardPaid, 0, 1);
    for (int i = 0; i < kUpgradeRows; ++i) f(at("upgrade", i, "steps"), g.upgradeSteps[i], 0, 10);
    for (int i = 0; i < kUpgradeRows; ++i) f(at("upgrade", i, "price"), g.upgradePrices[i], INT32_MIN, INT32_MAX);
    f("missionsUnlocked", g.missionsUnlocked, 1, missionCount());
    for (int i = 0; i <= missionCount(); ++i) {
        f(at("unlockedDifficulty", i, "level"), g.unlockedDifficulty[i], 0, kLevelSlots - 1);
    }
    // Outcome.
    watch("missionStopwatch", g.missionStopwatch);
    f("missionOver", g.missionOver, 0, 0);
    f("outcomeFresh", g.outcomeFresh, 0, 1);
    f("outcomeHandled", g.outcomeHandled, 0, 1);
    f("sortieClockStarted", g.sortieClockStarted, 0, 1);
    f("reward", g.reward, INT32_MIN, INT32_MAX);
    f("missionsWon", g.missionsWon, 0, INT32_MAX);
    f("objectiveDone", g.objectiveDone, 0, 0);
    f("outcome", g.outcome, Outcome::Flying, Outcome::Flying);
    // The player's conveniences, as the take-off left them.
    f("paused", g.paused, 0, 0);
    f("pauseKeyLatch", g.pauseKeyLatch, 0, 1);
    f("panelClickLatch", g.panelClickLatch, 0, 1);
    f("pauseChoice", g.pauseChoice, 0, 4); // Quit to title the last it can be
    f("pausedAtCount", g.pausedAtCount, INT64_MIN, INT64_MAX);
    f("navKeysHeld", g.navKeysHeld, 0, 255);
    f("navFresh", g.navFresh, 0, 255);
    f("focusShown", g.focusShown, 0, 1);
    f("focusMouseX", g.focusMouseX, INT32_MIN, INT32_MAX);
    f("focusMouseY", g.focusMouseY, INT32_MIN, INT32_MAX);
    f("focus", g.focus, -1, 100);
    f("focusScreen", g.focusScreen, 0, 100);
    f("mapFromMission", g.mapFromMission, kMissionNone, Mission{missionCount()});
    f("mapFromDifficulty", g.mapFromDifficulty, 0, kLevelSlots - 1);
    f("mapFromShowEarnings", g.mapFromShowEarnings, INT32_MIN, INT32_MAX);
    f("settingsShown", g.settingsShown, 0, 0);
    f("settingsRow", g.settingsRow, 0, 100);
    f("settingsCapturing", g.settingsCapturing, 0, 0);
    f("settingsMoved", g.settingsMoved, -1, 100);
}

// Every field of the record, each either given by eachTakeOffField (TAKEN) or left out of a best
// with its reason (LEFT). A field added to the record and not here fails the build below, as it
// fails the state dump's list, so neither a dump nor a best can forget it unseen.
// clang-format off
#define SKARNWING_TAKE_OFF_FIELDS(TAKEN, LEFT) \
    LEFT(assets, "what start-up loaded, not the state") TAKEN(keys) TAKEN(mouse) TAKEN(fpsStopwatch) \
    TAKEN(renderStats) LEFT(dispatcherMs, "this machine's timings") LEFT(dispatcherCpuMs, "this machine's timings") \
    TAKEN(frameCount) TAKEN(framesPerSecond) LEFT(versionNumber, "the program's, set at start-up") TAKEN(fullScreen) \
    TAKEN(enterHeld) TAKEN(frozen) TAKEN(screen) TAKEN(clickLatch) TAKEN(saveLoadLatch) TAKEN(savedNotice) \
    TAKEN(saveNoticeKind) TAKEN(gameLoaded) TAKEN(loadNotice) TAKEN(mission) TAKEN(difficulty) TAKEN(markerBlink) \
    TAKEN(musicTrack) TAKEN(randomState) TAKEN(aircraft) TAKEN(keyLatchAG) TAKEN(keyLatchZ) TAKEN(throttleUntouched) \
    TAKEN(reloadNotice) TAKEN(aircraftSprite) TAKEN(gearSprite) TAKEN(rollSprite) TAKEN(exhaustCruiseSprite) \
    TAKEN(exhaustLowSprite) TAKEN(exhaustAfterburnerSprite) TAKEN(camera) TAKEN(groundScreenY) TAKEN(sector) \
    TAKEN(edgeArmed) TAKEN(backdropX) TAKEN(backdropY) TAKEN(terrainScrollX) TAKEN(terrainScrollY) \
    TAKEN(shadowScale) TAKEN(baseX) TAKEN(runwayX) TAKEN(altitude) TAKEN(barColour) TAKEN(selectedWeapon) \
    TAKEN(weaponKeyLatch) TAKEN(triggerLatch) TAKEN(gunRounds) TAKEN(bombLoad) TAKEN(missileLoad) TAKEN(roundsFired) \
    TAKEN(bombsDropped) TAKEN(missilesFired) TAKEN(bombRightOfTruck) TAKEN(muzzleFlashLit) TAKEN(muzzleScatter) \
    LEFT(bullets, "every take-off empties the tables") LEFT(bombs, "every take-off empties the tables") \
    TAKEN(lockTarget) TAKEN(nearestTargetDistance) TAKEN(trucks) TAKEN(truckCount) TAKEN(trucksDestroyed) \
    TAKEN(cargoAircraft) TAKEN(cargoCount) TAKEN(cargoDestroyed) TAKEN(cargoSprite) TAKEN(missiles) TAKEN(sites) \
    TAKEN(siteCount) \
    TAKEN(sectorTarget) LEFT(bombBlasts, "every take-off empties the tables") \
    LEFT(craters, "every take-off empties the tables") LEFT(bombBlastCount, "every take-off empties the tables") \
    LEFT(missileBlasts, "every take-off empties the tables") LEFT(blastMarks, "every take-off empties the tables") \
    LEFT(missileBlastCount, "every take-off empties the tables") TAKEN(smokeMode) TAKEN(smokeKeyLatch) \
    TAKEN(smokeTimer) TAKEN(smokeIndex) TAKEN(smokePuffs) LEFT(trickNames, "the game's own texts, set at start-up") \
    LEFT(spinLatchUp, "cleared by every take-off (resetAirshow)") LEFT(spinLatchDown, "cleared by every take-off") \
    TAKEN(showTimeRequired) TAKEN(showTimeElapsed) TAKEN(showTimeBanked) TAKEN(showClockStarted) TAKEN(showClock) \
    TAKEN(showBox) TAKEN(showEarnings) TAKEN(trickCount) TAKEN(loopDegrees) TAKEN(normalLoopArmed) \
    TAKEN(invertedLoopArmed) TAKEN(trickCooldown) LEFT(trickMessage, "cleared by every take-off") \
    TAKEN(trickMessageTimer) TAKEN(crowdDistance) TAKEN(money) TAKEN(earned) TAKEN(timeBonus) TAKEN(rewardPaid) \
    TAKEN(upgradeSteps) TAKEN(upgradePrices) TAKEN(missionsUnlocked) TAKEN(unlockedDifficulty) \
    TAKEN(missionStopwatch) TAKEN(missionOver) TAKEN(outcomeFresh) TAKEN(outcomeHandled) TAKEN(sortieClockStarted) \
    TAKEN(reward) TAKEN(missionsWon) TAKEN(objectiveDone) TAKEN(outcome) TAKEN(paused) TAKEN(pauseKeyLatch) \
    TAKEN(panelClickLatch) TAKEN(pauseChoice) TAKEN(pausedAtCount) TAKEN(navKeysHeld) TAKEN(navFresh) \
    TAKEN(focusShown) TAKEN(focusMouseX) TAKEN(focusMouseY) TAKEN(focus) TAKEN(focusScreen) TAKEN(mapFromMission) \
    TAKEN(mapFromDifficulty) TAKEN(mapFromShowEarnings) TAKEN(settingsShown) TAKEN(settingsRow) \
    TAKEN(settingsCapturing) TAKEN(settingsMoved) LEFT(aboutShown, "a screen over the title, never up at take-off") \
    LEFT(titleEntriesShown, "cleared as a sortie flies") TAKEN(keysLastFrame) TAKEN(keysHeldOff) \
    LEFT(logbookShown, "the logbook, never up at take-off") \
    LEFT(watchRequest, "the logbook's, taken after its frame") LEFT(logbook, "the bests themselves") \
    LEFT(watchFrame, "where a watch stands, not what it plays") \
    LEFT(watchLength, "where a watch stands, not what it plays") \
    LEFT(settings, "the player's, not the flight's") LEFT(settingsOpenedWith, "the player's") \
    LEFT(controlsShown, "a page over the title, the pause or the settings, never up at take-off") \
    LEFT(keysUsed, "the title's rings, not the sortie's") LEFT(cuesDone, "the player's aids, off while a best plays") \
    LEFT(cueAirborne, "the player's aids") LEFT(cueGearRaised, "the player's aids") LEFT(cueFired, "the player's aids") \
    LEFT(cueWeaponSeen, "the player's aids") LEFT(cueWeapon, "the player's aids") \
    LEFT(cueWeaponChanged, "the player's aids") LEFT(cueShown, "the player's aids")
// clang-format on
#define SKARNWING_FIELD_NAME(field, ...) fieldName(&GameState::field, #field),
constexpr std::string_view kTakeOffFields[] = {SKARNWING_TAKE_OFF_FIELDS(SKARNWING_FIELD_NAME, SKARNWING_FIELD_NAME)};
static_assert(distinctNames(kTakeOffFields) == fieldCount<GameState>(), "every field of GameState taken or left out");

// A field's value as the file writes it: integers in decimal, floating point exactly (%a).
template <typename T>
std::string valueText(const T& value) {
    char text[64];
    if constexpr (std::is_floating_point_v<T>) {
        std::snprintf(text, sizeof text, "%a", static_cast<double>(value));
    } else if constexpr (std::is_enum_v<T>) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(static_cast<std::underlying_type_t<T>>(value)));
    } else {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    }
    return text;
}

// Reads `text` into `field` when it is a whole number in [lowest, highest] (or, for floating
// point, a finite one within ±kLargestCoordinate); false otherwise, the field untouched.
template <typename T, typename Low, typename High>
bool takeValue(const std::string& text, T& field, Low lowest, High highest) {
    if (text.empty() || text.size() > 40) return false;
    char* end = nullptr;
    errno = 0;
    if constexpr (std::is_floating_point_v<T>) {
        const double value = std::strtod(text.c_str(), &end);
        const double low = lowest == highest ? -kLargestCoordinate : static_cast<double>(lowest);
        const double high = lowest == highest ? kLargestCoordinate : static_cast<double>(highest);
        if (*end != '\0' || !std::isfinite(value) || value < low || value > high) return false;
        field = static_cast<T>(value);
        return std::isfinite(static_cast<double>(field));
    } else {
        const long long value = std::strtoll(text.c_str(), &end, 10);
        if (*end != '\0' || errno == ERANGE) return false;
        if constexpr (std::is_enum_v<T>) {
            using U = std::underlying_type_t<T>;
            if (value < static_cast<long long>(static_cast<U>(lowest)) ||
                value > static_cast<long long>(static_cast<U>(highest))) {
                return false;
            }
            field = static_cast<T>(static_cast<U>(value));
        } else {
            if (value < static_cast<long long>(lowest)) return false;
            if constexpr (std::is_unsigned_v<High>) {
                if (value > 0 && static_cast<unsigned long long>(value) > highest) return false;
            } else if (value > static_cast<long long>(highest)) {
                return false;
            }
            field = static_cast<T>(value);
        }
        return true;
    }
}

// The take-off fields by name, each with the call that takes its text into a record (false, the
// field untouched, when the text is not a value inside its range). Made once from the list above,
// so reading a best looks up only the fields it gives.
using TakeOffSlots = std::map<std::string, std::function<bool(const std::string&, GameState&)>>;
const TakeOffSlots& takeOffSlots() {
    static const TakeOffSlots slots = [] {
        TakeOffSlots made;
        const auto scratch = std::make_unique<GameState>();
        const char* base = reinterpret_cast<const char*>(scratch.get());
        eachTakeOffField(*scratch, [&](const char* name, auto& field, auto lowest, auto highest) {
            using Field = std::remove_reference_t<decltype(field)>;
            const size_t offset = static_cast<size_t>(reinterpret_cast<const char*>(&field) - base);
            made[name] = [offset, lowest, highest](const std::string& text, GameState& game) {
                return takeValue(text, *reinterpret_cast<Field*>(reinterpret_cast<char*>(&game) + offset), lowest,
                                 highest);
            };
        });
        return made;
    }();
    return slots;
}

// The take-off fields whose range leaves out zero: a best must give them.
const std::vector<std::string>& fieldsNeverZero() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> found;
        const auto scratch = std::make_unique<GameState>();
        for (const auto& [name, take] : takeOffSlots()) {
            if (!take("0", *scratch)) found.push_back(name);
        }
        return found;
    }();
    return names;
}

uint64_t fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool parseWhole(const std::string& word, int64_t& value, int64_t lowest, int64_t highest) {
    if (word.empty() || word.size() > 20) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(word.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < lowest || parsed > highest) return false;
    value = parsed;
    return true;
}

} // namespace

// The sortie on tape.
struct SortieTape {
    bool running = false;
    int64_t frame = 0; // frames begun since take-off
    BestFlight flight;
    std::vector<int64_t> readings; // counter readings of the frame under way
    bool overflowed = false;       // too long to keep
};

namespace {

SortieTape& tapeOf(GameState& game) {
    if (game.assets->tape == nullptr) game.assets->tape = std::make_shared<SortieTape>();
    return *game.assets->tape;
}

void keepIfBest(const GameState& game, const SortieTape& t) {
    if (game.outcome != Outcome::Won || !game.missionOver || game.mission < kMissionConvoy ||
        game.mission > missionCount() || t.overflowed || !game.assets->bestsKept || game.assets->savesHeldBack) {
        return;
    }
    BestFlight best = t.flight;
    best.mission = game.mission;
    best.level = game.difficulty;
    best.figure = sortieFigure(game);
    best.frames = t.frame;
    best.finalHash = stateHash(game);
    const std::string path = bestFilePath(game, best.mission, best.level);
    if (path.empty()) return;
    BestFlight kept;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && readBestFile("skarnwing", path, kept) && kept.rules == kRulesVersion &&
        !beats(best.mission, best.figure, kept.figure)) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    char date[16] = "";
    if (const std::tm* local = std::localtime(&now)) std::strftime(date, sizeof date, "%Y-%m-%d", local);
    best.date = date;
    writeWholeFile(path, formatBest(best), "best flight");
}

} // namespace

bool beats(int32_t mission, int64_t figure, int64_t kept) {
    return missionRow(static_cast<Mission>(mission)).extraPay ? figure > kept : figure < kept;
}

int64_t sortieFigure(const GameState& game) {
    if (currentMission(game).extraPay) return extraPayOf(game);
    return static_cast<int64_t>(elapsedMs(game.missionStopwatch));
}

uint64_t stateHash(const GameState& game) {
    std::string dump = dumpState(game, 0);
    if (const size_t sounds = dump.find(",\"playing\":"); sounds != std::string::npos) dump.erase(sounds);
    return fnv1a(dump);
}

std::string formatBest(const BestFlight& best) {
    std::string text = kMagic;
    text += "; skarnwing --play and skarnwing-replay play it back.\n";
    char line[160];
    std::snprintf(line, sizeof line, "best %d %d\nfigure %lld\ndate %s\nrules %d\nfinal %016llx %lld\nfrequency %lld\n",
                  best.mission, best.level, static_cast<long long>(best.figure), best.date.c_str(), best.rules,
                  static_cast<unsigned long long>(best.finalHash), static_cast<long long>(best.frames),
                  static_cast<long long>(best.frequency));
    text += line;
    // Only what differs from zero: a missing field reads as zero.
    for (const auto& [name, value] : best.takeOff) {
        if (value != "0" && value != "0x0p+0") text += "takeoff " + name + ' ' + value + '\n';
    }
    for (const Command& c : best.commands) {
        text += std::to_string(c.frame);
        switch (c.action) {
        case Action::Down:
        case Action::Up: {
            std::snprintf(line, sizeof line, " %s 0x%02X\n", c.action == Action::Down ? "down" : "up", c.a & 0xFF);
            text += line;
            break;
        }
        case Action::Mouse:
            std::snprintf(line, sizeof line, " mouse %d %d %d\n", c.a, c.b, c.buttons < 0 ? 0 : c.buttons);
            text += line;
            break;
        case Action::Press: text += " press\n"; break;
        case Action::Release: text += " release\n"; break;
        case Action::Clock:
            text += " clock";
            for (const int64_t r : c.readings) text += ' ' + std::to_string(r);
            text += '\n';
            break;
        default: text += " end\n"; break;
        }
    }
    return text;
}

bool parseBest(const char* text, size_t length, BestFlight& best, std::string& why) {
    best = BestFlight{};
    std::istringstream in(std::string(text, length));
    std::string line;
    int lineNumber = 0;
    bool header[6] = {};
    size_t readings = 0;
    const auto fail = [&](const char* what) {
        why = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (lineNumber == 1) {
            if (line.rfind(kMagic, 0) != 0) return fail("not a best flight");
            continue;
        }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word && w.size() < 4;) w.push_back(word);
        if (w.empty()) continue;
        int64_t a = 0;
        int64_t b = 0;
        if (w[0] == "best") {
            if (w.size() != 3 || !parseWhole(w[1], a, 1, 3) || !parseWhole(w[2], b, 0, kBestLevels - 1)) {
                return fail("expected: best MISSION LEVEL");
            }
            best.mission = int32_t(a);
            best.level = int32_t(b);
            header[0] = true;
        } else if (w[0] == "figure") {
            if (w.size() != 2 || !parseWhole(w[1], best.figure, 0, INT32_MAX)) return fail("expected: figure N");
            header[1] = true;
        } else if (w[0] == "date") {
            const std::string& d = w.size() == 2 ? w[1] : std::string();
            if (d.size() != 10 || d[4] != '-' || d[7] != '-' ||
                d.find_first_not_of("0123456789-") != std::string::npos) {
                return fail("expected: date YYYY-MM-DD");
            }
            best.date = d;
            header[2] = true;
        } else if (w[0] == "rules") {
            if (w.size() != 2 || !parseWhole(w[1], a, 1, INT32_MAX)) return fail("expected: rules N");
            best.rules = int32_t(a);
            header[3] = true;
        } else if (w[0] == "final") {
            char* end = nullptr;
            if (w.size() != 3 || w[1].size() != 16) return fail("expected: final HASH FRAMES");
            best.finalHash = std::strtoull(w[1].c_str(), &end, 16);
            if (*end != '\0' || !parseWhole(w[2], best.frames, 1, kLongestBestFrames)) {
                return fail("expected: final HASH FRAMES");
            }
            header[4] = true;
        } else if (w[0] == "frequency") {
            if (w.size() != 2 || !parseWhole(w[1], best.frequency, 1, INT64_MAX)) return fail("expected: frequency N");
            header[5] = true;
        } else if (w[0] == "takeoff") {
            if (w.size() != 3 || w[1].size() > 40 || w[2].size() > 40) return fail("expected: takeoff NAME VALUE");
            if (!best.takeOff.emplace(w[1], w[2]).second) return fail("a take-off field given twice");
        } else {
            if (best.commands.size() >= kMostBestCommands) return fail("too many lines");
            // The body: the replay script's input and clock lines, read with its own parser.
            Command command;
            const char* problem = parseCommand(line, lineNumber, command);
            if (problem != nullptr) return fail(problem);
            if (command.action != Action::Down && command.action != Action::Up && command.action != Action::Mouse &&
                command.action != Action::Press && command.action != Action::Release &&
                command.action != Action::Clock) {
                return fail("only input and clock lines follow the header");
            }
            // The tape counts frames from 1, the first after take-off: a line before it would
            // act on the record before the flight begins.
            if (command.frame < 1) return fail("a line before the first frame");
            if (!best.commands.empty() && command.frame < best.commands.back().frame)
                return fail("frames out of order");
            readings += command.readings.size();
            if (readings > 8 * kMostBestCommands) return fail("too many clock readings");
            best.commands.push_back(std::move(command));
        }
    }
    if (lineNumber == 0) return fail("empty");
    for (const bool seen : header) {
        if (!seen) return fail("the header is not whole");
    }
    if (!best.commands.empty() && best.commands.back().frame > best.frames) return fail("lines after the last frame");
    // Every named field must be one of the record's, every value inside its range, and a field
    // that cannot be zero given.
    static const auto scratch = std::make_unique<GameState>();
    for (const auto& [name, value] : best.takeOff) {
        const auto slot = takeOffSlots().find(name);
        if (slot == takeOffSlots().end()) return fail("an unknown take-off field");
        if (!slot->second(value, *scratch)) {
            why = "the take-off value of " + name + " is out of range";
            return false;
        }
    }
    for (const std::string& name : fieldsNeverZero()) {
        if (best.takeOff.count(name) == 0) {
            why = "the take-off lacks " + name;
            return false;
        }
    }
    return true;
}

bool looksLikeBest(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char start[32] = {};
    const size_t n = std::fread(start, 1, std::strlen(kMagic), file);
    std::fclose(file);
    return n == std::strlen(kMagic) && std::memcmp(start, kMagic, n) == 0;
}

bool readBestFile(const char* program, const std::string& path, BestFlight& best) {
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::fprintf(stderr, "%s: the best flight \"%s\" is a link; not read\n", program, path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path.c_str(), "best flight", kLargestBestFile, bytes)) return false;
    std::string why;
    if (!parseBest(reinterpret_cast<const char*>(bytes.data()), bytes.size(), best, why)) {
        std::fprintf(stderr, "%s: the best flight \"%s\" is damaged (%s); not read\n", program, path.c_str(),
                     why.c_str());
        return false;
    }
    return true;
}

std::string bestFilePath(const GameState& game, int32_t mission, int32_t level) {
    const std::string save = saveFilePath(game);
    const size_t slash = save.rfind('/');
    if (slash == std::string::npos) return {};
    return save.substr(0, slash + 1) + "best-" + std::to_string(mission) + '-' + std::to_string(level) + ".flight";
}

void takeOffOf(const GameState& game, BestFlight& best) {
    auto copy = std::make_unique<GameState>(game);
    eachTakeOffField(*copy, [&](const char* name, auto& field, auto, auto) { best.takeOff[name] = valueText(field); });
}

void applyTakeOff(GameState& game, const BestFlight& best) {
    const int32_t track = game.musicTrack;
    // Both tables in name order: every field the file gives, and zero for every other.
    auto given = best.takeOff.begin();
    for (const auto& [name, take] : takeOffSlots()) {
        while (given != best.takeOff.end() && given->first < name) ++given;
        take(given != best.takeOff.end() && given->first == name ? given->second : std::string("0"), game);
    }
    // Nothing of an earlier sortie flies into this one; the blasts keep the pace a take-off gives.
    for (Bullet& bullet : game.bullets) bullet = Bullet{};
    for (Bomb& bomb : game.bombs) bomb = Bomb{};
    for (Missile& m : game.missiles) {
        const Missile mark = m;
        m = Missile{};
        m.locked = mark.locked;
        m.aimX = mark.aimX;
        m.aimY = mark.aimY;
        m.target = mark.target;
    }
    // The music follows the record's track, as a take-off leaves it.
    const int32_t wanted = game.musicTrack;
    game.musicTrack = track;
    if (wanted == 1) switchToTrack1(game);
    if (wanted == 2) switchToTrack2(game);
}

Script scriptOf(const BestFlight& best) {
    Script script;
    script.frequency = best.frequency;
    script.commands = best.commands;
    Command dump;
    dump.frame = best.frames;
    dump.action = Action::Dump;
    script.commands.push_back(dump);
    Command end = dump;
    end.action = Action::End;
    script.commands.push_back(end);
    return script;
}

bool rulesMatch(const char* program, const std::string& path, const BestFlight& best) {
    if (best.rules == kRulesVersion) return true;
    std::fprintf(stderr, "%s: the best flight \"%s\" was flown under rules %d, these are rules %d; not played\n",
                 program, path.c_str(), best.rules, kRulesVersion);
    return false;
}

bool playedTheSame(const char* program, const std::string& path, const BestFlight& best, const GameState& game) {
    if (stateHash(game) == best.finalHash) return true;
    std::fprintf(stderr, "%s: the best flight \"%s\" no longer plays back the same: it ends elsewhere\n", program,
                 path.c_str());
    return false;
}

void tapeFrameBegins(GameState& game) {
    if (game.assets.to == nullptr) return;
    SortieTape& t = tapeOf(game);
    if (!t.running) {
        if (game.missionOver || !game.assets->bestsKept) return;
        // A sortie has just taken off: the record as it stands is where its tape starts.
        t = SortieTape{};
        t.running = true;
        t.flight.rules = kRulesVersion;
        t.flight.frequency = platformCounterFrequency();
        auto copy = std::make_unique<GameState>(game);
        eachTakeOffField(*copy,
                         [&](const char* name, auto& field, auto, auto) { t.flight.takeOff[name] = valueText(field); });
        recorderTapeCounter(&t.readings);
    }
    t.frame += 1;
    if (t.frame > kLongestBestFrames || t.flight.commands.size() >= kMostBestCommands - 16) t.overflowed = true;
}

void tapeEvent(GameState& game, const InputEvent& event) {
    if (game.assets.to == nullptr) return;
    SortieTape& t = tapeOf(game);
    if (!t.running || t.overflowed) return;
    Command c;
    c.frame = t.frame;
    switch (event.type) {
    case InputEventType::KeyDown:
        c.action = Action::Down;
        c.a = event.virtualKey & 0xFF;
        break;
    case InputEventType::KeyUp:
        c.action = Action::Up;
        c.a = event.virtualKey & 0xFF;
        break;
    case InputEventType::MouseMove:
        c.action = Action::Mouse;
        c.a = event.x;
        c.b = event.y;
        c.buttons = static_cast<int32_t>(event.buttons & 3u);
        break;
    case InputEventType::LeftDown: c.action = Action::Press; break;
    case InputEventType::LeftUp: c.action = Action::Release; break;
    case InputEventType::Quit: return;
    }
    t.flight.commands.push_back(c);
}

void tapeFrameEnds(GameState& game) {
    if (game.assets.to == nullptr) return;
    SortieTape& t = tapeOf(game);
    if (!t.running) return;
    if (!t.readings.empty()) {
        Command clock;
        clock.frame = t.frame;
        clock.action = Action::Clock;
        clock.readings.swap(t.readings);
        if (!t.overflowed) t.flight.commands.push_back(std::move(clock));
        t.readings.clear();
    }
    if (!game.missionOver) return;
    recorderTapeCounter(nullptr);
    keepIfBest(game, t);
    t = SortieTape{};
}
