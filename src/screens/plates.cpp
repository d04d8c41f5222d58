// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/plates.h"

#include <cstddef>
#include <cstring>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr int32_t kHeadingSpacing = 4; // pixels between the large font's cells in a heading
constexpr int32_t kCapHeight = 30;
constexpr int32_t kCapPadding = 9; // pixels each side of the key's name

void frame(Canvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    drawLine(canvas, left, top, right, top, colour);
    drawLine(canvas, left, bottom, right, bottom, colour);
    drawLine(canvas, left, top, left, bottom, colour);
    drawLine(canvas, right, top, right, bottom, colour);
}

} // namespace

void drawPlate(const GameState& game, int32_t left, int32_t top, int32_t right, int32_t bottom, bool ruled) {
    Canvas& canvas = game.assets->canvas;
    drawBacking(canvas, left, top, right, bottom, kHouseNavy);
    frame(canvas, left, top, right, bottom, kHouseNavyLine);
    if (ruled) drawBacking(canvas, left + 2, top + 2, right - 2, top + 4, kHouseAmber);
}

int32_t headingWidth(const GameState& game, const char* text) {
    const int32_t n = static_cast<int32_t>(std::strlen(text));
    return n == 0 ? 0 : n * game.assets->largeFont.cellWidth + (n - 1) * kHeadingSpacing;
}

void drawHeading(const GameState& game, const char* text, int32_t centreX, int32_t top) {
    const BitmapFont& font = game.assets->largeFont;
    int32_t x = centreX - headingWidth(game, text) / 2;
    char cell[2] = {0, 0};
    for (const char* c = text; *c != '\0'; ++c) {
        cell[0] = *c;
        drawText(game.assets->canvas, cell, x, top, font, kHouseCream);
        x += font.cellWidth + kHeadingSpacing;
    }
    drawBacking(game.assets->canvas, centreX - 30, top + font.cellHeight + 6, centreX + 30, top + font.cellHeight + 8,
                kHouseAmber);
}

int32_t labelWidth(const GameState& game, const char* text) {
    return static_cast<int32_t>(std::strlen(text)) * game.assets->smallFont.cellWidth;
}

int32_t drawLabel(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour) {
    drawText(game.assets->canvas, text, x, y, game.assets->smallFont, colour);
    return labelWidth(game, text);
}

int32_t keyCapWidth(const GameState& game, const char* name) { return labelWidth(game, name) + 2 * kCapPadding; }

int32_t drawKeyCap(const GameState& game, const char* name, int32_t x, int32_t y) {
    const int32_t width = keyCapWidth(game, name);
    Canvas& canvas = game.assets->canvas;
    drawBacking(canvas, x, y, x + width - 1, y + kCapHeight - 1, kHouseNavyMid);
    frame(canvas, x, y, x + width - 1, y + kCapHeight - 1, kHouseCreamDim);
    drawBacking(canvas, x + 1, y + kCapHeight - 3, x + width - 2, y + kCapHeight - 2, kHouseNavyDeep);
    drawLabel(game, name, x + kCapPadding, y + 2, kHouseAmber);
    return width;
}

int32_t drawPadButton(const GameState& game, int32_t button, int32_t x, int32_t y) {
    const FrameSet& set = game.assets->padButtons;
    if (button < 0 || button >= set.count || button >= static_cast<int32_t>(set.images.size()))
        return drawKeyCap(game, "none", x, y);
    const PixelImage& image = set.images[static_cast<size_t>(button)];
    Canvas& canvas = game.assets->canvas;
    markDrawn(canvas, x, y, int64_t{x} + image.width, int64_t{y} + image.height);
    // Laid over the canvas at each pixel's own cover, as drawBacking lays a colour.
    for (int32_t row = 0; row < image.height; ++row) {
        const int32_t cy = y + row;
        if (cy < 0 || cy >= kCanvasHeight) continue;
        uint32_t* out = canvas.pixels + static_cast<ptrdiff_t>(cy) * (canvas.rowPitch / 4);
        for (int32_t col = 0; col < image.width; ++col) {
            const int32_t cx = x + col;
            const uint32_t p = image.pixels[static_cast<size_t>(row * image.width + col)];
            const uint32_t a = p >> 24;
            if (cx < 0 || cx >= kCanvasWidth || a == 0) continue;
            const uint32_t d = out[cx];
            const uint32_t da = d >> 24;
            if (da == 0 || a == 0xFF) {
                out[cx] = p;
                continue;
            }
            const auto mix = [&](int shift) {
                const uint32_t s = (p >> shift) & 0xFFu;
                const uint32_t t = (d >> shift) & 0xFFu;
                return ((s * a + t * (255 - a)) / 255) << shift;
            };
            const uint32_t alpha = da + (255 - da) * a / 255;
            out[cx] = alpha << 24 | mix(16) | mix(8) | mix(0);
        }
    }
    return kPadPictureWidth;
}

int32_t bindingWidth(const GameState& game, int32_t action, bool pad) {
    const Settings& settings = game.settings;
    if (pad) return settings.padButtons[action] == kPadNone ? keyCapWidth(game, "none") : kPadPictureWidth;
    const char* name = keyName(settings.keys[action]);
    return keyCapWidth(game, name != nullptr ? name : "none");
}

int32_t drawBinding(const GameState& game, int32_t action, int32_t x, int32_t y, bool pad) {
    const Settings& settings = game.settings;
    if (pad) return drawPadButton(game, settings.padButtons[action], x, y);
    const char* name = keyName(settings.keys[action]);
    return drawKeyCap(game, name != nullptr ? name : "none", x, y);
}
