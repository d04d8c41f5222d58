// Skarnwing: the entry point. Reads the command line and owns the game record for the whole run.

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {

constexpr const char* kUsage =
    "Usage: skarnwing [OPTION]...\n"
    "A side-view combat-flight game: take off, destroy a convoy, stop the cargo aircraft or fly an\n"
    "airshow, and land again.\n"
    "\n"
    "  --fullscreen     start in full screen (Enter switches while playing)\n"
    "  --windowed       start in a window (the default)\n"
    "  --record FILE    write the game as played to FILE, a script that skarnwing-replay plays\n"
    "                   back to the same state\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Keys: arrows fly, A and Z throttle, Space fires, Ctrl picks the weapon, G gear, S smoke,\n"
    "Tab the diagnostics, Enter full screen, M mute, F12 screenshot, Esc quits.\n"
    "See skarnwing(6) for the gamepad and the files the game writes.\n";

struct Options {
    bool fullScreen = false;
    const char* recordPath = nullptr;
};

// Returns -1 to go on and play, otherwise the status to exit with at once.
int readOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            // The release's version; the title bar keeps the game's own 0.61 (kVersionNumber).
            std::fputs("skarnwing " SKARNWING_VERSION "\n", stdout);
            return 0;
        }
        if (std::strcmp(arg, "--fullscreen") == 0) {
            options.fullScreen = true;
        } else if (std::strcmp(arg, "--windowed") == 0) {
            options.fullScreen = false;
        } else if (std::strcmp(arg, "--record") == 0 && i + 1 < argc) {
            options.recordPath = argv[++i];
        } else if (std::strncmp(arg, "--record=", 9) == 0 && arg[9] != '\0') {
            options.recordPath = arg + 9;
        } else {
            const bool missingFile = std::strcmp(arg, "--record") == 0;
            std::fprintf(stderr, "skarnwing: %s '%s'\nTry 'skarnwing --help'.\n",
                         missingFile ? "a file name must follow" : "unknown option", arg);
            return 2;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = readOptions(argc, argv, options); status >= 0) return status;
    const uint32_t seed = static_cast<uint32_t>(std::time(nullptr));
    // Before entering the data folder, so a relative name means the player's working folder.
    if (options.recordPath != nullptr && !platformRecordTo(options.recordPath, seed, options.fullScreen)) return 1;
    enterDataFolder(argv[0]);
    // Large (font sheets, tables), so it lives on the heap; value-initialised to all zero.
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    // The assets decode on threads of their own while the window and its renderer open.
    std::unique_ptr<InventoryLoad> loading = beginStartUp(*game, *gameAssets);
    if (!platformOpen()) return 1;
    platformShowCursor(false); // hidden while the assets load
    // The title shows as soon as its picture, the fonts and track 1 are in; the rest loads behind.
    runStartUp(*game, *gameAssets, seed, std::move(loading), true);
    if (options.fullScreen) {
        game->fullScreen = 1;
        platformSetFullScreen(true);
    }
    while (pumpOnce(*game)) {
    }
    runShutDown(*game);
    platformClose();
    return 0;
}
