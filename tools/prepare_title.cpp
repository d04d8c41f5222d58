// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-prepare-title: the title picture's pixels exactly as start-up makes them from the
// built-in picture (decoded, scaled and keyed), written raw for start-up to read instead.
//   skarnwing-prepare-title OUT
// OUT holds 1280 x 720 pixels, 0xAARRGGBB, little-endian, and nothing else.

#include <cstdio>

#include "app/inventory.h"
#include "assets/game_assets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skarnwing-prepare-title OUT\n");
        return 2;
    }
    PreparedTexture title;
    if (!prepareResourceTexture(kTexTitle, title)) return 1;
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(title.pixels.data(), 4, title.pixels.size(), out) == title.pixels.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "skarnwing-prepare-title: %s could not be written\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
