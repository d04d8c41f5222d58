// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's colours, 0xAARRGGBB: drawing code names one of these, never a number of its own.

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
constexpr uint32_t kBlue = 0xFF0000FFu;            // the aircraft on the radar, the show line while frozen
constexpr uint32_t kRadarBase = 0xFF6AE3FFu;       // the home base on the radar
constexpr uint32_t kYellow = 0xFFFFFF00u;          // rounds on the radar
constexpr uint32_t kLockGreen = 0xFF6AFF00u;       // the lock-on diamond
constexpr uint32_t kTargetGreen = 0xFF69E600u;     // a target on the radar
constexpr uint32_t kMuzzleYellow = 0xFFFFFFC8u;    // the muzzle flash's outer sparks
constexpr uint32_t kTracerYellow = 0xFFFFFFB4u;    // a gun round's streak
// The radar in the colour-blind palette: blue and orange stay apart for every common colour-vision
// deficiency.
constexpr uint32_t kSafeBlue = 0xFF56B4E9u;
constexpr uint32_t kSafeOrange = 0xFFE69F00u;
// The screens drawn over the game.
constexpr uint32_t kPanelBack = 0xF0101820u;    // a panel's ground, nearly opaque
constexpr uint32_t kGrey = 0xFF9AA4AEu;         // the logbook's quieter texts: dates, empty cells, the hint
constexpr uint32_t kTimelineBack = 0xFF30383Fu; // the timeline still to play while a best is watched

// The house palette of the pictures (content/pictures/shared/style.css), for the screens the
// game draws itself: navy grounds and plates, cream lettering, amber rules and what is lit.
constexpr uint32_t kHouseNavyDeep = 0xFF0A1220u;
constexpr uint32_t kHouseNavy = 0xFF14233Au;
constexpr uint32_t kHouseNavyMid = 0xFF22385Au;
constexpr uint32_t kHouseNavyLine = 0xFF2F4A70u;
constexpr uint32_t kHouseCream = 0xFFEFE6CFu;
constexpr uint32_t kHouseCreamDim = 0xFFB9B09Au;
constexpr uint32_t kHouseAmber = 0xFFE8A33Au;

// A colour's channels, 0..255.
constexpr int32_t redOf(uint32_t colour) { return static_cast<int32_t>((colour >> 16) & 0xFF); }
constexpr int32_t greenOf(uint32_t colour) { return static_cast<int32_t>((colour >> 8) & 0xFF); }
constexpr int32_t blueOf(uint32_t colour) { return static_cast<int32_t>(colour & 0xFF); }

// The translucent black laid under the instruments before they are drawn: at this cover even
// white cloud behind it comes down far enough for the green to read at better than 4.5 : 1.
constexpr uint32_t kInstrumentBacking = 0xB4000000u;
