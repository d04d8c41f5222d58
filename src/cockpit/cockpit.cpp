// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cockpit/cockpit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "assets/game_assets.h"
#include "combat/missiles.h"
#include "combat/targets.h"
#include "combat/weapons.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

void greenLine(Canvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    drawLine(canvas, x1, y1, x2, y2, kInstrumentGreen);
}

void drawBox(Canvas& canvas, int32_t left, int32_t right) {
    greenLine(canvas, left, 680, left, 710);
    greenLine(canvas, right, 680, right, 710);
    greenLine(canvas, right, 710, left, 710);
    greenLine(canvas, right, 680, left, 680);
}

// Under the stores label (up to 16 cells), the airspeed and altitude boxes, and the radar with
// the fuel gauge beside it.
void drawInstrumentBacking(const GameState& game) {
    if (game.selectedWeapon >= kWeaponGun && game.selectedWeapon <= kWeaponMissiles) {
        drawBacking(game.assets->canvas, 2, 2, 7 + 16 * game.assets->smallFont.cellWidth,
                    7 + game.assets->smallFont.cellHeight, kInstrumentBacking);
    }
    drawBacking(game.assets->canvas, 22, 677, 113, 713, kInstrumentBacking);
    drawBacking(game.assets->canvas, 1167, 677, 1258, 713, kInstrumentBacking);
    drawBacking(game.assets->canvas, 536, 606, 755, 713, kInstrumentBacking);
}

void drawThrottleBar(const GameState& game) {
    if (game.aircraft.maxSpeed <= 0) return; // no engine values yet: nothing to scale the bar by
    const double percent = game.aircraft.airspeed / game.aircraft.maxSpeed * 100.0;
    if (game.aircraft.fuel <= 0) return;
    for (int32_t y = 20; y <= 23; ++y) {
        drawLine(game.assets->canvas, 565, y, static_cast<int32_t>(percent + 565), y, game.barColour);
    }
}

void drawAltitude(const GameState& game) {
    char text[kTextBufferSize];
    formatText(text, "%d", game.altitude / 2);
    drawSmallText(game, text, 1180, 685, kInstrumentGreen);
    drawBox(game.assets->canvas, 1170, 1255);
}

void drawAirspeed(const GameState& game) {
    const int32_t h = std::abs(static_cast<int32_t>(game.aircraft.velX));
    const int32_t v = std::abs(static_cast<int32_t>(game.aircraft.velY));
    const int32_t speed = static_cast<int32_t>(std::sqrt(static_cast<double>(h * h + v * v)));
    char text[kTextBufferSize];
    formatText(text, "%d", speed * 100);
    drawSmallText(game, text, 35, 685, kInstrumentGreen);
    drawBox(game.assets->canvas, 25, 110);
}

void drawFuelGauge(const GameState& game) {
    if (game.aircraft.fuelCapacity <= 0) return;
    const double f = game.aircraft.fuel / game.aircraft.fuelCapacity * 100.0;
    if (f < 0) return;
    const bool low = f < 25;
    for (int32_t x = 750; x <= 752; ++x) {
        drawLine(game.assets->canvas, x, 710, x, static_cast<int32_t>(710 - f), low ? kRed : kInstrumentGreen);
    }
}

// A diamond 50 pixels tall hanging from (x, y), two pixels thick.
void drawLockMark(Canvas& canvas, int32_t x, int32_t y, bool colourBlind) {
    const int32_t lines[8][4] = {{x, y, x + 25, y + 25},      {x + 1, y + 1, x + 26, y + 26},
                                 {x, y, x - 25, y + 25},      {x - 1, y - 1, x - 26, y + 26},
                                 {x - 25, y + 25, x, y + 50}, {x - 26, y + 26, x - 1, y + 51},
                                 {x + 25, y + 25, x, y + 50}, {x + 26, y + 26, x + 1, y + 51}};
    for (const auto& l : lines) drawLine(canvas, l[0], l[1], l[2], l[3], lockMarkColour(colourBlind));
}

void drawRadar(const GameState& game, bool colourBlind, void (*drawOnRadar)(const GameState& game)) {
    greenLine(game.assets->canvas, 539, 609, 740, 609);
    greenLine(game.assets->canvas, 540, 710, 740, 710);
    greenLine(game.assets->canvas, 539, 610, 539, 710);
    greenLine(game.assets->canvas, 740, 610, 740, 710);
    if (drawOnRadar != nullptr) drawOnRadar(game);
    Canvas& canvas = game.assets->canvas;
    const RadarPoint self = radarPoint(game.aircraft.worldX, game.aircraft.worldY);
    fillDisc(canvas, self.x, self.y, 2, kBlue);
    if (game.sector == 0) fillDisc(canvas, 638, 708, 2, kRadarBase);
    // Every target in the player's section by its kind's mark; the one locked on gets the lock
    // mark and the diamond.
    for (int32_t kind = 0; kind < kTargetKinds; ++kind) {
        const TargetRow& row = targetRow(TargetKind(kind));
        const int32_t count = row.inUse(game);
        for (int32_t i = 0; i < count; ++i) {
            if (!row.onRadar(game, i)) continue;
            const WorldPoint at = row.where(game, i);
            const bool locked = lockedOn(game, TargetKind(kind), i);
            if (locked) {
                drawLockMark(canvas, wholePixels(at.x - game.camera.cameraX), wholePixels(at.y - game.camera.cameraY),
                             colourBlind);
            }
            drawRadarDot(game, radarPoint(at.x, at.y), 2, locked ? kMarkLocked : row.mark, colourBlind);
        }
    }
    // Every round in flight, whatever its slot: a re-arm zeroes the count but not the rounds.
    for (int32_t i = 0; i < kBulletCapacity; ++i) {
        const Bullet& bullet = game.bullets[i];
        if (!bullet.active || bullet.sector != game.sector) continue;
        const RadarPoint dot = radarPoint(bullet.worldX, bullet.worldY);
        fillDisc(canvas, dot.x, dot.y, 1, kYellow);
    }
    for (int32_t i = 0; i < game.bombsDropped && i < kBombCapacity; ++i) {
        const Bomb& bomb = game.bombs[i];
        if (!bomb.active || bomb.sector != game.sector) continue;
        drawRadarDot(game, radarPoint(bomb.worldX, bomb.worldY), 1, kMarkOwnStore, colourBlind);
    }
    for (int32_t i = 0; i < game.missilesFired && i < kMissileCapacity; ++i) {
        const Missile& missile = game.missiles[i];
        if (!missile.active || missile.sector != game.sector) continue;
        drawRadarDot(game, radarPoint(missile.worldX, missile.worldY), 1, kMarkOwnStore, colourBlind);
    }
}

} // namespace

RadarPoint radarPoint(double worldX, double worldY) {
    return RadarPoint{static_cast<int32_t>(worldX * 0.005 + 540), static_cast<int32_t>(worldY * 0.005 + 610)};
}

void drawRadarDot(const GameState& game, RadarPoint dot, int32_t radius, RadarMark mark, bool colourBlind) {
    constexpr uint32_t kUsual[4] = {kTargetGreen, kInstrumentGreen, kGreen, kRed};
    uint32_t colour = kUsual[mark];
    if (colourBlind) colour = mark == kMarkLocked ? kSafeOrange : kSafeBlue;
    fillDisc(game.assets->canvas, dot.x, dot.y, radius, colour);
}

uint32_t lockMarkColour(bool colourBlind) { return colourBlind ? kSafeOrange : kLockGreen; }

uint32_t throttleBarColour(double percent) {
    if (percent > 58 && percent <= 102) return kThrottleOrange;
    if (percent <= 107) return kInstrumentGreen;
    return kRed;
}

void updateAltitude(GameState& game) { game.altitude = static_cast<int32_t>(kAltitudeZeroY - game.aircraft.worldY); }

void setThrottleBarColour(GameState& game) {
    if (game.aircraft.maxSpeed <= 0) return; // no engine values yet: nothing to scale the bar by
    game.barColour = throttleBarColour(game.aircraft.airspeed / game.aircraft.maxSpeed * 100.0);
}

void drawCockpit(const GameState& game, void (*drawOnRadar)(const GameState& game)) {
    drawInstrumentBacking(game);
    drawThrottleBar(game);
    drawStoresLabel(game);
    drawAltitude(game);
    drawAirspeed(game);
    drawFuelGauge(game);
    drawRadar(game, game.settings.colourBlindRadar, drawOnRadar);
}

void resetCockpit(GameState& game) { game.barColour = kWhite; }

void drawShowBoxOnRadar(const GameState& game) {
    const Rect& box = game.showBox;
    const int32_t left = static_cast<int32_t>((box.left + game.camera.cameraX) * 200 / kSectionWidth + 540);
    const int32_t right = static_cast<int32_t>((box.right + game.camera.cameraX) * 200 / kSectionWidth + 540);
    const int32_t top = static_cast<int32_t>((box.top + game.camera.cameraY) * 100 / kSectionHeight + 610);
    Canvas& canvas = game.assets->canvas;
    drawLine(canvas, left, top, left, 709, kWhite);
    drawLine(canvas, right, top, right, 709, kWhite);
    drawLine(canvas, left, top, right, top, kWhite);
    drawLine(canvas, left, 709, right, 709, kWhite);
}
