// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flight/scenery.h"

#include "assets/game_assets.h"
#include "flight/flight.h"
#include "flight/gear.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"
#include "raster/canvas.h"

namespace {

constexpr double kBackdropParallax = 71.0; // the sky moves at 1/71 of the aircraft's speed
constexpr double kTerrainTileWidth = 1194.0;
constexpr double kTerrainVisibleBelowY = 19000.0;              // tiles are drawn only this close to the ground
constexpr double kCameraMaxX = kSectionWidth - kCanvasWidth;   // 38720
constexpr double kCameraMaxY = kSectionHeight - kCanvasHeight; // 19280

// Tile groups of a section: tiles firstTile..lastTile are drawn while worldX lies strictly
// between fromX and toX. The windows overlap so a group is in place before it scrolls in.
struct TileGroup {
    int firstTile;
    int lastTile;
    double fromX;
    double toX;
};
constexpr TileGroup kTileGroups[] = {
    {0, 3, -400, 4700},     {4, 7, 3000, 9500},     {8, 11, 7500, 14500},
    {12, 15, 12000, 19100}, {16, 19, 16500, 24100}, {20, 23, 21000, 29100},
    {24, 27, 25500, 34100}, {28, 31, 30000, 39100}, {32, 34, 34500, 44100},
};

void followWithCamera(GameState& game) {
    // Both tests read the position before this frame's motion and the camera before this step.
    const int32_t sx = static_cast<int32_t>(game.aircraft.worldX - game.camera.cameraX);
    const int32_t sy = static_cast<int32_t>(game.aircraft.worldY - game.camera.cameraY);
    if (sx < 880) game.camera.cameraX = game.aircraft.worldX - game.camera.cameraLead - 400;
    if (sx + 95 > 880) game.camera.cameraX = game.aircraft.worldX - game.camera.cameraLead - 305;
    if (sy < 300) game.camera.cameraY = game.aircraft.worldY - 300;
    if (sy + 95 > 420) game.camera.cameraY = game.aircraft.worldY - 325;
    if (game.camera.cameraX < 0) {
        game.camera.cameraX = 0;
    } else if (game.camera.cameraX + kCanvasWidth > kSectionWidth) {
        game.camera.cameraX = kCameraMaxX;
    }
    if (game.camera.cameraY < 0) {
        game.camera.cameraY = 0;
    } else if (game.camera.cameraY + kCanvasHeight > kSectionHeight) {
        game.camera.cameraY = kCameraMaxY;
    }
}

// At the mission's end sections the aircraft turns back; elsewhere it passes into the next one.
void crossWorldEdges(GameState& game, SectionRow row) {
    if (game.aircraft.worldX + 200 < 0 && game.edgeArmed) {
        if (game.sector == row.westEnd) {
            game.aircraft.flipped = 0;
            game.aircraft.pitch = 180;
            game.aircraft.velX = -game.aircraft.velX;
            game.edgeArmed = 0;
        } else {
            game.sector -= 1;
            game.aircraft.worldX = kSectionWidth;
            game.backdropX = -610;
            game.terrainScrollX = -(game.terrainScrollX + 40596 - 150);
        }
    } else if (!game.edgeArmed && game.aircraft.worldX > 0) {
        game.edgeArmed = 1;
    }

    if (game.aircraft.worldX - 100 > kSectionWidth && game.edgeArmed) {
        if (game.sector == row.eastEnd) {
            game.aircraft.pitch = 0;
            game.aircraft.velX = -game.aircraft.velX;
            game.edgeArmed = 0;
            game.aircraft.flipped = 1;
        } else {
            game.sector += 1;
            game.aircraft.worldX = -100;
            game.backdropX = 0;
            game.terrainScrollX = -200;
        }
    } else if (!game.edgeArmed && game.aircraft.worldX - 100 < kSectionWidth) {
        game.edgeArmed = 1;
    }
}

void scrollMarks(GameState& game, GroundMark* marks, int32_t count, int32_t capacity) {
    const int32_t used = count < capacity ? count : capacity;
    for (int32_t i = 0; i < used; ++i) {
        if (marks[i].active) marks[i].x -= game.aircraft.velX;
    }
}

void drawMarks(const GameState& game, const GroundMark* marks, int32_t count, int32_t capacity, TextureSlot slot,
               double offsetY) {
    const int32_t used = count < capacity ? count : capacity;
    for (int32_t i = 0; i < used; ++i) {
        if (marks[i].active) drawTexture(game, slot, game.camera.cameraLead + marks[i].x, game.groundScreenY + offsetY);
    }
}

} // namespace

int32_t nextCameraLead(int32_t lead, double p, int32_t leadMin, int32_t leadMax) {
    if (p > 90 && p <= 270) {
        if (lead > leadMin) lead -= 5;
    } else if ((p >= 0 && p < 90) || (p > 270 && p <= 360)) {
        if (lead < leadMax) lead += 5;
    }
    return lead;
}

void scrollScenery(GameState& game) {
    if (!game.frozen && game.aircraft.worldY > 0) {
        game.backdropX -= game.aircraft.velX / kBackdropParallax;
        game.backdropY -= game.aircraft.velY / kBackdropParallax;
    }
    if (!game.frozen) {
        game.groundScreenY = kGroundLineY - game.camera.cameraY;
        game.terrainScrollX -= game.aircraft.velX;
        game.terrainScrollY -= game.aircraft.velY;
    }
    if (game.aircraft.worldY > kTerrainVisibleBelowY) game.shadowScale = game.terrainScrollY / 300.0;
}

void drawBackdrop(const GameState& game, TextureSlot sky) {
    drawTexture(game, sky, game.backdropX, game.backdropY - 50);
}

void updateWorld(GameState& game, SectionRow row) {
    if (!game.frozen) {
        game.camera.cameraLead = nextCameraLead(game.camera.cameraLead, game.aircraft.pitchAtStep,
                                                game.camera.cameraLeadMin, game.camera.cameraLeadMax);
    }
    followWithCamera(game);
    moveAircraft(game);
    crossWorldEdges(game, row);
}

void drawTerrain(const GameState& game, TextureSlot tile) {
    if (game.aircraft.worldY <= kTerrainVisibleBelowY) return;
    for (const TileGroup& group : kTileGroups) {
        if (!(game.aircraft.worldX > group.fromX && game.aircraft.worldX < group.toX)) continue;
        for (int k = group.firstTile; k <= group.lastTile; ++k) {
            drawTexture(game, tile, game.terrainScrollX + kTerrainTileWidth * k + game.camera.cameraLead,
                        game.groundScreenY);
        }
    }
}

void scrollGroundMarks(GameState& game) {
    if (game.frozen) return;
    scrollMarks(game, game.craters, game.bombBlastCount, kCraterCapacity);
    scrollMarks(game, game.blastMarks, game.missileBlastCount, kBlastMarkCapacity);
}

void drawBase(const GameState& game, void (*drawExtra)(const GameState& game)) {
    if (game.sector == 0) {
        drawTexture(game, kTexBuildingSmall, game.runwayX + 90 - game.camera.cameraX, game.groundScreenY + 90);
        drawTexture(game, kTexBuildingWide, game.runwayX + 170 - game.camera.cameraX, game.groundScreenY + 127);
        drawTexture(game, kTexRunway, game.runwayX - game.camera.cameraX, game.groundScreenY + 220);
    }
    if (drawExtra != nullptr) drawExtra(game);
    drawMarks(game, game.craters, game.bombBlastCount, kCraterCapacity, kTexLargeGroundMark, 150);
    drawMarks(game, game.blastMarks, game.missileBlastCount, kBlastMarkCapacity, kTexSmallGroundMark, 210);
}

void drawShadow(const GameState& game) {
    blitRotated(game.assets->canvas, game.assets->shadowImage,
                static_cast<int32_t>(game.aircraft.worldX - game.camera.cameraX + 8),
                static_cast<int32_t>(game.groundScreenY + 196 + 40), 0, 180.0, game.shadowScale);
}

void resetScenery(GameState& game) {
    game.camera.cameraX = 0;
    game.camera.cameraY = 0;
    game.camera.cameraLead = 0;
    game.sector = 0;
    game.edgeArmed = 1;
    game.backdropX = -270;
    game.backdropY = 10.0 / 85.0 - 295.0;
    game.terrainScrollX = -19350;
    game.terrainScrollY = 385;
    game.shadowScale = 1.0;
}
