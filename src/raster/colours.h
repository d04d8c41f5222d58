#pragma once
// The game's colours, 0xAARRGGBB, each written once.

#include <cstdint>

constexpr uint32_t kRed = 0xFFFF0000u;             // a lost sortie, the stall, the overlay's timings
constexpr uint32_t kGreen = 0xFF00FF00u;           // notices and prompts, the screens' labels
constexpr uint32_t kCyan = 0xFF00FFFFu;            // the results, the overlay's position line
constexpr uint32_t kWhite = 0xFFFFFFFFu;           // readouts while Tab is held
constexpr uint32_t kBlack = 0xFF000000u;           // prices and values on the upgrade picture
constexpr uint32_t kInstrumentGreen = 0xFF6AE300u; // the cockpit's text, the trick message
constexpr uint32_t kTimeLineColour = 0xFF78F000u;  // the airshow's time line
constexpr uint32_t kFrameRateColour = 0xFF7FFA00u; // frames per second in full screen
constexpr uint32_t kEarnedGreen = 0xFF3CDC00u;     // what an airshow earned
constexpr uint32_t kMoneyGreen = 0xFF009B00u;      // the money on mission control
constexpr uint32_t kThrottleOrange = 0xFFFF8000u;  // the throttle bar from 58 to 102 % of top speed

// The house palette of the pictures (content/pictures/shared/style.css), for the screens the
// game draws itself: navy grounds and plates, cream lettering, amber rules and what is lit.
constexpr uint32_t kHouseNavyDeep = 0xFF0A1220u;
constexpr uint32_t kHouseNavy = 0xFF14233Au;
constexpr uint32_t kHouseNavyMid = 0xFF22385Au;
constexpr uint32_t kHouseNavyLine = 0xFF2F4A70u;
constexpr uint32_t kHouseCream = 0xFFEFE6CFu;
constexpr uint32_t kHouseCreamDim = 0xFFB9B09Au;
constexpr uint32_t kHouseAmber = 0xFFE8A33Au;

// A colour's channels, 0..255, for the raster calls that take them one by one.
constexpr int32_t redOf(uint32_t colour) { return static_cast<int32_t>((colour >> 16) & 0xFF); }
constexpr int32_t greenOf(uint32_t colour) { return static_cast<int32_t>((colour >> 8) & 0xFF); }
constexpr int32_t blueOf(uint32_t colour) { return static_cast<int32_t>(colour & 0xFF); }

// The translucent black laid under the instruments before they are drawn: at this cover even
// white cloud behind it comes down far enough for the green to read at better than 4.5 : 1.
constexpr uint32_t kInstrumentBacking = 0xB4000000u;
