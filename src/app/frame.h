// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One frame: clear, open and wipe the canvas, run the dispatcher, present, then the timing
// statistics, the full-screen key, the title bar and the music loop.

#include <cstdint>

#include "game/game_state.h"

constexpr int32_t kRenderStatsWindow = 20; // frames per published render-time sample

// Adds one frame's render time and publishes min, max and average on every 20th frame.
void recordRenderTime(RenderStats& stats, float elapsed);

// Runs one whole frame.
void runFrame(GameState& game);
