#include "raster/blit.h"

#include <algorithm>
#include <cmath>

namespace {

// Degrees to radians, pi taken as 3.14159265358979 so angles match the game's tables.
constexpr double kRadiansPerDegree = 0.017453292519943278;
// Every rotating draw is shrunk by this on top of the caller's scale.
constexpr double kRotatedShrink = 1.45;
// Mapped offsets beyond this many pixels are far off the canvas; checking them keeps the
// conversion to an integer defined for huge results, infinities and NaN.
constexpr double kOffsetLimit = 1.0e9;

// Colour of source pixel s weighted by its alpha over canvas pixel d; the result is opaque.
uint32_t blend(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    const uint32_t rest = 255 - a;
    const uint32_t r = (((s >> 16) & 0xFFu) * a + ((d >> 16) & 0xFFu) * rest) / 255;
    const uint32_t g = (((s >> 8) & 0xFFu) * a + ((d >> 8) & 0xFFu) * rest) / 255;
    const uint32_t b = ((s & 0xFFu) * a + (d & 0xFFu) * rest) / 255;
    return 0xFF000000u | r << 16 | g << 8 | b;
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
    // order as forming everything per pixel.
    double colCos[kCanvasWidth];
    double colSin[kCanvasWidth];
    for (int64_t col = firstCol; col < colEnd; ++col) {
        const double dx = static_cast<double>(col - colEnd / 2);
        colCos[col] = (dx * c) / scale;
        colSin[col] = (dx * s) / scale;
    }

    const int64_t stride = canvas.rowPitch / 4;
    const uint32_t* source = image.pixels.data();
    for (int64_t row = firstRow; row < rowEnd; ++row) {
        const int64_t sourceRow = upright ? row : rowEnd - 1 - row;
        const uint32_t* sourcePixels = source + sourceRow * image.width;
        const double dy = static_cast<double>(row - rowEnd / 2 - pivotShift);
        const double rowSin = (dy * s) / scale;
        const double rowCos = (dy * c) / scale;
        for (int64_t col = firstCol; col < colEnd; ++col) {
            const uint32_t pixel = sourcePixels[col];
            if ((pixel >> 24) < minAlpha) continue;
            const double offsetX = colCos[col] - rowSin;
            const double offsetY = colSin[col] + rowCos;
            if (!(std::fabs(offsetX) < kOffsetLimit && std::fabs(offsetY) < kOffsetLimit)) continue;
            const int64_t canvasX = x + static_cast<int64_t>(offsetX);
            const int64_t canvasY = y + static_cast<int64_t>(offsetY);
            if (canvasX < 0 || canvasX >= kCanvasWidth || canvasY < 0 || canvasY >= kCanvasHeight) continue;
            uint32_t& target = canvas.pixels[canvasY * stride + canvasX];
            target = kBlend ? blend(pixel, target) : pixel;
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
            if ((pixel >> 24) > 246) targetRow[col] = blend(pixel, targetRow[col]);
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
