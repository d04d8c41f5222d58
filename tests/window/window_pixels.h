// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a window's pixels back from the X server, kept apart from the tests because Xlib's
// headers define names (None, Bool, Screen) the game's own headers use.

#include <SDL.h>

#include <cstdint>
#include <vector>

// The top-left width x height client pixels of an X11 window as 0xRRGGBB; false if the window
// is not on X11 or cannot be read.
bool readWindowPixels(SDL_Window* window, int width, int height, std::vector<uint32_t>& pixels);
