// The developer's overlay: Tab freezes the world from the next frame to one frame after it is
// released, and the readouts are drawn over every kind of frame.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/dispatcher.h"
#include "app/inventory.h"
#include "combat/blasts.h"
#include "test_game.h"

namespace {

struct OverlayGame : TestGame {
    OverlayGame() { game->missionStopwatch = makeStopwatch(); }
    void frame() {
        wipe();
        runDispatcher(*game);
    }
};

// Everything that moves in a convoy sortie with the aircraft in flight.
struct Positions {
    double worldX, worldY, cameraX, truckX, blastX, blastY;
    bool operator==(const Positions&) const = default;
};

Positions positions(const GameState& g) {
    return {g.aircraft.worldX, g.aircraft.worldY, g.camera.cameraX, g.trucks[0].x, g.bombBlasts[0].screenX,
            g.bombBlasts[0].screenY};
}

} // namespace

TEST(Overlay, TabFreezesTheWorldFromTheNextFrameUntilOneFrameAfterItsRelease) {
    OverlayGame game;
    game.launch(1);
    game->aircraft.onGround = 0;
    game->aircraft.worldY = 15000;
    game->aircraft.velX = 9;
    game->aircraft.velY = -2;
    startAirBlast(*game, BlastKind::Bomb, game->aircraft.worldX + 300, game->aircraft.worldY);
    game.frame();
    ASSERT_EQ(game->frozen, 0);

    game->keys[kVkTab] = 1;
    Positions before = positions(*game);
    game.frame();
    EXPECT_EQ(game->frozen, 1) << "set by the frame's last step";
    EXPECT_NE(positions(*game).worldX, before.worldX) << "the frame Tab went down still moved";
    EXPECT_NE(positions(*game).truckX, before.truckX);

    // The camera still follows: on the first frozen frame it catches up with the last move.
    before = positions(*game);
    game.frame();
    EXPECT_EQ(game->aircraft.worldX, before.worldX);
    EXPECT_EQ(game->trucks[0].x, before.truckX);
    before = positions(*game);
    for (int i = 0; i < 5; ++i) game.frame();
    EXPECT_TRUE(positions(*game) == before) << "aircraft, camera, trucks and blasts stand still";

    game->keys[kVkTab] = 0;
    game.frame();
    EXPECT_EQ(game->frozen, 0);
    EXPECT_TRUE(positions(*game) == before) << "the release frame is still frozen";

    game.frame();
    const Positions after = positions(*game);
    EXPECT_NE(after.worldX, before.worldX);
    EXPECT_NE(after.truckX, before.truckX);
    EXPECT_NE(after.blastX, before.blastX);
}

// Line 1 in red at the top left and line 11 in white near the bottom: over the title picture, a
// screen between sorties and a sortie; none of it without Tab.
TEST(Overlay, ReadoutsShowOverEveryKindOfFrame) {
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Img/Consolas13x24-2.bmp")));
    OverlayGame game;
    loadFonts(*game);
    const auto readouts = [&game]() {
        return game.count(0xFFFF0000u, 0, 0, 360, 24) > 50 && game.count(0xFFFFFFFFu, 10, 590, 280, 614) > 50;
    };
    const auto check = [&](const char* where) {
        game->keys[kVkTab] = 0;
        game.frame();
        EXPECT_FALSE(readouts()) << where;
        game->keys[kVkTab] = 1;
        game.frame();
        EXPECT_TRUE(readouts()) << where;
        EXPECT_EQ(game->frozen, 1) << where;
    };
    ASSERT_EQ(game->titleShown, 1);
    check("title");

    game->titleShown = 0;
    setOutcome(*game, "Crashed");
    check("failure message");

    game->keys[kVkTab] = 0;
    game.launch(1);
    check("sortie");
}
