#include "assets/game_assets.h"

#include "game/game_state.h"

const FrameSet* frameSetOf(const GameState& game, FrameSetId id) {
    if (id <= kFramesNone || id >= kFrameSetCount) return nullptr;
    return &game.assets->frameSets[id];
}

void drawTexture(const GameState& game, TextureSlot slot, double x, double y) {
    platformDrawTexture(game.assets->textures[slot], static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void drawSmallText(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour) {
    drawText(game.assets->canvas, text, x, y, game.assets->smallFont, colour);
}
