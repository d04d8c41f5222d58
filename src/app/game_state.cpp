#include "app/game_state.h"

int32_t gameRandom(GameState& game) {
    game.randomState = game.randomState * 214013u + 2531011u;
    return static_cast<int32_t>((game.randomState >> 16) & 0x7FFF);
}

void seedRandom(GameState& game, uint32_t seed) { game.randomState = seed; }
