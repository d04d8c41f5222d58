// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-startup-timing: runs the real start-up and one frame, then prints how long that took
// and how much memory the process holds. Run from a folder holding Files (the build tree).
//   startup: main to first frame presented, in ms, and launch to first frame (the process start
//   time has 10 ms resolution); cpu: processor time of all threads by then, which, unlike the
//   wall-clock figures, does not grow when other work shares the machine; rss: resident memory
//   after the first frame, its peak, and what opening the window and renderer added, in MB;
//   then, after 600 frames with the title music playing, resident memory again and the processor
//   time the audio device's thread took (the SDL back end; the headless one mixes on the game
//   thread, so there it is the game thread's time inside the mixer). --first-frame stops after
//   the first frame, for instruction counts under callgrind; --window-first opens the window
//   before any loading starts, which shows what the window and renderer alone take.

#include <dirent.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "app/frame.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "assets/music.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {

double nowMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Milliseconds since boot at which this process started, from /proc/self/stat.
double processStartMs() {
    FILE* f = std::fopen("/proc/self/stat", "r");
    if (f == nullptr) return -1.0;
    char text[2048] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    const char* p = std::strrchr(text, ')');
    if (p == nullptr) return -1.0;
    // Field 22 (starttime); the text after ')' begins with field 3.
    unsigned long long start = 0;
    int field = 2;
    for (const char* c = p + 1; *c != '\0'; ++c) {
        if (*c == ' ' && ++field == 22) {
            std::sscanf(c + 1, "%llu", &start);
            break;
        }
    }
    return start * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// A line of /proc/self/status such as "VmRSS:", in MB.
double statusMb(const char* key) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return -1.0;
    char line[256];
    double mb = -1.0;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, key, std::strlen(key)) == 0) mb = std::atof(line + std::strlen(key)) / 1024.0;
    }
    std::fclose(f);
    return mb;
}

// Nanoseconds on a processor of this process's threads whose name starts with `prefix`,
// from /proc/self/task/*/schedstat.
double threadsCpuMs(const char* prefix) {
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr) return -1.0;
    double ms = 0.0;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        char path[300];
        char name[64] = {};
        std::snprintf(path, sizeof path, "/proc/self/task/%s/comm", entry->d_name);
        if (FILE* f = std::fopen(path, "r")) {
            if (std::fgets(name, sizeof name, f) == nullptr) name[0] = '\0';
            std::fclose(f);
        }
        if (std::strncmp(name, prefix, std::strlen(prefix)) != 0) continue;
        std::snprintf(path, sizeof path, "/proc/self/task/%s/schedstat", entry->d_name);
        if (FILE* f = std::fopen(path, "r")) {
            unsigned long long ns = 0;
            if (std::fscanf(f, "%llu", &ns) == 1) ms += ns / 1e6;
            std::fclose(f);
        }
    }
    closedir(tasks);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    bool firstFrameOnly = false;
    bool windowFirst = false;
    for (int i = 1; i < argc; ++i) {
        firstFrameOnly = firstFrameOnly || std::strcmp(argv[i], "--first-frame") == 0;
        windowFirst = windowFirst || std::strcmp(argv[i], "--window-first") == 0;
    }
    const double mainMs = nowMs(CLOCK_MONOTONIC);
    const double mainBootMs = nowMs(CLOCK_BOOTTIME);
    enterDataFolder(argv[0]);
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    // As the game starts: the assets decode while the window opens.
    std::unique_ptr<InventoryLoad> loading;
    if (!windowFirst) loading = beginStartUp(*game, *gameAssets);
    const double beforeRss = statusMb("VmRSS:");
    const double openMs = nowMs(CLOCK_MONOTONIC);
    if (!platformOpen()) return 1;
    const double platformRss = statusMb("VmRSS:") - beforeRss;
    const double platformMs = nowMs(CLOCK_MONOTONIC) - openMs;
    // As the game starts: the title as soon as it can be shown, the rest loading behind it.
    runStartUp(*game, *gameAssets, 1, std::move(loading), true);
    const double startUpMs = nowMs(CLOCK_MONOTONIC) - mainMs;
    runFrame(*game);
    const double firstFrameMs = nowMs(CLOCK_MONOTONIC) - mainMs;
    const double launchMs = mainBootMs - processStartMs() + firstFrameMs;
    std::printf("startup: %.1f ms main to start-up done (%.1f ms of it opening the platform), %.1f ms main to first "
                "frame, %.0f ms launch to first frame\n",
                startUpMs, platformMs, firstFrameMs, launchMs);
    std::printf("cpu: %.1f ms on all threads from launch to the first frame, %.1f ms of it on the main thread\n",
                nowMs(CLOCK_PROCESS_CPUTIME_ID), nowMs(CLOCK_THREAD_CPUTIME_ID));
    std::printf(
        "rss: %.1f MB after the first frame, %.1f MB peak, %.1f MB added while the window and renderer opened%s\n",
        statusMb("VmRSS:"), statusMb("VmHWM:"), platformRss,
        windowFirst ? "" : " (the loads running meanwhile count too)");
    // What still loads behind the title is finished before the settled figures.
    awaitAssets(*game);
    if (firstFrameOnly) {
        finishMusic(game->assets->track2);
        runShutDown(*game);
        platformClose();
        return 0;
    }
    // 600 frames of the title picture with track 1 playing: the memory of a settled run, and the
    // audio work (track 2 is not playing; whatever it still loads in the background counts too).
    const double audioBeforeMs = threadsCpuMs("SDLAudio");
    const double gameBeforeMs = nowMs(CLOCK_THREAD_CPUTIME_ID);
    const double wallBeforeMs = nowMs(CLOCK_MONOTONIC);
    for (int frame = 1; frame < 600; ++frame) runFrame(*game);
    const double wallMs = nowMs(CLOCK_MONOTONIC) - wallBeforeMs;
    const double gameMs = nowMs(CLOCK_THREAD_CPUTIME_ID) - gameBeforeMs;
    const double audioMs = threadsCpuMs("SDLAudio") - audioBeforeMs;
    std::printf("rss: %.1f MB after 600 frames (%.1f MB anonymous, %.1f MB mapped files), %.1f MB peak\n",
                statusMb("VmRSS:"), statusMb("RssAnon:"), statusMb("RssFile:"), statusMb("VmHWM:"));
    std::printf("audio: %.1f ms on the audio thread in %.0f ms of play (%.2f %% of one core); game thread %.0f ms\n",
                audioMs, wallMs, 100.0 * audioMs / wallMs, gameMs);
    // The mixer alone, on this thread: ten seconds of the music as the device would ask for them.
    int16_t block[2 * 1024];
    const double mixBeforeMs = nowMs(CLOCK_THREAD_CPUTIME_ID);
    for (int i = 0; i < 10 * kAudioRate / 1024; ++i) mixAudio(block, 1024);
    const double mixMs = nowMs(CLOCK_THREAD_CPUTIME_ID) - mixBeforeMs;
    std::printf("mix: %.1f ms of processor time to mix 10 s of music (%.2f %% of one core)\n", mixMs, mixMs / 100.0);
    finishMusic(game->assets->track2);
    runShutDown(*game);
    platformClose();
    return 0;
}
