// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Cues for a player's first sorties: until the player has landed once (kept as a file in the
// player's folder), a short line on a plate says what to do at the moment it is needed and goes
// when it is done: open the throttle on the runway, lift the nose, raise the gear once
// airborne, fire and change weapon when a target is near, land on the runway to re-arm. Each
// names the key or the pad button of the last device pressed, as bound now. The settings turn
// them off, and they never show in a replay or a recording watched (GameAssets::cuesAllowed).

#include <cstdint>
#include <string>

struct GameState;

enum Cue : int32_t { kCueNone, kCueThrottle, kCueLift, kCueGear, kCueFire, kCueLand };

// What the sortie shows the cues, read from the game each frame.
struct CueFacts {
    bool onGround = false;
    bool airborneBefore = false; // the aircraft has left the runway in this sortie
    bool gearUp = false;
    bool gearRaisedBefore = false;
    double airspeed = 0.0;
    double liftSpeed = 0.0; // airspeed from which the nose can lift
    int32_t altitude = 0;
    bool targetNear = false;
    bool firedAndChanged = false; // fired and changed weapon in this sortie
    bool landingDue = false;      // the objective is met or the weapon in hand is spent
};

// The cue the moment calls for.
Cue cueFor(const CueFacts& facts);

// The cues' step and drawing, last in a sortie's frame, after everything they read has moved.
// Does nothing at all while cues are off; on the first landing (on the runway, stopped) it
// keeps it in GameAssets::landingMemoryPath and shows no cue again.
void runCues(GameState& game);

// Whether the file at `path` says the player has landed once: a regular file there (its bytes
// unread beyond 64). Missing says no quietly; a FIFO, device or larger file says no with a line.
bool landingRemembered(const std::string& path);
