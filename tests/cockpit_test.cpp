// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The instruments at their ends (in flight they, and the radar, are in every replay's pictures):
// the throttle bar's colours, empty tanks, and the backing that keeps them readable.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "cockpit/cockpit.h"
#include "test_game.h"

namespace {

// Set pixels of row y from x0 to x1 inclusive.
int countRow(const TestGame& c, int32_t y, int32_t x0, int32_t x1) {
    int n = 0;
    for (int32_t x = x0; x <= x1; ++x) n += c.pixel(x, y) != 0;
    return n;
}

// WCAG relative luminance of an 8-bit sRGB colour.
double luminance(uint32_t rgb) {
    double sum = 0;
    const double weights[3] = {0.0722, 0.7152, 0.2126}; // b, g, r
    for (int i = 0; i < 3; ++i) {
        const double v = ((rgb >> (8 * i)) & 0xFF) / 255.0;
        sum += weights[i] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}

} // namespace

// The bar and the gauge in flight are in every replay's pictures; here their ends.
TEST(Cockpit, TheThrottleBarsColoursAndEmptyTanks) {
    EXPECT_EQ(throttleBarColour(58.0), 0xFF6AE300u);
    EXPECT_EQ(throttleBarColour(58.1), 0xFFFF8000u);
    EXPECT_EQ(throttleBarColour(104.0), 0xFF6AE300u);
    EXPECT_EQ(throttleBarColour(150.0), 0xFFFF0000u) << "the afterburner shows red";
    TestGame c;
    c->aircraft.airspeed = 8;
    c->aircraft.fuel = 0;
    drawCockpit(*c.game);
    EXPECT_EQ(countRow(c, 20, 565, 700), 0) << "empty tanks hide the bar";
    EXPECT_EQ(c.pixel(750, 710), 0xFFFF0000u);
    EXPECT_EQ(c.pixel(752, 710), 0xFFFF0000u);
    EXPECT_EQ(c.pixel(751, 709), kInstrumentBacking) << "the gauge shrinks to red dots";
}

// A round still flying after a re-arm zeroed the count shows, whatever its slot.
TEST(Cockpit, TheRadarShowsARoundInAnySlot) {
    TestGame c;
    c->sector = 1;
    c->bullets[7].active = 1;
    c->bullets[7].sector = 1;
    c->bullets[7].worldX = 30000;
    c->bullets[7].worldY = 5000;
    drawCockpit(*c.game);
    EXPECT_EQ(c.pixel(690, 635), packColour(255, 255, 0));
}

TEST(Cockpit, ADarkBackingUnderTheInstrumentsKeepsTheGreenReadableOverWhite) {
    TestGame c;
    c->selectedWeapon = kWeaponNone;
    c.pixels[700 * kCanvasWidth + 60] = 0xFFFFFFFFu; // a white picture under the box
    drawCockpit(*c.game);
    for (auto [x, y] : {std::pair{22, 677}, {113, 713}, {1167, 700}, {1258, 713}, {536, 606}, {755, 713}}) {
        EXPECT_EQ(c.pixel(x, y), kInstrumentBacking) << x << ", " << y;
    }
    EXPECT_EQ(c.pixel(21, 700), 0u);
    EXPECT_EQ(c.pixel(756, 700), 0u);
    EXPECT_EQ(c.pixel(4, 4), 0u) << "no stores label, no backing for it";
    EXPECT_EQ(c.pixel(25, 690), kInstrumentGreen) << "the box is drawn over the backing";
    const uint32_t darkened = c.pixel(60, 700);
    EXPECT_EQ(darkened >> 24, 0xFFu) << "a picture under the backing stays opaque";
    const double ratio = (luminance(kInstrumentGreen) + 0.05) / (luminance(darkened & 0xFFFFFF) + 0.05);
    EXPECT_GE(ratio, 4.5) << "instrument green over the backing over white";

    c.wipe();
    c->selectedWeapon = kWeaponBombs;
    drawCockpit(*c.game);
    EXPECT_EQ(c.pixel(4, 4), kInstrumentBacking) << "under the stores label";
}
