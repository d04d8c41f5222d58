// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-font-sheet FONT.ttf CELL_W CELL_H OUT.bmp
// Draws the 95 printable ASCII characters (0x20..0x7E) in code order, 32 cells per row, black
// on white, as an uncompressed 24-bit bottom-up BMP: the sheet layout the bitmap fonts read.
// Glyphs are rendered one bit deep (hinted for monochrome), so the sheet has no grey: the game
// treats only pure black as ink. The largest pixel size at which every glyph fits its cell wins.
#include <cstdint>
#include <cstdio>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

constexpr int kFirst = 0x20, kCount = 95, kColumns = 32;

struct Placed {
    int size = 0, baseline = 0;
};

bool loadGlyph(FT_Face face, int c) {
    return FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0 &&
           face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
}

// Pixel size and baseline row at which all glyphs sit inside a cell, or size 0.
Placed fit(FT_Face face, int cellW, int cellH) {
    for (int size = cellH + 8; size >= 6; --size) {
        if (FT_Set_Pixel_Sizes(face, 0, size)) continue;
        int top = 0, bottom = 0; // rows above and below the baseline
        bool fits = true;
        for (int c = kFirst; c < kFirst + kCount && fits; ++c) {
            if (!loadGlyph(face, c)) return {};
            FT_GlyphSlot g = face->glyph;
            int left = (cellW - int(g->advance.x >> 6)) / 2 + g->bitmap_left;
            if (g->bitmap.width > 0 && (left < 0 || left + int(g->bitmap.width) > cellW)) fits = false;
            if (g->bitmap_top > top) top = g->bitmap_top;
            int below = int(g->bitmap.rows) - g->bitmap_top;
            if (below > bottom) bottom = below;
        }
        if (fits && top + bottom <= cellH) return {size, (cellH - top - bottom) / 2 + top};
    }
    return {};
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

int main(int argc, char** argv) {
    int cellW = 0, cellH = 0;
    if (argc != 5 || std::sscanf(argv[2], "%d", &cellW) != 1 || std::sscanf(argv[3], "%d", &cellH) != 1 || cellW < 4 ||
        cellH < 4) {
        std::fprintf(stderr, "usage: %s FONT.ttf CELL_W CELL_H OUT.bmp\n", argv[0]);
        return 2;
    }
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, argv[1], 0, &face)) {
        std::fprintf(stderr, "%s: cannot read font '%s'\n", argv[0], argv[1]);
        return 1;
    }
    Placed p = fit(face, cellW, cellH);
    if (p.size == 0) {
        std::fprintf(stderr, "%s: font '%s' has no size whose glyphs fit %dx%d cells\n", argv[0], argv[1], cellW,
                     cellH);
        return 1;
    }
    FT_Set_Pixel_Sizes(face, 0, p.size);

    const int width = kColumns * cellW, height = (kCount + kColumns - 1) / kColumns * cellH;
    std::vector<uint8_t> ink(size_t(width) * height, 0);
    for (int i = 0; i < kCount; ++i) {
        loadGlyph(face, kFirst + i);
        FT_GlyphSlot g = face->glyph;
        int x0 = i % kColumns * cellW + (cellW - int(g->advance.x >> 6)) / 2 + g->bitmap_left;
        int y0 = i / kColumns * cellH + p.baseline - g->bitmap_top;
        for (unsigned r = 0; r < g->bitmap.rows; ++r)
            for (unsigned c = 0; c < g->bitmap.width; ++c)
                if (g->bitmap.buffer[r * g->bitmap.pitch + c / 8] & (0x80 >> (c % 8)))
                    ink[size_t(y0 + int(r)) * width + x0 + int(c)] = 1;
    }

    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    put32(bmp, uint32_t(54 + rowBytes * height));
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, uint32_t(width));
    put32(bmp, uint32_t(height)); // positive: rows stored bottom-up
    put16(bmp, 1);
    put16(bmp, 24);
    put32(bmp, 0); // no compression
    put32(bmp, uint32_t(rowBytes * height));
    put32(bmp, 2835);
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < 3; ++k) bmp.push_back(ink[size_t(y) * width + x] ? 0 : 255);
        for (int k = width * 3; k < rowBytes; ++k) bmp.push_back(0);
    }
    FILE* f = std::fopen(argv[4], "wb");
    if (!f || std::fwrite(bmp.data(), 1, bmp.size(), f) != bmp.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], argv[4]);
        return 1;
    }
    return 0;
}
