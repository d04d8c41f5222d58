#include "raster/blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Degrees to radians, pi taken as 3.14159265358979 so angles match the game's tables.
constexpr double kRadiansPerDegree = 0.017453292519943278;
// Every rotating draw is shrunk by this on top of the caller's scale.
constexpr double kRotatedShrink = 1.45;
// Column and row terms below this size sum to a value that fits an int32.
constexpr double kModestTerm = 1073741824.0; // 2^30

// An offset truncated toward zero; one outside the int32 range (or NaN) becomes INT32_MIN,
// which puts the pixel off the canvas from any anchor.
int32_t truncatedOffset(double offset) {
    if (offset > -2147483649.0 && offset < 2147483648.0) return static_cast<int32_t>(offset);
    return INT32_MIN;
}

// Colour of source pixel s weighted by its alpha over canvas pixel d; the result is opaque.
// Each channel is (s_c * a + d_c * (255 - a)) / 255, truncated. Red and blue share one word in
// 16-bit lanes, and v / 255 == (v + 1 + (v >> 8)) >> 8 for every v up to 255 * 255.
uint32_t blend(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    const uint32_t rest = 255 - a;
    const uint32_t rb = (s & 0xFF00FFu) * a + (d & 0xFF00FFu) * rest;
    const uint32_t g = ((s >> 8) & 0xFFu) * a + ((d >> 8) & 0xFFu) * rest;
    const uint32_t rbQuotient = ((rb + 0x010001u + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    const uint32_t gQuotient = (g + 1 + (g >> 8)) >> 8;
    return 0xFF000000u | rbQuotient | gQuotient << 8;
}

// A picture whose pixel store matches its size; anything else draws nothing.
bool drawable(const PixelImage& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() >= static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
}

// The shared forward mapping of the rotating blits. Draws source pixels with alpha >= minAlpha,
// copying or blending; pivotShift is subtracted from every row offset.
template <bool kBlend>
void blitMapped(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, bool upright,
                int64_t pivotShift, double angle, double scale, uint32_t minAlpha) {
    if (!drawable(image) || canvas.pixels == nullptr) return;
    const int32_t rowEnd = std::min(image.height, kCanvasHeight);
    const int32_t colEnd = std::min(image.width, kCanvasWidth);
    // Source rows before -y and columns before -x are never drawn, even if rotation would
    // bring them on-screen: the walk starts at the first row and column that are unrotated on it.
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
    const int64_t firstCol = std::max<int64_t>(0, -int64_t{x});
    if (firstRow >= rowEnd || firstCol >= colEnd) return;

    const double theta = angle * kRadiansPerDegree;
    const double c = std::cos(theta) / kRotatedShrink;
    const double s = std::sin(theta) / kRotatedShrink;

    // (dx * c) / scale depends on the column alone and (dy * s) / scale on the row alone, so
    // each is formed once; the per-pixel sums below are the same double operations in the same
    // order as forming everything per pixel. While every column term and the row term stay
    // below 2^30 in size, each sum converts to an int32 exactly and that loop vectorises;
    // otherwise each sum is range-checked.
    double colCos[kCanvasWidth];
    double colSin[kCanvasWidth];
    bool columnsModest = true;
    for (int64_t col = firstCol; col < colEnd; ++col) {
        const double dx = static_cast<double>(col - colEnd / 2);
        colCos[col] = (dx * c) / scale;
        colSin[col] = (dx * s) / scale;
        columnsModest = columnsModest && std::fabs(colCos[col]) < kModestTerm && std::fabs(colSin[col]) < kModestTerm;
    }

    const int64_t stride = canvas.rowPitch / 4;
    const uint32_t* source = image.pixels.data();
    int32_t rowX[kCanvasWidth]; // truncated x offset of each column's pixel on this row
    int32_t rowY[kCanvasWidth]; // truncated y offset of each column's pixel on this row
    for (int64_t row = firstRow; row < rowEnd; ++row) {
        const int64_t sourceRow = upright ? row : rowEnd - 1 - row;
        const uint32_t* sourcePixels = source + sourceRow * image.width;
        // Only the span between the first and last drawn pixel of the row needs its positions;
        // a picture's transparent surround is passed over by the alpha test alone.
        int64_t spanBegin = firstCol;
        int64_t spanEnd = colEnd;
        while (spanBegin < spanEnd && (sourcePixels[spanBegin] >> 24) < minAlpha) ++spanBegin;
        while (spanEnd > spanBegin && (sourcePixels[spanEnd - 1] >> 24) < minAlpha) --spanEnd;
        if (spanBegin == spanEnd) continue;
        const double dy = static_cast<double>(row - rowEnd / 2 - pivotShift);
        const double rowSin = (dy * s) / scale;
        const double rowCos = (dy * c) / scale;
        if (columnsModest && std::fabs(rowSin) < kModestTerm && std::fabs(rowCos) < kModestTerm) {
            for (int64_t col = spanBegin; col < spanEnd; ++col) {
                rowX[col] = static_cast<int32_t>(colCos[col] - rowSin);
                rowY[col] = static_cast<int32_t>(colSin[col] + rowCos);
            }
        } else {
            for (int64_t col = spanBegin; col < spanEnd; ++col) {
                rowX[col] = truncatedOffset(colCos[col] - rowSin);
                rowY[col] = truncatedOffset(colSin[col] + rowCos);
            }
        }
        for (int64_t col = spanBegin; col < spanEnd; ++col) {
            const uint32_t pixel = sourcePixels[col];
            if ((pixel >> 24) < minAlpha) continue;
            const int64_t canvasX = x + int64_t{rowX[col]};
            const int64_t canvasY = y + int64_t{rowY[col]};
            if (canvasX < 0 || canvasX >= kCanvasWidth || canvasY < 0 || canvasY >= kCanvasHeight) continue;
            uint32_t& target = canvas.pixels[canvasY * stride + canvasX];
            // An opaque pixel blends to itself, so it needs no read of the canvas.
            target = !kBlend ? pixel : (pixel >= 0xFF000000u ? pixel : blend(pixel, target));
        }
    }
}

} // namespace

void blitBlended(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y) {
    if (!drawable(image) || canvas.pixels == nullptr) return;
    // The bounds keep every destination on the canvas, so no per-pixel clip is needed.
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
    const int64_t lastRow = std::min<int64_t>(image.height, int64_t{kCanvasHeight} - y);
    const int64_t firstCol = std::max<int64_t>(0, -int64_t{x});
    const int64_t lastCol = std::min<int64_t>(image.width, int64_t{kCanvasWidth} - x);
    const int64_t stride = canvas.rowPitch / 4;
    for (int64_t row = firstRow; row < lastRow; ++row) {
        const uint32_t* sourcePixels = image.pixels.data() + row * image.width;
        uint32_t* targetRow = canvas.pixels + (y + row) * stride + x;
        for (int64_t col = firstCol; col < lastCol; ++col) {
            const uint32_t pixel = sourcePixels[col];
            if ((pixel >> 24) <= 246) continue;
            targetRow[col] = pixel >= 0xFF000000u ? pixel : blend(pixel, targetRow[col]);
        }
    }
}

void blitRotated(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright,
                 double angle, double scale) {
    blitMapped<false>(canvas, image, x, y, upright != 0, 0, angle, scale, 101);
}

void blitRotatedCutoff(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y,
                       uint8_t upright, double angle, double scale, double cutoff) {
    // The least alpha that exceeds the cut-off as a double; 256 (nothing drawn) for NaN or >= 255.
    uint32_t minAlpha = 256;
    while (minAlpha > 0 && static_cast<double>(minAlpha - 1) > cutoff) --minAlpha;
    blitMapped<false>(canvas, image, x, y, upright != 0, 0, angle, scale, minAlpha);
}

void blitRotatedBlended(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y,
                        uint8_t upright, double angle, double scale) {
    blitMapped<true>(canvas, image, x, y, upright != 0, 0, angle, scale, 161);
}

void blitRotatedPivot(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y,
                      uint8_t upright, int32_t pivotOffset, double angle, double scale) {
    // The pivot sits pivotOffset rows below the centre of the picture as it is drawn, so a
    // mirrored picture moves it the other way in loop rows.
    const int64_t shift = upright != 0 ? int64_t{pivotOffset} : -int64_t{pivotOffset};
    blitMapped<true>(canvas, image, x, y, upright != 0, shift, angle, scale, 1);
}

void blitRotatedSoft(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, double scale,
                     double angle) {
    blitMapped<true>(canvas, image, x, y, true, 0, angle, scale, 2);
}
