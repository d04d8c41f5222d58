// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The main loop's turn: the waiting events, then one frame of the player's game or of the best
// being watched.

struct GameState;

// Handles every waiting event, then runs one frame. Returns false when the quit event arrives
// (the frame that asked for it has already completed).
bool pumpOnce(GameState& game);
