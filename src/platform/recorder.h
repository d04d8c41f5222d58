#pragma once
// Writes the game as played into a script that skarnwing-replay plays back to the same state:
// the seed, the counter's frequency, every event the game took at the frame before which it
// came, and every counter reading in order (the clocks are the only other thing from outside
// that the game's state depends on). Both back ends feed it; nothing is written until it opens.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

// Starts the script at `path`. Returns false, with one line on stderr, when it cannot be written.
bool recorderOpen(const char* path, uint32_t seed, int64_t counterFrequency, bool fullScreen);
// An event the game is about to take.
void recordEvent(const InputEvent& event);
// A reading of the performance counter handed to the game.
void recordCounter(int64_t value);
// A frame begins; events from now on come before the next one.
void recordFrameBegun();
// While `tape` is not null, every reading of the counter is also appended to it (the sortie
// being taped for the player's bests); null stops it.
void recorderTapeCounter(std::vector<int64_t>* tape);
// Ends the script with a dump and the end after the last frame, and closes it.
void recorderClose();
