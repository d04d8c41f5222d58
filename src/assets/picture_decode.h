// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Decoding PNG and JPEG pictures, which may come from outside the program, into RGBA bytes: libpng
// and libjpeg-turbo do the work. The game's loaders and the content tools both decode here, so a
// picture has the same pixels in the game as in the tools that made and checked it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/left_unset.h"

// Largest picture the decoders accept, so a hostile header cannot ask for a huge allocation.
constexpr int64_t kMaxDecodedPixels = 32 * 1024 * 1024;

// Checks that bytes start a PNG or JPEG picture (known by its signature) of an accepted size and
// gives that size. Returns null when they do, else the reason.
const char* checkPictureHeader(const uint8_t* bytes, size_t size, int& width, int& height);

// A buffer a decoder fills whole.
using DecodeBuffer = std::vector<uint8_t, LeftUnset<uint8_t>>;

// A decoded picture: 4 bytes per pixel (R, G, B, A), top row first.
struct RgbaPicture {
    DecodeBuffer bytes; // width * height * 4, filled whole by the decoder
    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = false; // stored with an alpha channel or a transparent palette entry
};

// Decodes PNG or JPEG bytes, refusing any other format and any picture over kMaxDecodedPixels
// before its pixels are allocated. Alpha is as stored, 0xFF where the picture has none. Returns
// null on success, else the reason (valid until the next decode on this thread); prints nothing.
const char* decodeRgbaPicture(const uint8_t* bytes, size_t size, RgbaPicture& out);
