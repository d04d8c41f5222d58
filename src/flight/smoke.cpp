// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flight/smoke.h"

#include <cmath>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/blit.h"

namespace {

constexpr int32_t kEmitEvery = 3;    // frames
constexpr double kTailOffset = 60.0; // pixels behind the centre, before the sprite scale
constexpr double kSmallestDrawn = 2.0;

// A style: the puff's start, its change per frame and the size at which it is removed.
struct SmokeStyle {
    double startSize;
    double startCutoff;
    double sizeStep;
    double removedAt;
    double cutoffStep;
    double driftY;
};
constexpr SmokeStyle kStyles[4] = {
    {0, 0, 0, 0, 0, 0}, // mode 0: no smoke
    {10, 0, -0.2, 0.3, 2, 0.02},
    {12, 70, -0.15, 0.1, 1, 0},
    {10, 70, -0.1, 0.3, 1, 0},
};

bool smoking(int32_t mode) { return mode >= 1 && mode <= 3; }

void emitPuff(GameState& game) {
    if (game.smokeIndex >= kSmokePuffCount - 1 || game.smokeIndex < -1) game.smokeIndex = -1;
    game.smokeIndex += 1;
    SmokePuff& puff = game.smokePuffs[game.smokeIndex];
    const Aircraft& self = game.aircraft;
    const double a = radians(self.flipped ? self.pitchAtStep + 3 : self.pitchAtStep - 3);
    puff.x = self.screenX + kTailOffset * std::cos(a) / self.spriteScale;
    puff.y = self.screenY + kTailOffset * std::sin(a) / self.spriteScale;
    const SmokeStyle& style = kStyles[game.smokeMode];
    puff.size = style.startSize;
    puff.cutoff = style.startCutoff;
    puff.active = 1; // its angle is left as the slot had it
}

} // namespace

void stepSmokePuff(SmokePuff& puff, int32_t mode, double velX, double velY) {
    const SmokeStyle& style = kStyles[smoking(mode) ? mode : 0];
    puff.x -= velX;
    puff.y -= velY;
    puff.y += style.driftY;
    puff.angle += 5;
    puff.cutoff += style.cutoffStep;
    if (puff.size > style.removedAt) {
        puff.size += style.sizeStep;
    } else {
        puff.active = 0;
    }
}

void updateSmoke(GameState& game) {
    if (game.keys[kVkS]) {
        if (!game.smokeKeyLatch) {
            game.smokeMode = game.smokeMode >= 0 && game.smokeMode < 3 ? game.smokeMode + 1 : 0;
            game.smokeKeyLatch = 1;
            game.smokeIndex = 0;
            game.smokeTimer = 0;
        }
    } else {
        game.smokeKeyLatch = 0;
    }
    if (!smoking(game.smokeMode)) return;

    game.smokeTimer += 1;
    if (game.smokeTimer >= kEmitEvery) {
        game.smokeTimer = 0;
        if (game.aircraft.airspeed > 0) emitPuff(game);
    }
    if (game.smokeIndex == -1) return;
    for (SmokePuff& puff : game.smokePuffs) stepSmokePuff(puff, game.smokeMode, game.aircraft.velX, game.aircraft.velY);
}

void drawSmoke(const GameState& game) {
    if (!smoking(game.smokeMode) || game.smokeIndex == -1) return;
    const FrameSet& frames = game.assets->frameSets[kFramesSmoke];
    for (const SmokePuff& puff : game.smokePuffs) {
        if (puff.active && puff.size >= kSmallestDrawn && frames.count > 0) {
            blitRotatedCutoff(game.assets->canvas, frames.images[0], static_cast<int32_t>(puff.x),
                              static_cast<int32_t>(puff.y), 1, puff.angle, puff.size, puff.cutoff);
        }
    }
}

void resetSmoke(GameState& game) {
    game.smokeTimer = 0;
    game.smokeIndex = -1;
}
