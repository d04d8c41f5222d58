// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Bringing the game from an empty record to the title picture, and back down at the end.

#include <cstdint>
#include <memory>

#include "app/inventory.h"

struct GameAssets;
struct GameState;

constexpr float kVersionNumber = 0.61f;

// Ignores SIGXFSZ for the whole run, readies the sound output and starts decoding every asset
// into `assets` (which the record then points to) on threads of their own, returning at once: the
// window opens meanwhile, and runStartUp, given what this returns, waits for the loads. Both
// records must be freshly value-initialised and outlive the run.
// Every job the title does not need waits until startBehindTitle, or with holdBack until
// awaitAssets, as on a slow disk.
std::unique_ptr<InventoryLoad> beginStartUp(GameState& game, GameAssets& assets, bool holdBack = false);
// Creates the devices, loads every asset into `assets` (or finishes the loads beginStartUp
// began), runs the new-game reset and seeds the generator. The window must be open. With
// titleFirst it returns as soon as the title can be shown (its picture, the fonts, track 1),
// the rest loading behind it until awaitAssets, and the sound device waits for startBehindTitle.
void runStartUp(GameState& game, GameAssets& assets, uint32_t seed, std::unique_ptr<InventoryLoad> begun = nullptr,
                bool titleFirst = false);
// Waits for whatever start-up left loading and hands its textures to the device. Every step
// that may use an asset other than the title's calls it first: the frame after the title, the
// shut-down and the replay tool's commands; the game then runs exactly as if everything had
// loaded before the first frame.
void awaitAssets(GameState& game);

// Starts what a title-first start-up left until the first frame was on screen, so that it took
// nothing from the window's opening and that frame: the sound device, and the loads behind the
// title unless they are held back until needed. runFrame calls it as each frame begins; it acts
// as the second frame begins and never again.
void startBehindTitle(GameState& game);

// Releases what start-up created, in reverse order.
void runShutDown(GameState& game);
