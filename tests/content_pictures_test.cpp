// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The generated pictures and font sheets in the build tree: each is there at its stored size and
// format, keyed textures have a clean key background and no holes, the raster's pictures carry
// the alpha their blits test, strips cut cleanly, terrain tiles join, and every glyph of the font
// sheets has ink in black and white only (the loader checks their headers).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../tools/picture_file.h"
#include "assets/images.h"

namespace {

enum class Kind { Jpeg, Cutout, Opaque, Alpha }; // Cutout: keyed PNG with the key around it
constexpr uint32_t kWhite = 0xFFFFFF, kMagenta = 0xFF00FF, kBlack = 0x000000, kNoKey = 0x1000000;

struct Picture {
    const char* path; // relative to the build tree
    int width, height;
    Kind kind;
    uint32_t key;
};

const Picture kPictures[] = {
    {"Files/Img/bg/arr50.png", 50, 50, Kind::Cutout, kWhite},
    {"Files/Img/bg/arr50R.png", 50, 50, Kind::Cutout, kWhite},
    {"Files/Img/bg/MissSel.png", 25, 25, Kind::Cutout, kWhite},
    {"Files/Img/bg/MissSel2.png", 25, 25, Kind::Cutout, kWhite},
    {"Files/Img/bg/close.png", 30, 30, Kind::Cutout, kMagenta},
    {"Files/Img/bg/3.jpg", 27, 27, Kind::Jpeg, kMagenta},
    {"Files/Img/bg/4.jpg", 539, 67, Kind::Jpeg, kWhite},
    {"Files/Img/bg/5.jpg", 30, 30, Kind::Jpeg, kMagenta},
    {"Files/Img/bg/5c.jpg", 30, 30, Kind::Jpeg, kMagenta},
    {"Files/Img/12b.PNG", 98, 42, Kind::Cutout, kBlack},
    {"Files/Img/13.PNG", 303, 87, Kind::Cutout, kBlack},
    {"Files/Img/14.PNG", 59, 123, Kind::Cutout, kBlack},
    {"Files/Img/3.PNG", 1600, 35, Kind::Opaque, kBlack},
    {"Files/Img/10.PNG", 170, 170, Kind::Cutout, kBlack},
    {"Files/Img/11.PNG", 105, 60, Kind::Cutout, kBlack},
    {"Files/Img/bg/Save.PNG", 120, 50, Kind::Cutout, kBlack},
    {"Files/Img/bg/Load.PNG", 120, 50, Kind::Cutout, kBlack},
    {"resources/14.png", 283, 122, Kind::Cutout, kBlack},
    {"resources/17.png", 110, 103, Kind::Cutout, kBlack},
    {"resources/18.png", 110, 103, Kind::Cutout, kBlack},
    {"resources/3.png", 1194, 383, Kind::Cutout, kBlack},
    {"resources/20.jpg", 1920, 1200, Kind::Jpeg, kWhite},
    {"resources/34.jpg", 3264, 2448, Kind::Jpeg, kMagenta},
    {"resources/22.jpg", 1280, 720, Kind::Jpeg, kMagenta},
    {"resources/21.jpg", 1280, 720, Kind::Jpeg, kMagenta},
    {"resources/28.png", 1280, 720, Kind::Opaque, kMagenta},
    {"resources/24.jpg", 1024, 768, Kind::Jpeg, kMagenta},
    {"resources/11.jpg", 292, 232, Kind::Jpeg, kWhite},
    {"resources/25.jpg", 292, 232, Kind::Jpeg, kWhite},
    {"resources/40.png", 3582, 370, Kind::Cutout, kWhite},
    {"resources/26.png", 292, 232, Kind::Cutout, kWhite},
    {"resources/27.png", 436, 268, Kind::Cutout, kMagenta},
    {"resources/2.png", 1194, 383, Kind::Cutout, kWhite},
    {"resources/12.png", 50, 50, Kind::Cutout, kWhite},
    {"resources/41.png", 98, 42, Kind::Alpha, kNoKey},
    {"resources/4.png", 204, 204, Kind::Alpha, kNoKey},
    {"resources/5.png", 213, 42, Kind::Alpha, kNoKey},
    {"resources/37.png", 274, 56, Kind::Alpha, kNoKey},
    {"resources/8.png", 612, 204, Kind::Alpha, kNoKey},
    {"resources/1.png", 612, 204, Kind::Alpha, kNoKey},
    {"resources/15.png", 204, 204, Kind::Alpha, kNoKey},
    {"resources/7.png", 612, 204, Kind::Alpha, kNoKey},
    {"resources/9.png", 612, 204, Kind::Alpha, kNoKey},
    {"resources/16.png", 204, 204, Kind::Alpha, kNoKey},
    {"resources/6.png", 2400, 120, Kind::Alpha, kNoKey},
    {"resources/31.png", 2400, 150, Kind::Alpha, kNoKey},
    {"resources/10.png", 610, 128, Kind::Alpha, kNoKey},
    {"resources/13.png", 280, 280, Kind::Alpha, kNoKey},
    {"resources/42.png", 660, 32, Kind::Alpha, kNoKey},
};

// A decoded picture as RGBA bytes, or empty when the file is missing or unreadable.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    uint32_t rgb(int x, int y) const {
        const uint8_t* p = at(x, y);
        return uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
    }
    int alpha(int x, int y) const { return at(x, y)[3]; }
};

std::string inBuild(const std::string& path) { return std::string(SKARNWING_BUILD_DIR) + "/" + path; }

Image load(const std::string& path) {
    Image img;
    RgbaPicture picture;
    if (readPictureFile(inBuild(path).c_str(), picture) != nullptr) return img;
    img.width = picture.width;
    img.height = picture.height;
    img.rgba.assign(picture.bytes.begin(), picture.bytes.end());
    return img;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(inBuild(path).c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
        std::fclose(f);
    }
    return bytes;
}

const Picture& picture(const char* path) {
    for (const Picture& p : kPictures)
        if (std::string(p.path) == path) return p;
    ADD_FAILURE() << "no such picture " << path;
    return kPictures[0];
}

// Key-coloured pixels that no path of key pixels joins to the border: holes in the artwork.
int enclosedKeyPixels(const Image& img, uint32_t key) {
    std::vector<uint8_t> seen(size_t(img.width) * img.height, 0);
    std::vector<int> stack;
    auto push = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
        size_t i = size_t(y) * img.width + x;
        if (seen[i] || img.rgb(x, y) != key) return;
        seen[i] = 1;
        stack.push_back(int(i));
    };
    for (int x = 0; x < img.width; ++x) {
        push(x, 0);
        push(x, img.height - 1);
    }
    for (int y = 0; y < img.height; ++y) {
        push(0, y);
        push(img.width - 1, y);
    }
    while (!stack.empty()) {
        int i = stack.back();
        stack.pop_back();
        int x = i % img.width, y = i / img.width;
        push(x + 1, y);
        push(x - 1, y);
        push(x, y + 1);
        push(x, y - 1);
    }
    int holes = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.rgb(x, y) == key && !seen[size_t(y) * img.width + x]) ++holes;
    return holes;
}

// Bounding rows and columns of the pixels whose alpha exceeds `above`, within columns x0..x1-1.
struct Box {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};
Box opaqueBox(const Image& img, int above, int x0 = 0, int x1 = -1) {
    Box b;
    if (x1 < 0) x1 = img.width;
    for (int y = 0; y < img.height; ++y)
        for (int x = x0; x < x1; ++x)
            if (img.alpha(x, y) > above) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

// Column of the picture's tallest part (its fins) among pixels with alpha above `above`.
int tallestColumn(const Image& img, int above) {
    int best = -1, bestHeight = 0;
    for (int x = 0; x < img.width; ++x) {
        int top = -1, bottom = -1;
        for (int y = 0; y < img.height; ++y)
            if (img.alpha(x, y) > above) {
                if (top < 0) top = y;
                bottom = y;
            }
        if (top >= 0 && bottom - top > bestHeight) {
            bestHeight = bottom - top;
            best = x;
        }
    }
    return best;
}

TEST(ContentPictures, EveryPictureHasItsStoredSizeAndFormat) {
    for (const Picture& p : kPictures) {
        std::vector<uint8_t> bytes = readBytes(p.path);
        ASSERT_GT(bytes.size(), 8u) << p.path << " is missing";
        std::string path = p.path;
        if (path.substr(path.size() - 4) == ".jpg")
            EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xD8) << p.path << " is not a JPEG";
        else
            EXPECT_TRUE(bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
                << p.path << " is not a PNG";
        Image img = load(p.path);
        ASSERT_FALSE(img.rgba.empty()) << p.path << " does not decode";
        EXPECT_EQ(img.width, p.width) << p.path;
        EXPECT_EQ(img.height, p.height) << p.path;
    }
}

TEST(ContentPictures, KeyedTexturesHaveAKeyBackgroundAndNoHoles) {
    for (const Picture& p : kPictures) {
        if (p.kind == Kind::Alpha) continue;
        Image img = load(p.path);
        ASSERT_FALSE(img.rgba.empty()) << p.path;
        int keyed = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) keyed += img.rgb(x, y) == p.key;
        const int all = img.width * img.height;
        if (p.kind == Kind::Cutout) {
            EXPECT_EQ(img.rgb(0, 0), p.key) << p.path << ": top-left corner is not the key";
            EXPECT_EQ(img.rgb(img.width - 1, 0), p.key) << p.path << ": top-right corner is not the key";
            EXPECT_EQ(enclosedKeyPixels(img, p.key), 0) << p.path << ": key colour inside the artwork";
            EXPECT_LT(keyed, all * 95 / 100) << p.path << ": hardly any artwork";
        } else {
            // Opaque pictures (JPEG blurs the key, so it must not appear at all).
            EXPECT_EQ(keyed, 0) << p.path << ": has pixels of its key colour";
        }
    }
}

TEST(ContentPictures, RasterPicturesCarryTheAlphaTheirBlitsTest) {
    for (const Picture& p : kPictures) {
        if (p.kind != Kind::Alpha) continue;
        Image img = load(p.path);
        ASSERT_FALSE(img.rgba.empty()) << p.path;
        EXPECT_EQ(img.alpha(0, 0), 0) << p.path << ": corner not transparent";
        EXPECT_EQ(img.alpha(img.width - 1, img.height - 1), 0) << p.path << ": corner not transparent";
    }
    // Explosions are blended only where alpha exceeds 246: every pixel is all or nothing.
    for (const char* path : {"resources/6.png", "resources/31.png", "resources/41.png"}) {
        Image img = load(path);
        ASSERT_FALSE(img.rgba.empty()) << path;
        int soft = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) soft += img.alpha(x, y) != 0 && img.alpha(x, y) != 255;
        EXPECT_EQ(soft, 0) << path << ": soft edges the blit would drop";
    }
    // The shadow is copied where alpha exceeds 100 and should darken, not blacken, the ground.
    Image shadow = load("resources/4.png");
    ASSERT_FALSE(shadow.rgba.empty());
    int shaded = 0;
    for (int y = 0; y < shadow.height; ++y)
        for (int x = 0; x < shadow.width; ++x) {
            int a = shadow.alpha(x, y);
            if (a == 0) continue;
            ++shaded;
            EXPECT_TRUE(a > 100 && a < 200) << "shadow alpha " << a << " at " << x << "," << y;
        }
    EXPECT_GT(shaded, 1000);
    Box s = opaqueBox(shadow, 100);
    EXPECT_NEAR((s.top + s.bottom) / 2, 102, 4) << "shadow not centred on the aircraft's line";
    // The smoke puff thins as its cut-off rises: alpha falls from the middle to the rim.
    Image smoke = load("resources/13.png");
    ASSERT_FALSE(smoke.rgba.empty());
    int previous = 256;
    for (int r = 0; r <= 135; r += 15) {
        int a = smoke.alpha(140 + r, 140);
        EXPECT_LE(a, previous) << "smoke alpha rises at radius " << r;
        previous = a;
    }
    EXPECT_GT(smoke.alpha(140, 140), 200);
    EXPECT_LT(smoke.alpha(275, 140), 10);
}

TEST(ContentPictures, PicturesFaceTheWayTheGameDrawsThem) {
    // Fins sit at the tail: the aircraft and bomb point their noses to -x, the missile and the
    // cargo aircraft to +x.
    for (const char* path : {"resources/15.png", "resources/5.png"}) {
        Image img = load(path);
        ASSERT_FALSE(img.rgba.empty()) << path;
        EXPECT_GT(tallestColumn(img, 160), img.width / 2) << path << " should point its nose left";
    }
    for (const char* path : {"resources/37.png", "resources/10.png"}) {
        Image img = load(path);
        ASSERT_FALSE(img.rgba.empty()) << path;
        EXPECT_LT(tallestColumn(img, 160), img.width / 2) << path << " should point its nose right";
    }
    // Canopy up: the aircraft has more of itself above its centre line (the fin) than below.
    Image body = load("resources/15.png");
    Box b = opaqueBox(body, 160);
    EXPECT_LT(b.top, 102 - 30);
    EXPECT_LT(b.bottom, 102 + 20);
    // The cargo aircraft's fuselage fills its lower half, where the game's hit boxes are.
    Image cargo = load("resources/10.png");
    for (int x : {200, 350, 500})
        for (int y : {80, 100, 120}) EXPECT_GT(cargo.alpha(x, y), 160) << "cargo fuselage at " << x << "," << y;
}

TEST(ContentPictures, ParkedWheelsStandOnTheRunway) {
    // Parked, the aircraft's centre is 219 px below the ground line at scale 1.25 (1.45 x 1.25
    // source pixels per screen pixel) and the runway strip spans 220..255 below it.
    Image gear = load("resources/16.png");
    ASSERT_FALSE(gear.rgba.empty());
    Box g = opaqueBox(gear, 0);
    double wheelsBottom = 219 + (g.bottom - 102) / (1.45 * 1.25);
    EXPECT_GT(wheelsBottom, 226);
    EXPECT_LT(wheelsBottom, 250);
    // Retracting lifts the gear by up to 18 rows; it starts below the fuselage.
    Image body = load("resources/15.png");
    EXPECT_GT(g.bottom, opaqueBox(body, 160).bottom + 18);
}

TEST(ContentPictures, StripsHoldSeparateAnimatedFrames) {
    struct Strip {
        const char* path;
        int frames;
        int minAlpha;
    };
    for (const Strip& s :
         {Strip{"resources/8.png", 3, 160}, Strip{"resources/7.png", 3, 160}, Strip{"resources/9.png", 3, 160},
          Strip{"resources/1.png", 3, 160}, Strip{"resources/6.png", 12, 246}, Strip{"resources/31.png", 12, 246}}) {
        Image img = load(s.path);
        ASSERT_FALSE(img.rgba.empty()) << s.path;
        const int w = img.width / s.frames;
        ASSERT_EQ(w * s.frames, img.width) << s.path;
        std::vector<uint8_t> previous;
        for (int f = 0; f < s.frames; ++f) {
            Box b = opaqueBox(img, s.minAlpha, f * w, (f + 1) * w);
            EXPECT_GE(b.right, b.left) << s.path << " frame " << f << " shows nothing";
            for (int y = 0; y < img.height; ++y)
                EXPECT_EQ(img.alpha(f * w, y), 0) << s.path << ": art crosses into frame " << f;
            std::vector<uint8_t> frame;
            for (int y = 0; y < img.height; ++y) frame.insert(frame.end(), img.at(f * w, y), img.at(f * w, y) + w * 4);
            EXPECT_NE(frame, previous) << s.path << " frame " << f << " repeats the one before";
            previous = frame;
        }
    }
}

TEST(ContentPictures, TerrainTilesJoinWithoutASeam) {
    for (const char* path : {"resources/3.png", "resources/2.png"}) {
        Image img = load(path);
        ASSERT_FALSE(img.rgba.empty()) << path;
        const uint32_t key = picture(path).key;
        double edge = 0, inner = 0;
        for (int y = 0; y < img.height; ++y)
            for (int c = 0; c < 3; ++c) {
                edge += std::abs(img.at(0, y)[c] - img.at(img.width - 1, y)[c]);
                inner += std::abs(img.at(600, y)[c] - img.at(601, y)[c]);
            }
        EXPECT_LT(edge, inner * 2 + img.height * 3) << path << ": left and right edges differ";
        // Above the horizon the key shows the sky; from the ground surface down, solid ground.
        for (int x = 0; x < img.width; x += 7) {
            EXPECT_EQ(img.rgb(x, 0), key) << path << " sky at column " << x;
            for (int y = 212; y < img.height; y += 9)
                EXPECT_NE(img.rgb(x, y), key) << path << " ground at " << x << "," << y;
        }
    }
}

TEST(ContentPictures, FontSheetsHaveTheCellLayoutTheFontsRead) {
    struct Sheet {
        const char* path;
        int cellW, cellH;
    };
    for (const Sheet& s :
         {Sheet{"Files/Img/Consolas13x24-2.bmp", 13, 24}, Sheet{"Files/Img/Fixedsys16x28.bmp", 16, 28}}) {
        // Read by the game's own reader, which leaves a sheet it refuses all ink.
        const int width = 32 * s.cellW;
        std::vector<uint32_t> sheet(size_t(width) * 3 * size_t(s.cellH));
        loadBmpSheet(inBuild(s.path).c_str(), sheet.data(), width, 3 * s.cellH);
        const auto rgb = [&](int x, int y) { return sheet[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF; };
        for (int g = 0; g < 95; ++g) {
            int ink = 0, grey = 0;
            for (int v = 0; v < s.cellH; ++v)
                for (int u = 0; u < s.cellW; ++u) {
                    uint32_t p = rgb(g % 32 * s.cellW + u, g / 32 * s.cellH + v);
                    ink += p == 0;
                    grey += p != 0 && p != 0xFFFFFF;
                }
            EXPECT_EQ(grey, 0) << s.path << " glyph 0x" << std::hex << 0x20 + g;
            if (g == 0) EXPECT_EQ(ink, 0) << s.path << ": the space has ink";
            else EXPECT_GT(ink, 0) << s.path << ": glyph 0x" << std::hex << 0x20 + g << " is empty";
        }
        // The unused cell after the tilde stays blank.
        int stray = 0;
        for (int v = 0; v < s.cellH; ++v)
            for (int u = 0; u < s.cellW; ++u) stray += rgb(31 * s.cellW + u, 2 * s.cellH + v) == 0;
        EXPECT_EQ(stray, 0) << s.path;
    }
}

} // namespace
