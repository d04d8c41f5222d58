// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Drawing decoded pictures into the canvas. The rotating variants share one forward mapping:
// each source pixel lands on one canvas pixel, offset from the centre (or pivot), rotated by
// `angle` degrees (clockwise on screen) and divided by 1.45 * scale, truncated toward zero.
// `upright` 0 mirrors the picture top to bottom before it is rotated. Only the first 720 rows
// and 1280 columns of a picture are walked, and none before row -y or column -x, even where
// rotation would bring them on-screen. Where several source pixels land on one canvas pixel,
// the last in row-then-column order wins. A picture of width or height 0 draws nothing.

#include "raster/canvas.h"
#include "raster/pixel_image.h"

// Unrotated, top-left at (x, y); blends source pixels with alpha above 246.
void blitBlended(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y);

// Centre at (x, y); copies (alpha kept) source pixels with alpha above 100.
void blitRotated(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                 double scale);

// Centre at (x, y); copies source pixels whose alpha exceeds `cutoff`.
void blitRotatedCutoff(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                       double scale, double cutoff);

// Centre at (x, y); blends source pixels with alpha above 160.
void blitRotatedBlended(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                        double scale);

// Pivot `pivotOffset` rows below the centre in the picture's own orientation, at (x, y);
// blends every source pixel with alpha above 0.
void blitRotatedPivot(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright,
                      int32_t pivotOffset, double angle, double scale);

// Centre at (x, y), never mirrored; blends source pixels with alpha of 2 or more.
void blitRotatedSoft(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, double scale, double angle);

// Which way a rotating draw walks: over the source's pixels, or over the canvas pixels the
// picture can reach (cheaper for a picture drawn much smaller than it is stored). Both leave the
// same pixels; Chosen picks the cheaper per draw, as every blit above does.
enum class BlitWalk : uint8_t { Chosen, Source, Destination };

// The rotating blits' shared mapping with the walk given: source pixels with alpha of minAlpha or
// more, copied or blended, every row offset reduced by pivotShift.
void blitRotatedWalk(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, int32_t pivotShift,
                     double angle, double scale, uint32_t minAlpha, bool blended, BlitWalk walk);
