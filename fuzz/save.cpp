// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The save file's reader on any bytes: whatever the text says, the record it fills stays inside
// its ranges, so nothing later indexes outside a table.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "game/game_state.h"
#include "save/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto game = std::make_unique<GameState>();
    *game = GameState{};
    parseSave(*game, reinterpret_cast<const char*>(data), size);
    if (game->gunRounds < 0 || game->gunRounds >= kBulletCapacity || game->bombLoad < 0 ||
        game->bombLoad > kBombCapacity || game->missileLoad < 0 || game->missileLoad > kMissileCapacity ||
        game->smokeMode < 0 || game->smokeMode > 3) {
        std::abort();
    }
    return 0;
}
