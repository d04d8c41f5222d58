// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The gun, the bombs and the weapon key. Space fires the selected weapon: the gun one round per
// frame while held, bombs (and missiles) one per press, and only with the gear up and the
// aircraft upright. What rounds and bombs hit is decided in hits.h.

#include <cstdint>

// The loads a new game sets (mission control's upgrades raise them).
constexpr int32_t kNewGameGunRounds = 200;
constexpr int32_t kNewGameBombLoad = 4;
constexpr int32_t kNewGameMissileLoad = 0;

struct GameState;

// Ctrl, edge-triggered: gun, bombs, missiles, gun.
void cycleWeapon(GameState& game);

// Space with the gun: one round a frame into slot roundsFired, the gun loop and the muzzle
// flash's scatter.
void fireGun(GameState& game);
// The flash of a round fired this frame.
void drawMuzzleFlash(const GameState& game);

// Moves every round in flight; a round leaving the section is retired (one reaching the ground
// lands in landProjectiles).
void moveBullets(GameState& game);
// Every round's tracer where this frame's move takes it.
void drawTracers(const GameState& game);

// Space with bombs: one bomb per press, gear up and upright only; then the missile launch.
void releaseStores(GameState& game);

// Bombs fall and turn nose down (one reaching the ground lands in landProjectiles).
void moveBombs(GameState& game);
// Every falling bomb on the screen where this frame's fall takes it.
void drawBombs(const GameState& game);

// "RCAF-20mm %d", "RCAF-750AG %d" or "RCAF-Rapier %d" with what is left of the selected weapon,
// at the top left.
void drawStoresLabel(const GameState& game);

// The tables emptied and the counts of a new sortie; `newGame` also restores the loads of a
// new game (200 rounds, 4 bombs, no missiles).
void resetWeapons(GameState& game, bool newGame);
