// Skarnwing: the entry point. Owns the game record for the whole run.

#include <ctime>
#include <memory>

#include "app/game_state.h"
#include "app/startup.h"
#include "platform/paths.h"
#include "platform/platform.h"

int main(int, char** argv) {
    enterDataFolder(argv[0]);
    // Large (font sheets, tables), so it lives on the heap; value-initialised to all zero.
    auto game = std::make_unique<GameState>();
    if (!platformOpen()) return 1;
    platformShowCursor(false); // hidden while the assets load
    runStartUp(*game, static_cast<uint32_t>(std::time(nullptr)));
    while (pumpOnce(*game)) {
    }
    runShutDown(*game);
    platformClose();
    return 0;
}
