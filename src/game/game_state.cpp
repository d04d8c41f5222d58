#include "game/game_state.h"

#include <cstdio>
#include <cstring>

int32_t gameRandom(GameState& game) {
    game.randomState = game.randomState * 214013u + 2531011u;
    return static_cast<int32_t>((game.randomState >> 16) & 0x7FFF);
}

void seedRandom(GameState& game, uint32_t seed) { game.randomState = seed; }

void setOutcome(GameState& game, const char* text) { std::snprintf(game.outcome, sizeof game.outcome, "%s", text); }

bool outcomeIs(const GameState& game, const char* text) { return std::strcmp(game.outcome, text) == 0; }

void raiseOutcome(GameState& game, const char* text) {
    game.missionOver = 1;
    setOutcome(game, text);
    game.outcomeFresh = 1;
}

void raiseCrash(GameState& game, const char* text) {
    raiseOutcome(game, text);
    game.mapShown = 0;
    game.briefingShown = 0;
    game.controlShown = 0;
    game.titleShown = 0;
}

void countFrame(GameState& game, bool flown) {
    if (flown) game.frameCount += 1;
    // Only frames that fly the world count, so menus read 0 frames per second.
    if (elapsedMs(game.fpsStopwatch) >= 1000.0f) {
        game.framesPerSecond = game.frameCount;
        game.frameCount = 0;
        startStopwatch(game.fpsStopwatch);
    }
}

void resetFrameRate(GameState& game) {
    game.frameCount = 0;
    game.framesPerSecond = 0;
}

bool mouseIn(const MouseState& mouse, int32_t left, int32_t right, int32_t top, int32_t bottom) {
    return mouse.x >= left && mouse.x <= right && mouse.y >= top && mouse.y <= bottom;
}
