// skarnwing-replay: runs the real game on the headless back end from a script, one command per
// line ('#' starts a comment; frames count from 1, the first frame after start-up):
//   seed N            the random seed (default 1)
//   frequency N       the counter runs at N ticks per second and follows the clock lines
//   fullscreen        the game starts in full screen
//   savefolder DIR    the save file goes under DIR instead of the folder of the player's files
//   F down KEY        key down before frame F (Tab Enter Ctrl Esc Space Left Up Right Down,
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
// --hold-back-loading starts as the game does, the title first, and holds every other load
// back until the game needs it: the output must not change.
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
#include "app/startup.h"
#include "app/state_dump.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "screens/briefing.h"
#include "screens/save_file.h"

namespace {

enum class Action { Down, Up, Mouse, Press, Release, Launch, Save, Load, Shot, Dump, Hash, End, Clock };

struct Command {
    int64_t frame = 0;
    Action action = Action::End;
    int32_t a = 0; // key code, mouse x, or mission
    int32_t b = 0; // mouse y, or difficulty
    int32_t missiles = -1; // missiles bought before a launch, or -1 to keep the load
    int32_t buttons = -1; // mouse buttons held, or -1 for those press and release left
    std::string path;
    std::vector<int64_t> readings; // clock
    int line = 0;
};

struct Script {
    uint32_t seed = 1;
    int64_t frequency = 0; // 0: the headless clock
    bool fullScreen = false;
    std::string saveFolder;
    std::vector<Command> commands;
};

// Virtual-key code for a key name, or -1.
int32_t keyCode(const std::string& name) {
    static const std::map<std::string, int32_t> names = {
        {"Tab", 0x09}, {"Enter", 0x0D}, {"Ctrl", 0x11}, {"Esc", 0x1B}, {"Space", 0x20},
        {"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27}, {"Down", 0x28}};
    if (const auto it = names.find(name); it != names.end()) return it->second;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return std::toupper(static_cast<unsigned char>(name[0]));
    }
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        char* end = nullptr;
        const long code = std::strtol(name.c_str() + 2, &end, 16);
        if (*end == '\0' && code >= 0 && code <= 0xFF) return static_cast<int32_t>(code);
    }
    return -1;
}

bool parseInt(const std::string& word, int64_t& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(word.c_str(), &end, 10);
    return *end == '\0';
}

// Reads the script; on a bad line prints a message naming it and returns false.
bool readScript(const char* path, Script& script) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "skarnwing-replay: cannot read script \"%s\"\n", path);
        return false;
    }
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (const size_t hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        auto fail = [&](const char* why) {
            std::fprintf(stderr, "skarnwing-replay: %s:%d: %s\n", path, lineNumber, why);
            return false;
        };
        int64_t number = 0;
        if (w[0] == "seed") {
            if (w.size() != 2 || !parseInt(w[1], number) || number < 0 || number > 0xFFFFFFFFll) {
                return fail("expected: seed N");
            }
            script.seed = static_cast<uint32_t>(number);
            continue;
        }
        if (w[0] == "frequency") {
            if (w.size() != 2 || !parseInt(w[1], number) || number < 1) return fail("expected: frequency N");
            script.frequency = number;
            continue;
        }
        if (w[0] == "savefolder") {
            if (w.size() != 2) return fail("expected: savefolder DIR");
            script.saveFolder = w[1];
            continue;
        }
        if (w[0] == "fullscreen") {
            if (w.size() != 1) return fail("expected: fullscreen");
            script.fullScreen = true;
            continue;
        }
        Command command;
        command.line = lineNumber;
        const bool clock = w.size() >= 2 && w[1] == "clock";
        if (!parseInt(w[0], command.frame) || command.frame < (clock ? 0 : 1)) {
            return fail("expected a frame number from 1");
        }
        if (w.size() < 2) return fail("expected a command after the frame number");
        const std::string& verb = w[1];
        int64_t x = 0;
        int64_t y = 0;
        if ((verb == "down" || verb == "up") && w.size() == 3) {
            command.action = verb == "down" ? Action::Down : Action::Up;
            command.a = keyCode(w[2]);
            if (command.a < 0) return fail("unknown key");
        } else if (verb == "mouse" && (w.size() == 4 || w.size() == 5) && parseInt(w[2], x) && parseInt(w[3], y) &&
                   x >= INT32_MIN && x <= INT32_MAX && y >= INT32_MIN && y <= INT32_MAX) {
            command.action = Action::Mouse;
            command.a = static_cast<int32_t>(x);
            command.b = static_cast<int32_t>(y);
            if (w.size() == 5) {
                if (!parseInt(w[4], number) || number < 0 || number > 3) return fail("mouse buttons are 0 to 3");
                command.buttons = static_cast<int32_t>(number);
            }
        } else if (clock) {
            command.action = Action::Clock;
            for (size_t i = 2; i < w.size(); ++i) {
                if (!parseInt(w[i], number)) return fail("clock readings are whole numbers");
                command.readings.push_back(number);
            }
        } else if (verb == "launch" && (w.size() == 4 || w.size() == 5) && parseInt(w[2], x) && parseInt(w[3], y) &&
                   x >= 1 && x <= 3 && y >= 0 && y <= 3) {
            command.action = Action::Launch;
            command.a = static_cast<int32_t>(x);
            command.b = static_cast<int32_t>(y);
            if (w.size() == 5) {
                if (!parseInt(w[4], number) || number < 0 || number > 58) return fail("missiles must be 0..58");
                command.missiles = static_cast<int32_t>(number);
            }
        } else if ((verb == "save" || verb == "load") && w.size() == 2) {
            command.action = verb == "save" ? Action::Save : Action::Load;
        } else if (verb == "press" && w.size() == 2) {
            command.action = Action::Press;
        } else if (verb == "release" && w.size() == 2) {
            command.action = Action::Release;
        } else if (verb == "shot" && w.size() == 3) {
            command.action = Action::Shot;
            command.path = w[2];
        } else if (verb == "dump" && w.size() == 2) {
            command.action = Action::Dump;
        } else if (verb == "hash" && w.size() == 2) {
            command.action = Action::Hash;
        } else if (verb == "end" && w.size() == 2) {
            command.action = Action::End;
        } else {
            return fail("unknown or malformed command");
        }
        script.commands.push_back(command);
    }
    std::stable_sort(script.commands.begin(), script.commands.end(),
                     [](const Command& l, const Command& r) { return l.frame < r.frame; });
    return true;
}

bool isInput(Action action) {
    return action == Action::Down || action == Action::Up || action == Action::Mouse || action == Action::Press ||
           action == Action::Release;
}

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
    const auto at = [&](double q) { return times[std::min(times.size() - 1, static_cast<size_t>(q * double(times.size())))]; };
    std::printf("dispatcher %s per frame over %zu frames: median %.3f, p99 %.3f, max %.3f\n", what, times.size(),
                at(0.5), at(0.99), times.back());
}

} // namespace

int main(int argc, char** argv) {
    bool profile = false;
    bool holdBack = false;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--profile") == 0) {
            profile = true;
        } else if (std::strcmp(argv[i], "--hold-back-loading") == 0) {
            holdBack = true;
        } else {
            scriptPath = argv[i];
        }
    }
    if (scriptPath == nullptr) {
        std::fprintf(stderr, "usage: skarnwing-replay [--profile] [--hold-back-loading] SCRIPT\n");
        return 2;
    }
    Script script;
    if (!readScript(scriptPath, script)) return 2;

    enterDataFolder(argv[0]);
    useSaveFolder(script.saveFolder);
    auto game = std::make_unique<GameState>();
    auto gameAssets = std::make_unique<GameAssets>();
    platformOpen();
    // A recorded game hands the game its clock readings back, frame by frame.
    const bool recordedClock = script.frequency > 0 ||
        std::any_of(script.commands.begin(), script.commands.end(), [](const Command& c) { return c.action == Action::Clock; });
    if (recordedClock) headlessUseRecordedClock(script.frequency);
    size_t clockNext = 0; // commands are in frame order
    const auto pushReadings = [&](int64_t frame) {
        for (; clockNext < script.commands.size() && script.commands[clockNext].frame <= frame; ++clockNext) {
            for (const int64_t reading : script.commands[clockNext].readings) headlessPushCounterReading(reading);
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
                game->titleShown = 0;
                game->mission = c.a;
                game->difficulty = c.b;
                int32_t* unlocked[] = {&game->unlockedDifficulty1, &game->unlockedDifficulty2, &game->unlockedDifficulty3};
                *unlocked[c.a - 1] = std::max(*unlocked[c.a - 1], c.b);
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
            if (!isInput(c.action)) continue;
            InputEvent event;
            switch (c.action) {
            case Action::Down: event = {InputEventType::KeyDown, c.a, 0, 0, 0}; break;
            case Action::Up: event = {InputEventType::KeyUp, c.a, 0, 0, 0}; break;
            case Action::Mouse:
                event = {InputEventType::MouseMove, 0, c.a, c.b, c.buttons >= 0 ? static_cast<uint32_t>(c.buttons) : buttons};
                break;
            case Action::Press: buttons |= kMouseButtonLeft; event = {InputEventType::LeftDown, 0, 0, 0, 0}; break;
            default: buttons &= ~kMouseButtonLeft; event = {InputEventType::LeftUp, 0, 0, 0, 0}; break;
            }
            headlessPushEvent(event);
        }
        const bool running = pumpOnce(*game);
        if (running && profile) {
            dispatcherTimes.push_back(lastDispatcherMs());
            dispatcherCpuTimes.push_back(lastDispatcherCpuMs());
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
                std::printf("{\"frame\":%lld,\"shotHash\":\"%s\"}\n", static_cast<long long>(frame), frameHash().c_str());
                std::fflush(stdout);
            } else if (c.action == Action::End) {
                end = true;
            }
        }
        if (end) break;
    }
    runShutDown(*game);
    platformClose();
    if (profile) {
        printProfile("ms", dispatcherTimes);
        printProfile("cpu ms", dispatcherCpuTimes);
    }
    return 0;
}
