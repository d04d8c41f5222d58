// skarnwing-replay: runs the real game on the headless back end from a script, one command per
// line ('#' starts a comment; frames count from 1, the first frame after start-up):
//   seed N            the random seed (default 1)
//   F down KEY        key down before frame F (Tab Enter Ctrl Esc Space Left Up Right Down,
//   F up KEY          a letter or digit, or a code such as 0x41)
//   F mouse X Y       pointer moved to client (X, Y) before frame F
//   F press           left button down before frame F
//   F release         left button up before frame F
//   F shot PATH.png   the composited frame after frame F
//   F dump            one line of JSON with the game state after frame F
//   F launch M D      take off in mission M at difficulty D before frame F, as TAKE OFF does
//   F end             stop after frame F
// --profile prints the median, 99th percentile and maximum dispatcher time per frame.

#include <algorithm>
#include <cctype>
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
#include "app/game_state.h"
#include "app/startup.h"
#include "app/state_dump.h"
#include "platform/headless.h"
#include "platform/paths.h"
#include "screens/briefing.h"

namespace {

enum class Action { Down, Up, Mouse, Press, Release, Launch, Shot, Dump, End };

struct Command {
    int64_t frame = 0;
    Action action = Action::End;
    int32_t a = 0; // key code, mouse x, or mission
    int32_t b = 0; // mouse y, or difficulty
    std::string path;
    int line = 0;
};

struct Script {
    uint32_t seed = 1;
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
        Command command;
        command.line = lineNumber;
        if (!parseInt(w[0], command.frame) || command.frame < 1) return fail("expected a frame number from 1");
        if (w.size() < 2) return fail("expected a command after the frame number");
        const std::string& verb = w[1];
        int64_t x = 0;
        int64_t y = 0;
        if ((verb == "down" || verb == "up") && w.size() == 3) {
            command.action = verb == "down" ? Action::Down : Action::Up;
            command.a = keyCode(w[2]);
            if (command.a < 0) return fail("unknown key");
        } else if (verb == "mouse" && w.size() == 4 && parseInt(w[2], x) && parseInt(w[3], y)) {
            command.action = Action::Mouse;
            command.a = static_cast<int32_t>(x);
            command.b = static_cast<int32_t>(y);
        } else if (verb == "launch" && w.size() == 4 && parseInt(w[2], x) && parseInt(w[3], y) && x >= 1 && x <= 3 &&
                   y >= 0 && y <= 3) {
            command.action = Action::Launch;
            command.a = static_cast<int32_t>(x);
            command.b = static_cast<int32_t>(y);
        } else if (verb == "press" && w.size() == 2) {
            command.action = Action::Press;
        } else if (verb == "release" && w.size() == 2) {
            command.action = Action::Release;
        } else if (verb == "shot" && w.size() == 3) {
            command.action = Action::Shot;
            command.path = w[2];
        } else if (verb == "dump" && w.size() == 2) {
            command.action = Action::Dump;
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

void printProfile(std::vector<double> times) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) { return times[std::min(times.size() - 1, static_cast<size_t>(q * double(times.size())))]; };
    std::printf("dispatcher ms per frame over %zu frames: median %.3f, p99 %.3f, max %.3f\n", times.size(), at(0.5),
                at(0.99), times.back());
}

} // namespace

int main(int argc, char** argv) {
    bool profile = false;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--profile") == 0) {
            profile = true;
        } else {
            scriptPath = argv[i];
        }
    }
    if (scriptPath == nullptr) {
        std::fprintf(stderr, "usage: skarnwing-replay [--profile] SCRIPT\n");
        return 2;
    }
    Script script;
    if (!readScript(scriptPath, script)) return 2;

    enterDataFolder(argv[0]);
    auto game = std::make_unique<GameState>();
    platformOpen();
    runStartUp(*game, script.seed);

    std::vector<double> dispatcherTimes; // only under --profile, so a long soak does not grow
    uint32_t buttons = 0;
    size_t next = 0;
    const int64_t lastFrame = script.commands.empty() ? 0 : script.commands.back().frame;
    for (int64_t frame = 1; frame <= lastFrame; ++frame) {
        for (size_t i = next; i < script.commands.size() && script.commands[i].frame == frame; ++i) {
            const Command& c = script.commands[i];
            if (c.action == Action::Launch) {
                // As if the title and the screens had been clicked through to this briefing.
                game->titleShown = 0;
                game->mission = c.a;
                game->difficulty = c.b;
                takeOff(*game);
                continue;
            }
            if (!isInput(c.action)) continue;
            InputEvent event;
            switch (c.action) {
            case Action::Down: event = {InputEventType::KeyDown, c.a, 0, 0, 0}; break;
            case Action::Up: event = {InputEventType::KeyUp, c.a, 0, 0, 0}; break;
            case Action::Mouse: event = {InputEventType::MouseMove, 0, c.a, c.b, buttons}; break;
            case Action::Press: buttons |= kMouseButtonLeft; event = {InputEventType::LeftDown, 0, 0, 0, 0}; break;
            default: buttons &= ~kMouseButtonLeft; event = {InputEventType::LeftUp, 0, 0, 0, 0}; break;
            }
            headlessPushEvent(event);
        }
        const bool running = pumpOnce(*game);
        if (running && profile) dispatcherTimes.push_back(lastDispatcherMs());
        bool end = !running;
        for (; next < script.commands.size() && script.commands[next].frame == frame; ++next) {
            const Command& c = script.commands[next];
            if (c.action == Action::Shot && !headlessWriteScreenshot(c.path.c_str())) {
                std::fprintf(stderr, "skarnwing-replay: %s:%d: screenshot failed\n", scriptPath, c.line);
            } else if (c.action == Action::Dump) {
                std::printf("%s\n", dumpState(*game, frame).c_str());
                std::fflush(stdout);
            } else if (c.action == Action::End) {
                end = true;
            }
        }
        if (end) break;
    }
    runShutDown(*game);
    platformClose();
    if (profile) printProfile(dispatcherTimes);
    return 0;
}
