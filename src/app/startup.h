#pragma once
// Bringing the game from an empty record to the title picture, and back down at the end.

#include <cstdint>

struct GameAssets;
struct GameState;

constexpr float kVersionNumber = 0.61f;

// Creates the devices, loads every asset into `assets` (which the record then points to), runs
// the new-game reset and seeds the generator. Both records must be freshly value-initialised
// and outlive the run.
void runStartUp(GameState& game, GameAssets& assets, uint32_t seed);

// Releases what start-up created, in reverse order.
void runShutDown(GameState& game);

// Handles every waiting event, then runs one frame. Returns false when the quit event arrives
// (the frame that asked for it has already completed).
bool pumpOnce(GameState& game);
