// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/cues.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "save/save_file.h"
#include "screens/plates.h"

namespace {

constexpr double kNearTarget = 1600.0;   // world pixels between the aircraft and a target
constexpr int32_t kGearCueAltitude = 40; // pixels above the ground
constexpr int32_t kCueTop = 120;         // the plate's top, under the cockpit's readouts
constexpr int32_t kCueHeight = 40;

// A cue's line: words and bindings in turn; an action of -1 ends the line.
struct CuePiece {
    const char* words;
    int32_t action;
};
struct CueLine {
    CuePiece pieces[4];
};

constexpr CueLine kLines[] = {
    {},
    {{{"Open the throttle: hold", kActThrottleUp}, {nullptr, -1}}},
    {{{"Lift the nose:", kActTurnLeft}, {nullptr, -1}}},
    {{{"Raise the gear:", kActGear}, {nullptr, -1}}},
    {{{"Target near. Fire:", kActFire}, {"  Change weapon:", kActNextWeapon}, {nullptr, -1}}},
    {{{"Land on the runway to re-arm: gear down", kActGear},
      {"  close the throttle", kActThrottleDown},
      {nullptr, -1}}},
};

// A best being watched (watchLength set) is a recording too: it shows no cue.
bool cuesActive(const GameState& game) {
    return game.assets->cuesAllowed && game.settings.cues && !game.cuesDone && game.watchLength == 0;
}

bool targetNear(const GameState& game) {
    const double x = game.aircraft.worldX;
    for (int32_t i = 0; i < game.truckCount && i < kTruckCapacity; ++i) {
        const Truck& t = game.trucks[i];
        if (t.alive && t.sector == game.sector && std::fabs(t.x - x) < kNearTarget) return true;
    }
    for (int32_t i = 0; i < game.cargoCount && i < kCargoCapacity; ++i) {
        const CargoAircraft& c = game.cargoAircraft[i];
        if (c.active && c.hitPoints > 0.0f && c.sector == game.sector && c.distance < kNearTarget) return true;
    }
    return false;
}

bool weaponSpent(const GameState& game) {
    switch (game.selectedWeapon) {
    case kWeaponGun: return game.roundsFired >= game.gunRounds;
    case kWeaponBombs: return game.bombsDropped >= game.bombLoad;
    case kWeaponMissiles: return game.missilesFired >= game.missileLoad;
    default: return false;
    }
}

// Keeps this sortie's progress: a new sortie (parked, throttle untouched) starts it afresh.
void trackProgress(GameState& game) {
    const Aircraft& a = game.aircraft;
    if (a.onGround && game.throttleUntouched) {
        game.cueAirborne = 0;
        game.cueGearRaised = 0;
        game.cueFired = 0;
        game.cueWeaponChanged = 0;
        game.cueWeaponSeen = 0;
    }
    if (!a.onGround) game.cueAirborne = 1;
    if (a.gearUp && game.cueAirborne) game.cueGearRaised = 1;
    if (game.roundsFired > 0 || game.bombsDropped > 0 || game.missilesFired > 0) game.cueFired = 1;
    if (!game.cueWeaponSeen) {
        game.cueWeapon = game.selectedWeapon;
        game.cueWeaponSeen = 1;
    } else if (game.selectedWeapon != game.cueWeapon) {
        game.cueWeaponChanged = 1;
    }
}

void drawCue(const GameState& game, Cue cue) {
    const CueLine& line = kLines[cue];
    const bool pad = platformLastPressFromPad();
    int32_t width = 0;
    for (const CuePiece& piece : line.pieces) {
        if (piece.words == nullptr) break;
        width += labelWidth(game, piece.words) + 8 + bindingWidth(game, piece.action, pad);
    }
    int32_t x = 640 - width / 2;
    drawPlate(game, x - 16, kCueTop, x + width + 16, kCueTop + kCueHeight, false);
    drawBacking(game.assets->canvas, x - 16, kCueTop, x - 13, kCueTop + kCueHeight, kHouseAmber);
    for (const CuePiece& piece : line.pieces) {
        if (piece.words == nullptr) break;
        x += drawLabel(game, piece.words, x, kCueTop + 8, kHouseCream) + 8;
        x += drawBinding(game, piece.action, x, kCueTop + (pad ? 4 : 5), pad);
    }
}

} // namespace

Cue cueFor(const CueFacts& f) {
    if (f.onGround && !f.airborneBefore) return f.airspeed < f.liftSpeed ? kCueThrottle : kCueLift;
    if (f.onGround) return kCueNone;
    if (!f.gearUp && !f.gearRaisedBefore && f.altitude > kGearCueAltitude) return kCueGear;
    if (f.targetNear && !f.firedAndChanged) return kCueFire;
    if (f.landingDue) return kCueLand;
    return kCueNone;
}

void runCues(GameState& game) {
    if (!cuesActive(game)) return;
    trackProgress(game);
    const Aircraft& a = game.aircraft;
    // Stopped on the runway after a flight: re-armed, or the sortie won.
    if (a.onGround && game.cueAirborne && a.airspeed == 0.0) {
        game.cuesDone = 1;
        game.cueShown = kCueNone;
        const std::string& path = game.assets->landingMemoryPath;
        if (!path.empty()) writeWholeFile(path, "landed\n", "the landed-once mark");
        return;
    }
    CueFacts facts;
    facts.onGround = a.onGround != 0;
    facts.airborneBefore = game.cueAirborne != 0;
    facts.gearUp = a.gearUp != 0;
    facts.gearRaisedBefore = game.cueGearRaised != 0;
    facts.airspeed = a.airspeed;
    facts.liftSpeed = 0.75 * a.maxSpeed;
    facts.altitude = game.altitude;
    facts.targetNear = targetNear(game);
    facts.firedAndChanged = game.cueFired && game.cueWeaponChanged;
    // Due once the work is done, the weapon in hand is spent, or the gear comes down again.
    facts.landingDue = game.objectiveDone || weaponSpent(game) || (game.cueGearRaised && !a.gearUp);
    const Cue cue = cueFor(facts);
    game.cueShown = cue;
    if (cue != kCueNone) drawCue(game, cue);
}

bool landingRemembered(const std::string& path) {
    // Missing is the first game's normal case and says nothing; anything else standing there is
    // read as the other files of the player are, so a FIFO or a device is refused, not waited on.
    struct stat info;
    if (path.empty() || (stat(path.c_str(), &info) != 0 && errno == ENOENT)) return false;
    std::vector<uint8_t> bytes;
    return readRegularFile(path, "landed-once mark", 64, bytes);
}
