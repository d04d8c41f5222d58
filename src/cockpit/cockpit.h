// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The instruments drawn over a sortie: throttle bar, altitude and airspeed boxes, fuel gauge
// and the radar. The altimeter's reading, `altitude`, is what the runway rule reads on the next
// frame.

#include <cstdint>

#include "combat/targets.h"
#include "raster/colours.h"

struct GameState;

struct RadarPoint {
    int32_t x;
    int32_t y;
};

// Where a world point of the current section shows on the radar: 40000 x 20000 pixels map to
// 200 x 100 with the top-left at (540, 610).
RadarPoint radarPoint(double worldX, double worldY);

// A radar dot or lock mark: the colours are green for what is to be hit and red for the locked
// target, or blue and orange in their place with `colourBlind` (the player's palette).
void drawRadarDot(const GameState& game, RadarPoint dot, int32_t radius, RadarMark mark, bool colourBlind);
// The lock mark's colour, from the colour-blind palette when `colourBlind`.
uint32_t lockMarkColour(bool colourBlind);

// The throttle bar's colour for a throttle of `percent` of maxSpeed, as 0xFFRRGGBB.
uint32_t throttleBarColour(double percent);

// Writes `altitude` from the aircraft's height over the ground.
void updateAltitude(GameState& game);
// The throttle bar's colour for the airspeed.
void setThrottleBarColour(GameState& game);
// One frame of the instruments.
void drawCockpit(const GameState& game, void (*drawOnRadar)(const GameState& game) = nullptr);
// The airshow's box on the radar, in white from its top down to the radar's floor.
void drawShowBoxOnRadar(const GameState& game);

// The bar colour every reset starts from.
void resetCockpit(GameState& game);
