// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pixel contract shared by the canvas, the blits and the decoders:
// a pixel is a uint32_t read as 0xAARRGGBB, rows run top-down, pixel (x, y) of a
// PixelImage is pixels[y * width + x].

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Each row's drawn columns (first, one past last), one table per alpha threshold met, worked out
// the first time a rotating draw needs them, so a picture drawn every frame scans its rows once
// per threshold (at most 256 of them). A copy starts empty, and a store of another address or
// size is scanned afresh; a picture's pixels must not be written in place once drawn rotated.
struct RowSpanCache {
    struct Table {
        uint32_t least = 0;
        std::vector<std::pair<int16_t, int16_t>> spans; // one per row walked
    };
    const uint32_t* pixels = nullptr;
    size_t size = 0;
    std::vector<Table> tables;
    RowSpanCache() = default;
    RowSpanCache(const RowSpanCache&) {}
    RowSpanCache& operator=(const RowSpanCache&) {
        pixels = nullptr;
        tables.clear();
        return *this;
    }
};

struct PixelImage {
    int32_t width = 0;            // pixels
    int32_t height = 0;           // pixels
    std::vector<uint32_t> pixels; // width * height, 0xAARRGGBB, alpha as stored (0xFF where none)
    mutable RowSpanCache rowSpans;
};
