// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// sheet-seeds IN.bmp OUT_PREFIX: writes the top-left corner of a font sheet again as small BMPs
// (one glyph cell, two cells, a few odd sizes so rows need padding), each bottom-up and top-down.
// Small seeds keep the font-sheet target fast and its mutations near the header and the rows.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/images.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// An uncompressed 24-bit BMP of the w x h corner of `sheet` (sheetWidth wide, top row first).
std::vector<uint8_t> corner(const std::vector<uint32_t>& sheet, int32_t sheetWidth, int32_t w, int32_t h,
                            bool topDown) {
    const uint32_t rowBytes = uint32_t(w) * 3;
    const uint32_t padding = (4 - rowBytes % 4) % 4;
    const uint32_t dataBytes = (rowBytes + padding) * uint32_t(h);
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 54 + dataBytes);
    put32(out, 0);
    put32(out, 54); // pixel data offset
    put32(out, 40); // header size
    put32(out, uint32_t(w));
    put32(out, uint32_t(topDown ? -h : h));
    put16(out, 1);                             // planes
    put16(out, 24);                            // bits per pixel
    for (int i = 0; i < 6; ++i) put32(out, 0); // no compression, sizes, palette
    for (int32_t r = 0; r < h; ++r) {
        const int32_t y = topDown ? r : h - 1 - r;
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = sheet[size_t(y) * size_t(sheetWidth) + size_t(x)];
            out.insert(out.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
        }
        out.insert(out.end(), padding, 0);
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN.bmp OUT_PREFIX\n", argv[0]);
        return 2;
    }
    uint8_t header[26] = {};
    FILE* in = std::fopen(argv[1], "rb");
    const bool read = in != nullptr && std::fread(header, 1, sizeof header, in) == sizeof header;
    if (in != nullptr) std::fclose(in);
    const int32_t width = int32_t(header[18] | header[19] << 8 | header[20] << 16 | uint32_t(header[21]) << 24);
    const int32_t height = int32_t(header[22] | header[23] << 8 | header[24] << 16 | uint32_t(header[25]) << 24);
    if (!read || width < 32 || height < 32 || width > 4096 || height > 4096) {
        std::fprintf(stderr, "%s: %s is not a font sheet\n", argv[0], argv[1]);
        return 1;
    }
    std::vector<uint32_t> sheet(size_t(width) * size_t(height));
    loadBmpSheet(argv[1], sheet.data(), width, height);
    const int32_t sizes[][2] = {{13, 24}, {16, 28}, {26, 24}, {7, 5}, {5, 3}};
    for (const auto& size : sizes) {
        for (const bool topDown : {false, true}) {
            const std::vector<uint8_t> bmp = corner(sheet, width, size[0], size[1], topDown);
            const std::string path = std::string(argv[2]) + "-" + std::to_string(size[0]) + "x" +
                                     std::to_string(size[1]) + (topDown ? "-top-down" : "") + ".bmp";
            FILE* out = std::fopen(path.c_str(), "wb");
            if (out == nullptr || std::fwrite(bmp.data(), 1, bmp.size(), out) != bmp.size() || std::fclose(out) != 0) {
                return 1;
            }
        }
    }
    return 0;
}
