// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A best chosen in the logbook, played in the window from its own copy of the game record, so
// nothing of it reaches the player's game.

struct GameState;

// Starts watching the best the logbook chose (GameState::watchRequest, cleared here) on a copy of
// `player`'s record; one line on stderr and nothing else when it cannot be read or was flown
// under other rules.
void startWatching(GameState& player);
// Whether a best is being watched: the frames are its own until it ends.
bool watching(const GameState& player);
// One frame of the best being watched, to its end (the last picture then holds) or until
// Backspace (pad B) or quitting; P pauses. `player` stays as it was but for the keys and mouse
// the player lets go of or moves meanwhile. Its sounds stop and the music and window come back
// as they were when it ends. False when the player quits.
bool watchFrame(GameState& player);
