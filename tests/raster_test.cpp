// The canvas primitives and blits: pixel-exact results, clipping without stray writes, and the
// fast blit loops checked against the mapping written out per pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "raster/blit.h"
#include "raster/canvas.h"

namespace {

// A canvas inside a larger store; guard pixels around and between the rows catch stray writes.
struct GuardedCanvas {
    static constexpr int32_t kPad = 16;                           // guard pixels each side of a row
    static constexpr int32_t kStride = kCanvasWidth + 2 * kPad;   // pixels per stored row
    static constexpr uint32_t kGuard = 0x5EADBEEFu;
    std::vector<uint32_t> store;
    Canvas canvas;

    explicit GuardedCanvas(uint32_t fill = 0) : store(size_t(kStride) * (kCanvasHeight + 2), kGuard) {
        canvas = {kCanvasWidth, kCanvasHeight, kStride * 4, store.data() + kStride + kPad};
        for (int32_t y = 0; y < kCanvasHeight; ++y)
            std::fill_n(canvas.pixels + y * kStride, kCanvasWidth, fill);
    }
    GuardedCanvas(const GuardedCanvas& other) : store(other.store), canvas(other.canvas) {
        canvas.pixels = store.data() + (other.canvas.pixels - other.store.data());
    }
    uint32_t at(int32_t x, int32_t y) const { return canvas.pixels[y * kStride + x]; }
    uint32_t& at(int32_t x, int32_t y) { return canvas.pixels[y * kStride + x]; }
    bool guardsIntact() const {
        for (size_t i = 0; i < store.size(); ++i) {
            const int64_t offset = int64_t(i) - (canvas.pixels - store.data());
            const int64_t y = offset >= 0 ? offset / kStride : -1, x = offset - y * kStride;
            const bool inside = y >= 0 && y < kCanvasHeight && x < kCanvasWidth;
            if (!inside && store[i] != kGuard) return false;
        }
        return true;
    }
    // Canvas pixels that differ from `background`, as (x, y) pairs in row order.
    std::vector<std::pair<int32_t, int32_t>> changed(uint32_t background = 0) const {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (int32_t y = 0; y < kCanvasHeight; ++y)
            for (int32_t x = 0; x < kCanvasWidth; ++x)
                if (at(x, y) != background) out.emplace_back(x, y);
        return out;
    }
};

using Pixels = std::vector<std::pair<int32_t, int32_t>>;

PixelImage solid(int32_t width, int32_t height, uint32_t pixel) {
    return {width, height, std::vector<uint32_t>(size_t(width) * size_t(height), pixel)};
}

} // namespace

TEST(Canvas, PackColourKeepsLowBitsAndPlotClips) {
    EXPECT_EQ(packColour(300, 256, -1), 0xFF2C00FFu);
    GuardedCanvas g;
    plot(g.canvas, 0, 0, 300, 1, 2);
    plot(g.canvas, 1279, 719, 1, 2, 3);
    for (auto [x, y] : Pixels{{-1, 0}, {1280, 0}, {0, -1}, {0, 720}, {INT_MIN, INT_MAX}}) plot(g.canvas, x, y, 9, 9, 9);
    EXPECT_EQ(g.at(0, 0), 0xFF2C0102u);
    EXPECT_EQ(g.changed(), (Pixels{{0, 0}, {1279, 719}}));
    EXPECT_TRUE(g.guardsIntact());
}

TEST(Canvas, WipeClearsEveryRowAndOnlyTheRows) {
    GuardedCanvas g(0xFFFFFFFFu);
    wipeCanvas(g.canvas);
    EXPECT_TRUE(g.changed().empty());
    EXPECT_TRUE(g.guardsIntact());
    std::vector<uint32_t> packed(size_t(kCanvasWidth) * kCanvasHeight + 1, 7u);
    Canvas tight{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, packed.data()};
    wipeCanvas(tight);
    EXPECT_EQ(packed.back(), 7u);
    EXPECT_EQ(packed[packed.size() - 2], 0u);
}

TEST(Line, EndPointsDiagonalsAndReversal) {
    GuardedCanvas g;
    drawLine(g.canvas, 5, 6, 5, 6, 255, 255, 255);
    EXPECT_EQ(g.changed(), (Pixels{{5, 6}}));

    GuardedCanvas diagonal;
    drawLine(diagonal.canvas, 10, 20, 14, 16, 1, 1, 1);
    EXPECT_EQ(diagonal.changed(), (Pixels{{14, 16}, {13, 17}, {12, 18}, {11, 19}, {10, 20}}));

    // Minor coordinates round half up, and truncation toward zero keeps -1 < v < 0 on row 0.
    GuardedCanvas halfUp;
    drawLine(halfUp.canvas, 0, 10, 4, 8, 1, 1, 1);
    EXPECT_EQ(halfUp.changed(), (Pixels{{4, 8}, {2, 9}, {3, 9}, {0, 10}, {1, 10}}));
    GuardedCanvas top;
    drawLine(top.canvas, 0, 0, 8, -4, 1, 1, 1);
    EXPECT_EQ(top.changed(), (Pixels{{0, 0}, {1, 0}, {2, 0}}));

    // Every octant: one pixel per major step, both end points, and the same set either way.
    const int32_t ends[][2] = {{40, 9}, {9, 40}, {-9, 40}, {-40, 9}, {-40, -9}, {-9, -40}, {9, -40}, {40, -9}};
    for (const auto& end : ends) {
        GuardedCanvas forward, backward;
        drawLine(forward.canvas, 100, 100, 100 + end[0], 100 + end[1], 1, 1, 1);
        drawLine(backward.canvas, 100 + end[0], 100 + end[1], 100, 100, 1, 1, 1);
        const Pixels set = forward.changed();
        EXPECT_EQ(set, backward.changed());
        EXPECT_EQ(set.size(), 41u);
        EXPECT_NE(forward.at(100, 100), 0u);
        EXPECT_NE(forward.at(100 + end[0], 100 + end[1]), 0u);
    }
}

TEST(Line, ClippedLinesMatchTheirOnScreenPart) {
    // The unclipped walk, to compare the clipped loop against.
    auto walk = [](int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool steep) {
        Pixels out;
        const float slope = steep ? float(x2 - x1) / float(y2 - y1) : float(y2 - y1) / float(x2 - x1);
        const float intercept = steep ? x1 - y1 * slope : y1 - x1 * slope;
        for (int32_t k = steep ? y1 : x1; k <= (steep ? y2 : x2); ++k) {
            const int32_t m = int32_t(float(k) * slope + intercept + 0.5f);
            const int32_t px = steep ? m : k, py = steep ? k : m;
            if (px >= 0 && px < 1280 && py >= 0 && py < 720) out.emplace_back(px, py);
        }
        std::sort(out.begin(), out.end(), [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
        return out;
    };
    const int32_t lines[][5] = {{-100, 5, 2000, 700, 0}, {-100, 700, 2000, -3, 0}, {300, -100, 900, 2000, 1}, {-5, -900, 1285, 900, 1}};
    for (const auto& l : lines) {
        GuardedCanvas g;
        drawLine(g.canvas, l[2], l[3], l[0], l[1], 7, 7, 7);
        EXPECT_EQ(g.changed(), walk(l[0], l[1], l[2], l[3], l[4] != 0));
        EXPECT_TRUE(g.guardsIntact());
    }
    GuardedCanvas extreme;
    drawLine(extreme.canvas, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, 1, 1);
    drawLine(extreme.canvas, INT_MAX, 0, INT_MIN, 719, 1, 1, 1);
    EXPECT_TRUE(extreme.guardsIntact());
}

TEST(Disc, SizesAndEdges) {
    const int32_t expected[][4] = {// cx, cy, radius, pixels
        {50, 50, 1, 1}, {50, 50, 2, 9}, {50, 50, 0, 0}, {50, 50, -3, 0}, {0, 0, 2, 4},
        {1279, 719, 2, 4}, {-1, 360, 2, 3}, {1280, 360, 2, 3}, {640, -1, 2, 3}, {640, 720, 2, 3}};
    for (const auto& e : expected) {
        GuardedCanvas g;
        fillDisc(g.canvas, e[0], e[1], e[2], 0, 0, 0);
        EXPECT_EQ(g.changed().size(), size_t(e[3])) << e[0] << "," << e[1] << " r " << e[2];
        EXPECT_TRUE(g.guardsIntact());
    }
    GuardedCanvas square;
    fillDisc(square.canvas, 50, 50, 2, 0, 0, 0);
    EXPECT_EQ(square.changed().front(), (std::pair<int32_t, int32_t>{49, 49}));
    GuardedCanvas huge(1);
    fillDisc(huge.canvas, 640, 360, INT_MAX, 1, 2, 3);
    EXPECT_TRUE(huge.changed(0xFF010203u).empty());
    EXPECT_TRUE(huge.guardsIntact());
}

namespace {
// A 4 x 5 cell font whose ink pattern differs per glyph, with near-ink values around it.
struct TestFont {
    std::vector<uint32_t> sheet = std::vector<uint32_t>(128 * 15);
    BitmapFont font{4, 5, 32, nullptr};
    TestFont() {
        const uint32_t nearInk[] = {0xFE000000u, 0xFF000001u, 0x00000000u, 0xFFFFFFFFu};
        for (int32_t i = 0; i < 128 * 15; ++i) sheet[i] = (i * 7 + i / 128) % 3 == 0 ? 0xFF000000u : nearInk[i % 4];
        font.pixels = sheet.data();
    }
    bool ink(int32_t glyph, int32_t u, int32_t v) const {
        return sheet[(glyph / 32 * 5 + v) * 128 + glyph % 32 * 4 + u] == 0xFF000000u;
    }
};
} // namespace

TEST(Text, CellsControlBytesAndClipping) {
    const TestFont t;
    GuardedCanvas g;
    drawText(g.canvas, "A\tB\x7F\x80~", 100, 50, t.font, 0x80FF0000u);
    const int32_t glyphs[] = {'A' - 32, -1, 'B' - 32, -1, -1, '~' - 32};
    for (int32_t cell = 0; cell < 6; ++cell)
        for (int32_t v = 0; v < 5; ++v)
            for (int32_t u = 0; u < 4; ++u)
                EXPECT_EQ(g.at(100 + cell * 4 + u, 50 + v), glyphs[cell] >= 0 && t.ink(glyphs[cell], u, v) ? 0x80FF0000u : 0u);
    for (auto [x, y] : g.changed()) EXPECT_TRUE(x >= 100 && x < 124 && y >= 50 && y < 55);

    GuardedCanvas edges;
    drawText(edges.canvas, "", 10, 10, t.font, 0xFFFFFFFFu);
    drawText(edges.canvas, "XYZ", 10, 10, BitmapFont{4, 5, 32, nullptr}, 0xFFFFFFFFu);
    EXPECT_TRUE(edges.changed().empty());
    drawText(edges.canvas, "WWWW", -6, -2, t.font, 0xFFFFFFFFu);
    drawText(edges.canvas, "WWWW", 1274, 717, t.font, 0xFFFFFFFFu);
    for (int32_t x = 0; x < 10; ++x)
        for (int32_t y = 0; y < 3; ++y)
            EXPECT_EQ(edges.at(x, y) != 0, t.ink('W' - 32, (x + 6) % 4, y + 2));
    EXPECT_TRUE(edges.guardsIntact());
}

TEST(Text, FormatIsBoundedTo200Bytes) {
    char buffer[256];
    EXPECT_EQ(formatText(buffer, "%d %.2f %s", 42, 3.14159, "ok"), 10);
    EXPECT_STREQ(buffer, "42 3.14 ok");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(formatText(buffer, "%s", std::string(300, 'a').c_str()), 199);
    EXPECT_EQ(std::strlen(buffer), 199u);
    EXPECT_EQ(std::string(buffer + 200, 56), std::string(56, 'x'));
    EXPECT_EQ(formatText(buffer, "%s", std::string(199, 'b').c_str()), 199);
}

TEST(Blit, AlphaThresholdsAndBlendArithmetic) {
    // A 1 x 1 picture lands on (x, y) at any angle and scale, so one pixel shows the test.
    auto drawn = [](uint32_t alpha, auto blit) {
        GuardedCanvas g(0xFF000000u);
        blit(g.canvas, solid(1, 1, alpha << 24 | 0x00FF8040u));
        return g.at(300, 200);
    };
    auto rotated = [](Canvas& c, const PixelImage& i) { blitRotated(c, i, 300, 200, 1, 33, 0.7); };
    auto cutoff = [](double k) { return [k](Canvas& c, const PixelImage& i) { blitRotatedCutoff(c, i, 300, 200, 0, 12, 2, k); }; };
    auto blended = [](Canvas& c, const PixelImage& i) { blitRotatedBlended(c, i, 300, 200, 0, -75, 1.25); };
    auto pivot = [](Canvas& c, const PixelImage& i) { blitRotatedPivot(c, i, 300, 200, 1, 0, 400, 3); };
    auto soft = [](Canvas& c, const PixelImage& i) { blitRotatedSoft(c, i, 300, 200, 0.4, 91); };
    auto plain = [](Canvas& c, const PixelImage& i) { blitBlended(c, i, 300, 200); };
    EXPECT_EQ(drawn(100, rotated), 0xFF000000u);
    EXPECT_EQ(drawn(101, rotated), 0x65FF8040u);
    EXPECT_EQ(drawn(150, cutoff(150)), 0xFF000000u);
    EXPECT_EQ(drawn(151, cutoff(150)), 0x97FF8040u);
    EXPECT_EQ(drawn(150, cutoff(149.5)), 0x96FF8040u);
    EXPECT_EQ(drawn(0, cutoff(-0.5)), 0x00FF8040u);
    EXPECT_EQ(drawn(255, cutoff(255)), 0xFF000000u);
    EXPECT_EQ(drawn(255, cutoff(NAN)), 0xFF000000u);
    EXPECT_EQ(drawn(160, blended), 0xFF000000u);
    EXPECT_EQ(drawn(200, blended), 0xFFC86432u);
    EXPECT_EQ(drawn(0, pivot), 0xFF000000u);
    EXPECT_EQ(drawn(1, pivot), 0xFF010000u);
    EXPECT_EQ(drawn(1, soft), 0xFF000000u);
    EXPECT_EQ(drawn(2, soft), 0xFF020100u);
    EXPECT_EQ(drawn(246, plain), 0xFF000000u);
    EXPECT_EQ(drawn(247, plain), 0xFFF77B3Du);

    GuardedCanvas over(0xFF102030u);
    blitRotatedBlended(over.canvas, solid(1, 1, 0xC8FF8040u), 5, 5, 1, 0, 1);
    EXPECT_EQ(over.at(5, 5), 0xFFCB6B3Cu);
}

TEST(Blit, MappingPivotsAndMirrors) {
    // At angle 0 and scale 1 an offset of 29 columns shrinks to exactly 20.
    PixelImage row = solid(60, 1, 0);
    row.pixels[59] = 0xFFFFFFFFu;
    GuardedCanvas shrink;
    blitRotated(shrink.canvas, row, 100, 100, 1, 0, 1);
    EXPECT_EQ(shrink.changed(), (Pixels{{120, 100}}));

    // Each source pixel gets its own colour; scale 0.5 enlarges, so no two land together.
    PixelImage image = solid(7, 5, 0);
    for (uint32_t i = 0; i < 35; ++i) image.pixels[i] = 0xFF000000u | (i + 1);
    PixelImage mirrored = image;
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x) mirrored.pixels[y * 7 + x] = image.pixels[y * 7 + 6 - x];
    GuardedCanvas upright, flipped, turned, reference;
    blitRotated(upright.canvas, image, 400, 300, 1, 0, 0.5);
    blitRotated(flipped.canvas, image, 400, 300, 0, 0, 0.5);
    blitRotated(turned.canvas, image, 400, 300, 0, 180, 0.5);
    blitRotated(reference.canvas, mirrored, 400, 300, 1, 0, 0.5);
    EXPECT_EQ(upright.at(400, 300), image.pixels[2 * 7 + 3]);
    EXPECT_EQ(upright.changed().front(), flipped.changed().front());
    EXPECT_EQ(upright.at(upright.changed().front().first, upright.changed().front().second), 1u | 0xFF000000u);
    EXPECT_EQ(flipped.at(upright.changed().front().first, upright.changed().front().second), 29u | 0xFF000000u);
    EXPECT_EQ(turned.store, reference.store);

    // Centre at x = -10 never draws source columns 0..9, even turned on-screen.
    PixelImage wide = solid(41, 1, 0);
    for (uint32_t i = 0; i < 41; ++i) wide.pixels[i] = 0xFF000000u | i;
    GuardedCanvas left;
    blitRotated(left.canvas, wide, -10, 100, 1, 180, 0.25);
    EXPECT_FALSE(left.changed().empty());
    for (auto [x, y] : left.changed()) EXPECT_GE(left.at(x, y) & 0xFFu, 10u);

    // Source row centre + pivotOffset lands on the pivot, upright or not.
    PixelImage column = solid(1, 21, 0);
    column.pixels[14] = 0xFF00FF00u;
    for (uint8_t up : {0, 1}) {
        GuardedCanvas g;
        blitRotatedPivot(g.canvas, column, 500, 400, up, 4, 63, 0.8);
        EXPECT_EQ(g.at(500, 400), 0xFF00FF00u) << int(up);
    }
}

namespace {
// The rotating mapping written out per pixel, the reference for the hoisted loops.
void referenceRotated(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, bool upright,
                      int32_t pivot, double angle, double scale, double threshold, bool blend) {
    const int32_t rowEnd = std::min(image.height, 720), colEnd = std::min(image.width, 1280);
    for (int32_t r = std::max(0, -y); r < rowEnd; ++r) {
        for (int32_t c = std::max(0, -x); c < colEnd; ++c) {
            const uint32_t s = image.pixels[(upright ? r : rowEnd - 1 - r) * image.width + c];
            const int32_t dx = c - colEnd / 2, dy = r - rowEnd / 2 + (upright ? -pivot : pivot);
            if (!(double(s >> 24) > threshold)) continue;
            const double theta = angle * 0.017453292519943278;
            const double C = std::cos(theta) / 1.45, S = std::sin(theta) / 1.45;
            const int64_t X = x + int64_t((dx * C) / scale - (dy * S) / scale);
            const int64_t Y = y + int64_t((dx * S) / scale + (dy * C) / scale);
            if (X < 0 || X >= 1280 || Y < 0 || Y >= 720) continue;
            uint32_t& d = canvas.pixels[Y * (canvas.rowPitch / 4) + X];
            if (!blend) { d = s; continue; }
            const uint32_t a = s >> 24;
            uint32_t out = 0xFF000000u;
            for (int shift : {16, 8, 0})
                out |= ((s >> shift & 255) * a + (d >> shift & 255) * (255 - a)) / 255 << shift;
            d = out;
        }
    }
}
} // namespace

TEST(Blit, FastLoopsMatchThePerPixelMapping) {
    std::mt19937 rng(20261206);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto integer = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    const uint32_t alphas[] = {0, 1, 2, 100, 101, 160, 161, 200, 246, 247, 255};
    GuardedCanvas background;
    for (int32_t y = 0; y < 720; ++y)
        for (int32_t x = 0; x < 1280; ++x) background.at(x, y) = uint32_t(rng());
    for (int trial = 0; trial < 160; ++trial) {
        const bool huge = trial % 20 == 0;
        PixelImage image = solid(huge ? integer(1200, 1500) : integer(1, 260), huge ? integer(700, 800) : integer(1, 260), 0);
        for (uint32_t& p : image.pixels) p = (rng() % 3 ? alphas[rng() % 11] : rng() % 256) << 24 | (rng() & 0xFFFFFF);
        const int32_t x = integer(-300, 1500), y = integer(-300, 900), pivot = integer(-40, 40);
        const uint8_t up = uint8_t(rng() % 3);
        const double angle = trial % 7 == 0 ? 90.0 * integer(-4, 4) : uniform(-720, 720);
        // Tiny scales throw most pixels billions of pixels away.
        const double scale = trial % 9 == 0 ? 1.0 : trial % 11 == 0 ? uniform(1e-10, 1e-8) : uniform(0.3, 3.0) * (trial % 13 == 0 ? -1 : 1);
        const double cut = trial % 2 ? double(integer(0, 255)) : uniform(-1, 256);
        GuardedCanvas fast = background, slow = background;
        switch (trial % 5) {
        case 0: blitRotated(fast.canvas, image, x, y, up, angle, scale); referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, 100, false); break;
        case 1: blitRotatedCutoff(fast.canvas, image, x, y, up, angle, scale, cut); referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, cut, false); break;
        case 2: blitRotatedBlended(fast.canvas, image, x, y, up, angle, scale); referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, 160, true); break;
        case 3: blitRotatedPivot(fast.canvas, image, x, y, up, pivot, angle, scale); referenceRotated(slow.canvas, image, x, y, up, pivot, angle, scale, 0, true); break;
        case 4: blitRotatedSoft(fast.canvas, image, x, y, scale, angle); referenceRotated(slow.canvas, image, x, y, true, 0, angle, scale, 1, true); break;
        }
        ASSERT_TRUE(fast.store == slow.store) << "trial " << trial;
    }
}

TEST(Blit, ClippingEmptyAndDegenerateInputs) {
    GuardedCanvas g;
    const PixelImage big = solid(1500, 900, 0xFFFFFFFFu);
    blitBlended(g.canvas, big, -100, -50);
    EXPECT_TRUE(g.changed(0xFFFFFFFFu).empty());
    GuardedCanvas edges;
    for (auto [x, y] : Pixels{{-1, 0}, {1280, 0}, {0, -1}, {0, 720}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}) {
        blitRotated(edges.canvas, solid(1, 1, 0xFFFFFFFFu), x, y, 1, 10, 1);
        blitBlended(edges.canvas, big, x, y);
    }
    for (const PixelImage& empty : {solid(0, 5, 0xFFFFFFFFu), solid(5, 0, 0xFFFFFFFFu), PixelImage{3, 3, {}}}) {
        blitBlended(edges.canvas, empty, 10, 10);
        blitRotatedPivot(edges.canvas, empty, 10, 10, 1, 0, 0, 1);
    }
    for (double scale : {0.0, 1e-300, -0.0, double(NAN), double(INFINITY)}) blitRotatedSoft(edges.canvas, big, 640, 360, scale, 30);
    blitRotated(edges.canvas, big, 640, 360, 1, NAN, 1);
    blitRotatedPivot(edges.canvas, big, 640, 360, 0, INT_MIN, 45, 1);
    EXPECT_TRUE(edges.guardsIntact());
    EXPECT_TRUE(g.guardsIntact());
}
