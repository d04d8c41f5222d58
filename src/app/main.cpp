// Skarnwing: the entry point. Owns the game record for the whole run.

#include <ctime>
#include <memory>
#include <utility>

#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "platform/platform.h"

int main(int, char** argv) {
    enterDataFolder(argv[0]);
    // Large (font sheets, tables), so it lives on the heap; value-initialised to all zero.
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    // The assets decode on threads of their own while the window and its renderer open.
    std::unique_ptr<InventoryLoad> loading = beginStartUp(*game, *gameAssets);
    if (!platformOpen()) return 1;
    platformShowCursor(false); // hidden while the assets load
    runStartUp(*game, *gameAssets, static_cast<uint32_t>(std::time(nullptr)), std::move(loading));
    while (pumpOnce(*game)) {
    }
    runShutDown(*game);
    platformClose();
    return 0;
}
