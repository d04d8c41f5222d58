#pragma once
// The world under the aircraft: the camera, the sky and ground tiles, the home base, the airshow
// crowd stand, the ground marks, the shadow, and the row of 40000-pixel sections with its edges.

#include <cstdint>

struct GameState;

constexpr double kSectionWidth = 40000.0; // world pixels per section
constexpr double kGroundLineY = 19617.0;  // world y of the reference ground line

// The sections a mission's row runs between.
struct SectionRow {
    int32_t westEnd;
    int32_t eastEnd;
};
SectionRow sectionRow(int32_t mission);

// The world step: backdrop, terrain, camera lead and follow, aircraft motion, world edges.
void updateWorld(GameState& game);

// Scrolls and draws the ground tiles near the ground, and sets the shadow's scale.
void drawTerrain(GameState& game);

// The home base (and the runway-end collision test), the crowd stand and the ground marks.
void drawBase(GameState& game);

// The aircraft's shadow on the ground line, into the canvas.
void drawShadow(GameState& game);

// Scenery values of a new game and of every sortie start.
void resetScenery(GameState& game);

// The camera lead after one frame heading along `pitchAtStep`: 5 pixels toward the bound
// ahead, never past it.
int32_t nextCameraLead(int32_t lead, double pitchAtStep, int32_t leadMin, int32_t leadMax);
