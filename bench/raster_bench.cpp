// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the raster operations that run every frame: the wipe, a line of text and the
// aircraft-sized blits.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "raster/blit.h"
#include "raster/canvas.h"

namespace {

// A frame buffer as the lock hands it out: 1280 x 720 with a pitch of whole rows.
struct FrameBuffer {
    std::vector<uint32_t> store = std::vector<uint32_t>(size_t{kCanvasWidth} * kCanvasHeight, 0xFF203040u);
    Canvas canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, store.data()};
};

// An aircraft-like picture: an opaque elliptic body with a soft rim, transparent around it.
PixelImage bodyImage(int32_t width, int32_t height) {
    PixelImage image{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), 0), {}};
    const double rx = width * 0.46;
    const double ry = height * 0.22;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const double ex = (x - width / 2) / rx;
            const double ey = (y - height / 2) / ry;
            const double d = ex * ex + ey * ey;
            uint32_t alpha = 0;
            if (d < 0.85) alpha = 255;
            else if (d < 1.0) alpha = static_cast<uint32_t>(255 * (1.0 - d) / 0.15);
            const uint32_t colour = 0x00406080u + static_cast<uint32_t>((x * 7 + y * 3) & 0x3F);
            image.pixels[size_t(y) * size_t(width) + size_t(x)] = alpha << 24 | colour;
        }
    }
    return image;
}

void BM_WipeCanvas(benchmark::State& state) {
    FrameBuffer frame;
    for (auto _ : state) {
        wipeCanvas(frame.canvas);
        benchmark::DoNotOptimize(frame.store.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WipeCanvas)->Unit(benchmark::kMicrosecond);

void BM_DrawText40(benchmark::State& state) {
    FrameBuffer frame;
    // A 13 x 24 sheet of 32 x 3 cells with ink on about a third of every cell.
    std::vector<uint32_t> sheet(416 * 72);
    for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = (i * 2654435761u) % 3 == 0 ? 0xFF000000u : 0xFFFFFFFFu;
    const BitmapFont font{13, 24, 32, sheet.data()};
    const char* line = "Altitude 12345  Speed 678  Fuel 90.5 %!";
    for (auto _ : state) {
        drawText(frame.canvas, line, 100, 300, font, 0xFF00FF00u);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawText40)->Unit(benchmark::kMicrosecond);

void BM_BlitRotatedBlended(benchmark::State& state) {
    FrameBuffer frame;
    const PixelImage image = bodyImage(204, 204);
    const double angle = static_cast<double>(state.range(0));
    for (auto _ : state) {
        blitRotatedBlended(frame.canvas, image, 640, 360, 1, angle, 1.25);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitRotatedBlended)->Arg(0)->Arg(37)->Arg(90)->Arg(180)->Arg(271)->Unit(benchmark::kMicrosecond);

void BM_BlitBlended(benchmark::State& state) {
    FrameBuffer frame;
    const PixelImage image = bodyImage(200, 120);
    for (auto _ : state) {
        blitBlended(frame.canvas, image, 540, 300);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitBlended)->Unit(benchmark::kMicrosecond);

// A smoke puff: 280 x 280, alpha falling off from the centre, copied above a cut-off of 40 at
// scale range(0) / 10 (2 to 10 in the game: drawn at 1 / 2.9 to 1 / 14.5 of its size), turned
// 37 degrees, over the source (range(1) 0) or the canvas (1).
PixelImage puffImage() {
    PixelImage puff{280, 280, std::vector<uint32_t>(280 * 280), {}};
    for (int32_t y = 0; y < 280; ++y) {
        for (int32_t x = 0; x < 280; ++x) {
            const double d = std::hypot(x - 140.0, y - 140.0) / 140.0;
            const uint32_t alpha = d < 1.0 ? static_cast<uint32_t>(255 * (1.0 - d)) : 0;
            puff.pixels[size_t(y) * 280 + size_t(x)] = alpha << 24 | 0xE8E8E8u;
        }
    }
    return puff;
}

void BM_BlitPuff(benchmark::State& state) {
    FrameBuffer frame;
    const PixelImage puff = puffImage();
    const double scale = static_cast<double>(state.range(0)) / 10.0;
    const BlitWalk walk = state.range(1) ? BlitWalk::Destination : BlitWalk::Source;
    for (auto _ : state) {
        blitRotatedWalk(frame.canvas, puff, 640, 360, 1, 0, 37.0, scale, 41, false, walk);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitPuff)->ArgsProduct({{20, 25, 30, 50, 100}, {0, 1}})->Unit(benchmark::kMicrosecond);

// One frame of the default smoke trail: a puff every third frame, shrinking by 0.2 and its
// cut-off rising by 2 each frame from size 10, drawn until size 2, all turned alike.
void BM_SmokeTrail(benchmark::State& state) {
    FrameBuffer frame;
    const PixelImage puff = puffImage();
    double angle = 0.0;
    for (auto _ : state) {
        angle += 5.0;
        for (int32_t age = 0; 10.0 - 0.2 * age >= 2.0; age += 3) {
            blitRotatedCutoff(frame.canvas, puff, 400 - 12 * age, 300 + age, 1, angle, 10.0 - 0.2 * age, 2.0 * age);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SmokeTrail)->Unit(benchmark::kMicrosecond);

} // namespace
