// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The software frame buffer and its primitives.
//
// Pixel (x, y) is the uint32_t at pixels + y * (rowPitch / 4) + x, read as 0xAARRGGBB.
// Clipping: a pixel is written only if 0 <= x < 1280 and 0 <= y < 720; every primitive tests
// each pixel it would write against those constants, never against width and height.
// Primitives write opaque pixels (alpha 0xFF) except drawText, which writes the caller's value.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

constexpr int32_t kCanvasWidth = 1280;
constexpr int32_t kCanvasHeight = 720;
constexpr size_t kTextBufferSize = 200; // bytes, NUL included
// What was drawn is kept per band of 16 rows, so a frame wipes, sends and blends only that.
constexpr int32_t kCanvasBandRows = 16;
constexpr int32_t kCanvasBands = kCanvasHeight / kCanvasBandRows;

struct Canvas {
    int32_t width = 0;          // pixels per row, 1280 once start-up has run
    int32_t height = 0;         // rows, 720 once start-up has run
    int32_t rowPitch = 0;       // bytes from one row to the next, valid while a frame is open
    uint32_t* pixels = nullptr; // first pixel of row 0, valid while a frame is open
    // Where anything may have been drawn since the last wipe: per band, columns
    // [drawnLeft, drawnRight), none where drawnLeft >= drawnRight. A new record knows nothing
    // of the pixels it is handed, so it counts everything as drawn until its first wipe.
    bool allDrawn = true;
    int16_t drawnLeft[kCanvasBands] = {};
    int16_t drawnRight[kCanvasBands] = {};
};

// A fixed-cell font: the 95 characters 0x20..0x7E in code order, `columns` cells per sheet row.
// Ink is a sheet pixel of exactly 0xFF000000; every other value is background.
struct BitmapFont {
    int32_t cellWidth = 0;            // pixels; also the pen advance
    int32_t cellHeight = 0;           // pixels
    int32_t columns = 0;              // cells per sheet row; the sheet is columns * cellWidth wide
    const uint32_t* pixels = nullptr; // the sheet, row-major
};

// Sets every pixel of width x height to 0x00000000 (transparent black), rows rowPitch / 4 apart,
// and forgets what was drawn.
void wipeCanvas(Canvas& canvas);
// The same for the pixels drawn since the last wipe: the rest are 0 already. The frame loop
// calls it right after opening a frame.
void wipeDrawn(Canvas& canvas);
// Records that pixels in columns [left, right) of rows [top, bottom) may have been written; the
// parts off the canvas are dropped. Every operation that writes the canvas calls it.
void markDrawn(Canvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom);

// 0xFF000000 | low 8 bits of r, g, b. Nothing clamps: 256 gives 0 in that channel.
uint32_t packColour(int32_t r, int32_t g, int32_t b);

// One pixel of `colour`, written opaque (its alpha is taken as 0xFF).
void plot(Canvas& canvas, int32_t x, int32_t y, uint32_t colour);

// Every pixel whose offset from the centre has a length strictly below the radius.
void fillDisc(Canvas& canvas, int32_t cx, int32_t cy, int32_t radius, uint32_t colour);

// A straight line with both end points, one pixel per step of the major axis.
void drawLine(Canvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

// One line of text, (x, y) the top-left of the first cell; each byte advances one cell and bytes
// outside 0x20..0x7E draw nothing. A font without a sheet or with an empty cell draws nothing.
void drawText(Canvas& canvas, const char* text, int32_t x, int32_t y, const BitmapFont& font, uint32_t colour);

// Lays `colour` over the rectangle (edges included) at the cover its alpha gives: an empty
// canvas pixel takes the colour as it is (the backdrop then shows through the rest); a pixel
// already drawn is mixed toward the colour, its own alpha carried into the result.
void drawBacking(Canvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);

// The plate laid under a line of text drawn over the world, just before the text: deep navy
// at a cover that keeps the red and green message texts above 4.5 : 1 even over white cloud.
constexpr uint32_t kTextPlate = 0xFA080E1Cu;

// kTextPlate under the cells `text` would fill at (x, y) in `font`, with a margin of 4 pixels
// left and right and 2 above and below. Nothing for an empty text or a font without cells.
void drawTextPlate(Canvas& canvas, const char* text, int32_t x, int32_t y, const BitmapFont& font);

// printf into a buffer of kTextBufferSize bytes. Always bounded: a text that does not fit is cut
// and still NUL-terminated. Returns the characters written, or -1 if formatting failed.
int formatText(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
int formatTextV(char* buffer, const char* format, va_list args);
