// The camera, the west edge of missions 1 and 3 (the other passages and reversals are the edge
// replays'), and the shadow's scale.

#include <gtest/gtest.h>


#include "flight/scenery.h"
#include "test_game.h"

namespace {

// A sortie of `mission` just launched, with its own canvas.
struct Sortie : TestGame {
    explicit Sortie(int32_t mission) : TestGame(false) {
        game->camera.cameraLeadMax = 300; // as start-up sets it
        launch(mission);
    }
};

// Runs the world step with the aircraft standing still, so only the camera and edges act.
void stepStill(GameState& game) {
    game.aircraft.velX = 0;
    game.aircraft.velY = 0;
    updateWorld(game);
}

} // namespace

TEST(Camera, LeadRunsFromEastToWestInSixtyFrames) {
    int32_t lead = 0;
    int frames = 0;
    while (lead < 300) {
        lead = nextCameraLead(lead, 0.0, 0, 300);
        ++frames;
    }
    EXPECT_EQ(frames, 60);
    EXPECT_EQ(nextCameraLead(300, 359.0, 0, 300), 300) << "held at the bound";
    EXPECT_EQ(nextCameraLead(300, 180.0, 0, 300), 295);
    EXPECT_EQ(nextCameraLead(150, 90.0, 0, 300), 150) << "straight up keeps the lead";
    EXPECT_EQ(nextCameraLead(150, 270.0, 0, 300), 145);
    EXPECT_EQ(nextCameraLead(150, 270.5, 0, 300), 155);

    // Heading west the aircraft ends up at screen x 700, heading east at 400.
    Sortie game(1);
    game->aircraft.worldX = 10000;
    game->aircraft.worldY = 15000;
    game->camera.cameraX = game->aircraft.worldX - 400;
    game->camera.cameraY = game->aircraft.worldY - 310;
    game->aircraft.pitchAtStep = 0;
    for (int i = 0; i < 60; ++i) stepStill(*game);
    EXPECT_EQ(game->camera.cameraLead, 300);
    EXPECT_DOUBLE_EQ(game->aircraft.worldX - game->camera.cameraX, 700);
    game->aircraft.pitchAtStep = 180;
    for (int i = 0; i < 60; ++i) stepStill(*game);
    EXPECT_DOUBLE_EQ(game->aircraft.worldX - game->camera.cameraX, 400);
}

TEST(Camera, FollowIsClampedToTheWorld) {
    Sortie game(1);
    game->aircraft.pitchAtStep = 180;
    game->aircraft.worldX = 39900;
    game->aircraft.worldY = 100;
    game->camera.cameraX = 39000;
    game->camera.cameraY = 0;
    stepStill(*game);
    EXPECT_EQ(game->camera.cameraX, 38720);
    EXPECT_EQ(game->camera.cameraY, 0);
    game->aircraft.worldX = 50;
    game->aircraft.worldY = 19900;
    game->camera.cameraY = 19600;
    stepStill(*game);
    EXPECT_EQ(game->camera.cameraX, 0);
    EXPECT_EQ(game->camera.cameraY, 19280);
}

TEST(WorldEdges, MissionsOneAndThreeTurnBackAtTheWestEndOfSectionZero) {
    // Missions 1 and 3 end at section 0 in the west: the course reverses to east, and the east
    // edge's test arms the edge again in the same frame, so the next crossing acts too.
    for (int32_t mission : {1, 3}) {
        Sortie g(mission);
        g->aircraft.worldX = -201;
        g->aircraft.worldY = 15000;
        g->aircraft.velX = -7;
        g->aircraft.pitch = 0;
        g->aircraft.flipped = 1;
        g->edgeArmed = 1;
        g->frozen = 1; // keep the position where it is for this check
        updateWorld(*g);
        EXPECT_EQ(g->sector, 0);
        EXPECT_EQ(g->aircraft.velX, 7);
        EXPECT_EQ(g->aircraft.pitch, 180);
        EXPECT_EQ(g->aircraft.flipped, 0);
        EXPECT_EQ(g->edgeArmed, 1);
    }
}

TEST(Terrain, ShadowScaleFollowsTheGroundAndFreezesAboveIt) {
    Sortie game(1);
    game->aircraft.worldY = 19500;
    game->terrainScrollY = 600;
    game->aircraft.velY = 0;
    drawTerrain(*game);
    EXPECT_DOUBLE_EQ(game->shadowScale, 2.0);
    EXPECT_DOUBLE_EQ(game->groundScreenY, 19617 - game->camera.cameraY);
    game->aircraft.worldY = 18000;
    game->terrainScrollY = 900;
    drawTerrain(*game);
    EXPECT_DOUBLE_EQ(game->shadowScale, 2.0) << "above y 19000 the shadow keeps its last scale";
    game->frozen = 1;
    game->aircraft.velX = 5;
    const double scroll = game->terrainScrollX;
    drawTerrain(*game);
    EXPECT_EQ(game->terrainScrollX, scroll);
}
