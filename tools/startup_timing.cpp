// skarnwing-startup-timing: runs the real start-up and one frame, then prints how long that took
// and how much memory the process holds. Run from a folder holding Files (the build tree).
//   startup: main to first frame presented, in ms, and launch to first frame (the process start
//   time has 10 ms resolution); cpu: processor time of all threads by then, which, unlike the
//   wall-clock figures, does not grow when other work shares the machine; rss: resident memory
//   after the first frame, its peak, and what the platform layer held before start-up, in MB,
//   then again once the second music track, decoded in the background, is in.

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/frame.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "assets/music.h"
#include "game/game_state.h"
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

} // namespace

int main(int, char** argv) {
    const double mainMs = nowMs(CLOCK_MONOTONIC);
    const double mainBootMs = nowMs(CLOCK_BOOTTIME);
    enterDataFolder(argv[0]);
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    if (!platformOpen()) return 1;
    const double platformRss = statusMb("VmRSS:");
    const double platformMs = nowMs(CLOCK_MONOTONIC) - mainMs;
    runStartUp(*game, *gameAssets, 1);
    const double startUpMs = nowMs(CLOCK_MONOTONIC) - mainMs;
    runFrame(*game);
    const double firstFrameMs = nowMs(CLOCK_MONOTONIC) - mainMs;
    const double launchMs = mainBootMs - processStartMs() + firstFrameMs;
    std::printf("startup: %.1f ms main to start-up done (%.1f ms of it opening the platform), %.1f ms main to first "
                "frame, %.0f ms launch to first frame\n",
                startUpMs, platformMs, firstFrameMs, launchMs);
    std::printf("cpu: %.1f ms on all threads from launch to the first frame\n", nowMs(CLOCK_PROCESS_CPUTIME_ID));
    std::printf("rss: %.1f MB after the first frame, %.1f MB peak, %.1f MB of it held before start-up (window, renderer)\n",
                statusMb("VmRSS:"), statusMb("VmHWM:"), platformRss);
    // Track 2 goes on decoding past the first frame; the memory of the whole run includes it.
    int frames = 1;
    while (game->assets->track2.decoding.valid() && frames < 600) {
        runFrame(*game);
        ++frames;
    }
    finishMusic(game->assets->track2);
    std::printf("rss: %.1f MB with track 2 decoded too, after %d frames\n", statusMb("VmRSS:"), frames);
    runShutDown(*game);
    platformClose();
    return 0;
}
