#pragma once
// The per-frame game step: picks the title picture, a screen between sorties or a sortie from
// the GameState's flags and runs every subsystem's step in its fixed order.

struct GameState;

void runDispatcher(GameState& game);

// The sortie ends in the ground when the aircraft's y reaches 19842 (y grows downward).
bool isBelowCrashLine(double worldY);

// Sets the losing outcome `text` the way a crash does: the sortie is over, its one-time effects
// are due and every screen flag is cleared.
void raiseCrash(GameState& game, const char* text);
