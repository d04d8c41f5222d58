// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The frame as the player sees it, composed in software: opaque black, the frame's textures in
// the order drawn, then the canvas with its alpha. Both back ends show their frames this way;
// the SDL one sends the composed frame to the window as one opaque picture, since per-pixel
// work in GL costs far more than here where GL runs in software.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

// What blending does with a row of a picture.
enum class RowKind : uint8_t {
    Clear,  // every pixel has alpha 0: the row changes nothing
    Opaque, // every pixel has alpha 255: the row is copied
    Mixed,  // anything else: blended pixel by pixel
};

struct SoftTexture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, rows top-down
    std::vector<RowKind> rows;    // one per row
};

// A texture holding a copy of width * height pixels, its rows sorted.
SoftTexture softTexture(const uint32_t* pixels, int32_t width, int32_t height);

struct SoftDraw {
    TextureHandle texture = 0; // handle h is textures[h - 1]
    int32_t x = 0;
    int32_t y = 0;
};

// Fills out (kClientWidth * kClientHeight pixels of 0xFFRRGGBB). Draws of unknown handles and
// the parts of textures outside the frame are skipped. Each pixel is dst = src * a + dst * (1 - a)
// per channel, rounded to nearest. Given the canvas's drawn bands, only those are read of it
// (everywhere else it is 0, which changes nothing).
void compositeFrame(const std::vector<SoftTexture>& textures, const std::vector<SoftDraw>& draws,
                    const uint32_t* canvas, uint32_t* out, DrawnBands drawn = {});

// Writes a composed frame as an RGB PNG. Returns false, with one line on stderr, on failure.
bool writeFramePng(const uint32_t* frame, const char* path);
