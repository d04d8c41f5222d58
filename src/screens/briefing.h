#pragma once
// The mission map, the briefing and the briefing's hand-over to flight.

struct GameState;

// One frame of the mission map, its mouse input included: a click on a shown marker opens that
// mission's briefing at difficulty 0.
void drawMissionMap(GameState& game);

// One frame of the briefing, its mouse input included: the mission's pictures and texts, the
// open difficulty stars, the close button back to the map and TAKE OFF.
void drawBriefing(GameState& game);

// Fills the sortie's enemies and settings for `mission` and `difficulty`.
void setUpMission(GameState& game);

// What TAKE OFF does: set the mission up, park the aircraft on the runway, close the screens,
// so the next frame is a sortie frame.
void takeOff(GameState& game);
