// The instruments: what each one shows for the aircraft's state, read back from the canvas.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

#include "assets/game_assets.h"
#include "combat/cockpit.h"
#include "combat/outcome.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

struct Cockpit {
    std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    std::unique_ptr<GameState> game = newGameState(*assets);

    Cockpit() {
        resetNewGame(*game);
        game->assets->canvas.width = kClientWidth;
        game->assets->canvas.height = kClientHeight;
        game->assets->canvas.pixels = platformBeginFrame(&game->assets->canvas.rowPitch);
        clear();
    }
    void clear() { std::fill(game->assets->canvas.pixels, game->assets->canvas.pixels + kClientWidth * kClientHeight, 0u); }
    uint32_t at(int32_t x, int32_t y) const { return game->assets->canvas.pixels[y * kClientWidth + x]; }
    // Pixels of row y from x0 to x1 inclusive that are set.
    int countRow(int32_t y, int32_t x0, int32_t x1) const {
        int n = 0;
        for (int32_t x = x0; x <= x1; ++x) n += at(x, y) != 0;
        return n;
    }
};

} // namespace

TEST(Cockpit, ThrottleBarLengthAndColour) {
    Cockpit c;
    c.game->aircraft.maxSpeed = 8;
    c.game->aircraft.fuel = 400;
    c.game->aircraft.airspeed = 8;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.countRow(20, 565, 700), 101) << "100 % draws from 565 to 665 inclusive";
    EXPECT_EQ(c.at(665, 23), 0xFFFF8000u);
    EXPECT_EQ(c.at(666, 23), 0u);
    EXPECT_EQ(throttleBarColour(58.0), 0xFF6AE300u);
    EXPECT_EQ(throttleBarColour(58.1), 0xFFFF8000u);
    EXPECT_EQ(throttleBarColour(104.0), 0xFF6AE300u);
    EXPECT_EQ(throttleBarColour(150.0), 0xFFFF0000u) << "the afterburner shows red";

    c.clear();
    c.game->aircraft.airspeed = 0;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.countRow(20, 566, 700), 0) << "at 0 the bar has no length";
}

TEST(Cockpit, EmptyTanksHideTheBarAndShrinkTheGaugeToRedDots) {
    Cockpit c;
    c.game->aircraft.maxSpeed = 8;
    c.game->aircraft.airspeed = 8;
    c.game->aircraft.fuel = 0;
    c.game->aircraft.fuelCapacity = 400;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.countRow(20, 565, 700), 0);
    EXPECT_EQ(c.at(750, 710), 0xFFFF0000u);
    EXPECT_EQ(c.at(752, 710), 0xFFFF0000u);
    EXPECT_EQ(c.at(751, 709), kInstrumentBacking) << "only the backing above the dots";

    c.clear();
    c.game->aircraft.fuel = 400;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(751, 610), 0xFF6AE300u) << "a full tank reaches 100 px up";
    EXPECT_EQ(c.at(751, 609), kInstrumentBacking);
}

TEST(Cockpit, AltitudeIsWrittenForTheRunwayRule) {
    Cockpit c;
    c.game->aircraft.worldY = 19836;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.game->altitude, 10);
    c.game->aircraft.worldY = 19846.5;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.game->altitude, 0) << "truncated toward zero";
}

TEST(Cockpit, RadarMapsTheSectionAndShowsTheBaseOnlyAtHome) {
    EXPECT_EQ(radarPoint(0, 0).x, 540);
    EXPECT_EQ(radarPoint(40000, 20000).x, 740);
    EXPECT_EQ(radarPoint(40000, 20000).y, 710);
    EXPECT_EQ(radarPoint(19100, 19836).x, 635);
    EXPECT_EQ(radarPoint(19100, 19836).y, 709);

    Cockpit c;
    c.game->aircraft.worldX = 10000;
    c.game->aircraft.worldY = 10000;
    c.game->sector = 0;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(590, 660), 0xFF0000FFu) << "the aircraft's blue dot";
    EXPECT_EQ(c.at(638, 708), packColour(106, 227, 255));
    c.clear();
    c.game->sector = 1;
    // A round still flying after a re-arm zeroed the count shows, whatever its slot.
    Bullet& round = c.game->bullets[7];
    round.active = 1;
    round.sector = 1;
    round.worldX = 30000;
    round.worldY = 5000;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(638, 708), kInstrumentBacking);
    EXPECT_EQ(c.at(690, 635), packColour(255, 255, 0));
}

namespace {

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

// What the screen shows where a canvas pixel is blended over a scene pixel.
uint32_t over(uint32_t scene, uint32_t canvas) {
    const uint32_t a = canvas >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        out |= ((((canvas >> shift) & 0xFF) * a + ((scene >> shift) & 0xFF) * (255 - a)) / 255) << shift;
    }
    return out;
}

} // namespace

TEST(Cockpit, ADarkBackingUnderTheInstrumentsKeepsTheGreenReadableOverWhite) {
    Cockpit c;
    c.game->aircraft.fuel = 400;
    c.game->aircraft.fuelCapacity = 400;
    c.game->selectedWeapon = 0;
    c.game->assets->canvas.pixels[700 * kClientWidth + 60] = 0xFFFFFFFFu; // a white picture under the box
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    for (auto [x, y] : {std::pair{22, 677}, {113, 713}, {1167, 700}, {1258, 713}, {536, 606}, {755, 713}}) {
        EXPECT_EQ(c.at(x, y), kInstrumentBacking) << x << ", " << y;
    }
    EXPECT_EQ(c.at(21, 700), 0u);
    EXPECT_EQ(c.at(756, 700), 0u);
    EXPECT_EQ(c.at(4, 4), 0u) << "no stores label, no backing for it";
    EXPECT_EQ(c.at(25, 690), kInstrumentText) << "the box is drawn over the backing";
    EXPECT_EQ(c.at(60, 700) >> 24, 0xFFu) << "a picture under the backing stays opaque";
    EXPECT_EQ(c.at(60, 700) & 0xFFFFFF, over(0xFFFFFF, kInstrumentBacking)) << "and is darkened as the backing darkens";

    const double ratio = (luminance(kInstrumentText) + 0.05) / (luminance(over(0xFFFFFF, kInstrumentBacking)) + 0.05);
    EXPECT_GE(ratio, 4.5) << "instrument green over the backing over white";

    c.clear();
    c.game->selectedWeapon = 2;
    readAltimeter(*c.game);
    setThrottleBarColour(*c.game);
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(4, 4), kInstrumentBacking) << "under the stores label";
}
