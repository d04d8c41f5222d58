// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Missiles and the lock-on. The target of the kinds missiles lock on to (the cargo aircraft of
// mission 2) nearest the player's nose is offered for lock-on while it is in the player's section: with missiles selected and one left it gets
// the diamond and the lock tone, and holding the fire key marks the next missile slot to home on
// it. A marked slot's missile homes on its target; an unmarked one flies straight and speeds up.
// The search tone says targets are only elsewhere.
// The launch is part of the stores' release; what a missile hits is decided in hits.h.

#include <cstdint>

#include "combat/targets.h"

struct GameState;
struct Missile;

constexpr int32_t kMissileTopBoost = 40; // frames of acceleration: 16 to 55 pixels a frame

// Space with missiles and the gear up, one per press, into slot missilesFired; the slot's mark
// is kept as the lock-on left it.
void launchMissile(GameState& game);

// Every missile in flight: straight and accelerating, or homing 40 pixels a frame; leaving the
// section retires it (one reaching the ground lands in landProjectiles).
void moveMissiles(GameState& game);
// The slot emptied of its flight; its mark (locked, aim, target) stays.
void retireMissile(Missile& missile);

// Every missile in flight in the player's section where this frame's flight takes it.
void drawMissiles(const GameState& game);

// The lock-on: sectorTarget, the tones and the mark on the next slot while Space is held.
void updateLockOn(GameState& game);
// Whether target i of `kind` gets the diamond: a kind missiles lock on to, the lock candidate, in
// the player's section, with missiles selected and one left.
bool lockedOn(const GameState& game, TargetKind kind, int32_t i);
// The live target nearest the player's nose by the distances the kinds' steps last measured
// becomes lockTarget.
void findNearestTarget(GameState& game);

// Empties the missiles in flight of the last sortie; the slots' marks stay unless `newGame`.
void resetMissiles(GameState& game, bool newGame);
