// The instruments: what each one shows for the aircraft's state, read back from the canvas.

#include <gtest/gtest.h>

#include <memory>

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
    drawCockpit(*c.game);
    EXPECT_EQ(c.countRow(20, 566, 700), 0) << "at 0 the bar has no length";
}

TEST(Cockpit, EmptyTanksHideTheBarAndShrinkTheGaugeToRedDots) {
    Cockpit c;
    c.game->aircraft.maxSpeed = 8;
    c.game->aircraft.airspeed = 8;
    c.game->aircraft.fuel = 0;
    c.game->aircraft.fuelCapacity = 400;
    drawCockpit(*c.game);
    EXPECT_EQ(c.countRow(20, 565, 700), 0);
    EXPECT_EQ(c.at(750, 710), 0xFFFF0000u);
    EXPECT_EQ(c.at(752, 710), 0xFFFF0000u);
    EXPECT_EQ(c.at(751, 709), 0u);

    c.clear();
    c.game->aircraft.fuel = 400;
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(751, 610), 0xFF6AE300u) << "a full tank reaches 100 px up";
    EXPECT_EQ(c.at(751, 609), 0u);
}

TEST(Cockpit, AltitudeIsWrittenForTheRunwayRule) {
    Cockpit c;
    c.game->aircraft.worldY = 19836;
    drawCockpit(*c.game);
    EXPECT_EQ(c.game->altitude, 10);
    c.game->aircraft.worldY = 19846.5;
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
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(590, 660), 0xFF0000FFu) << "the aircraft's blue dot";
    EXPECT_EQ(c.at(638, 708), packColour(106, 227, 255));
    c.clear();
    c.game->sector = 1;
    drawCockpit(*c.game);
    EXPECT_EQ(c.at(638, 708), 0u);
}
