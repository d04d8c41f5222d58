// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Explosions and the marks they leave. A bomb or missile that reaches the ground or hits a cargo
// aircraft starts a blast of its kind: the kind's strip plays once where it burst, every truck
// within 70 pixels is destroyed while it plays, and one that burned out on the ground leaves its
// ground mark (blast i pairs with mark i), which the scenery keeps drawing.

#include <cstdint>

struct GameState;

enum class BlastKind : uint8_t { Bomb, Missile };

constexpr int32_t kBlastImages = 12; // images each kind's strip is cut into

// A blast on the ground at world x. When the kind's table is full, the oldest finished blast
// is played again (its mark stays as it was); with none finished the blast is refused.
void startGroundBlast(GameState& game, BlastKind kind, double worldX);
// A blast in the air at a world point, following that point on the screen.
void startAirBlast(GameState& game, BlastKind kind, double worldX, double worldY);

// One frame of both tables, bomb blasts first: animate, destroy trucks in reach, leave marks,
// and follow the camera (unless the world is frozen).
void updateBlasts(GameState& game);
// Every playing blast with the image this frame's step gives it, where it stands before it follows.
void drawBlasts(const GameState& game);

// Every blast rewound to its first image, unfinished, with `framesPerImageTotal` / kBlastImages
// frames per image; every mark cleared; both counts 0. It reads nothing of the strips, which may
// still be loading behind the title.
void resetBlasts(GameState& game, int32_t framesPerImageTotal);
