// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/overlay.h"
#include "raster/colours.h"

#include <cstdint>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "raster/canvas.h"

namespace {

// The first cargo aircraft's x, whole pixels (a value past int's range reads as its bound), and
// the world position of the missile slot the next launch takes (0, 0 past the table's end).
int firstCargoX(const GameState& game) {
    const double x = game.cargoAircraft[0].x;
    if (!(x > -2147483648.0)) return INT32_MIN;
    return x < 2147483647.0 ? static_cast<int>(x) : INT32_MAX;
}
const Missile* missileSlot(const GameState& game) {
    const int32_t slot = game.missilesFired;
    return slot >= 0 && slot < kMissileCapacity ? &game.missiles[slot] : nullptr;
}
double missileSlotX(const GameState& game) { return missileSlot(game) ? missileSlot(game)->worldX : 0.0; }
double missileSlotY(const GameState& game) { return missileSlot(game) ? missileSlot(game)->worldY : 0.0; }

} // namespace

void updateFreeze(GameState& game) { game.frozen = game.keys[kVkTab] ? 1 : 0; }

void drawDiagnostics(const GameState& game, const RenderTimes& times) {
    if (!game.keys[kVkTab]) return;
    char text[kTextBufferSize];
    const double mouseX = static_cast<float>(game.mouse.x);
    const double mouseY = static_cast<float>(game.mouse.y);
    const Aircraft& aircraft = game.aircraft;
    // Every line is bounded by the text buffer: a huge value is cut, never written past it.
    formatText(text, "Last Avg Render Time: %.2f ", double(times.average));
    drawSmallText(game, text, 0, 0, kRed);
    formatText(text, "minTime: %.2f | maxTime: %.2f ", double(times.min), double(times.max));
    drawSmallText(game, text, 0, 28, kRed);
    formatText(text, "x %.3f, vy %.3f", aircraft.worldX - game.camera.cameraX, aircraft.velY);
    drawSmallText(game, text, 0, 56, kCyan);
    // The first four records of the truck table, in use or not.
    formatText(text, "Truck0: %.0f , Truck1: %.0f,Truck2: %.0f , Truck3: %.0f", double(game.trucks[0].hitPoints),
               double(game.trucks[1].hitPoints), double(game.trucks[2].hitPoints), double(game.trucks[3].hitPoints));
    drawSmallText(game, text, 10, 164, kWhite);
    formatText(text, "mouseX: %.3f ,  mouseY: %.3f", mouseX, mouseY);
    drawSmallText(game, text, 10, 184, kWhite);
    formatText(text, "Cargo0 x %d", firstCargoX(game));
    drawSmallText(game, text, 10, 204, kWhite);
    formatText(text, "SW %f", aircraft.pitchAtStep);
    drawSmallText(game, text, 10, 224, kWhite);
    formatText(text, "showClockStarted: %d, paused: %d ", int(game.showClockStarted != 0), int(game.paused != 0));
    drawSmallText(game, text, 10, 670, kWhite);
    formatText(text, "worldX: %f , missilesFired: %d", aircraft.worldX, game.missilesFired);
    drawSmallText(game, text, 10, 640, kWhite);
    formatText(text, "missilex: %f, Y %.4f ", missileSlotX(game), missileSlotY(game));
    drawSmallText(game, text, 10, 610, kWhite);
    formatText(text, "trickNum: %d, of: %d ", game.trickCount, int(kTrickCount));
    drawSmallText(game, text, 10, 590, kWhite);
}
