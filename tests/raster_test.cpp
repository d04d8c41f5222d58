// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

using Pixels = std::vector<std::pair<int32_t, int32_t>>;

// A canvas inside a larger store: a guard row above and below and guard pixels right of every
// row catch any write outside the 1280 x 720 pixels.
struct GuardedCanvas {
    static constexpr int32_t kStride = kCanvasWidth + 16; // pixels per stored row
    static constexpr uint32_t kGuard = 0x5EADBEEFu;
    std::vector<uint32_t> store = std::vector<uint32_t>(size_t(kStride) * (kCanvasHeight + 2), kGuard);
    Canvas canvas{kCanvasWidth, kCanvasHeight, kStride * 4, store.data() + kStride};

    explicit GuardedCanvas(uint32_t fill = 0) {
        for (int32_t y = 0; y < kCanvasHeight; ++y) std::fill_n(canvas.pixels + y * kStride, kCanvasWidth, fill);
    }
    GuardedCanvas(const GuardedCanvas& other) : store(other.store) {}
    uint32_t& at(int32_t x, int32_t y) { return canvas.pixels[y * kStride + x]; }
    bool guardsIntact() const {
        for (size_t i = 0; i < store.size(); ++i) {
            const size_t row = i / kStride;
            if ((row == 0 || row > size_t(kCanvasHeight) || i % kStride >= size_t(kCanvasWidth)) && store[i] != kGuard)
                return false;
        }
        return true;
    }
    // Pixels that differ from `background`, in row order.
    Pixels changed(uint32_t background = 0) {
        Pixels out;
        for (int32_t y = 0; y < kCanvasHeight; ++y)
            for (int32_t x = 0; x < kCanvasWidth; ++x)
                if (at(x, y) != background) out.emplace_back(x, y);
        return out;
    }
};

PixelImage solid(int32_t width, int32_t height, uint32_t pixel) {
    return {width, height, std::vector<uint32_t>(size_t(width) * size_t(height), pixel), {}};
}

} // namespace

TEST(RasterCanvas, PackPlotAndWipe) {
    EXPECT_EQ(packColour(300, 256, -1), 0xFF2C00FFu);
    GuardedCanvas g(0x12345678u);
    plot(g.canvas, 0, 0, 0x002C0102u);
    plot(g.canvas, 1279, 719, 0x00010203u);
    for (auto [x, y] : Pixels{{-1, 0}, {1280, 0}, {0, -1}, {0, 720}, {INT_MIN, INT_MAX}})
        plot(g.canvas, x, y, 0xFF090909u);
    EXPECT_EQ(g.at(0, 0), 0xFF2C0102u);
    EXPECT_EQ(g.changed(0x12345678u), (Pixels{{0, 0}, {1279, 719}}));
    wipeCanvas(g.canvas);
    EXPECT_TRUE(g.changed().empty());
    EXPECT_TRUE(g.guardsIntact());
}

TEST(RasterLine, EndPointsRoundingOctantsAndClipping) {
    auto line = [](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        GuardedCanvas g;
        drawLine(g.canvas, x1, y1, x2, y2, 0xFF010101u);
        EXPECT_TRUE(g.guardsIntact());
        return g.changed();
    };
    EXPECT_EQ(line(5, 6, 5, 6), (Pixels{{5, 6}}));
    EXPECT_EQ(line(10, 20, 14, 16), (Pixels{{14, 16}, {13, 17}, {12, 18}, {11, 19}, {10, 20}}));
    // Minor values round half up; truncation toward zero keeps values in (-1, 0) on row 0.
    EXPECT_EQ(line(0, 10, 4, 8), (Pixels{{4, 8}, {2, 9}, {3, 9}, {0, 10}, {1, 10}}));
    EXPECT_EQ(line(0, 0, 8, -4), (Pixels{{0, 0}, {1, 0}, {2, 0}}));
    // Every octant: one pixel per major step with both end points, the same set either way.
    for (auto [ex, ey] : Pixels{{40, 9}, {9, 40}, {-9, 40}, {-40, 9}, {-40, -9}, {-9, -40}, {9, -40}, {40, -9}}) {
        const Pixels set = line(100, 100, 100 + ex, 100 + ey);
        EXPECT_EQ(set, line(100 + ex, 100 + ey, 100, 100));
        EXPECT_EQ(set.size(), 41u);
        EXPECT_TRUE(std::count(set.begin(), set.end(), std::pair{100 + ex, 100 + ey}) == 1);
    }
    // A line reaching far off both sides draws exactly the on-screen part of its full walk.
    for (auto [y1, y2] : Pixels{{5, 700}, {700, -3}}) {
        Pixels walk;
        const float slope = float(y2 - y1) / 2100.0f, intercept = float(y1) + 100.0f * slope;
        for (int32_t k = 0; k < 1280; ++k) {
            const int32_t m = int32_t(float(k) * slope + intercept + 0.5f);
            if (m >= 0 && m < 720) walk.emplace_back(k, m);
        }
        std::sort(walk.begin(), walk.end(), [](auto a, auto b) {
            return std::pair{a.second, a.first} < std::pair{b.second, b.first};
        });
        EXPECT_EQ(line(2000, y2, -100, y1), walk);
    }
    line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    line(300, -100000, 900, 200000);
}

TEST(RasterDisc, SizesAndEdges) {
    // clang-format off
    const int32_t cases[][4] = {// cx, cy, radius, pixels drawn
        {50, 50, 1, 1}, {50, 50, 2, 9}, {50, 50, 0, 0}, {50, 50, -3, 0}, {0, 0, 2, 4}, {1279, 719, 2, 4},
        {-1, 360, 2, 3}, {1280, 360, 2, 3}, {640, -1, 2, 3}, {640, 720, 2, 3}, {640, 360, INT_MAX, 1280 * 720}};
    // clang-format on
    for (const auto& e : cases) {
        GuardedCanvas g;
        fillDisc(g.canvas, e[0], e[1], e[2], 0xFF000000u);
        const Pixels set = g.changed();
        EXPECT_EQ(set.size(), size_t(e[3])) << e[0] << "," << e[1] << " r " << e[2];
        if (e[2] == 2 && e[0] == 50) {
            EXPECT_EQ(set.front(), (std::pair{49, 49}));
        }
        EXPECT_TRUE(g.guardsIntact());
    }
}

TEST(RasterText, CellsControlBytesInkAndClipping) {
    // A 4 x 5 cell font: ink differs per glyph, and near-ink values surround it.
    std::vector<uint32_t> sheet(128 * 15);
    const uint32_t nearInk[] = {0xFE000000u, 0xFF000001u, 0x00000000u, 0xFFFFFFFFu};
    for (int32_t i = 0; i < 128 * 15; ++i) sheet[i] = (i * 7 + i / 128) % 3 == 0 ? 0xFF000000u : nearInk[i % 4];
    const BitmapFont font{4, 5, 32, sheet.data()};
    auto ink = [&](char c, int32_t u, int32_t v) {
        return sheet[((c - 32) / 32 * 5 + v) * 128 + (c - 32) % 32 * 4 + u] == 0xFF000000u;
    };

    GuardedCanvas g;
    drawText(g.canvas, "A\tB\x7F\x80~", 100, 50, font, 0x80FF0000u);
    const char cells[] = {'A', 0, 'B', 0, 0, '~'};
    Pixels expected;
    for (int32_t v = 0; v < 5; ++v)
        for (int32_t cell = 0; cell < 6; ++cell)
            for (int32_t u = 0; u < 4; ++u)
                if (cells[cell] != 0 && ink(cells[cell], u, v)) expected.emplace_back(100 + cell * 4 + u, 50 + v);
    EXPECT_EQ(g.changed(), expected);
    EXPECT_EQ(g.at(expected[0].first, expected[0].second), 0x80FF0000u);

    GuardedCanvas edges;
    drawText(edges.canvas, "", 10, 10, font, 0xFFFFFFFFu);
    drawText(edges.canvas, "XYZ", 10, 10, BitmapFont{4, 5, 32, nullptr}, 0xFFFFFFFFu);
    EXPECT_TRUE(edges.changed().empty());
    drawText(edges.canvas, "WWWW", -6, -2, font, 0xFFFFFFFFu);
    drawText(edges.canvas, "WWWW", 1274, 717, font, 0xFFFFFFFFu);
    for (int32_t x = 0; x < 10; ++x)
        for (int32_t y = 0; y < 3; ++y) {
            EXPECT_EQ(edges.at(x, y) != 0, ink('W', (x + 6) % 4, y + 2));
            EXPECT_EQ(x < 6 && edges.at(1274 + x, 717 + y) != 0, x < 6 && ink('W', x % 4, y));
        }
    EXPECT_TRUE(edges.guardsIntact());
}

TEST(RasterText, PlateCoversTheCellsWithAMarginAndMixesOverWhatIsDrawn) {
    const std::vector<uint32_t> sheet(128 * 15, 0xFFFFFFFFu);
    const BitmapFont font{4, 5, 32, sheet.data()};
    GuardedCanvas g;
    g.at(99, 49) = 0xFFFFFFFFu;
    drawTextPlate(g.canvas, "AB", 100, 50, font);
    Pixels expected;
    for (int32_t y = 48; y <= 56; ++y)
        for (int32_t x = 96; x <= 111; ++x) expected.emplace_back(x, y);
    EXPECT_EQ(g.changed(), expected);
    EXPECT_EQ(g.at(96, 48), kTextPlate);
    const uint32_t mixed = g.at(99, 49); // white under the plate: opaque, a shade above the plate
    EXPECT_EQ(mixed >> 24, 0xFFu);
    for (int shift = 0; shift <= 16; shift += 8) {
        EXPECT_GT((mixed >> shift) & 0xFF, (kTextPlate >> shift) & 0xFF);
        EXPECT_LT((mixed >> shift) & 0xFF, ((kTextPlate >> shift) & 0xFF) + 8);
    }
    GuardedCanvas edges;
    drawTextPlate(edges.canvas, "", 10, 10, font);
    EXPECT_TRUE(edges.changed().empty());
    drawTextPlate(edges.canvas, "WWWW", 1275, 717, font);
    drawTextPlate(edges.canvas, "WWWW", -10, -4, font);
    EXPECT_EQ(edges.at(1279, 719), kTextPlate);
    EXPECT_EQ(edges.at(0, 0), kTextPlate);
    EXPECT_TRUE(edges.guardsIntact());
}

// The backing as a plain per-pixel mix, against random canvases (mostly undrawn, some drawn at
// any alpha), covers and rectangles from inside to far off the canvas.
TEST(RasterText, BackingMatchesThePlainPerPixelMix) {
    auto plain = [](GuardedCanvas& g, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t colour) {
        const uint32_t cover = colour >> 24;
        for (int64_t y = std::max<int64_t>(top, 0); y <= std::min<int64_t>(bottom, kCanvasHeight - 1); ++y) {
            for (int64_t x = std::max<int64_t>(left, 0); x <= std::min<int64_t>(right, kCanvasWidth - 1); ++x) {
                uint32_t& p = g.at(int32_t(x), int32_t(y));
                if (cover == 0) continue;
                if ((p >> 24) == 0) {
                    p = colour;
                    continue;
                }
                const uint32_t through = (p >> 24) * (255 - cover), outAlpha = cover + through / 255;
                uint32_t out = outAlpha << 24;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const uint32_t mixed = (((colour >> shift) & 0xFF) * cover * 255 +
                                            ((p >> shift) & 0xFF) * through) /
                                           (255 * outAlpha);
                    out |= std::min<uint32_t>(mixed, 255) << shift;
                }
                p = out;
            }
        }
    };
    std::mt19937 rng(20261207);
    auto integer = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
    GuardedCanvas fast;
    for (int32_t y = 0; y < kCanvasHeight; ++y)
        for (int32_t x = 0; x < kCanvasWidth; ++x)
            fast.at(x, y) = integer(0, 9) < 6 ? uint32_t(rng()) & 0xFFFFFFu : uint32_t(rng());
    GuardedCanvas slow(fast);
    for (int trial = 0; trial < 300; ++trial) {
        const bool far = integer(0, 9) == 0;
        const int64_t left = far ? integer(INT32_MIN, INT32_MAX) : integer(-40, 1300);
        const int64_t top = far ? integer(INT32_MIN, INT32_MAX) : integer(-40, 740);
        const int64_t right = far ? integer(INT32_MIN, INT32_MAX) : left + integer(-2, 300);
        const int64_t bottom = far ? integer(INT32_MIN, INT32_MAX) : top + integer(-2, 120);
        const uint32_t colour = trial % 7 == 0 ? uint32_t(rng()) & 0xFFFFFFu : uint32_t(rng());
        auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
        drawBacking(fast.canvas, clamp(left), clamp(top), clamp(right), clamp(bottom), colour);
        plain(slow, clamp(left), clamp(top), clamp(right), clamp(bottom), colour);
        ASSERT_TRUE(fast.store == slow.store) << "trial " << trial;
    }
    EXPECT_TRUE(fast.guardsIntact());
}

TEST(RasterText, FormatIsBoundedTo200Bytes) {
    char buffer[256];
    EXPECT_EQ(formatText(buffer, "%d %.2f %s", 42, 3.14159, "ok"), 10);
    EXPECT_STREQ(buffer, "42 3.14 ok");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(formatText(buffer, "%s", std::string(300, 'a').c_str()), 199);
    EXPECT_EQ(std::strlen(buffer), 199u);
    EXPECT_EQ(std::string(buffer + 200, 56), std::string(56, 'x'));
    EXPECT_EQ(formatText(buffer, "%s", std::string(199, 'b').c_str()), 199);
}

TEST(RasterBlit, AlphaThresholdsAndBlendArithmetic) {
    // A 1 x 1 picture lands on (x, y) at any angle and scale, so one pixel shows the result.
    auto drawn = [](int variant, uint32_t alpha, double cutoff = 0) {
        GuardedCanvas g(0xFF000000u);
        const PixelImage dot = solid(1, 1, alpha << 24 | 0x00FF8040u);
        switch (variant) {
        case 0: blitRotated(g.canvas, dot, 300, 200, 1, 33, 0.7); break;
        case 1: blitRotatedCutoff(g.canvas, dot, 300, 200, 0, 12, 2, cutoff); break;
        case 2: blitRotatedBlended(g.canvas, dot, 300, 200, 0, -75, 1.25); break;
        case 3: blitRotatedPivot(g.canvas, dot, 300, 200, 1, 0, 400, 3); break;
        case 4: blitRotatedSoft(g.canvas, dot, 300, 200, 0.4, 91); break;
        default: blitBlended(g.canvas, dot, 300, 200); break;
        }
        return g.at(300, 200);
    };
    EXPECT_EQ(drawn(0, 100), 0xFF000000u);
    EXPECT_EQ(drawn(0, 101), 0x65FF8040u);
    EXPECT_EQ(drawn(1, 150, 150), 0xFF000000u);
    EXPECT_EQ(drawn(1, 151, 150), 0x97FF8040u);
    EXPECT_EQ(drawn(1, 150, 149.5), 0x96FF8040u);
    EXPECT_EQ(drawn(1, 0, -0.5), 0x00FF8040u);
    EXPECT_EQ(drawn(1, 255, 255), 0xFF000000u);
    EXPECT_EQ(drawn(1, 255, NAN), 0xFF000000u);
    EXPECT_EQ(drawn(2, 160), 0xFF000000u);
    EXPECT_EQ(drawn(2, 200), 0xFFC86432u);
    EXPECT_EQ(drawn(3, 0), 0xFF000000u);
    EXPECT_EQ(drawn(3, 1), 0xFF010000u);
    EXPECT_EQ(drawn(4, 1), 0xFF000000u);
    EXPECT_EQ(drawn(4, 2), 0xFF020100u);
    EXPECT_EQ(drawn(5, 246), 0xFF000000u);
    EXPECT_EQ(drawn(5, 247), 0xFFF77B3Du);
    GuardedCanvas over(0xFF102030u);
    blitRotatedBlended(over.canvas, solid(1, 1, 0xC8FF8040u), 5, 5, 1, 0, 1);
    EXPECT_EQ(over.at(5, 5), 0xFFCB6B3Cu);
}

TEST(RasterBlit, MappingPivotsAndMirrors) {
    // At angle 0 and scale 1 an offset of 29 columns shrinks to exactly 20.
    PixelImage row = solid(60, 1, 0);
    row.pixels[59] = 0xFFFFFFFFu;
    GuardedCanvas shrink;
    blitRotated(shrink.canvas, row, 100, 100, 1, 0, 1);
    EXPECT_EQ(shrink.changed(), (Pixels{{120, 100}}));

    // Every source pixel has its own colour; scale 0.5 enlarges, so no two land together.
    PixelImage image = solid(7, 5, 0), mirrored = image;
    for (uint32_t i = 0; i < 35; ++i) image.pixels[i] = 0xFF000000u | (i + 1);
    for (uint32_t i = 0; i < 35; ++i) mirrored.pixels[i] = image.pixels[i / 7 * 7 + 6 - i % 7];
    GuardedCanvas upright, flipped, turned, reference;
    blitRotated(upright.canvas, image, 400, 300, 1, 0, 0.5);
    blitRotated(flipped.canvas, image, 400, 300, 0, 0, 0.5);
    blitRotated(turned.canvas, image, 400, 300, 0, 180, 0.5);
    blitRotated(reference.canvas, mirrored, 400, 300, 1, 0, 0.5);
    EXPECT_EQ(upright.at(400, 300), image.pixels[2 * 7 + 3]);
    const auto [left, top] = upright.changed().front();
    EXPECT_EQ(upright.at(left, top), 0xFF000001u);
    EXPECT_EQ(flipped.at(left, top), 0xFF00001Du); // the last row's first pixel
    EXPECT_EQ(turned.store, reference.store);

    // Centre at x = -10 never draws source columns 0..9, even turned on-screen.
    PixelImage wide = solid(41, 1, 0);
    for (uint32_t i = 0; i < 41; ++i) wide.pixels[i] = 0xFF000000u | i;
    GuardedCanvas clipped;
    blitRotated(clipped.canvas, wide, -10, 100, 1, 180, 0.25);
    EXPECT_FALSE(clipped.changed().empty());
    for (auto [x, y] : clipped.changed()) EXPECT_GE(clipped.at(x, y) & 0xFFu, 10u);

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
// The rotating mapping formed per pixel, the reference for the hoisted loops.
void referenceRotated(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, bool upright, int32_t pivot,
                      double angle, double scale, double threshold, bool blend) {
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
            uint32_t out = blend ? 0xFF000000u : s;
            for (int shift : {16, 8, 0})
                if (blend)
                    out |= ((s >> shift & 255) * (s >> 24) + (d >> shift & 255) * (255 - (s >> 24))) / 255 << shift;
            d = out;
        }
    }
}
} // namespace

TEST(RasterBlit, FastLoopsMatchThePerPixelMapping) {
    std::mt19937 rng(20261206);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto integer = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    const uint32_t alphas[] = {0, 1, 2, 100, 101, 160, 161, 200, 246, 247, 255};
    GuardedCanvas background;
    for (int32_t y = 0; y < 720; ++y)
        for (int32_t x = 0; x < 1280; ++x) background.at(x, y) = uint32_t(rng());
    for (int trial = 0; trial < 160; ++trial) {
        const bool huge = trial % 20 == 0; // larger than the canvas
        PixelImage image = solid(huge ? integer(1200, 1500) : integer(1, 260),
                                 huge ? integer(700, 800) : integer(1, 260), 0);
        for (uint32_t& p : image.pixels) p = (rng() % 3 ? alphas[rng() % 11] : rng() % 256) << 24 | (rng() & 0xFFFFFF);
        const int32_t x = integer(-300, 1500), y = integer(-300, 900), pivot = integer(-40, 40);
        const uint8_t up = uint8_t(rng() % 3);
        const double angle = trial % 7 == 0 ? 90.0 * integer(-4, 4) : uniform(-720, 720);
        // Tiny scales throw most pixels billions of pixels away.
        const double scale = trial % 9 == 0    ? 1.0
                             : trial % 11 == 0 ? uniform(1e-10, 1e-8)
                                               : uniform(0.3, 3.0) * (trial % 13 == 0 ? -1 : 1);
        const double cut = trial % 2 ? double(integer(0, 255)) : uniform(-1, 256);
        GuardedCanvas fast = background, slow = background;
        switch (trial % 5) {
        case 0:
            blitRotated(fast.canvas, image, x, y, up, angle, scale);
            referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, 100, false);
            break;
        case 1:
            blitRotatedCutoff(fast.canvas, image, x, y, up, angle, scale, cut);
            referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, cut, false);
            break;
        case 2:
            blitRotatedBlended(fast.canvas, image, x, y, up, angle, scale);
            referenceRotated(slow.canvas, image, x, y, up, 0, angle, scale, 160, true);
            break;
        case 3:
            blitRotatedPivot(fast.canvas, image, x, y, up, pivot, angle, scale);
            referenceRotated(slow.canvas, image, x, y, up, pivot, angle, scale, 0, true);
            break;
        case 4:
            blitRotatedSoft(fast.canvas, image, x, y, scale, angle);
            referenceRotated(slow.canvas, image, x, y, true, 0, angle, scale, 1, true);
            break;
        }
        ASSERT_TRUE(fast.store == slow.store) << "trial " << trial;
    }
}

TEST(RasterBlit, ClippingEmptyAndDegenerateInputs) {
    GuardedCanvas g;
    for (auto [x, y] : Pixels{{-1, 0}, {1280, 0}, {0, -1}, {0, 720}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}) {
        blitRotated(g.canvas, solid(1, 1, 0xFFFFFFFFu), x, y, 1, 10, 1);
        blitBlended(g.canvas, solid(1, 1, 0xFFFFFFFFu), x, y);
    }
    for (const PixelImage& empty : {solid(0, 5, 0xFFFFFFFFu), solid(5, 0, 0xFFFFFFFFu), PixelImage{3, 3, {}, {}}}) {
        blitBlended(g.canvas, empty, 10, 10);
        blitRotatedPivot(g.canvas, empty, 10, 10, 1, 0, 0, 1);
    }
    EXPECT_TRUE(g.changed().empty());
    const PixelImage big = solid(1500, 900, 0xFFFFFFFFu);
    blitBlended(g.canvas, big, -100, -50);
    EXPECT_TRUE(g.changed(0xFFFFFFFFu).empty());
    for (double scale : {0.0, 1e-300, -0.0, double(NAN), double(INFINITY)})
        blitRotatedSoft(g.canvas, big, 640, 360, scale, 30);
    blitRotated(g.canvas, big, 640, 360, 1, NAN, 1);
    blitRotatedPivot(g.canvas, big, 640, 360, 0, INT_MIN, 45, 1);
    blitBlended(g.canvas, big, INT_MIN, INT_MIN);
    EXPECT_TRUE(g.guardsIntact());
}

// The destination walk leaves exactly the pixels of the source walk: pictures shrunk to 5 % up
// to their stored size (and some enlarged), at any angle and fractional centre, mirrored or not,
// clipped at every canvas edge, with keyed and translucent pixels, copied and blended.
TEST(RasterBlit, DestinationWalkMatchesSourceWalk) {
    std::mt19937 rng(25);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto integer = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
    GuardedCanvas background;
    for (int32_t y = 0; y < 720; ++y)
        for (int32_t x = 0; x < 1280; ++x) background.at(x, y) = uint32_t(rng());
    GuardedCanvas source = background, destination = background;
    const uint32_t alphas[] = {0, 0, 255, 255, 255, 100, 101, 160, 161, 1, 2};
    PixelImage image;
    for (int trial = 0; trial < 3000; ++trial) {
        // A picture serves four draws, the source walk's drawing on the span tables its earlier
        // draws made (other thresholds, clips and mirrorings); the destination walk draws a copy,
        // which starts without them.
        if (trial % 4 == 0) {
            image = solid(integer(1, 90), integer(1, 90), 0);
            for (uint32_t& p : image.pixels)
                p = (rng() % 4 ? alphas[rng() % 11] : rng() % 256) << 24 | (rng() & 0xFFFFFF);
        }
        const PixelImage copy = image;
        // Drawn at 5 % to 100 % of its stored size, now and then enlarged up to 3 times.
        const double drawn = trial % 10 == 0 ? uniform(1.0, 3.0) : uniform(0.05, 1.0);
        const double scale = 1.0 / (1.45 * drawn);
        const double angle = trial % 8 == 0 ? 90.0 * integer(-4, 4) : uniform(-400, 400);
        // Centres near each edge and corner, and inside.
        const int32_t reach = int32_t(std::max(image.width, image.height) * drawn) + 2;
        const int32_t anchorsX[] = {0, 1280, integer(0, 1280)}, anchorsY[] = {0, 720, integer(0, 720)};
        const int32_t x = anchorsX[rng() % 3] + integer(-reach, reach),
                      y = anchorsY[rng() % 3] + integer(-reach, reach);
        const uint8_t up = uint8_t(rng() % 2);
        const int32_t pivot = trial % 3 == 0 ? integer(-20, 20) : 0;
        const uint32_t minAlpha = alphas[rng() % 11] + (rng() % 2);
        const bool blended = trial % 2 == 1;
        blitRotatedWalk(source.canvas, image, x, y, up, pivot, angle, scale, minAlpha, blended, BlitWalk::Source);
        blitRotatedWalk(destination.canvas, copy, x, y, up, pivot, angle, scale, minAlpha, blended,
                        BlitWalk::Destination);
        // Compare and restore the square the picture can reach.
        const int32_t r = int32_t(std::hypot(image.width, image.height) * drawn) + 3 * std::abs(pivot) + 4;
        for (int32_t row = std::max(0, y - r); row < std::min(720, y + r); ++row) {
            const int32_t from = std::max(0, x - r), to = std::min(1280, x + r);
            if (from >= to) continue;
            ASSERT_EQ(0, std::memcmp(&source.at(from, row), &destination.at(from, row), (to - from) * 4u))
                << "trial " << trial << " row " << row;
            std::memcpy(&source.at(from, row), &background.at(from, row), (to - from) * 4u);
            std::memcpy(&destination.at(from, row), &background.at(from, row), (to - from) * 4u);
        }
    }
    EXPECT_TRUE(source.store == background.store);
    EXPECT_TRUE(destination.store == background.store);
}
