// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes the game as played into a script that skarnwing-replay plays back to the same state:
// the seed, the counter's frequency, every event the game took at the frame before which it
// came, and every counter reading in order (the clocks are the only other thing from outside
// that the game's state depends on). Both back ends feed it; nothing is written until it opens.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

// Starts the script at `path`, written as the save is (openReplacement): the file at `path` is
// replaced whole at the close, and a game that dies leaves what it recorded in `path`.tmp. Only a
// new or regular file is replaced: a FIFO, device, folder or link there is refused. Returns
// false, with one line on stderr, when it cannot be written.
bool recorderOpen(const char* path, uint32_t seed, int64_t counterFrequency, bool fullScreen);
// An event the game is about to take.
void recordEvent(const InputEvent& event);
// A reading of the performance counter handed to the game.
void recordCounter(int64_t value);
// A frame begins; events from now on come before the next one. What was recorded before it is
// written out now.
void recordFrameBegun();
// While `tape` is not null, every reading of the counter is also appended to it (the sortie
// being taped for the player's bests); null stops it.
void recorderTapeCounter(std::vector<int64_t>* tape);
// Ends the script with a dump and the end after the last frame and puts it in place; one line on
// stderr when it could not be written (the old file is then kept).
void recorderClose();
