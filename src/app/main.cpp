// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Skarnwing: the entry point. Reads the command line and owns the game record for the whole run.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

#include "app/frame.h"
#include "app/input.h"
#include "app/pump.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/user_folders.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "replay/bests.h"
#include "replay/script.h"
#include "screens/about.h"
#include "screens/cues.h"

namespace {

constexpr const char* kUsage =
    "Usage: skarnwing [OPTION]...\n"
    "A side-view combat-flight game: take off, destroy a convoy, stop the cargo aircraft or fly an\n"
    "airshow, and land again.\n"
    "\n"
    "  --fullscreen     start in full screen this time (Enter switches while playing)\n"
    "  --windowed       start in a window this time\n"
    "  --record FILE    write the game as played to FILE, a script that skarnwing-replay plays\n"
    "                   back to the same state\n"
    "  --play FILE      watch a game recorded with --record, or a best flight the game kept, at\n"
    "                   its own pace (P pauses, Esc quits); the save file is not written meanwhile\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and the licence and exit\n"
    "\n"
    "Keys: arrows fly, A and Z throttle, Space fires, Ctrl picks the weapon, G gear, S smoke,\n"
    "P pauses, Tab the diagnostics, Enter full screen, M mute, F12 screenshot, Esc quits.\n"
    "Between sorties the arrows move, Space chooses and Backspace goes back.\n"
    "Settings (volumes, keys, pad buttons) are kept in $XDG_CONFIG_HOME/skarnwing/settings.ini.\n"
    "See skarnwing(6) for the gamepad and the files the game writes.\n";

struct Options {
    int fullScreen = -1; // -1 as the settings say, else 0 or 1 for this run
    const char* recordPath = nullptr;
    const char* playPath = nullptr;
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
            std::fputs(versionNotice(), stdout);
            return 0;
        }
        if (std::strcmp(arg, "--fullscreen") == 0) {
            options.fullScreen = 1;
        } else if (std::strcmp(arg, "--windowed") == 0) {
            options.fullScreen = 0;
        } else if (std::strcmp(arg, "--record") == 0 && i + 1 < argc) {
            options.recordPath = argv[++i];
        } else if (std::strncmp(arg, "--record=", 9) == 0 && arg[9] != '\0') {
            options.recordPath = arg + 9;
        } else if (std::strcmp(arg, "--play") == 0 && i + 1 < argc) {
            options.playPath = argv[++i];
        } else if (std::strncmp(arg, "--play=", 7) == 0 && arg[7] != '\0') {
            options.playPath = arg + 7;
        } else {
            const bool missingFile = std::strcmp(arg, "--record") == 0 || std::strcmp(arg, "--play") == 0;
            std::fprintf(stderr, "skarnwing: %s '%s'\nTry 'skarnwing --help'.\n",
                         missingFile ? "a file name must follow" : "unknown option", arg);
            return 2;
        }
    }
    if (options.recordPath != nullptr && options.playPath != nullptr) {
        std::fprintf(stderr, "skarnwing: --record and --play cannot go together\nTry 'skarnwing --help'.\n");
        return 2;
    }
    return -1;
}

// The readings of the clock lines up to `frame`, handed to the counter; `next` is the first
// command not handed over yet.
void pushReadings(const Script& script, int64_t frame, size_t& next) {
    for (; next < script.commands.size() && script.commands[next].frame <= frame; ++next) {
        for (const int64_t reading : script.commands[next].readings) platformPushCounterReading(reading);
    }
}

// The recording's input events before `frame`, straight into the game's input state (they were
// recorded after the taps were kept, so they go in as they came).
void feedEvents(GameState& game, const Script& script, int64_t frame, size_t& next, uint32_t& buttons) {
    for (; next < script.commands.size() && script.commands[next].frame <= frame; ++next) {
        const Command& c = script.commands[next];
        if (c.frame < frame) continue;
        InputEvent event;
        if (inputEventOf(c, buttons, event)) handleInputEvent(game.keys, game.mouse, event);
    }
}

// Watching a recording: its frames run at 60 a second with its own events and clock; the
// player's P holds the picture (the sounds hold, the music plays on) and Esc or closing the
// window ends it. Ends with the recording; true when it was watched to its end.
bool watchRecording(GameState& game, const Script& script) {
    size_t clockNext = 0;
    size_t eventNext = 0;
    uint32_t buttons = 0;
    bool held = false;
    const int64_t lastFrame = script.commands.empty() ? 0 : script.commands.back().frame;
    for (int64_t frame = 1; frame <= lastFrame;) {
        InputEvent event;
        bool quit = false;
        while (platformPollEvent(&event)) {
            quit = quit || event.type == InputEventType::Quit ||
                   (event.type == InputEventType::KeyDown && event.virtualKey == kVkEsc);
            if (event.type == InputEventType::KeyDown && event.virtualKey == kVkPauseKey) {
                held = !held;
                mixerHoldEffects(held);
                if (held) platformHoldLastFrame();
            }
        }
        if (quit) return false;
        if (held) {
            game.assets->canvas.pixels = platformBeginFrame(&game.assets->canvas.rowPitch);
            platformDrawHeldFrame();
            markDrawn(game.assets->canvas, 0, 0, kCanvasWidth, kCanvasHeight); // the next wipe clears it all
            drawText(game.assets->canvas, "Paused: P goes on, Esc quits.", 500, 20, game.assets->smallFont, kGreen);
            platformPresentFrame();
            continue;
        }
        pushReadings(script, frame, clockNext);
        feedEvents(game, script, frame, eventNext, buttons);
        runFrame(game);
        ++frame;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = readOptions(argc, argv, options); status >= 0) return status;
    Settings& settings = activeSettings();
    settings = loadSettings(settingsPath());
    bool fullScreen = options.fullScreen >= 0 ? options.fullScreen == 1 : settings.fullScreen;
    uint32_t seed = static_cast<uint32_t>(std::time(nullptr));
    // Before entering the data folder, so a relative name means the player's working folder.
    Script recording;
    BestFlight best;
    const bool playingBest = options.playPath != nullptr && looksLikeBest(options.playPath);
    if (playingBest) {
        if (!readBestFile("skarnwing", options.playPath, best) || !rulesMatch("skarnwing", options.playPath, best)) {
            return 1;
        }
        recording = scriptOf(best);
        recording.fullScreen = fullScreen;
    }
    if (options.playPath != nullptr) {
        if (!playingBest && !readScript("skarnwing", options.playPath, recording)) return 1;
        seed = recording.seed;
        fullScreen = recording.fullScreen;
        // A script written by hand has no clock: the game then keeps the real one.
        const bool clocked = recording.frequency > 0 ||
                             std::any_of(recording.commands.begin(), recording.commands.end(),
                                         [](const Command& c) { return c.action == Action::Clock; });
        if (clocked) platformUseRecordedClock(recording.frequency);
        size_t first = 0;
        pushReadings(recording, 0, first);
    }
    if (options.recordPath != nullptr && !platformRecordTo(options.recordPath, seed, fullScreen)) return 1;
    enterDataFolder(argv[0]);
    // Large (font sheets, tables), so it lives on the heap; value-initialised to all zero.
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    gameAssets->savesHeldBack = options.playPath != nullptr;
    // A recording watched plays as it was recorded: no cue of ours over it.
    gameAssets->cuesAllowed = options.playPath == nullptr;
    if (const std::string folder = userDataFolder(); !folder.empty())
        gameAssets->landingMemoryPath = folder + "/landed-once";
    gameAssets->bestsKept = options.playPath == nullptr;
    // The assets decode on threads of their own while the window and its renderer open.
    std::unique_ptr<InventoryLoad> loading = beginStartUp(*game, *gameAssets);
    if (!platformOpen()) return 1;
    platformApplySettings();
    platformShowCursor(false); // hidden while the assets load
    // The title shows as soon as its picture, the fonts and track 1 are in; the rest loads behind.
    runStartUp(*game, *gameAssets, seed, std::move(loading), true);
    game->cuesDone = landingRemembered(gameAssets->landingMemoryPath) ? 1 : 0;
    if (fullScreen) {
        game->fullScreen = 1;
        platformSetFullScreen(true);
    }
    if (playingBest) {
        awaitAssets(*game);
        applyTakeOff(*game, best);
        if (watchRecording(*game, recording)) playedTheSame("skarnwing", options.playPath, best, *game);
    } else if (options.playPath != nullptr) {
        watchRecording(*game, recording);
    } else {
        while (pumpOnce(*game)) {}
    }
    runShutDown(*game);
    platformClose();
    return 0;
}
