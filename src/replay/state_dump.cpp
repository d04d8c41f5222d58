// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "replay/state_dump.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <type_traits>

#include "assets/audio_dump.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "raster/colours.h"
#include "replay/field_list.h"

namespace {

// Appends "name":value pairs, comma separated.
struct JsonLine {
    std::string text = "{";

    void key(const char* name) {
        if (text.size() > 1) text += ',';
        text += '"';
        text += name;
        text += "\":";
    }
    void number(const char* name, double value) {
        char digits[40];
        std::snprintf(digits, sizeof digits, "%.17g", value);
        key(name);
        text += digits;
    }
    // Floats print at their own precision, so 0.61f reads 0.61.
    void singlePrecision(const char* name, float value) {
        char digits[24];
        std::snprintf(digits, sizeof digits, "%.7g", static_cast<double>(value));
        key(name);
        text += digits;
    }
    void integers(const char* name, std::initializer_list<int32_t> values) {
        key(name);
        text += '[';
        for (const int32_t value : values) {
            if (text.back() != '[') text += ',';
            text += std::to_string(value);
        }
        text += ']';
    }
    // "name":[ then one {...} per record appended with element(), then closeArray().
    void openArray(const char* name) {
        key(name);
        text += '[';
    }
    void element(const JsonLine& record) {
        if (text.back() != '[') text += ',';
        text += record.text;
        text += '}';
    }
    void closeArray() { text += ']'; }
    // One number of an array opened with openArray().
    void item(int64_t value) {
        if (text.back() != '[') text += ',';
        text += std::to_string(value);
    }
    // "name":{...} for a record written into its own JsonLine.
    void object(const char* name, const JsonLine& record) {
        key(name);
        text += record.text;
        text += '}';
    }
    void string(const char* name, const std::string& value) {
        key(name);
        quoted(value);
    }
    void quoted(const std::string& value) {
        text += '"';
        for (const char c : value) {
            if (c == '"' || c == '\\') text += '\\';
            if (static_cast<unsigned char>(c) >= 0x20) text += c;
        }
        text += '"';
    }
};

template <typename T>
void dumpField(JsonLine& line, const char* name, T value) {
    if constexpr (std::is_same_v<T, float>) {
        line.singlePrecision(name, value);
    } else {
        line.number(name, static_cast<double>(value));
    }
}

template <typename Record, size_t N>
int countActive(const Record (&table)[N]) {
    int n = 0;
    for (const Record& record : table) n += record.active ? 1 : 0;
    return n;
}

template <size_t N>
int countPlaying(const Blast (&table)[N], int32_t count) {
    int n = 0;
    for (int32_t i = 0; i < count && i < int32_t(N); ++i) n += table[i].finished ? 0 : 1;
    return n;
}

// The table records, each an object of all its fields in this order. A field added to one of
// them and not here fails the build at the static_assert below the lists.
// clang-format off
#define SKARNWING_TRUCK_FIELDS(F) F(Truck, x) F(Truck, speed) F(Truck, sector) F(Truck, alive) F(Truck, burning) \
    F(Truck, hitPoints) F(Truck, wreckLaunched) F(Truck, wreckX) F(Truck, wreckY) F(Truck, wreckAngle) F(Truck, y)     \
    F(Truck, wreckVelX) F(Truck, wreckVelY) F(Truck, wreckSoundPlayed)
#define SKARNWING_CARGO_FIELDS(F) F(CargoAircraft, x) F(CargoAircraft, y) F(CargoAircraft, sector) \
    F(CargoAircraft, hitPoints) F(CargoAircraft, active) F(CargoAircraft, distance) F(CargoAircraft, tilt)             \
    F(CargoAircraft, fallSpeed) F(CargoAircraft, speed) F(CargoAircraft, noseDX) F(CargoAircraft, noseDY)              \
    F(CargoAircraft, drawX) F(CargoAircraft, drawY) F(CargoAircraft, drawScale) F(CargoAircraft, upright)
#define SKARNWING_MISSILE_FIELDS(F) F(Missile, worldX) F(Missile, worldY) F(Missile, active) F(Missile, locked) \
    F(Missile, target) F(Missile, boost) F(Missile, viewX) F(Missile, viewY) F(Missile, heading)                       \
    F(Missile, drawDivisor) F(Missile, drawAngle) F(Missile, sector) F(Missile, aimX) F(Missile, aimY)
#define SKARNWING_SPRITE_FIELDS(F) F(SpriteRecord, frames) F(SpriteRecord, imageIndex) F(SpriteRecord, tick) \
    F(SpriteRecord, x) F(SpriteRecord, y) F(SpriteRecord, scale) F(SpriteRecord, angle) F(SpriteRecord, upright)       \
    F(SpriteRecord, framesPerImage)
#define SKARNWING_MARK_FIELDS(F) F(GroundMark, x) F(GroundMark, y) F(GroundMark, active)
#define SKARNWING_SITE_FIELDS(F) F(Site, kind) F(Site, x) F(Site, y) F(Site, sector) F(Site, hitPoints) F(Site, alive) \
    F(Site, counted)
// clang-format on

#define SKARNWING_PUT(Record, field) dumpField(out, #field, record.field);
#define SKARNWING_NAME(Record, field) fieldName(&Record::field, #field),
#define SKARNWING_RECORD(Record, FIELDS)                                           \
    void dumpRecord(JsonLine& out, const Record& record) { FIELDS(SKARNWING_PUT) } \
    constexpr std::string_view k##Record##Names[] = {FIELDS(SKARNWING_NAME)};      \
    static_assert(distinctNames(k##Record##Names) == fieldCount<Record>(), "every field of " #Record " listed once");

SKARNWING_RECORD(Truck, SKARNWING_TRUCK_FIELDS)
SKARNWING_RECORD(CargoAircraft, SKARNWING_CARGO_FIELDS)
SKARNWING_RECORD(Missile, SKARNWING_MISSILE_FIELDS)
SKARNWING_RECORD(SpriteRecord, SKARNWING_SPRITE_FIELDS)
SKARNWING_RECORD(GroundMark, SKARNWING_MARK_FIELDS)
SKARNWING_RECORD(Site, SKARNWING_SITE_FIELDS)

// "name":[{...},...]: the first `count` records of a table.
template <typename Record, size_t N>
void dumpTable(JsonLine& line, const char* name, const Record (&table)[N], int32_t count) {
    line.openArray(name);
    for (int32_t i = 0; i < count && i < int32_t(N); ++i) {
        JsonLine record;
        dumpRecord(record, table[i]);
        line.element(record);
    }
    line.closeArray();
}

// "name":{...}: one record.
template <typename Record>
void dumpOne(JsonLine& line, const char* name, const Record& record) {
    JsonLine fields;
    dumpRecord(fields, record);
    line.object(name, fields);
}

// "missiles":[{...},...] for the slots launched since the last re-arm and any slot marked for
// lock-on, each with its index.
void dumpMissiles(JsonLine& line, const GameState& game) {
    line.openArray("missiles");
    for (int32_t i = 0; i < kMissileCapacity; ++i) {
        const Missile& m = game.missiles[i];
        if (i >= game.missilesFired && !m.locked) continue;
        JsonLine missile;
        dumpField(missile, "slot", i);
        dumpRecord(missile, m);
        line.element(missile);
    }
    line.closeArray();
}

// "name":[{...},...] for the marks on the ground, each with its slot.
template <size_t N>
void dumpMarks(JsonLine& line, const char* name, const GroundMark (&marks)[N]) {
    line.openArray(name);
    for (int32_t i = 0; i < int32_t(N); ++i) {
        if (!marks[i].active) continue;
        JsonLine mark;
        dumpField(mark, "slot", i);
        dumpRecord(mark, marks[i]);
        line.element(mark);
    }
    line.closeArray();
}

// "name":[codes] for the keys a key table has down.
void dumpKeys(JsonLine& line, const char* name, const uint8_t (&keys)[kKeyTableSize]) {
    line.openArray(name);
    for (int32_t code = 0; code < kKeyTableSize; ++code) {
        if (keys[code] != 0) line.item(code);
    }
    line.closeArray();
}

// "unlockedDifficultyN": each mission's highest open level, by its number.
void dumpOpenLevels(JsonLine& line, const GameState& game) {
    char name[32];
    for (int32_t mission = 1; mission <= missionCount(); ++mission) {
        std::snprintf(name, sizeof name, "unlockedDifficulty%d", mission);
        line.number(name, game.unlockedDifficulty[mission]);
    }
}

void dumpTrickNames(JsonLine& line, const GameState& game) {
    line.openArray("trickNames");
    for (const char* name : game.trickNames) {
        if (line.text.back() != '[') line.text += ',';
        line.quoted(std::string(name, strnlen(name, kTrickNameSize)));
    }
    line.closeArray();
}

// The one list of the record's fields, in the order the dump writes them: F(field) under its
// own name, IN(record, field) a sub-record's field flat under its own name, DO(field, code)
// written by `code`, NOT(field) left out, with the reason beside it. Fields added to the record
// go at the end, so a dump's earlier keys keep their order; a field of GameState, Aircraft or
// Camera missing here fails the build (the static_asserts below).
// clang-format off
#define SKARNWING_GAME_FIELDS(F, IN, DO, NOT)                                                                          \
    DO(missionStopwatch, line.number("missionStopwatchStopped", game.missionStopwatch.stopped))                        \
    IN(aircraft, rollActive) IN(aircraft, rollReturning) IN(aircraft, rollDone) IN(aircraft, rollFrame)                \
    F(spinLatchUp) F(spinLatchDown) F(keyLatchAG) F(keyLatchZ) F(weaponKeyLatch) F(throttleUntouched) F(enterHeld)     \
    F(gameLoaded) F(missionOver) F(outcomeFresh) F(clickLatch) F(saveLoadLatch) F(loadNotice) F(mission)               \
    F(lockTarget) F(markerBlink) IN(aircraft, physicsTimer) F(versionNumber) F(nearestTargetDistance)                  \
    IN(camera, cameraX) IN(camera, cameraY) F(groundScreenY)                                                           \
    DO(mouse, line.number("mouseX", game.mouse.x); line.number("mouseY", game.mouse.y);                                \
       line.number("leftDown", game.mouse.leftDown))                                                                   \
    DO(screen, const ScreenFlags shown = screenFlags(game.screen); line.number("titleShown", shown.title);             \
       line.number("controlShown", shown.control); line.number("mapShown", shown.map);                                 \
       line.number("briefingShown", shown.briefing))                                                                   \
    F(fullScreen) F(objectiveDone) F(selectedWeapon) F(frameCount) F(framesPerSecond) F(sector) F(cargoCount)          \
    F(cargoDestroyed) F(missionsUnlocked)                                                                              \
    DO(unlockedDifficulty, dumpOpenLevels(line, game))                                                                 \
    F(difficulty)                                                                                                      \
    DO(musicTrack, line.number("musicTrack1On", game.musicTrack == 1);                                                 \
       line.number("musicTrack2On", game.musicTrack == 2))                                                             \
    F(bombBlastCount) F(missileBlastCount) IN(camera, cameraLead) IN(camera, cameraLeadMin)                            \
    IN(camera, cameraLeadMax) F(edgeArmed) F(frozen)                                                                   \
    IN(aircraft, worldX) IN(aircraft, worldY) IN(aircraft, screenX) IN(aircraft, screenY) IN(aircraft, velX)           \
    IN(aircraft, velY) IN(aircraft, pitch) IN(aircraft, pitchAtStep) IN(aircraft, flipped) IN(aircraft, airspeed)      \
    IN(aircraft, lift) IN(aircraft, gearDownMinSpeed) IN(aircraft, minSpeed) IN(aircraft, maxSpeed)                    \
    IN(aircraft, boostSpeed) IN(aircraft, throttleStage) IN(aircraft, pitchUpRate) IN(aircraft, pitchDownRate)         \
    IN(aircraft, fuel) IN(aircraft, fuelCapacity) IN(aircraft, stalled) IN(aircraft, spriteScale)                      \
    IN(aircraft, highEngineOn) IN(aircraft, lowEngineOn) IN(aircraft, gearUp) IN(aircraft, gearTravel)                 \
    IN(aircraft, onGround) IN(aircraft, reloaded)                                                                      \
    F(altitude) F(baseX) F(runwayX) F(reloadNotice) F(roundsFired) F(bombsDropped) F(missilesFired) F(backdropX)       \
    F(backdropY) F(terrainScrollX) F(terrainScrollY) F(shadowScale)                                                    \
    DO(barColour, line.number("barColourR", redOf(game.barColour));                                                    \
       line.number("barColourG", greenOf(game.barColour));                                                             \
       line.number("barColourB", blueOf(game.barColour)))                                                              \
    F(triggerLatch) F(gunRounds) F(bombLoad) F(missileLoad) F(bombRightOfTruck) F(truckCount) F(trucksDestroyed)       \
    F(smokeMode) F(smokeKeyLatch) F(smokeTimer) F(smokeIndex)                                                          \
    DO(bullets, line.number("bulletsInFlight", countActive(game.bullets)))                                             \
    DO(bombs, line.number("bombsFalling", countActive(game.bombs)))                                                    \
    DO(smokePuffs, line.number("smokePuffsActive", countActive(game.smokePuffs)))                                      \
    DO(bombBlasts, line.number("bombBlastsPlaying", countPlaying(game.bombBlasts, game.bombBlastCount)))               \
    DO(missileBlasts, line.number("missileBlastsPlaying", countPlaying(game.missileBlasts, game.missileBlastCount)))   \
    DO(craters, line.number("cratersLeft", countActive(game.craters)))                                                 \
    F(savedNotice) F(saveNoticeKind) F(money) F(earned) F(timeBonus) F(reward) F(rewardPaid)                           \
    /* the rows' fields under the names they had before they were tables */                                            \
    DO(upgradeSteps, constexpr const char* kStepNames[kUpgradeRows] = {"turnUpgrades", "engineUpgrades",               \
           "gunUpgrades", "bombUpgrades", "missileUpgrades"};                                                          \
       for (int32_t row = 0; row < kUpgradeRows; ++row) line.number(kStepNames[row], game.upgradeSteps[row]))          \
    DO(upgradePrices, constexpr const char* kPriceNames[kUpgradeRows] = {"turnPrice", "enginePrice", "gunPrice",       \
           "bombPrice", "missilePrice"};                                                                               \
       for (int32_t row = 0; row < kUpgradeRows; ++row) line.number(kPriceNames[row], game.upgradePrices[row]))        \
    F(missionsWon) F(outcomeHandled) F(sortieClockStarted)                                                             \
    /* both 0 before the first lock-on step, then one of them 1 */                                                     \
    DO(sectorTarget, line.number("targetInSector", game.sectorTarget == SectorTarget::Present);                        \
       line.number("noTargetInSector", game.sectorTarget == SectorTarget::Absent))                                     \
    DO(outcome, line.string("outcome", outcomeText(game.outcome)))                                                     \
    DO(trucks, dumpTable(line, "trucks", game.trucks, game.truckCount))                                                \
    DO(cargoAircraft, dumpTable(line, "cargo", game.cargoAircraft, game.cargoCount))                                   \
    DO(missiles, dumpMissiles(line, game))                                                                             \
    F(randomState) F(showTimeRequired) F(showTimeElapsed) F(showTimeBanked) F(showClockStarted) F(showEarnings)        \
    F(trickCount) F(loopDegrees) F(normalLoopArmed) F(invertedLoopArmed) F(trickCooldown) F(trickMessageTimer)         \
    DO(trickMessage, line.string("trickMessage", game.trickMessage))                                                   \
    DO(showBox, line.integers("showBox", {game.showBox.left, game.showBox.right, game.showBox.top,                     \
                                          game.showBox.bottom}))                                                       \
    F(crowdDistance)                                                                                                   \
    /* only while a pause is up, so dumps of games never paused read as they always did */                             \
    DO(paused, if (game.paused) dumpField(line, "paused", game.paused))                                                \
    /* what the loaded sounds and music are doing: the part of the assets that changes */                              \
    DO(assets, dumpAudioState(game, line.text))                                                                        \
    DO(keys, dumpKeys(line, "keysHeld", game.keys)) DO(mouse, line.number("mouseCaptured", game.mouse.captured))       \
    /* this machine's timings, and the counter readings where the stopwatches started and stopped: a pause or the */   \
    /* order of loading moves them; what the rules read of them is in showTimeElapsed, timeBonus and the like */       \
    /* the player's settings, kept in their own file: a replay's dumps read the same under any */ \
    NOT(settings) NOT(settingsOpenedWith) NOT(renderStats) NOT(dispatcherMs) NOT(dispatcherCpuMs) NOT(fpsStopwatch) NOT(showClock)                           \
    DO(aircraftSprite, dumpOne(line, "aircraftSprite", game.aircraftSprite))                                           \
    DO(gearSprite, dumpOne(line, "gearSprite", game.gearSprite))                                                       \
    DO(rollSprite, dumpOne(line, "rollSprite", game.rollSprite))                                                       \
    DO(exhaustCruiseSprite, dumpOne(line, "exhaustCruiseSprite", game.exhaustCruiseSprite))                            \
    DO(exhaustLowSprite, dumpOne(line, "exhaustLowSprite", game.exhaustLowSprite))                                     \
    DO(exhaustAfterburnerSprite, dumpOne(line, "exhaustAfterburnerSprite", game.exhaustAfterburnerSprite))             \
    DO(cargoSprite, dumpOne(line, "cargoSprite", game.cargoSprite))                                                    \
    F(muzzleFlashLit)                                                                                                  \
    DO(muzzleScatter, line.openArray("muzzleScatter");                                                                 \
       for (const int8_t spread : game.muzzleScatter) line.item(spread);                                               \
       line.closeArray())                                                                                              \
    DO(craters, dumpMarks(line, "craters", game.craters))                                                              \
    DO(blastMarks, dumpMarks(line, "blastMarks", game.blastMarks))                                                     \
    DO(trickNames, dumpTrickNames(line, game))                                                                         \
    F(pauseKeyLatch) F(panelClickLatch) F(pauseChoice) F(pausedAtCount) F(navKeysHeld) F(navFresh) F(focusShown)       \
    F(focusMouseX) F(focusMouseY) F(focus) F(focusScreen) F(mapFromMission) F(mapFromDifficulty)                       \
    F(mapFromShowEarnings) F(settingsShown) F(settingsRow) F(settingsCapturing) F(settingsMoved)                       \
    DO(keysLastFrame, dumpKeys(line, "keysLastFrame", game.keysLastFrame))                                             \
    DO(keysHeldOff, dumpKeys(line, "keysHeldOff", game.keysHeldOff))                                                 \
    F(aboutShown) F(titleEntriesShown) F(logbookShown) F(watchRequest) F(watchFrame) F(watchLength)                   \
    /* the kept bests as the logbook read them from their files: state and figure of each mission's cells */          \
    DO(logbook, line.openArray("logbook");                                                                             \
       for (int32_t mission = 0; mission < missionCount(); ++mission) for (const LogbookCell& cell : game.logbook[mission]) { \
           line.item(int32_t(cell.state));                                                                             \
           line.item(cell.figure);                                                                                     \
       } line.closeArray())                                                                                            \
    F(controlsShown) F(keysUsed)                                                                                       \
    /* the first sorties' cues: a replay or a recording watched never runs them, so these stay 0 there */              \
    F(cuesDone) F(cueAirborne) F(cueGearRaised) F(cueFired) F(cueWeaponSeen) F(cueWeapon) F(cueWeaponChanged)          \
    F(cueShown)                                                                                                        \
    /* only while a kind keeps targets there, so dumps of sorties without any read as they always did */              \
    DO(siteCount, if (game.siteCount > 0) dumpField(line, "siteCount", game.siteCount))                                \
    DO(sites, if (game.siteCount > 0) dumpTable(line, "sites", game.sites, game.siteCount))
// clang-format on

#define SKARNWING_SKIP(...)
#define SKARNWING_TOP(field, ...) fieldName(&GameState::field, #field),
#define SKARNWING_INNER(record, field) fieldName(&decltype(GameState::record)::field, #record "." #field),
constexpr std::string_view kGameNames[] = {
    SKARNWING_GAME_FIELDS(SKARNWING_TOP, SKARNWING_TOP, SKARNWING_TOP, SKARNWING_TOP)};
constexpr std::string_view kInnerNames[] = {
    SKARNWING_GAME_FIELDS(SKARNWING_SKIP, SKARNWING_INNER, SKARNWING_SKIP, SKARNWING_SKIP)};
static_assert(distinctNames(kGameNames) == fieldCount<GameState>(), "every field of GameState in the dump's list");
static_assert(distinctNames(kInnerNames, "aircraft.") == fieldCount<Aircraft>(), "every field of Aircraft listed");
static_assert(distinctNames(kInnerNames, "camera.") == fieldCount<Camera>(), "every field of Camera listed");

} // namespace

std::string dumpState(const GameState& game, int64_t frame) {
#define SKARNWING_PUT_FIELD(field) dumpField(line, #field, game.field);
#define SKARNWING_PUT_IN(record, field) dumpField(line, #field, game.record.field);
#define SKARNWING_PUT_DO(field, ...) \
    { __VA_ARGS__; }
    JsonLine line;
    line.number("frame", static_cast<double>(frame));
    SKARNWING_GAME_FIELDS(SKARNWING_PUT_FIELD, SKARNWING_PUT_IN, SKARNWING_PUT_DO, SKARNWING_SKIP)
    line.text += '}';
    return line.text;
}
