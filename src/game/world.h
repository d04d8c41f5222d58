// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The world's geometry in world pixels (x growing east, y growing downward) and its angles. The
// world is a row of sections 40000 pixels wide and 20000 tall; the ground lies near y 19846, and
// the lines near it each mean something of their own, named here from the top down.

#include <algorithm>
#include <cstdint>

constexpr double kPi = 3.14159265359;

// Degrees to radians, as every step of the game computes it.
constexpr double radians(double degrees) { return 2.0 * degrees * kPi / 360.0; }

constexpr double kSectionWidth = 40000.0;  // world pixels per section
constexpr double kSectionHeight = 20000.0; // the camera's floor; a cargo aircraft falling past it has crashed

// The lines near the ground.
constexpr double kGroundLineY = 19617.0;    // the terrain tiles' line: the ground's screen row is it less the camera
constexpr double kMissileGroundY = 19770.0; // a missile lands here
constexpr double kWreckLandsY = 19810.0;    // a falling wreck at or below it has landed (its sound plays)
constexpr double kWreckTumblesY = 19840.0;  // a falling wreck above it still tumbles
constexpr double kParkedY = 19836.0;        // the aircraft parked on the runway (altitude 10)
constexpr double kAltitudeZeroY = 19846.0;  // altitude 0
constexpr double kRoadY = 19850.0;          // the trucks' road, where a bomb lands
constexpr double kBulletGroundY = 19859.0;  // a round reaches the ground
constexpr double kCrashLineY = 19869.0;     // the aircraft's y + 47 - 20 reaching it is a crash: y 19842

// The home base, in section 0.
constexpr double kBaseX = 19000.0;      // world x of the base and the runway's start
constexpr double kParkedOffset = 100.0; // the parked aircraft's x less the base's
constexpr double kParkedX = kBaseX + kParkedOffset;

// A screen coordinate as a whole pixel, truncated toward zero; a position far off the screen
// (or from a damaged save) stays in int's range.
constexpr int32_t wholePixels(double v) { return static_cast<int32_t>(std::clamp(v, -1.0e9, 1.0e9)); }
