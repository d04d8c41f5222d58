#pragma once
// What only the headless back end offers: scripted input, a recorded clock and screenshots.

#include <cstdint>

#include "platform/platform.h"

// Queues an event; platformPollEvent hands queued events out in order.
void headlessPushEvent(const InputEvent& event);

// Replaying a recorded game: the counter runs at `frequency` ticks per second (0 keeps the
// headless rate) and hands out the readings pushed, in order; once they run out it keeps
// returning the last one.
void headlessUseRecordedClock(int64_t frequency);
void headlessPushCounterReading(int64_t value);

// Composites the last presented frame (black, its textures, then the canvas with its alpha)
// into out, 1280 * 720 pixels of 0xFFRRGGBB.
void headlessCompositeLastFrame(uint32_t* out);

// Writes the last presented frame as a PNG. Returns false (with a message) on failure.
bool headlessWriteScreenshot(const char* path);

// The window title as the game last set it.
const char* headlessTitle();
