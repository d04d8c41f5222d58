#include "app/state_dump.h"

#include <cstdio>
#include <initializer_list>
#include <type_traits>

#include "assets/audio_dump.h"
#include "game/game_state.h"
#include "raster/colours.h"

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
    void string(const char* name, const std::string& value) {
        key(name);
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

// "trucks":[{...},...] for the trucks in use.
void dumpTrucks(JsonLine& line, const GameState& game) {
    line.openArray("trucks");
    for (int32_t i = 0; i < game.truckCount && i < kTruckCapacity; ++i) {
        const Truck& t = game.trucks[i];
        JsonLine truck;
        dumpField(truck, "x", t.x);
        dumpField(truck, "speed", t.speed);
        dumpField(truck, "sector", t.sector);
        dumpField(truck, "alive", t.alive);
        dumpField(truck, "burning", t.burning);
        dumpField(truck, "hitPoints", t.hitPoints);
        dumpField(truck, "wreckLaunched", t.wreckLaunched);
        dumpField(truck, "wreckX", t.wreckX);
        dumpField(truck, "wreckY", t.wreckY);
        dumpField(truck, "wreckAngle", t.wreckAngle);
        line.element(truck);
    }
    line.closeArray();
}

// "cargo":[{...},...] for the cargo aircraft in use.
void dumpCargo(JsonLine& line, const GameState& game) {
    line.openArray("cargo");
    for (int32_t i = 0; i < game.cargoCount && i < kCargoCapacity; ++i) {
        const CargoAircraft& c = game.cargoAircraft[i];
        JsonLine cargo;
        dumpField(cargo, "x", c.x);
        dumpField(cargo, "y", c.y);
        dumpField(cargo, "sector", c.sector);
        dumpField(cargo, "hitPoints", c.hitPoints);
        dumpField(cargo, "active", c.active);
        dumpField(cargo, "distance", c.distance);
        dumpField(cargo, "tilt", c.tilt);
        dumpField(cargo, "fallSpeed", c.fallSpeed);
        line.element(cargo);
    }
    line.closeArray();
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
        dumpField(missile, "worldX", m.worldX);
        dumpField(missile, "worldY", m.worldY);
        dumpField(missile, "active", m.active);
        dumpField(missile, "locked", m.locked);
        dumpField(missile, "target", m.target);
        dumpField(missile, "boost", m.boost);
        line.element(missile);
    }
    line.closeArray();
}

} // namespace

// Every GameState field under its own name, flat (a sub-record's fields too), in an order that
// stays fixed so dumps compare line by line; add a field here when it is added to the record.
#define SKARNWING_DUMP(field) dumpField(line, #field, game.field)
#define SKARNWING_DUMP_IN(group, field) dumpField(line, #field, game.group.field)

std::string dumpState(const GameState& game, int64_t frame) {
    JsonLine line;
    line.number("frame", static_cast<double>(frame));
    line.number("missionStopwatchStopped", game.missionStopwatch.stopped);
    SKARNWING_DUMP_IN(aircraft, rollActive);
    SKARNWING_DUMP_IN(aircraft, rollReturning);
    SKARNWING_DUMP_IN(aircraft, rollDone);
    SKARNWING_DUMP_IN(aircraft, rollFrame);
    SKARNWING_DUMP(spinLatchUp);
    SKARNWING_DUMP(spinLatchDown);
    SKARNWING_DUMP(keyLatchAG);
    SKARNWING_DUMP(keyLatchZ);
    SKARNWING_DUMP(weaponKeyLatch);
    SKARNWING_DUMP(throttleUntouched);
    SKARNWING_DUMP(enterHeld);
    SKARNWING_DUMP(gameLoaded);
    SKARNWING_DUMP(missionOver);
    SKARNWING_DUMP(outcomeFresh);
    SKARNWING_DUMP(clickLatch);
    SKARNWING_DUMP(saveLoadLatch);
    SKARNWING_DUMP(loadNotice);
    SKARNWING_DUMP(mission);
    SKARNWING_DUMP(lockTarget);
    SKARNWING_DUMP(markerBlink);
    SKARNWING_DUMP_IN(aircraft, physicsTimer);
    SKARNWING_DUMP(versionNumber);
    SKARNWING_DUMP(nearestTargetDistance);
    SKARNWING_DUMP_IN(camera, cameraX);
    SKARNWING_DUMP_IN(camera, cameraY);
    SKARNWING_DUMP(groundScreenY);
    line.number("mouseX", game.mouse.x);
    line.number("mouseY", game.mouse.y);
    line.number("leftDown", game.mouse.leftDown);
    const ScreenFlags shown = screenFlags(game.screen);
    line.number("titleShown", shown.title);
    line.number("controlShown", shown.control);
    line.number("mapShown", shown.map);
    line.number("briefingShown", shown.briefing);
    SKARNWING_DUMP(fullScreen);
    SKARNWING_DUMP(objectiveDone);
    SKARNWING_DUMP(selectedWeapon);
    SKARNWING_DUMP(frameCount);
    SKARNWING_DUMP(framesPerSecond);
    SKARNWING_DUMP(sector);
    SKARNWING_DUMP(cargoCount);
    SKARNWING_DUMP(cargoDestroyed);
    SKARNWING_DUMP(missionsUnlocked);
    line.number("unlockedDifficulty1", game.unlockedDifficulty[kMissionConvoy]);
    line.number("unlockedDifficulty2", game.unlockedDifficulty[kMissionCargo]);
    line.number("unlockedDifficulty3", game.unlockedDifficulty[kMissionAirshow]);
    SKARNWING_DUMP(difficulty);
    line.number("musicTrack1On", game.musicTrack == 1);
    line.number("musicTrack2On", game.musicTrack == 2);
    SKARNWING_DUMP(bombBlastCount);
    SKARNWING_DUMP(missileBlastCount);
    SKARNWING_DUMP_IN(camera, cameraLead);
    SKARNWING_DUMP_IN(camera, cameraLeadMin);
    SKARNWING_DUMP_IN(camera, cameraLeadMax);
    SKARNWING_DUMP(edgeArmed);
    SKARNWING_DUMP(frozen);
    SKARNWING_DUMP_IN(aircraft, worldX);
    SKARNWING_DUMP_IN(aircraft, worldY);
    SKARNWING_DUMP_IN(aircraft, screenX);
    SKARNWING_DUMP_IN(aircraft, screenY);
    SKARNWING_DUMP_IN(aircraft, velX);
    SKARNWING_DUMP_IN(aircraft, velY);
    SKARNWING_DUMP_IN(aircraft, pitch);
    SKARNWING_DUMP_IN(aircraft, pitchAtStep);
    SKARNWING_DUMP_IN(aircraft, flipped);
    SKARNWING_DUMP_IN(aircraft, airspeed);
    SKARNWING_DUMP_IN(aircraft, lift);
    SKARNWING_DUMP_IN(aircraft, gearDownMinSpeed);
    SKARNWING_DUMP_IN(aircraft, minSpeed);
    SKARNWING_DUMP_IN(aircraft, maxSpeed);
    SKARNWING_DUMP_IN(aircraft, boostSpeed);
    SKARNWING_DUMP_IN(aircraft, throttleStage);
    SKARNWING_DUMP_IN(aircraft, pitchUpRate);
    SKARNWING_DUMP_IN(aircraft, pitchDownRate);
    SKARNWING_DUMP_IN(aircraft, fuel);
    SKARNWING_DUMP_IN(aircraft, fuelCapacity);
    SKARNWING_DUMP_IN(aircraft, stalled);
    SKARNWING_DUMP_IN(aircraft, spriteScale);
    SKARNWING_DUMP_IN(aircraft, highEngineOn);
    SKARNWING_DUMP_IN(aircraft, lowEngineOn);
    SKARNWING_DUMP_IN(aircraft, gearUp);
    SKARNWING_DUMP_IN(aircraft, gearTravel);
    SKARNWING_DUMP_IN(aircraft, onGround);
    SKARNWING_DUMP_IN(aircraft, reloaded);
    SKARNWING_DUMP(altitude);
    SKARNWING_DUMP(baseX);
    SKARNWING_DUMP(runwayX);
    SKARNWING_DUMP(reloadNotice);
    SKARNWING_DUMP(roundsFired);
    SKARNWING_DUMP(bombsDropped);
    SKARNWING_DUMP(missilesFired);
    SKARNWING_DUMP(backdropX);
    SKARNWING_DUMP(backdropY);
    SKARNWING_DUMP(terrainScrollX);
    SKARNWING_DUMP(terrainScrollY);
    SKARNWING_DUMP(shadowScale);
    line.number("barColourR", redOf(game.barColour));
    line.number("barColourG", greenOf(game.barColour));
    line.number("barColourB", blueOf(game.barColour));
    SKARNWING_DUMP(triggerLatch);
    SKARNWING_DUMP(gunRounds);
    SKARNWING_DUMP(bombLoad);
    SKARNWING_DUMP(missileLoad);
    SKARNWING_DUMP(bombRightOfTruck);
    SKARNWING_DUMP(truckCount);
    SKARNWING_DUMP(trucksDestroyed);
    SKARNWING_DUMP(smokeMode);
    SKARNWING_DUMP(smokeKeyLatch);
    SKARNWING_DUMP(smokeTimer);
    SKARNWING_DUMP(smokeIndex);
    line.number("bulletsInFlight", countActive(game.bullets));
    line.number("bombsFalling", countActive(game.bombs));
    line.number("smokePuffsActive", countActive(game.smokePuffs));
    line.number("bombBlastsPlaying", countPlaying(game.bombBlasts, game.bombBlastCount));
    line.number("missileBlastsPlaying", countPlaying(game.missileBlasts, game.missileBlastCount));
    line.number("cratersLeft", countActive(game.craters));
    SKARNWING_DUMP(savedNotice);
    SKARNWING_DUMP(saveNoticeKind);
    SKARNWING_DUMP(money);
    SKARNWING_DUMP(earned);
    SKARNWING_DUMP(timeBonus);
    SKARNWING_DUMP(reward);
    SKARNWING_DUMP(rewardPaid);
    // The rows' fields under the names they had before they were tables.
    constexpr const char* kStepNames[kUpgradeRows] = {"turnUpgrades", "engineUpgrades", "gunUpgrades", "bombUpgrades",
                                                      "missileUpgrades"};
    constexpr const char* kPriceNames[kUpgradeRows] = {"turnPrice", "enginePrice", "gunPrice", "bombPrice",
                                                       "missilePrice"};
    for (int32_t row = 0; row < kUpgradeRows; ++row) line.number(kStepNames[row], game.upgradeSteps[row]);
    for (int32_t row = 0; row < kUpgradeRows; ++row) line.number(kPriceNames[row], game.upgradePrices[row]);
    SKARNWING_DUMP(missionsWon);
    SKARNWING_DUMP(outcomeHandled);
    SKARNWING_DUMP(sortieClockStarted);
    // Both 0 before the first lock-on step, then one of them 1.
    line.number("targetInSector", game.sectorTarget == SectorTarget::Present);
    line.number("noTargetInSector", game.sectorTarget == SectorTarget::Absent);
    line.string("outcome", outcomeText(game.outcome));
    dumpTrucks(line, game);
    dumpCargo(line, game);
    dumpMissiles(line, game);
    SKARNWING_DUMP(randomState);
    SKARNWING_DUMP(showTimeRequired);
    SKARNWING_DUMP(showTimeElapsed);
    SKARNWING_DUMP(showTimeBanked);
    SKARNWING_DUMP(showClockStarted);
    SKARNWING_DUMP(showEarnings);
    SKARNWING_DUMP(trickCount);
    SKARNWING_DUMP(loopDegrees);
    SKARNWING_DUMP(normalLoopArmed);
    SKARNWING_DUMP(invertedLoopArmed);
    SKARNWING_DUMP(trickCooldown);
    SKARNWING_DUMP(trickMessageTimer);
    line.string("trickMessage", game.trickMessage);
    line.integers("showBox", {game.showBox.left, game.showBox.right, game.showBox.top, game.showBox.bottom});
    SKARNWING_DUMP(crowdDistance);
    // Only while a pause is up, so dumps of games never paused read as they always did.
    if (game.paused) SKARNWING_DUMP(paused);
    dumpAudioState(game, line.text);
    line.text += '}';
    return line.text;
}
