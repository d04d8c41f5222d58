// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/game_state.h"

int32_t gameRandom(GameState& game) {
    game.randomState = game.randomState * 214013u + 2531011u;
    return static_cast<int32_t>((game.randomState >> 16) & 0x7FFF);
}

void seedRandom(GameState& game, uint32_t seed) { game.randomState = seed; }

const char* outcomeText(Outcome outcome) {
    switch (outcome) {
    case Outcome::Unset: return "";
    case Outcome::Flying: return "NULL";
    case Outcome::Won: return "Won";
    case Outcome::Crashed: return "Crashed";
    case Outcome::Blew: return "Blew";
    case Outcome::Escaped: return "Escaped";
    case Outcome::Bombed: return "Bombed";
    }
    return "";
}

void raiseOutcome(GameState& game, Outcome outcome) {
    game.missionOver = 1;
    game.outcome = outcome;
    game.outcomeFresh = 1;
}

void raiseCrash(GameState& game, Outcome outcome) {
    raiseOutcome(game, outcome);
    game.screen = Screen::None;
}

ScreenFlags screenFlags(Screen screen) {
    switch (screen) {
    case Screen::None: return {};
    case Screen::Title: return {1, 0, 0, 0};
    case Screen::Control: return {0, 1, 0, 0};
    case Screen::Map: return {0, 0, 1, 0};
    case Screen::Briefing: return {0, 0, 0, 1};
    case Screen::TitleOverControl: return {1, 1, 0, 0};
    }
    return {};
}

bool titleShown(const GameState& game) { return screenFlags(game.screen).title != 0; }

void closeScreensBelowTitle(GameState& game) { game.screen = titleShown(game) ? Screen::Title : Screen::None; }

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

bool withinRect(const Rect& rect, double x, double y) {
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

bool strictlyWithinRect(const Rect& rect, double x, double y) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

bool mouseIn(const MouseState& mouse, const Rect& rect) { return withinRect(rect, mouse.x, mouse.y); }
