// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture file read whole and decoded by the game's own decoder, for the content tools.
#pragma once

#include <cstdio>
#include <vector>

#include "assets/picture_decode.h"

// Reads and decodes the PNG or JPEG at path. Returns null on success, else the reason.
inline const char* readPictureFile(const char* path, RgbaPicture& picture) {
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return "cannot be opened";
    uint8_t block[65536];
    for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.insert(bytes.end(), block, block + n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return "cannot be read";
    return decodeRgbaPicture(bytes.data(), bytes.size(), picture);
}
