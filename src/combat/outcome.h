#pragma once
// How a sortie ends, and the two resets that prepare a new game and a new sortie.

struct GameState;

// A new game: the title picture comes back, money, upgrades and progress start over.
void resetNewGame(GameState& game);

// A new sortie: the aircraft parked on the home runway, the counters of the last sortie cleared.
void resetMission(GameState& game);
