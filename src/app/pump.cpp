#include "app/pump.h"

#include "app/bests.h"
#include "app/frame.h"
#include "app/input.h"
#include "app/watch.h"
#include "game/game_state.h"
#include "platform/platform.h"

bool pumpOnce(GameState& game) {
    if (watching()) return watchFrame(game);
    tapeFrameBegins(game);
    InputEvent event;
    while (platformPollEvent(&event)) {
        if (event.type == InputEventType::Quit) return false;
        tapeEvent(event);
        handleInputEvent(game.keys, game.mouse, event);
    }
    runFrame(game);
    tapeFrameEnds(game);
    // A best chosen in the logbook is watched from the next frame on.
    if (game.watchRequest >= 0) startWatching(game);
    return true;
}
