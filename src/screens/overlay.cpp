#include "screens/overlay.h"

#include <cstdint>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "raster/canvas.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kCyan = 0xFF00FFFFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

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

void line(GameState& game, int32_t x, int32_t y, uint32_t colour) {
    drawText(game.assets->canvas, game.textBuffer, x, y, game.assets->smallFont, colour);
}

} // namespace

void drawDiagnostics(GameState& game, const RenderTimes& times) {
    if (!game.keys[kVkTab]) {
        game.frozen = 0;
        return;
    }
    game.frozen = 1;
    const double mouseX = static_cast<float>(game.mouse.x);
    const double mouseY = static_cast<float>(game.mouse.y);
    const Aircraft& aircraft = game.aircraft;
    // Every line is bounded by the text buffer: a huge value is cut, never written past it.
    formatText(game.textBuffer, "Last Avg Render Time: %.2f ", double(times.average));
    line(game, 0, 0, kRed);
    formatText(game.textBuffer, "minTime: %.2f | maxTime: %.2f ", double(times.min), double(times.max));
    line(game, 0, 28, kRed);
    formatText(game.textBuffer, "x %.3f, vy %.3f", aircraft.worldX - game.camera.cameraX, aircraft.velY);
    line(game, 0, 56, kCyan);
    // The first four records of the truck table, in use or not.
    formatText(game.textBuffer, "Truck0: %.0f , Truck1: %.0f,Truck2: %.0f , Truck3: %.0f", double(game.trucks[0].hitPoints),
               double(game.trucks[1].hitPoints), double(game.trucks[2].hitPoints), double(game.trucks[3].hitPoints));
    line(game, 10, 164, kWhite);
    formatText(game.textBuffer, "mouseX: %.3f ,  mouseY: %.3f", mouseX, mouseY);
    line(game, 10, 184, kWhite);
    formatText(game.textBuffer, "Truck0 %d", firstCargoX(game));
    line(game, 10, 204, kWhite);
    formatText(game.textBuffer, "SW %f", aircraft.pitchAtStep);
    line(game, 10, 224, kWhite);
    // The show clock is never paused, only stopped: its pause reads 0.
    formatText(game.textBuffer, "doO: %d, Pause: %d ", int(game.showClockStarted != 0), 0);
    line(game, 10, 670, kWhite);
    formatText(game.textBuffer, "dist2: %f , Locked i: %d", aircraft.worldX, game.missilesFired);
    line(game, 10, 640, kWhite);
    formatText(game.textBuffer, "missilex: %f, Y %.4f ", missileSlotX(game), missileSlotY(game));
    line(game, 10, 610, kWhite);
    formatText(game.textBuffer, "trickNum: %d, of: %d ", game.trickCount, int(kTrickCount));
    line(game, 10, 590, kWhite);
}
