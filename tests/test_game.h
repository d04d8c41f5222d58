#pragma once
// A game record for tests that run steps without start-up: value-initialised, pointing at
// assets nothing has loaded (every texture absent, every sound silent, no canvas).

#include <memory>

#include "assets/game_assets.h"
#include "game/game_state.h"

inline std::unique_ptr<GameState> newGameState(GameAssets& assets) {
    auto game = std::make_unique<GameState>();
    game->assets = &assets;
    return game;
}
