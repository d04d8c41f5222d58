#include "app/state_dump.h"

#include <cstdio>

#include "app/game_state.h"

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

} // namespace

// The GameState fields in record order; add a field here when it is added to the record.
#define SKARNWING_DUMP(field) line.number(#field, static_cast<double>(game.field))

std::string dumpState(const GameState& game, int64_t frame) {
    JsonLine line;
    line.number("frame", static_cast<double>(frame));
    line.number("missionStopwatchStopped", game.missionStopwatch.stopped);
    SKARNWING_DUMP(rollActive);
    SKARNWING_DUMP(rollReturning);
    SKARNWING_DUMP(rollDone);
    SKARNWING_DUMP(rollFrame);
    SKARNWING_DUMP(showUpLatch);
    SKARNWING_DUMP(showDownLatch);
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
    SKARNWING_DUMP(physicsTimer);
    SKARNWING_DUMP(versionNumber);
    SKARNWING_DUMP(nearestTargetDistance);
    SKARNWING_DUMP(cameraX);
    SKARNWING_DUMP(cameraY);
    SKARNWING_DUMP(groundScreenY);
    line.number("mouseX", game.mouse ? game.mouse->x : 0);
    line.number("mouseY", game.mouse ? game.mouse->y : 0);
    line.number("leftDown", game.mouse ? game.mouse->leftDown : 0);
    SKARNWING_DUMP(titleShown);
    SKARNWING_DUMP(controlShown);
    SKARNWING_DUMP(mapShown);
    SKARNWING_DUMP(briefingShown);
    SKARNWING_DUMP(fullScreen);
    SKARNWING_DUMP(objectiveDone);
    SKARNWING_DUMP(selectedWeapon);
    SKARNWING_DUMP(frameCount);
    SKARNWING_DUMP(framesPerSecond);
    SKARNWING_DUMP(sector);
    SKARNWING_DUMP(cargoCount);
    SKARNWING_DUMP(cargoDestroyed);
    SKARNWING_DUMP(musicTrack1On);
    SKARNWING_DUMP(musicTrack2On);
    SKARNWING_DUMP(worldX);
    SKARNWING_DUMP(worldY);
    SKARNWING_DUMP(shadowScale);
    line.string("outcome", game.outcome);
    SKARNWING_DUMP(randomState);
    line.text += '}';
    return line.text;
}
