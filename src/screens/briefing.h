#pragma once
// The briefing's hand-over to flight.

struct GameState;

// Fills the sortie's enemies and settings for `mission` and `difficulty`.
void setUpMission(GameState& game);

// What TAKE OFF does: set the mission up, park the aircraft on the runway, close the screens,
// so the next frame is a sortie frame.
void takeOff(GameState& game);
