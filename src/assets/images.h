// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Decoding the program's picture resources into PixelImages, cutting strips into FrameSets,
// and the font-sheet reader.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/picture_decode.h"
#include "game/game_state.h"
#include "raster/pixel_image.h"

// The images of one animation, cut from one strip.
struct FrameSet {
    std::vector<PixelImage> images; // `count` images
    int32_t count = 0;
};

// The bytes of one picture built into the program (PNG or JPEG).
struct ResourceData {
    const uint8_t* bytes = nullptr; // null when no resource has the id
    size_t size = 0;
};

// Looks a built-in picture up by its numeric id.
ResourceData findResource(int32_t id);

// Larger picture and font-sheet files are refused unread.
constexpr size_t kMaxPictureFileBytes = 32 * 1024 * 1024;
constexpr size_t kMaxFontSheetFileBytes = 4 * 1024 * 1024;

// Decodes PNG or JPEG bytes into 0xAARRGGBB pixels, top row first, alpha as stored (0xFF where
// the picture has none). Returns false and leaves the image as it was when the bytes do not
// decode; `name` is for the one-line message.
bool decodeImageBytes(PixelImage& image, const uint8_t* bytes, size_t size, const char* name);
// As decodeImageBytes, keeping only columns x0 .. x0 + frameWidth - 1. The frame must lie inside
// the picture and frameHeight equal its height; otherwise false.
bool decodeFrameBytes(PixelImage& image, const uint8_t* bytes, size_t size, int32_t x0, int32_t frameWidth,
                      int32_t frameHeight, const char* name);

// The same for a built-in picture.
bool decodeResourceImage(PixelImage& image, int32_t id);

// Cuts `count` images of frameWidth x frameHeight from a strip resource, left to right from
// x = 0. The sprite records that play the set pace it with frames-per-image of their own.
void buildFrameSet(FrameSet& set, int32_t id, int32_t count, int32_t frameWidth, int32_t frameHeight);

// Reads an uncompressed 24-bit BMP of exactly width x height pixels into buffer (width * height
// pixels, 0xFFRRGGBB, top row first). A missing, malformed, differently sized or truncated file
// leaves the buffer all 0 (no ink) and prints one line naming the file.
void loadBmpSheet(const char* windowsPath, uint32_t* buffer, int32_t width, int32_t height);

// Counts one frame of the record and moves to the next image of `set`, the frame set it plays
// (wrapping), when the count reaches the record's frames-per-image. A null set stops it.
void advanceSprite(SpriteRecord& sprite, const FrameSet* set);
