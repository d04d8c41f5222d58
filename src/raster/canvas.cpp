// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "raster/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

// Address of pixel (x, y); the caller has already clipped.
static uint32_t* pixelAt(Canvas& canvas, int64_t x, int64_t y) { return canvas.pixels + y * (canvas.rowPitch / 4) + x; }

// The clipping rule: the fixed 1280 x 720 frame, whatever the record's width and height say.
static bool onCanvas(int64_t x, int64_t y) { return x >= 0 && x < kCanvasWidth && y >= 0 && y < kCanvasHeight; }

uint32_t packColour(int32_t r, int32_t g, int32_t b) {
    return 0xFF000000u | (static_cast<uint32_t>(r) & 0xFFu) << 16 | (static_cast<uint32_t>(g) & 0xFFu) << 8 |
           (static_cast<uint32_t>(b) & 0xFFu);
}

// Nothing drawn anywhere.
static void forgetDrawn(Canvas& canvas) {
    canvas.allDrawn = false;
    std::fill(std::begin(canvas.drawnLeft), std::end(canvas.drawnLeft), int16_t{0});
    std::fill(std::begin(canvas.drawnRight), std::end(canvas.drawnRight), int16_t{0});
}

void wipeCanvas(Canvas& canvas) {
    if (canvas.pixels == nullptr || canvas.width <= 0) return;
    const int64_t stride = canvas.rowPitch / 4;
    for (int64_t y = 0; y < canvas.height; ++y) {
        std::memset(canvas.pixels + y * stride, 0, sizeof(uint32_t) * static_cast<size_t>(canvas.width));
    }
    forgetDrawn(canvas);
}

void wipeDrawn(Canvas& canvas) {
    if (canvas.pixels == nullptr || canvas.width <= 0) return;
    // Only the fixed frame is ever drawn into; a record of another size is wiped whole.
    if (canvas.allDrawn || canvas.width != kCanvasWidth || canvas.height != kCanvasHeight) {
        wipeCanvas(canvas);
        return;
    }
    const int64_t stride = canvas.rowPitch / 4;
    for (int32_t band = 0; band < kCanvasBands; ++band) {
        const int64_t left = canvas.drawnLeft[band];
        const int64_t right = canvas.drawnRight[band];
        if (left >= right) continue;
        for (int64_t y = int64_t{band} * kCanvasBandRows; y < int64_t{band + 1} * kCanvasBandRows; ++y) {
            std::memset(canvas.pixels + y * stride + left, 0, sizeof(uint32_t) * static_cast<size_t>(right - left));
        }
    }
    forgetDrawn(canvas);
}

void markDrawn(Canvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    left = std::max<int64_t>(left, 0);
    right = std::min<int64_t>(right, kCanvasWidth);
    top = std::max<int64_t>(top, 0);
    bottom = std::min<int64_t>(bottom, kCanvasHeight);
    if (canvas.allDrawn || left >= right || top >= bottom) return;
    for (int64_t band = top / kCanvasBandRows; band <= (bottom - 1) / kCanvasBandRows; ++band) {
        int16_t& bandLeft = canvas.drawnLeft[band];
        int16_t& bandRight = canvas.drawnRight[band];
        if (bandLeft >= bandRight) {
            bandLeft = static_cast<int16_t>(left);
            bandRight = static_cast<int16_t>(right);
        } else {
            bandLeft = static_cast<int16_t>(std::min<int64_t>(bandLeft, left));
            bandRight = static_cast<int16_t>(std::max<int64_t>(bandRight, right));
        }
    }
}

void plot(Canvas& canvas, int32_t x, int32_t y, uint32_t colour) {
    if (!onCanvas(x, y)) return;
    *pixelAt(canvas, x, y) = 0xFF000000u | colour;
    markDrawn(canvas, x, y, int64_t{x} + 1, int64_t{y} + 1);
}

void fillDisc(Canvas& canvas, int32_t cx, int32_t cy, int32_t radius, uint32_t colour) {
    if (radius <= 0) return;
    colour |= 0xFF000000u;
    const float limit = static_cast<float>(radius);
    // The square spans cx - radius .. cx + radius - 1; only its on-canvas part can be written.
    const int64_t x0 = std::max<int64_t>(int64_t{cx} - radius, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{cx} + radius, kCanvasWidth);
    const int64_t y0 = std::max<int64_t>(int64_t{cy} - radius, 0);
    const int64_t y1 = std::min<int64_t>(int64_t{cy} + radius, kCanvasHeight);
    markDrawn(canvas, x0, y0, x1, y1);
    for (int64_t x = x0; x < x1; ++x) {
        const int64_t dx = x - cx;
        for (int64_t y = y0; y < y1; ++y) {
            const int64_t dy = y - cy;
            if (std::sqrt(static_cast<float>(dx * dx + dy * dy)) < limit) *pixelAt(canvas, x, y) = colour;
        }
    }
}

void drawLine(Canvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    const int64_t dx = int64_t{x2} - x1;
    const int64_t dy = int64_t{y2} - y1;
    if (dx == 0 && dy == 0) {
        plot(canvas, x1, y1, colour);
        return;
    }
    colour |= 0xFF000000u;
    // Each minor coordinate rounds to within one of the end points' range; single precision
    // may stray a little further on long lines.
    markDrawn(canvas, std::min(x1, x2) - int64_t{4}, std::min(y1, y2) - int64_t{4}, std::max(x1, x2) + int64_t{5},
              std::max(y1, y2) + int64_t{5});
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const int64_t majorDiff = steep ? dy : dx;
    const int64_t minorDiff = steep ? dx : dy;
    const bool forward = majorDiff >= 0;
    const int64_t startMajor = steep ? (forward ? y1 : y2) : (forward ? x1 : x2);
    const int64_t startMinor = steep ? (forward ? x1 : x2) : (forward ? y1 : y2);
    const int64_t stopMajor = startMajor + std::llabs(majorDiff);

    // The whole line's arithmetic is single precision, so the pixels match however the line is cut.
    const float slope = static_cast<float>(minorDiff) / static_cast<float>(majorDiff);
    const float intercept = static_cast<float>(startMinor) - static_cast<float>(startMajor) * slope;

    // Steps whose major coordinate is off the canvas can never write, so they are not walked.
    const int64_t majorLimit = steep ? kCanvasHeight : kCanvasWidth;
    const int64_t first = std::max<int64_t>(startMajor, 0);
    const int64_t last = std::min<int64_t>(stopMajor, majorLimit - 1);
    for (int64_t k = first; k <= last; ++k) {
        const float minorValue = static_cast<float>(k) * slope + intercept + 0.5f;
        // A minor value past the int range is far off the canvas; the test also rejects NaN.
        if (!(minorValue > -1.0e9f && minorValue < 1.0e9f)) continue;
        const int64_t minor = static_cast<int64_t>(minorValue);
        const int64_t px = steep ? minor : k;
        const int64_t py = steep ? k : minor;
        if (onCanvas(px, py)) *pixelAt(canvas, px, py) = colour;
    }
}

void drawText(Canvas& canvas, const char* text, int32_t x, int32_t y, const BitmapFont& font, uint32_t colour) {
    if (text == nullptr || font.pixels == nullptr || font.cellWidth <= 0 || font.cellHeight <= 0 || font.columns <= 0) {
        return;
    }
    const int64_t sheetStride = int64_t{font.columns} * font.cellWidth;
    markDrawn(canvas, x, y, x + int64_t(std::strlen(text)) * font.cellWidth, int64_t{y} + font.cellHeight);
    for (int64_t i = 0; text[i] != '\0'; ++i) {
        const int64_t pen = x + i * font.cellWidth;
        if (pen >= kCanvasWidth) break; // every later cell lies further right
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte > 0x7E || pen + font.cellWidth <= 0) continue;
        const int32_t glyph = byte - 0x20;
        const int64_t sx0 = int64_t{glyph % font.columns} * font.cellWidth;
        const int64_t sy0 = int64_t{glyph / font.columns} * font.cellHeight;
        const int64_t vEnd = std::min<int64_t>(font.cellHeight, int64_t{kCanvasHeight} - y);
        for (int64_t v = std::max<int64_t>(0, -int64_t{y}); v < vEnd; ++v) {
            const uint32_t* sheetRow = font.pixels + (sy0 + v) * sheetStride + sx0;
            for (int64_t u = 0; u < font.cellWidth; ++u) {
                if (sheetRow[u] == 0xFF000000u && onCanvas(pen + u, y + v)) {
                    *pixelAt(canvas, pen + u, y + v) = colour;
                }
            }
        }
    }
}

// `colour` with cover `cover` over a pixel p that already shows (alpha above 0): out alpha =
// cover + alpha (1 - cover); each channel is the colour's share plus the share of the pixel's
// light that shows through.
static uint32_t backingOver(uint32_t p, uint32_t colour, uint32_t cover) {
    const uint32_t through = (p >> 24) * (255 - cover);
    const uint32_t outAlpha = cover + through / 255;
    uint32_t out = outAlpha << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t mixed = (((colour >> shift) & 0xFF) * cover * 255 + ((p >> shift) & 0xFF) * through) /
                               (255 * outAlpha);
        out |= std::min<uint32_t>(mixed, 255) << shift;
    }
    return out;
}

void drawBacking(Canvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    const uint32_t cover = colour >> 24;
    if (canvas.pixels == nullptr || cover == 0) return;
    markDrawn(canvas, left, top, int64_t{right} + 1, int64_t{bottom} + 1);
    const int64_t firstX = std::max(left, 0);
    const int64_t endX = int64_t{std::min(right, kCanvasWidth - 1)} + 1;
    constexpr uint64_t kAlphas = 0xFF000000FF000000ull;
    for (int32_t y = std::max(top, 0); y <= std::min(bottom, kCanvasHeight - 1); ++y) {
        uint32_t* row = pixelAt(canvas, 0, y);
        int64_t x = firstX;
        // Mostly nothing is drawn under a backing yet: four pixels of alpha 0 take the colour at once.
        for (; x + 4 <= endX; x += 4) {
            uint64_t pairs[2];
            std::memcpy(pairs, row + x, sizeof pairs);
            if (((pairs[0] | pairs[1]) & kAlphas) == 0) {
                row[x] = row[x + 1] = row[x + 2] = row[x + 3] = colour;
                continue;
            }
            for (int64_t i = x; i < x + 4; ++i)
                row[i] = (row[i] >> 24) == 0 ? colour : backingOver(row[i], colour, cover);
        }
        for (; x < endX; ++x) row[x] = (row[x] >> 24) == 0 ? colour : backingOver(row[x], colour, cover);
    }
}

void drawTextPlate(Canvas& canvas, const char* text, int32_t x, int32_t y, const BitmapFont& font) {
    if (text == nullptr || text[0] == '\0' || font.cellWidth <= 0 || font.cellHeight <= 0) return;
    const int64_t cells = static_cast<int64_t>(std::strlen(text));
    const int64_t right = std::min<int64_t>(int64_t{x} + cells * font.cellWidth + 3, kCanvasWidth);
    drawBacking(canvas, x - 4, y - 2, static_cast<int32_t>(right), y + font.cellHeight + 1, kTextPlate);
}

int formatTextV(char* buffer, const char* format, va_list args) {
    const int length = std::vsnprintf(buffer, kTextBufferSize, format, args);
    if (length < 0) {
        buffer[0] = '\0';
        return -1;
    }
    return std::min(length, static_cast<int>(kTextBufferSize) - 1);
}

int formatText(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = formatTextV(buffer, format, args);
    va_end(args);
    return written;
}
