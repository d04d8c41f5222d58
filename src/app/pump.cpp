// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/pump.h"

#include "app/frame.h"
#include "app/input.h"
#include "app/watch.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "replay/bests.h"

bool pumpOnce(GameState& game) {
    if (watching(game)) return watchFrame(game);
    tapeFrameBegins(game);
    InputEvent event;
    while (platformPollEvent(&event)) {
        if (event.type == InputEventType::Quit) return false;
        tapeEvent(game, event);
        handleInputEvent(game.keys, game.mouse, event);
    }
    runFrame(game);
    tapeFrameEnds(game);
    // A best chosen in the logbook is watched from the next frame on.
    if (game.watchRequest >= 0) startWatching(game);
    return true;
}
