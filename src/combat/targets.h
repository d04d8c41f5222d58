// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The kinds of target the player's projectiles strike, one row each: where a projectile meets
// one, what each projectile takes from it, what a blast does to it, what its destruction is worth,
// its radar mark and whether missiles may lock on to it. The strike loop (hits.h), the blasts, the
// radar and the pay read the rows instead of naming a kind; a kind's own file holds its row and
// the functions the row names.

#include <cstdint>

struct GameState;
struct Site;

// What strikes a target: the three projectiles, and a blast's reach while it plays.
enum class Blow : uint8_t { Round, Bomb, Missile, Blast };

// A projectile as the targets see it.
struct Shot {
    Blow blow;
    double viewX, viewY, worldX, worldY; // view: where it was let go, relative to the camera then
    int32_t sector;                      // section it was let go in (a blast's reaches every section)
    bool homing = false;                 // a missile marked by the lock-on, on the target of lock
    int32_t target = 0;                  // number `target`
};

enum TargetKind : int32_t { kTargetTruck, kTargetCargo, kTargetKinds };

// What a dot on the radar stands for: a target of a kind, one of the player's own bombs or
// missiles, or the target locked on (cockpit/cockpit.h draws them).
enum RadarMark : int32_t { kMarkTruck, kMarkCargo, kMarkOwnStore, kMarkLocked };

// One target: its kind and its index among the kind's.
struct TargetRef {
    TargetKind kind;
    int32_t index;
};

// How the lock-on sees a target: in the air where it can be found, its section, and whether it
// still has hit points.
struct LockView {
    bool present;
    int32_t sector;
    bool alive;
};

struct WorldPoint {
    double x, y; // world pixels
};

constexpr float kDestroys = -1.0f; // a damage: the blow destroys the target whatever its hit points

struct TargetRow {
    // Struck where a projectile meets the ground (after this frame's moves); otherwise in the air,
    // by strikeInAir from the kind's own step.
    bool onGround = true;
    float damage[3] = {};       // hit points a round, a bomb and a missile take (by Blow), or kDestroys
    bool blastDestroys = false; // a playing blast within reach destroys it, uncounted
    int32_t rewardWeight = 1;   // kills one destroyed counts for in the pay
    RadarMark mark = kMarkTruck;
    bool missileLock = false; // the lock-on may mark missiles to home on it: then lockView and
                              // noseDistance are set
    int32_t capacity = 0;     // slots of the kind's table
    // The targets of the kind in its table, 0..capacity.
    int32_t (*inUse)(const GameState& game) = nullptr;
    // Whether `shot` meets target `index`: its hit box.
    bool (*meets)(const GameState& game, const Shot& shot, int32_t index) = nullptr;
    // Whether a missile homing on target `index` has reached it, whatever its section or state
    // (kinds missiles lock on to).
    bool (*homedOn)(const GameState& game, const Shot& shot, int32_t index) = nullptr;
    // What a blow that reached the kind does to target `index`, `hit` or not.
    void (*take)(GameState& game, int32_t index, const Shot& shot, bool hit) = nullptr;
    // How many the player destroyed this sortie.
    int32_t (*destroyed)(const GameState& game) = nullptr;
    // Where target `index` is, and whether it shows on the radar of the player's section.
    WorldPoint (*where)(const GameState& game, int32_t index) = nullptr;
    bool (*onRadar)(const GameState& game, int32_t index) = nullptr;
    // How the lock-on sees target `index`, and its distance in screen pixels from the player's
    // nose as the kind's step last measured it.
    LockView (*lockView)(const GameState& game, int32_t index) = nullptr;
    double (*noseDistance)(const GameState& game, int32_t index) = nullptr;
    // Places the kind's targets for the mission and difficulty picked, after the mission's own
    // set-up; null for kinds the missions set up themselves.
    void (*setUp)(GameState& game) = nullptr;
    // The kind's step in the sortie frame, after the trucks' (it may draw); null for kinds the
    // sortie steps by name.
    void (*step)(GameState& game) = nullptr;
};

extern const TargetRow kTruckTarget; // trucks.cpp
extern const TargetRow kCargoTarget; // cargo.cpp

const TargetRow& targetRow(TargetKind kind);

// `shot` reaches every target of the kinds whose flag `reached` is set (onGround, blastDestroys),
// hit or not: the row's take, told whether the shot meets the target.
void reachTargets(GameState& game, const Shot& shot, bool TargetRow::*reached);

// Kills paid for this sortie: every kind's destroyed targets, each by its weight.
int32_t weightedKills(const GameState& game);

// A lock number names one target of the kinds missiles lock on to: those kinds' tables laid end
// to end in kind order (the cargo aircraft's first). Missile marks and the lock candidate hold one.
int32_t lockNumber(TargetKind kind, int32_t index);
// The target lock number `lock` names; false for a number naming none (a damaged save or best).
bool targetOfLock(int32_t lock, TargetRef* target);
// How many lock numbers there are.
int32_t lockNumbers();

// Claims the next slot of the record's sites for a target of `kind`, standing and alive with
// the kind's own fields zero; null when the table is full.
Site* claimSite(GameState& game, TargetKind kind);

// Every take-off: empties the sites and lets each kind place its targets.
void setUpTargetKinds(GameState& game);
// The steps of the kinds the sortie does not step by name.
void stepTargetKinds(GameState& game);
