// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "raster/blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

// Four pixels side by side, so the transparent surround is passed over sixteen at a time.
typedef uint32_t PixelLanes __attribute__((vector_size(16)));

// Whether any of the sixteen pixels from `pixels` on is at least `least`.
bool anyOfSixteen(const uint32_t* pixels, PixelLanes least) {
    PixelLanes lanes[4];
    std::memcpy(lanes, pixels, sizeof lanes);
    const auto hit = (lanes[0] >= least) | (lanes[1] >= least) | (lanes[2] >= least) | (lanes[3] >= least);
    uint64_t halves[2];
    std::memcpy(halves, &hit, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The first column in [begin, end) whose pixel is at least `least` (minAlpha << 24: alpha is the
// top byte, so whole pixels compare as their alphas do), or end.
int64_t firstDrawn(const uint32_t* pixels, int64_t begin, int64_t end, uint32_t least) {
    const PixelLanes lanes = {least, least, least, least};
    while (begin + 16 <= end && !anyOfSixteen(pixels + begin, lanes)) begin += 16;
    while (begin < end && pixels[begin] < least) ++begin;
    return begin;
}

// One past the last column in [begin, end) whose pixel is at least `least`, or begin.
int64_t endDrawn(const uint32_t* pixels, int64_t begin, int64_t end, uint32_t least) {
    const PixelLanes lanes = {least, least, least, least};
    while (end - 16 >= begin && !anyOfSixteen(pixels + end - 16, lanes)) end -= 16;
    while (end > begin && pixels[end - 1] < least) --end;
    return end;
}

// The drawn span of each of the picture's first min(height, canvas height) rows, over its first
// min(width, canvas width) columns, at threshold `least`; an empty row holds (end, end).
const std::pair<int16_t, int16_t>* rowSpans(const PixelImage& image, int64_t rowEnd, int64_t colEnd, uint32_t least) {
    RowSpanCache& cache = image.rowSpans;
    if (cache.pixels != image.pixels.data() || cache.size != image.pixels.size()) {
        cache.tables.clear();
        cache.pixels = image.pixels.data();
        cache.size = image.pixels.size();
    }
    for (const RowSpanCache::Table& table : cache.tables)
        if (table.least == least) return table.spans.data();
    RowSpanCache::Table& table = cache.tables.emplace_back();
    table.least = least;
    table.spans.resize(static_cast<size_t>(rowEnd));
    for (int64_t row = 0; row < rowEnd; ++row) {
        const uint32_t* pixels = image.pixels.data() + row * image.width;
        const int64_t begin = firstDrawn(pixels, 0, colEnd, least);
        table.spans[row] = {static_cast<int16_t>(begin), static_cast<int16_t>(endDrawn(pixels, begin, colEnd, least))};
    }
    return table.spans.data();
}

// A row's drawn span within columns [firstCol, colEnd), from its whole span: the last drawn
// column stays while any drawn column lies at or after firstCol.
void clippedSpan(const uint32_t* pixels, std::pair<int16_t, int16_t> whole, int64_t firstCol, int64_t colEnd,
                 uint32_t least, int64_t& begin, int64_t& end) {
    begin = whole.first;
    end = whole.second;
    if (begin >= firstCol) return;
    begin = firstDrawn(pixels, firstCol, std::max<int64_t>(firstCol, end), least);
    if (begin >= end) begin = end = colEnd;
}

// One rotating draw: the picture's walked rows and columns, its pivot and the mapping's factors.
struct Mapping {
    int32_t x = 0;
    int32_t y = 0;
    bool upright = true;
    int64_t firstRow = 0; // loop rows firstRow .. rowEnd - 1
    int64_t rowEnd = 0;
    int64_t firstCol = 0; // loop columns firstCol .. colEnd - 1
    int64_t colEnd = 0;
    int64_t pivotRow = 0; // dy = row - pivotRow
    int64_t pivotCol = 0; // dx = col - pivotCol
    double c = 0.0;       // cos(angle) / 1.45
    double s = 0.0;       // sin(angle) / 1.45
    double scale = 1.0;
    uint32_t minAlpha = 0;
};

// The source walk: every walked pixel mapped forward in row-then-column order, written where it
// lands. colCos and colSin hold each column's terms.
template <bool kBlend>
void walkSource(Canvas& canvas, const PixelImage& image, const Mapping& m, const double* colCos, const double* colSin,
                bool columnsModest) {
    const int64_t stride = canvas.rowPitch / 4;
    const uint32_t* source = image.pixels.data();
    int32_t rowX[kCanvasWidth]; // truncated x offset of each column's pixel on this row
    int32_t rowY[kCanvasWidth]; // truncated y offset of each column's pixel on this row
    const auto* spans = rowSpans(image, m.rowEnd, m.colEnd, m.minAlpha << 24);
    for (int64_t row = m.firstRow; row < m.rowEnd; ++row) {
        const int64_t sourceRow = m.upright ? row : m.rowEnd - 1 - row;
        const uint32_t* sourcePixels = source + sourceRow * image.width;
        // Only the span between the first and last drawn pixel of the row needs its positions;
        // a picture's transparent surround is passed over by the alpha test alone.
        int64_t spanBegin = 0;
        int64_t spanEnd = 0;
        clippedSpan(sourcePixels, spans[sourceRow], m.firstCol, m.colEnd, m.minAlpha << 24, spanBegin, spanEnd);
        if (spanBegin == spanEnd) continue;
        const double dy = static_cast<double>(row - m.pivotRow);
        const double rowSin = (dy * m.s) / m.scale;
        const double rowCos = (dy * m.c) / m.scale;
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
            if ((pixel >> 24) < m.minAlpha) continue;
            const int64_t canvasX = m.x + int64_t{rowX[col]};
            const int64_t canvasY = m.y + int64_t{rowY[col]};
            if (canvasX < 0 || canvasX >= kCanvasWidth || canvasY < 0 || canvasY >= kCanvasHeight) continue;
            uint32_t& target = canvas.pixels[canvasY * stride + canvasX];
            // An opaque pixel blends to itself, so it needs no read of the canvas.
            target = !kBlend ? pixel : (pixel >= 0xFF000000u ? pixel : blend(pixel, target));
        }
    }
}

// The offsets u whose truncation toward zero is k, widened a little for rounding: the walk below
// only needs a range that holds every exact landing, which it then tests exactly.
void truncationRange(int64_t k, double& low, double& high) {
    constexpr double kSlack = 1e-5;
    low = static_cast<double>(k > 0 ? k : k - 1) - kSlack;
    high = static_cast<double>(k < 0 ? k : k + 1) + kSlack;
}

// floor and ceil of a bounded offset, without a library call.
int64_t floorOf(double v) {
    const double held = std::clamp(v, -1e9, 1e9);
    const int64_t i = static_cast<int64_t>(held);
    return held < static_cast<double>(i) ? i - 1 : i;
}
int64_t ceilOf(double v) {
    const double held = std::clamp(v, -1e9, 1e9);
    const int64_t i = static_cast<int64_t>(held);
    return held > static_cast<double>(i) ? i + 1 : i;
}

// The destination walk, for a picture drawn much smaller than it is stored: each canvas pixel the
// picture can reach looks up the source pixels whose forward mapping lands on it and takes the
// one the source walk would have written there last (for a blend that is not opaque, every one
// of them in the source walk's order), so the canvas ends up bit for bit as the source walk
// leaves it. Within one row the landing columns form one run, since the truncated offsets grow
// monotonically with the column. Needs every term modest and a finite positive scale.
template <bool kBlend>
void walkDestination(Canvas& canvas, const PixelImage& image, const Mapping& m, const double* colCos,
                     const double* colSin, int64_t left, int64_t right, int64_t top, int64_t bottom) {
    const int64_t stride = canvas.rowPitch / 4;
    double rowSin[kCanvasHeight];
    double rowCos[kCanvasHeight];
    int16_t spanBegin[kCanvasHeight]; // the row's first column at or above minAlpha
    int16_t spanEnd[kCanvasHeight];   // one past its last
    auto rowPixels = [&](int64_t row) {
        return image.pixels.data() + (m.upright ? row : m.rowEnd - 1 - row) * image.width;
    };
    const auto* spans = rowSpans(image, m.rowEnd, m.colEnd, m.minAlpha << 24);
    for (int64_t row = m.firstRow; row < m.rowEnd; ++row) {
        const double dy = static_cast<double>(row - m.pivotRow);
        rowSin[row] = (dy * m.s) / m.scale;
        rowCos[row] = (dy * m.c) / m.scale;
        int64_t begin = 0;
        int64_t end = 0;
        clippedSpan(rowPixels(row), spans[m.upright ? row : m.rowEnd - 1 - row], m.firstCol, m.colEnd, m.minAlpha << 24,
                    begin, end);
        spanBegin[row] = static_cast<int16_t>(begin);
        spanEnd[row] = static_cast<int16_t>(end);
    }
    const double scale = m.scale;
    // dy of an offset (u, v) on the canvas, inverting the mapping in real numbers.
    const double inverse = m.scale / (m.c * m.c + m.s * m.s);
    const double rowPerU = -m.s * inverse;
    const double rowPerV = m.c * inverse;
    // Within a row, a column lands in a canvas cell if dx * c - dy * s lies in the cell's u range
    // (times scale) and dx * s + dy * c in its v range. A factor too small to move its product
    // over the picture's width makes that condition hold for the whole row or none of it.
    const bool uWholeRows = std::fabs(m.c) <= 1e-12;
    const bool vWholeRows = std::fabs(m.s) <= 1e-12;
    const double overC = 1.0 / m.c;
    const double overS = 1.0 / m.s;

    // Stacked, the rows' drawn spans fill a polygon in the picture whose sides join the spans'
    // first ends and their last ends, closed by the first and the last drawn row; every landing
    // lies, within rounding, in the mapped polygon. The leftmost and rightmost of its points
    // within any canvas row lie on its sides, so the sides alone bound, per canvas row, the
    // columns where anything can land.
    int64_t reachLeft[kCanvasHeight];
    int64_t reachRight[kCanvasHeight];
    for (int64_t canvasY = top; canvasY <= bottom; ++canvasY) {
        reachLeft[canvasY] = INT64_MAX;
        reachRight[canvasY] = INT64_MIN;
    }
    // Far above the rounding of any offset here, far below a pixel.
    constexpr double kSlack = 1e-4;
    auto reach = [&](int64_t canvasY, double uLeast, double uMost) {
        reachLeft[canvasY] = std::min(reachLeft[canvasY], m.x + int64_t{static_cast<int32_t>(uLeast - kSlack)});
        reachRight[canvasY] = std::max(reachRight[canvasY], m.x + int64_t{static_cast<int32_t>(uMost + kSlack)});
    };
    // A side from (ua, va) to (ub, vb): each canvas row it meets (offsets truncate toward zero)
    // takes the side's whole width if the side is short, else the part whose offset truncates to
    // that row's.
    auto side = [&](double ua, double va, double ub, double vb) {
        if (va > vb) {
            std::swap(ua, ub);
            std::swap(va, vb);
        }
        const int64_t firstY = std::max(top, m.y + int64_t{static_cast<int32_t>(va - kSlack)});
        const int64_t lastY = std::min(bottom, m.y + int64_t{static_cast<int32_t>(vb + kSlack)});
        if (vb - va < 3.0) {
            for (int64_t canvasY = firstY; canvasY <= lastY; ++canvasY)
                reach(canvasY, std::min(ua, ub), std::max(ua, ub));
            return;
        }
        const double slope = (ub - ua) / (vb - va);
        for (int64_t canvasY = firstY; canvasY <= lastY; ++canvasY) {
            const int64_t offset = canvasY - m.y;
            const double from = std::max(va, static_cast<double>(offset > 0 ? offset : offset - 1) - kSlack);
            const double to = std::min(vb, static_cast<double>(offset < 0 ? offset : offset + 1) + kSlack);
            const double uFrom = ua + (from - va) * slope;
            const double uTo = ua + (to - va) * slope;
            reach(canvasY, std::min(uFrom, uTo) - kSlack, std::max(uFrom, uTo) + kSlack);
        }
    };
    bool anyRow = false;
    double firstU = 0.0, firstV = 0.0, lastU = 0.0, lastV = 0.0; // the ends of the last drawn row
    for (int64_t row = m.firstRow; row < m.rowEnd; ++row) {
        if (spanBegin[row] >= spanEnd[row]) continue;
        const double u0 = colCos[spanBegin[row]] - rowSin[row];
        const double v0 = colSin[spanBegin[row]] + rowCos[row];
        const double u1 = colCos[spanEnd[row] - 1] - rowSin[row];
        const double v1 = colSin[spanEnd[row] - 1] + rowCos[row];
        if (anyRow) {
            side(firstU, firstV, u0, v0);
            side(lastU, lastV, u1, v1);
        } else {
            side(u0, v0, u1, v1);
        }
        anyRow = true;
        firstU = u0;
        firstV = v0;
        lastU = u1;
        lastV = v1;
    }
    if (!anyRow) return;
    side(firstU, firstV, lastU, lastV);

    for (int64_t canvasY = top; canvasY <= bottom; ++canvasY) {
        if (reachLeft[canvasY] > reachRight[canvasY]) continue;
        const int64_t v = canvasY - m.y;
        double vLow = 0.0;
        double vHigh = 0.0;
        truncationRange(v, vLow, vHigh);
        const double vFrom = vLow * scale;
        const double vTo = vHigh * scale;
        const double dyMostOfV = std::max(vLow * rowPerV, vHigh * rowPerV);
        const double dyLeastOfV = std::min(vLow * rowPerV, vHigh * rowPerV);
        uint32_t* targetRow = canvas.pixels + canvasY * stride;
        for (int64_t canvasX = std::max(left, reachLeft[canvasY]); canvasX <= std::min(right, reachRight[canvasY]);
             ++canvasX) {
            const int64_t u = canvasX - m.x;
            double uLow = 0.0;
            double uHigh = 0.0;
            truncationRange(u, uLow, uHigh);
            const double uFrom = uLow * scale;
            const double uTo = uHigh * scale;
            // The rows the widened cell's corners come from (dy is linear in u and v). The
            // cell's slack is far above the rounding here, so whole rows need no more margin.
            const int64_t rowHigh = std::min<int64_t>(
                m.rowEnd - 1, floorOf(std::max(uLow * rowPerU, uHigh * rowPerU) + dyMostOfV) + m.pivotRow);
            const int64_t rowLow = std::max<int64_t>(
                m.firstRow, ceilOf(std::min(uLow * rowPerU, uHigh * rowPerU) + dyLeastOfV) + m.pivotRow);
            if (rowLow > rowHigh) continue;

            // The columns of `row` that may land here, within the row's drawn span; false if none.
            auto columns = [&](int64_t row, int64_t& first, int64_t& last) {
                const double dy = static_cast<double>(row - m.pivotRow);
                double low = -1e300;
                double high = 1e300;
                const double uRowFrom = uFrom + dy * m.s;
                const double uRowTo = uTo + dy * m.s;
                if (uWholeRows) {
                    if (uRowFrom > 1e-8 || uRowTo < -1e-8) return false;
                } else {
                    low = std::min(uRowFrom * overC, uRowTo * overC);
                    high = std::max(uRowFrom * overC, uRowTo * overC);
                }
                const double vRowFrom = vFrom - dy * m.c;
                const double vRowTo = vTo - dy * m.c;
                if (vWholeRows) {
                    if (vRowFrom > 1e-8 || vRowTo < -1e-8) return false;
                } else {
                    low = std::max(low, std::min(vRowFrom * overS, vRowTo * overS));
                    high = std::min(high, std::max(vRowFrom * overS, vRowTo * overS));
                }
                first = std::max<int64_t>(spanBegin[row], ceilOf(low) + m.pivotCol);
                last = std::min<int64_t>(spanEnd[row] - 1, floorOf(high) + m.pivotCol);
                return first <= last;
            };
            // The exact test of the source walk: the same double operations, truncated.
            auto lands = [&](int64_t row, int64_t col) {
                return static_cast<int32_t>(colCos[col] - rowSin[row]) == u &&
                       static_cast<int32_t>(colSin[col] + rowCos[row]) == v;
            };

            // The last landing pixel in the source walk's order.
            uint32_t last = 0;
            bool found = false;
            for (int64_t row = rowHigh; row >= rowLow && !found; --row) {
                int64_t first = 0;
                int64_t final = 0;
                if (!columns(row, first, final)) continue;
                const uint32_t* pixels = rowPixels(row);
                for (int64_t col = final; col >= first; --col) {
                    if ((pixels[col] >> 24) >= m.minAlpha && lands(row, col)) {
                        last = pixels[col];
                        found = true;
                        break;
                    }
                }
            }
            if (!found) continue;
            uint32_t& target = targetRow[canvasX];
            if (!kBlend || last >= 0xFF000000u) {
                target = last;
                continue;
            }
            // A blend that lets the canvas through: every landing pixel in order, as the source
            // walk blends them.
            for (int64_t row = rowLow; row <= rowHigh; ++row) {
                int64_t first = 0;
                int64_t final = 0;
                if (!columns(row, first, final)) continue;
                const uint32_t* pixels = rowPixels(row);
                for (int64_t col = first; col <= final; ++col) {
                    const uint32_t pixel = pixels[col];
                    if ((pixel >> 24) >= m.minAlpha && lands(row, col)) {
                        target = pixel >= 0xFF000000u ? pixel : blend(pixel, target);
                    }
                }
            }
        }
    }
}

// Each canvas pixel the destination walk's box holds costs about as much as this many source
// pixels of the source walk (BM_BlitPuff in bench/raster_bench.cpp: the two cost the same for
// the puff drawn at scale 2.3, whose box is 5.7 times smaller than the picture).
constexpr int64_t kDestinationPixelCost = 6;

// The shared forward mapping of the rotating blits. Draws source pixels with alpha >= minAlpha,
// copying or blending; pivotShift is subtracted from every row offset. The walk goes over the
// source or, when the picture covers far fewer canvas pixels than it has, over the canvas; both
// leave the same pixels.
template <bool kBlend>
void blitMapped(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, bool upright, int64_t pivotShift,
                double angle, double scale, uint32_t minAlpha, BlitWalk walk) {
    // No alpha exceeds 255, so a threshold above it draws nothing.
    if (!drawable(image) || canvas.pixels == nullptr || minAlpha > 255) return;
    Mapping m;
    m.x = x;
    m.y = y;
    m.upright = upright;
    m.rowEnd = std::min(image.height, kCanvasHeight);
    m.colEnd = std::min(image.width, kCanvasWidth);
    // Source rows before -y and columns before -x are never drawn, even if rotation would
    // bring them on-screen: the walk starts at the first row and column that are unrotated on it.
    m.firstRow = std::max<int64_t>(0, -int64_t{y});
    m.firstCol = std::max<int64_t>(0, -int64_t{x});
    if (m.firstRow >= m.rowEnd || m.firstCol >= m.colEnd) return;
    m.pivotRow = m.rowEnd / 2 + pivotShift;
    m.pivotCol = m.colEnd / 2;
    m.scale = scale;
    m.minAlpha = minAlpha;

    const double theta = angle * kRadiansPerDegree;
    m.c = std::cos(theta) / kRotatedShrink;
    m.s = std::sin(theta) / kRotatedShrink;

    // (dx * c) / scale depends on the column alone and (dy * s) / scale on the row alone, so
    // each is formed once; the per-pixel sums are the same double operations in the same
    // order as forming everything per pixel. While every column term and the row term stay
    // below 2^30 in size, each sum converts to an int32 exactly and that loop vectorises;
    // otherwise each sum is range-checked.
    double colCos[kCanvasWidth];
    double colSin[kCanvasWidth];
    bool columnsModest = true;
    for (int64_t col = m.firstCol; col < m.colEnd; ++col) {
        const double dx = static_cast<double>(col - m.pivotCol);
        colCos[col] = (dx * m.c) / scale;
        colSin[col] = (dx * m.s) / scale;
        columnsModest = columnsModest && std::fabs(colCos[col]) < kModestTerm && std::fabs(colSin[col]) < kModestTerm;
    }

    // The destination walk needs a picture of modest reach: a scale that is finite and not tiny,
    // and no pivot far outside the picture.
    const bool reachModest = scale >= 0.01 && scale <= 1e6 && std::fabs(static_cast<double>(pivotShift)) < 1e5;
    if (!reachModest || !std::isfinite(m.c) || !std::isfinite(m.s)) {
        markDrawn(canvas, 0, 0, kCanvasWidth, kCanvasHeight);
        walkSource<kBlend>(canvas, image, m, colCos, colSin, columnsModest);
        return;
    }
    // The canvas pixels the walked rectangle can reach: its corners mapped, one wider all round.
    double uMin = 1e300;
    double uMax = -1e300;
    double vMin = 1e300;
    double vMax = -1e300;
    for (const int64_t row : {m.firstRow, m.rowEnd - 1}) {
        for (const int64_t col : {m.firstCol, m.colEnd - 1}) {
            const double dx = static_cast<double>(col - m.pivotCol);
            const double dy = static_cast<double>(row - m.pivotRow);
            const double u = (dx * m.c - dy * m.s) / scale;
            const double v = (dx * m.s + dy * m.c) / scale;
            uMin = std::min(uMin, u);
            uMax = std::max(uMax, u);
            vMin = std::min(vMin, v);
            vMax = std::max(vMax, v);
        }
    }
    const int64_t left = std::max<int64_t>(0, x + static_cast<int64_t>(std::floor(uMin)) - 1);
    const int64_t right = std::min<int64_t>(kCanvasWidth - 1, x + static_cast<int64_t>(std::ceil(uMax)) + 1);
    const int64_t top = std::max<int64_t>(0, y + static_cast<int64_t>(std::floor(vMin)) - 1);
    const int64_t bottom = std::min<int64_t>(kCanvasHeight - 1, y + static_cast<int64_t>(std::ceil(vMax)) + 1);
    if (left > right || top > bottom) return; // nothing can land on the canvas
    markDrawn(canvas, left, top, right + 1, bottom + 1);
    const int64_t canvasArea = (right - left + 1) * (bottom - top + 1);
    const int64_t sourceArea = (m.rowEnd - m.firstRow) * (m.colEnd - m.firstCol);
    if (walk != BlitWalk::Source &&
        (walk == BlitWalk::Destination || canvasArea * kDestinationPixelCost < sourceArea)) {
        walkDestination<kBlend>(canvas, image, m, colCos, colSin, left, right, top, bottom);
    } else {
        walkSource<kBlend>(canvas, image, m, colCos, colSin, columnsModest);
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
    if (firstRow < lastRow && firstCol < lastCol)
        markDrawn(canvas, x + firstCol, y + firstRow, x + lastCol, y + lastRow);
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

void blitRotated(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                 double scale) {
    blitMapped<false>(canvas, image, x, y, upright != 0, 0, angle, scale, 101, BlitWalk::Chosen);
}

void blitRotatedCutoff(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                       double scale, double cutoff) {
    // The least alpha that exceeds the cut-off as a double; 256 (nothing drawn) for NaN or >= 255.
    uint32_t minAlpha = 256;
    while (minAlpha > 0 && static_cast<double>(minAlpha - 1) > cutoff) --minAlpha;
    blitMapped<false>(canvas, image, x, y, upright != 0, 0, angle, scale, minAlpha, BlitWalk::Chosen);
}

void blitRotatedBlended(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, double angle,
                        double scale) {
    blitMapped<true>(canvas, image, x, y, upright != 0, 0, angle, scale, 161, BlitWalk::Chosen);
}

void blitRotatedPivot(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright,
                      int32_t pivotOffset, double angle, double scale) {
    // The pivot sits pivotOffset rows below the centre of the picture as it is drawn, so a
    // mirrored picture moves it the other way in loop rows.
    const int64_t shift = upright != 0 ? int64_t{pivotOffset} : -int64_t{pivotOffset};
    blitMapped<true>(canvas, image, x, y, upright != 0, shift, angle, scale, 1, BlitWalk::Chosen);
}

void blitRotatedSoft(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, double scale, double angle) {
    blitMapped<true>(canvas, image, x, y, true, 0, angle, scale, 2, BlitWalk::Chosen);
}

void blitRotatedWalk(Canvas& canvas, const PixelImage& image, int32_t x, int32_t y, uint8_t upright, int32_t pivotShift,
                     double angle, double scale, uint32_t minAlpha, bool blended, BlitWalk walk) {
    if (blended) {
        blitMapped<true>(canvas, image, x, y, upright != 0, pivotShift, angle, scale, minAlpha, walk);
    } else {
        blitMapped<false>(canvas, image, x, y, upright != 0, pivotShift, angle, scale, minAlpha, walk);
    }
}
