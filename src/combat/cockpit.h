#pragma once
// The instruments drawn over a sortie: throttle bar, altitude and airspeed boxes, fuel gauge
// and the radar. The altimeter's reading, `altitude`, is what the runway rule reads on the next
// frame.

#include <cstdint>

struct GameState;

// Instrument green, as text colour and as channels.
constexpr uint32_t kInstrumentText = 0xFF6AE300u;

// The translucent black laid under the instruments before they are drawn: at this cover even
// white cloud behind it comes down far enough for the green to read at better than 4.5 : 1.
constexpr uint32_t kInstrumentBacking = 0xB4000000u;

struct RadarPoint {
    int32_t x;
    int32_t y;
};

// Where a world point of the current section shows on the radar: 40000 x 20000 pixels map to
// 200 x 100 with the top-left at (540, 610).
RadarPoint radarPoint(double worldX, double worldY);

// The throttle bar's colour for a throttle of `percent` of maxSpeed, as 0xFFRRGGBB.
uint32_t throttleBarColour(double percent);

// The altitude from the aircraft's height over the ground.
void readAltimeter(GameState& game);
// The throttle bar's colour for the airspeed.
void setThrottleBarColour(GameState& game);
// One frame of the instruments.
void drawCockpit(const GameState& game);

// The bar colour every reset starts from.
void resetCockpit(GameState& game);
