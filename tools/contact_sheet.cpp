// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-contact-sheet OUT_PREFIX PICTURE...
// Review pages for the artwork: every picture, scaled to fit a row, over a checkerboard (so
// transparency shows), labelled with its file name and stored size. Writes OUT_PREFIX-1.png,
// OUT_PREFIX-2.png, ... A picture that cannot be read gets a label saying so, and the rest go on.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <stb/stb_image_write.h>

#include "picture_file.h"

namespace {

constexpr int kPageW = 1600, kPageH = 1200, kRowH = 240, kLabelH = 22, kGap = 12;
constexpr int kMaxZoom = 4;

struct Page {
    std::vector<unsigned char> px = std::vector<unsigned char>(size_t(kPageW) * kPageH * 3, 40);
    void put(int x, int y, int r, int g, int b, int a) {
        if (x < 0 || y < 0 || x >= kPageW || y >= kPageH) return;
        unsigned char* p = &px[(size_t(y) * kPageW + x) * 3];
        p[0] = (unsigned char)((r * a + p[0] * (255 - a)) / 255);
        p[1] = (unsigned char)((g * a + p[1] * (255 - a)) / 255);
        p[2] = (unsigned char)((b * a + p[2] * (255 - a)) / 255);
    }
};

void label(FT_Face face, Page& page, int x, int y, const std::string& text) {
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER)) continue;
        FT_GlyphSlot g = face->glyph;
        for (unsigned r = 0; r < g->bitmap.rows; ++r)
            for (unsigned k = 0; k < g->bitmap.width; ++k)
                page.put(x + g->bitmap_left + int(k), y - g->bitmap_top + int(r), 235, 235, 235,
                         g->bitmap.buffer[r * g->bitmap.pitch + k]);
        x += int(g->advance.x >> 6);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT_PREFIX PICTURE...\n", argv[0]);
        return 2;
    }
    FT_Library lib;
    FT_Face face;
    const char* fontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, fontPath, 0, &face)) {
        std::fprintf(stderr, "%s: cannot read font '%s'\n", argv[0], fontPath);
        return 1;
    }
    FT_Set_Pixel_Sizes(face, 0, 15);

    std::vector<Page> pages(1);
    int x = kGap, y = kGap;
    for (int i = 2; i < argc; ++i) {
        std::string path = argv[i];
        RgbaPicture picture;
        const char* problem = readPictureFile(path.c_str(), picture);
        const unsigned char* img = problem == nullptr ? picture.bytes.data() : nullptr;
        const int w = picture.width, h = picture.height;
        double zoom = img ? std::min({double(kRowH) / h, double(kPageW - 2 * kGap) / w, double(kMaxZoom)}) : 1;
        int tw = img ? std::max(int(w * zoom), 260) : 260, th = img ? int(h * zoom) : 20;
        if (x + tw > kPageW - kGap) {
            x = kGap;
            y += kRowH + kLabelH + kGap;
        }
        if (y + kRowH + kLabelH > kPageH) {
            pages.emplace_back();
            x = y = kGap;
        }
        Page& page = pages.back();
        std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
        size_t files = path.find("Files/");
        if (files != std::string::npos) name = path.substr(files);
        if (!img) {
            std::fprintf(stderr, "%s: cannot read picture '%s': %s\n", argv[0], path.c_str(), problem);
            label(face, page, x, y + 16, name + "  (unreadable)");
        } else {
            for (int py = 0; py < th; ++py)
                for (int px = 0; px < int(w * zoom); ++px) {
                    int check = ((px / 8 + py / 8) & 1) ? 150 : 110;
                    page.put(x + px, y + py, check, check, check, 255);
                    const unsigned char* s = &img[(size_t(int(py / zoom)) * w + int(px / zoom)) * 4];
                    page.put(x + px, y + py, s[0], s[1], s[2], s[3]);
                }
            label(face, page, x, y + th + 16, name + "  " + std::to_string(w) + "x" + std::to_string(h));
        }
        x += tw + kGap;
    }
    for (size_t p = 0; p < pages.size(); ++p) {
        std::string out = std::string(argv[1]) + "-" + std::to_string(p + 1) + ".png";
        if (!stbi_write_png(out.c_str(), kPageW, kPageH, 3, pages[p].px.data(), kPageW * 3)) {
            std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], out.c_str());
            return 1;
        }
        std::printf("%s\n", out.c_str());
    }
    return 0;
}
