// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What only the headless back end offers: scripted input, a recorded clock and screenshots.

#include <cstdint>

#include "platform/platform.h"

// Queues an event; platformPollEvent hands queued events out in order.
void headlessPushEvent(const InputEvent& event);

// Composites the last presented frame (black, its textures, then the canvas with its alpha)
// into out, 1280 * 720 pixels of 0xFFRRGGBB.
void headlessCompositeLastFrame(uint32_t* out);

// Writes the last presented frame as a PNG. Returns false (with a message) on failure.
bool headlessWriteScreenshot(const char* path);

// The window title as the game last set it.
const char* headlessTitle();

// Makes platformLastPressFromPad answer as if the player's last press had come from a pad.
void headlessPretendPad(bool pad);
