// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The upgrades' arithmetic: how far each row goes and what one step adds. Mission control buys
// the steps; the save bounds what it reads by what they can reach.

#include <cstdint>

constexpr int32_t kMaxUpgradeSteps = 10;

// What one step of each row adds: to both turn rates (0.2 in single precision), to top and
// boost speed, to the rounds, to the bombs; a missile step adds missileStep(steps bought).
constexpr double kTurnStep = static_cast<double>(0.2f);
constexpr int32_t kEngineStep = 2;
constexpr int32_t kGunStep = 50;
constexpr int32_t kBombStep = 3;

// Missiles one missile upgrade adds after `missileUpgrades` bought: 3 for the first three steps,
// then one more than the steps bought.
constexpr int32_t missileStep(int32_t missileUpgrades) { return missileUpgrades <= 2 ? 3 : missileUpgrades + 1; }
// A turn rate after `steps` upgrades from `first`, step by step as the purchases add them.
constexpr double turnRateAfter(double first, int32_t steps) {
    for (int32_t i = 0; i < steps; ++i) first += kTurnStep;
    return first;
}
// The missile load after `steps` upgrades from `first`.
constexpr int32_t missileLoadAfter(int32_t first, int32_t steps) {
    for (int32_t i = 0; i < steps; ++i) first += missileStep(i);
    return first;
}
