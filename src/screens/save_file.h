#pragma once
// The one save file: the game's progress written and read back.

struct GameState;

// Writes the progress; false when it could not be written.
bool saveGame(GameState& game);
// Reads the progress back into the game; false when there was nothing sound to read.
bool loadGame(GameState& game);
