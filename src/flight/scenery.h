// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The world under the aircraft: the camera, the sky and ground tiles, the home base, the airshow
// crowd stand, the ground marks, the shadow, and the row of 40000-pixel sections with its edges.

#include <cstdint>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "game/world.h"

// The sections a mission's row runs between.
struct SectionRow {
    int32_t westEnd;
    int32_t eastEnd;
};

// The backdrop and the ground tiles scrolled against the aircraft's motion (unless frozen), the
// ground line's screen row from the camera before it follows, and the shadow's scale.
void scrollScenery(GameState& game);
// The mission's sky backdrop.
void drawBackdrop(const GameState& game, TextureSlot sky);
// The mission's ground tiles, only near the ground.
void drawTerrain(const GameState& game, TextureSlot tile);

// The world step: camera lead and follow, aircraft motion, and the edges of the mission's row of
// sections.
void updateWorld(GameState& game, SectionRow row);

// The ground marks scrolled against the aircraft's motion (unless frozen).
void scrollGroundMarks(GameState& game);
// The home base, the crowd stand and the ground marks.
void drawBase(const GameState& game, void (*drawExtra)(const GameState& game) = nullptr);

// The aircraft's shadow on the ground line, into the canvas.
void drawShadow(const GameState& game);

// Scenery values of a new game and of every sortie start.
void resetScenery(GameState& game);

// The camera lead after one frame heading along `pitchAtStep`: 5 pixels toward the bound
// ahead, never past it.
int32_t nextCameraLead(int32_t lead, double pitchAtStep, int32_t leadMin, int32_t leadMax);
