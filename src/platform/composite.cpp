// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/composite.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <stb/stb_image_write.h>

namespace {

// dst = src * a + dst * (1 - a) per channel, for 0 < a < 255.
uint32_t blendOver(uint32_t dst, uint32_t src) {
    const uint32_t a = src >> 24;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// Pixels [begin, end) of a row over the frame's row; alpha 0 leaves a pixel, 255 replaces it.
void blendRow(uint32_t* dst, const uint32_t* src, int64_t begin, int64_t end) {
    for (int64_t i = begin; i < end; ++i) {
        const uint32_t s = src[i];
        if (s < 0x01000000u) continue;
        dst[i] = s >= 0xFF000000u ? s : blendOver(dst[i], s);
    }
}

// The same, for a row mostly of alpha 0 (the canvas): eight pixels at a time are passed over
// while none of them shows.
void blendSparseRow(uint32_t* dst, const uint32_t* src, int64_t begin, int64_t end) {
    constexpr uint64_t kAlphas = 0xFF000000FF000000ull;
    while (begin + 8 <= end) {
        uint64_t words[4];
        std::memcpy(words, src + begin, sizeof words);
        if (((words[0] | words[1] | words[2] | words[3]) & kAlphas) != 0) blendRow(dst, src, begin, begin + 8);
        begin += 8;
    }
    blendRow(dst, src, begin, end);
}

} // namespace

SoftTexture softTexture(const uint32_t* pixels, int32_t width, int32_t height) {
    SoftTexture t{width, height, std::vector<uint32_t>(pixels, pixels + size_t(width) * size_t(height)), {}};
    t.rows.resize(size_t(height));
    for (int32_t row = 0; row < height; ++row) {
        const uint32_t* p = pixels + size_t(row) * size_t(width);
        if (std::all_of(p, p + width, [](uint32_t v) { return v < 0x01000000u; })) {
            t.rows[size_t(row)] = RowKind::Clear;
        } else if (std::all_of(p, p + width, [](uint32_t v) { return v >= 0xFF000000u; })) {
            t.rows[size_t(row)] = RowKind::Opaque;
        } else {
            t.rows[size_t(row)] = RowKind::Mixed;
        }
    }
    return t;
}

void compositeFrame(const std::vector<SoftTexture>& textures, const std::vector<SoftDraw>& draws,
                    const uint32_t* canvas, uint32_t* out, DrawnBands drawn) {
    auto known = [&](const SoftDraw& draw) {
        return draw.texture > 0 && static_cast<size_t>(draw.texture) <= textures.size();
    };
    // Black shows only where the first draw leaves any of the frame: a backdrop whose rows on
    // the frame are all opaque hides it.
    bool hidden = false;
    if (!draws.empty() && known(draws.front())) {
        const SoftDraw& first = draws.front();
        const SoftTexture& t = textures[static_cast<size_t>(first.texture - 1)];
        hidden = first.x <= 0 && first.y <= 0 && int64_t{first.x} + t.width >= kClientWidth &&
                 int64_t{first.y} + t.height >= kClientHeight &&
                 std::all_of(t.rows.begin() - first.y, t.rows.begin() - first.y + kClientHeight,
                             [](RowKind kind) { return kind == RowKind::Opaque; });
    }
    if (!hidden) std::fill(out, out + kClientWidth * kClientHeight, 0xFF000000u);
    for (const SoftDraw& draw : draws) {
        if (!known(draw)) continue;
        const SoftTexture& t = textures[static_cast<size_t>(draw.texture - 1)];
        const int64_t firstRow = std::max<int64_t>(0, -int64_t{draw.y});
        const int64_t rowEnd = std::min<int64_t>(t.height, int64_t{kClientHeight} - draw.y);
        const int64_t firstCol = std::max<int64_t>(0, -int64_t{draw.x});
        const int64_t colEnd = std::min<int64_t>(t.width, int64_t{kClientWidth} - draw.x);
        if (firstCol >= colEnd) continue;
        for (int64_t row = firstRow; row < rowEnd; ++row) {
            const RowKind kind = t.rows[size_t(row)];
            if (kind == RowKind::Clear) continue;
            const uint32_t* src = t.pixels.data() + row * t.width;
            uint32_t* dst = out + (draw.y + row) * kClientWidth + draw.x; // column 0 of the texture
            if (kind == RowKind::Opaque) {
                std::memcpy(dst + firstCol, src + firstCol, size_t(colEnd - firstCol) * sizeof(uint32_t));
            } else {
                blendRow(dst, src, firstCol, colEnd);
            }
        }
    }
    const bool all = drawn.left == nullptr || drawn.right == nullptr;
    for (int32_t row = 0; row < kClientHeight; ++row) {
        const int32_t band = row / kDrawnBandRows;
        const int64_t left = all ? 0 : std::clamp<int64_t>(drawn.left[band], 0, kClientWidth);
        const int64_t right = all ? kClientWidth : std::clamp<int64_t>(drawn.right[band], 0, kClientWidth);
        blendSparseRow(out + row * kClientWidth, canvas + row * kClientWidth, left, right);
    }
}

bool writeFramePng(const uint32_t* frame, const char* path) {
    std::vector<uint8_t> rgb(size_t(kClientWidth) * kClientHeight * 3);
    for (size_t i = 0; i < size_t(kClientWidth) * kClientHeight; ++i) {
        rgb[i * 3 + 0] = static_cast<uint8_t>(frame[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(frame[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(frame[i]);
    }
    if (!stbi_write_png(path, kClientWidth, kClientHeight, 3, rgb.data(), kClientWidth * 3)) {
        std::fprintf(stderr, "skarnwing: cannot write screenshot \"%s\"\n", path);
        return false;
    }
    return true;
}
