// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-replay: runs the real game on the headless back end from a script, one command per
// line ('#' starts a comment; frames count from 1, the first frame after start-up):
//   seed N            the random seed (default 1)
//   frequency N       the counter runs at N ticks per second and follows the clock lines
//   fullscreen        the game starts in full screen
//   savefolder DIR    the save file goes under DIR instead of the folder of the player's files;
//                     a relative DIR is taken from the script's folder
//   F down KEY        key down before frame F (Backspace Tab Enter Ctrl Esc Space Left Up Right Down,
//   F up KEY          a letter or digit, or a code such as 0x41)
//   F mouse X Y [B]   pointer moved to client (X, Y) before frame F, with the buttons B held
//                     (1 left, 2 right; by default the left one as press and release left it)
//   F press           left button down before frame F
//   F release         left button up before frame F
//   F shot PATH.png   the composited frame after frame F
//   F dump            one line of JSON with the game state after frame F
//   F hash            {"frame":F,"shotHash":"..."}: a hash of the composited frame after frame F
//   F launch M D [N]  take off in mission M at difficulty D before frame F, as TAKE OFF does,
//                     with level D open and, when N is given, N missiles bought (0..58)
//   F save            before frame F, what mission control's save button does
//   F load            before frame F, what mission control's load button does
//   F end             stop after frame F
//   F clock T...      the counter readings the game takes from the events before frame F to its
//                     end, in order (F 0: during start-up); a recorded game (skarnwing --record)
//                     is made of these lines
// A best flight (the game keeps them beside the save) plays from its take-off to its landing,
// with a dump after the last frame; the exit status is 1 when it no longer ends as it ended.
// --hold-back-loading starts as the game does, the title first, and holds every other load
// back until the game needs it: the output must not change.
// --cues shows the first sorties' cues as a first game does (never a script's doing, so the
// golden runs never show them), keeping no landing; --captions turns the captions on; --pad
// names pad buttons where the cues would name keys. These are for looking at them.
// --profile prints the median, 99th percentile and maximum dispatcher time per frame, on the wall
// clock and as the thread's processor time.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/pump.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "replay/bests.h"
#include "replay/script.h"
#include "replay/state_dump.h"
#include "save/save_file.h"
#include "screens/briefing.h"

namespace {

// FNV-1a over the composited frame's pixels, as 16 hex digits: a short name for a whole picture.
std::string frameHash() {
    std::vector<uint32_t> pixels(size_t(kClientWidth) * kClientHeight);
    headlessCompositeLastFrame(pixels.data());
    uint64_t hash = 14695981039346656037ull;
    for (const uint32_t pixel : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (pixel >> shift) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

void printProfile(const char* what, std::vector<double> times) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) {
        return times[std::min(times.size() - 1, static_cast<size_t>(q * double(times.size())))];
    };
    std::printf("dispatcher %s per frame over %zu frames: median %.3f, p99 %.3f, max %.3f\n", what, times.size(),
                at(0.5), at(0.99), times.back());
}

} // namespace

int main(int argc, char** argv) {
    bool profile = false;
    bool holdBack = false;
    bool cues = false;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--profile") == 0) {
            profile = true;
        } else if (std::strcmp(argv[i], "--hold-back-loading") == 0) {
            holdBack = true;
        } else if (std::strcmp(argv[i], "--cues") == 0) {
            cues = true;
        } else if (std::strcmp(argv[i], "--captions") == 0) {
            activeSettings().captions = true;
        } else if (std::strcmp(argv[i], "--pad") == 0) {
            headlessPretendPad(true);
        } else {
            scriptPath = argv[i];
        }
    }
    if (scriptPath == nullptr) {
        std::fprintf(
            stderr, "usage: skarnwing-replay [--profile] [--hold-back-loading] [--cues] [--captions] [--pad] SCRIPT\n");
        return 2;
    }
    Script script;
    // A best flight plays from its own take-off, with a dump and the end after its landing.
    BestFlight best;
    const bool isBest = looksLikeBest(scriptPath);
    if (isBest) {
        if (!readBestFile("skarnwing-replay", scriptPath, best) || !rulesMatch("skarnwing-replay", scriptPath, best)) {
            return 2;
        }
        script = scriptOf(best);
    } else if (!readScript("skarnwing-replay", scriptPath, script)) {
        return 2;
    }

    enterDataFolder(argv[0]);
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    gameAssets->saveFolder = script.saveFolder;
    gameAssets->cuesAllowed = cues;
    gameAssets->bestsKept = script.keepBests;
    if (!script.saveFolder.empty() && script.saveFolder[0] != '/') {
        const std::string path = scriptPath;
        const size_t slash = path.rfind('/');
        gameAssets->saveFolder = (slash == std::string::npos ? "." : path.substr(0, slash)) + "/" + script.saveFolder;
    }
    platformOpen();
    // A recorded game hands the game its clock readings back, frame by frame.
    const bool recordedClock = script.frequency > 0 ||
                               std::any_of(script.commands.begin(), script.commands.end(),
                                           [](const Command& c) { return c.action == Action::Clock; });
    if (recordedClock) platformUseRecordedClock(script.frequency);
    size_t clockNext = 0; // commands are in frame order
    const auto pushReadings = [&](int64_t frame) {
        for (; clockNext < script.commands.size() && script.commands[clockNext].frame <= frame; ++clockNext) {
            for (const int64_t reading : script.commands[clockNext].readings) platformPushCounterReading(reading);
        }
    };
    pushReadings(0);
    if (holdBack) {
        // As the game starts, the title first, but with everything else held back until a
        // frame or a command needs it.
        runStartUp(*game, *gameAssets, script.seed, beginStartUp(*game, *gameAssets, true), true);
    } else {
        runStartUp(*game, *gameAssets, script.seed);
    }
    if (script.fullScreen) {
        game->fullScreen = 1;
        platformSetFullScreen(true);
    }

    if (isBest) {
        awaitAssets(*game);
        applyTakeOff(*game, best);
    }

    std::vector<double> dispatcherTimes; // only under --profile, so a long soak does not grow
    std::vector<double> dispatcherCpuTimes;
    uint32_t buttons = 0;
    size_t next = 0;
    while (next < script.commands.size() && script.commands[next].frame == 0) ++next;
    const int64_t lastFrame = script.commands.empty() ? 0 : script.commands.back().frame;
    for (int64_t frame = 1; frame <= lastFrame; ++frame) {
        pushReadings(frame);
        for (size_t i = next; i < script.commands.size() && script.commands[i].frame == frame; ++i) {
            const Command& c = script.commands[i];
            if (c.action == Action::Launch || c.action == Action::Save || c.action == Action::Load) awaitAssets(*game);
            if (c.action == Action::Launch) {
                // As if the title and the screens had been clicked through to this briefing.
                game->screen = Screen::Briefing;
                game->mission = static_cast<Mission>(c.a);
                game->difficulty = c.b;
                // The parser admits only the table's missions, each with its open difficulty.
                int32_t& unlocked = game->unlockedDifficulty[game->mission];
                unlocked = std::max(unlocked, c.b);
                if (c.missiles >= 0) game->missileLoad = c.missiles;
                takeOff(*game);
                continue;
            }
            if (c.action == Action::Save || c.action == Action::Load) {
                if (c.action == Action::Save) {
                    pressSaveButton(*game);
                } else {
                    pressLoadButton(*game);
                }
                continue;
            }
            InputEvent event;
            if (inputEventOf(c, buttons, event)) headlessPushEvent(event);
        }
        const bool running = pumpOnce(*game);
        if (running && profile) {
            dispatcherTimes.push_back(game->dispatcherMs);
            dispatcherCpuTimes.push_back(game->dispatcherCpuMs);
        }
        bool end = !running;
        for (; next < script.commands.size() && script.commands[next].frame == frame; ++next) {
            const Command& c = script.commands[next];
            if (c.action == Action::Shot && !headlessWriteScreenshot(c.path.c_str())) {
                std::fprintf(stderr, "skarnwing-replay: %s:%d: screenshot failed\n", scriptPath, c.line);
            } else if (c.action == Action::Dump) {
                std::printf("%s\n", dumpState(*game, frame).c_str());
                std::fflush(stdout);
            } else if (c.action == Action::Hash) {
                std::printf("{\"frame\":%lld,\"shotHash\":\"%s\"}\n", static_cast<long long>(frame),
                            frameHash().c_str());
                std::fflush(stdout);
            } else if (c.action == Action::End) {
                end = true;
            }
        }
        if (end) break;
    }
    const bool same = !isBest || playedTheSame("skarnwing-replay", scriptPath, best, *game);
    runShutDown(*game);
    platformClose();
    if (!same) return 1;
    if (profile) {
        printProfile("ms", dispatcherTimes);
        printProfile("cpu ms", dispatcherCpuTimes);
    }
    return 0;
}
