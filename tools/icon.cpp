// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-icon: the desktop icon, cut from the game's own aircraft picture.
//   skarnwing-icon SOURCE.png CELL SIZE OUT.png
// takes cell CELL (0-based) of the square cells SOURCE is cut into across, trims it to the
// aircraft (pixels that are neither transparent nor white), centres that on a transparent square
// with a small margin and writes it SIZE pixels wide and high.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include "picture_file.h"

namespace {

bool isBackground(const unsigned char* p) { return p[3] < 16 || (p[0] > 245 && p[1] > 245 && p[2] > 245); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: skarnwing-icon SOURCE.png CELL SIZE OUT.png\n");
        return 2;
    }
    RgbaPicture source;
    const char* problem = readPictureFile(argv[1], source);
    const unsigned char* pixels = source.bytes.data();
    const int width = source.width;
    const int height = source.height;
    const int cell = std::atoi(argv[2]);
    const int size = std::atoi(argv[3]);
    if (problem != nullptr || height <= 0 || cell < 0 || (cell + 1) * height > width || size < 16 || size > 1024) {
        std::fprintf(stderr, "skarnwing-icon: cannot cut cell %s of \"%s\"\n", argv[2], argv[1]);
        return 1;
    }
    int left = width;
    int right = -1;
    int top = height;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = cell * height; x < (cell + 1) * height; ++x) {
            if (isBackground(pixels + (size_t(y) * width + x) * 4)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) {
        std::fprintf(stderr, "skarnwing-icon: cell %s of \"%s\" is empty\n", argv[2], argv[1]);
        return 1;
    }
    // The aircraft on a transparent square one sixteenth wider than it on each side.
    const int extent = std::max(right - left + 1, bottom - top + 1);
    const int side = extent + extent / 8;
    std::vector<unsigned char> square(size_t(side) * side * 4, 0);
    const int offsetX = (side - (right - left + 1)) / 2;
    const int offsetY = (side - (bottom - top + 1)) / 2;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const unsigned char* from = pixels + (size_t(y) * width + x) * 4;
            if (isBackground(from)) continue;
            unsigned char* to = square.data() + (size_t(y - top + offsetY) * side + (x - left + offsetX)) * 4;
            std::copy(from, from + 4, to);
        }
    }
    std::vector<unsigned char> icon(size_t(size) * size * 4);
    stbir_resize_uint8_srgb(square.data(), side, side, 0, icon.data(), size, size, 0, 4, 3, 0);
    if (!stbi_write_png(argv[4], size, size, 4, icon.data(), size * 4)) {
        std::fprintf(stderr, "skarnwing-icon: cannot write \"%s\"\n", argv[4]);
        return 1;
    }
    return 0;
}
