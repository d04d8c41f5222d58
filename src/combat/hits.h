// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Hits. One strike loop runs over the projectile tables (rounds, bombs, missiles, each in slot
// order) and asks the target kinds' rows (targets.h) whether a projectile meets one, so the
// target struck first takes the projectile. Projectiles meet the ground and the kinds standing on
// it after this frame's moves, a kind in the air in its own step; blasts (blasts.h) meet the kinds
// they destroy in their step.

#include <cstdint>

#include "combat/targets.h"

struct GameState;

// Every projectile this frame's moves took to the ground lands: on the kinds standing on the
// ground, and a bomb or missile bursts there; a bomb may catch the aircraft ("Blew").
void landProjectiles(GameState& game);
// Every projectile against target `index` of the air kind `kind` where it is now; a homing
// missile may strike its own target instead, wherever that is.
void strikeInAir(GameState& game, TargetKind kind, int32_t index);
