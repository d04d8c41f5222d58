#pragma once
// Bringing the game from an empty record to the title picture, and back down at the end.

#include <cstdint>
#include <memory>

#include "app/inventory.h"

struct GameAssets;
struct GameState;

constexpr float kVersionNumber = 0.61f;

// Ignores SIGXFSZ for the whole run, opens the sound device and starts decoding every asset into `assets` (which the record then
// points to) on threads of their own, returning at once: the window opens meanwhile, and
// runStartUp, given what this returns, waits for the loads. Both records must be freshly
// value-initialised and outlive the run.
std::unique_ptr<InventoryLoad> beginStartUp(GameState& game, GameAssets& assets);
// Creates the devices, loads every asset into `assets` (or finishes the loads beginStartUp
// began), runs the new-game reset and seeds the generator. The window must be open.
void runStartUp(GameState& game, GameAssets& assets, uint32_t seed, std::unique_ptr<InventoryLoad> begun = nullptr);

// Releases what start-up created, in reverse order.
void runShutDown(GameState& game);

// Handles every waiting event, then runs one frame. Returns false when the quit event arrives
// (the frame that asked for it has already completed).
bool pumpOnce(GameState& game);
