// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/focus.h"

#include <cstdlib>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

// Bits of GameState::navKeysHeld.
enum NavKey : uint8_t { kNavLeft = 1, kNavRight = 2, kNavUp = 4, kNavDown = 8, kNavSpace = 16, kNavBack = 32 };

constexpr int32_t kRingGap = 3;

void fillRect(Canvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    markDrawn(canvas, left, top, int64_t{right} + 1, int64_t{bottom} + 1);
    for (int32_t y = top < 0 ? 0 : top; y <= bottom && y < kCanvasHeight; ++y) {
        uint32_t* row = canvas.pixels + static_cast<ptrdiff_t>(y) * (canvas.rowPitch / 4);
        for (int32_t x = left < 0 ? 0 : left; x <= right && x < kCanvasWidth; ++x) row[x] = colour;
    }
}

void frameRect(Canvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    drawLine(canvas, left, top, right, top, colour);
    drawLine(canvas, left, bottom, right, bottom, colour);
    drawLine(canvas, left, top, left, bottom, colour);
    drawLine(canvas, right, top, right, bottom, colour);
}

} // namespace

void readNavigation(GameState& game) {
    const uint8_t* keys = game.keys;
    uint8_t held = 0;
    if (keys[kVkLeft]) held |= kNavLeft;
    if (keys[kVkRight]) held |= kNavRight;
    if (keys[kVkUp]) held |= kNavUp;
    if (keys[kVkDown]) held |= kNavDown;
    if (keys[kVkSpace]) held |= kNavSpace;
    if (keys[kVkBackspace]) held |= kNavBack;
    game.navFresh = held & static_cast<uint8_t>(~game.navKeysHeld);
    game.navKeysHeld = held;
    // Only the screens that keep a focus show its ring; flying (or a lost sortie's message)
    // hides it, so the arrows that flew never light a ring on the screen after.
    const bool focusScreen = game.paused || game.settingsShown || game.controlsShown || titleShown(game) ||
                             (game.missionOver && game.outcome == Outcome::Won);
    // Keys used once (any of these on the title, an arrow anywhere) keep the ring on every
    // screen until a click: a player on the keys or the pad always sees where Space acts.
    const bool onTitle = titleShown(game) && !game.paused && !game.settingsShown && !game.controlsShown &&
                         !game.aboutShown;
    if ((onTitle && game.navFresh != 0) ||
        (focusScreen && (game.navFresh & (kNavLeft | kNavRight | kNavUp | kNavDown))))
        game.keysUsed = 1;
    if (game.mouse.leftDown) game.keysUsed = 0;
    game.focusShown = focusScreen && game.keysUsed ? 1 : 0;
    game.focusMouseX = game.mouse.x;
    game.focusMouseY = game.mouse.y;
}

NavPress navigation(const GameState& game) {
    const uint8_t fresh = game.navFresh;
    NavPress press;
    if (fresh & kNavLeft) press.dx = -1;
    if (fresh & kNavRight) press.dx = 1;
    if (fresh & kNavUp) press.dy = -1;
    if (fresh & kNavDown) press.dy = 1;
    press.activate = (fresh & kNavSpace) != 0;
    press.back = (fresh & kNavBack) != 0;
    return press;
}

void spendNavigation(GameState& game) { game.navFresh = 0; }

int32_t nearestControl(const Rect* controls, int32_t count, int32_t from, int32_t dx, int32_t dy) {
    if (from < 0 || from >= count || (dx == 0 && dy == 0)) return from;
    const Rect& c = controls[from];
    const int64_t cx = c.left + c.right; // centres, doubled
    const int64_t cy = c.top + c.bottom;
    int32_t best = from;
    int64_t bestDistance = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (i == from) continue;
        const int64_t ox = controls[i].left + controls[i].right - cx;
        const int64_t oy = controls[i].top + controls[i].bottom - cy;
        const int64_t along = ox * dx + oy * dy;
        if (along <= 0) continue;
        const int64_t sideways = std::llabs(dx != 0 ? oy : ox);
        const int64_t distance = along + 2 * sideways;
        if (best == from || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int32_t controlUnderMouse(const GameState& game, const Rect* controls, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const Rect& c = controls[i];
        if (game.mouse.x >= c.left && game.mouse.x <= c.right && game.mouse.y >= c.top && game.mouse.y <= c.bottom)
            return i;
    }
    return -1;
}

int32_t focusFor(GameState& game, int32_t screen, int32_t initial) {
    if (game.focusScreen != screen || game.focus < 0) {
        game.focusScreen = screen;
        game.focus = initial;
    }
    return game.focus;
}

void drawFocusRing(const GameState& game, const Rect& control) {
    Canvas& canvas = game.assets->canvas;
    for (int32_t i = 0; i < 2; ++i) {
        frameRect(canvas, control.left - kRingGap - i, control.top - kRingGap - i, control.right + kRingGap + i,
                  control.bottom + kRingGap + i, kHouseAmber);
    }
}

void dimFrame(const GameState& game) {
    Canvas& canvas = game.assets->canvas;
    markDrawn(canvas, 0, 0, kCanvasWidth, kCanvasHeight);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        uint32_t* row = canvas.pixels + static_cast<ptrdiff_t>(y) * (canvas.rowPitch / 4);
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            // Half black over the composite of this pixel and the textures beneath: the alpha
            // grows halfway to opaque and the colour, weighted by it, halves.
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 0) {
                row[x] = 0x80000000u;
            } else if (a == 0xFF) {
                row[x] = 0xFF000000u | ((p >> 1) & 0x7F7F7Fu);
            } else {
                const uint32_t a2 = a + (255 - a) / 2 + 1;
                const auto channel = [&](int shift) { return (((p >> shift) & 0xFFu) * a / 2 / a2) & 0xFFu; };
                row[x] = (a2 << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
            }
        }
    }
}

void drawPanel(const GameState& game, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Canvas& canvas = game.assets->canvas;
    fillRect(canvas, left, top, right, bottom, kPanelBack);
    frameRect(canvas, left, top, right, bottom, kInstrumentGreen);
}
