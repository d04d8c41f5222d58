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
// target, or blue and orange in their place when the player chose the colour-blind palette.
void drawRadarDot(const GameState& game, RadarPoint dot, int32_t radius, RadarMark mark);
// The lock mark's colour (red, green and blue, 0..255).
void lockMarkColour(int32_t* r, int32_t* g, int32_t* b);

// The throttle bar's colour for a throttle of `percent` of maxSpeed, as 0xFFRRGGBB.
uint32_t throttleBarColour(double percent);

// The altitude from the aircraft's height over the ground.
void readAltimeter(GameState& game);
// The throttle bar's colour for the airspeed.
void setThrottleBarColour(GameState& game);
// One frame of the instruments.
void drawCockpit(const GameState& game, void (*drawOnRadar)(const GameState& game) = nullptr);
// The airshow's box on the radar, in white from its top down to the radar's floor.
void drawShowBoxOnRadar(const GameState& game);

// The bar colour every reset starts from.
void resetCockpit(GameState& game);
