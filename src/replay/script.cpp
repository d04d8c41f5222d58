// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "replay/script.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "missions/missions.h"
#include "platform/paths.h"

// Virtual-key code for a key name, or -1.
int32_t keyCode(const std::string& name) {
    static const std::map<std::string, int32_t> names = {
        {"Backspace", 0x08}, {"Tab", 0x09},  {"Enter", 0x0D}, {"Ctrl", 0x11},  {"Esc", 0x1B},
        {"Space", 0x20},     {"Left", 0x25}, {"Up", 0x26},    {"Right", 0x27}, {"Down", 0x28}};
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

bool inputEventOf(const Command& c, uint32_t& buttons, InputEvent& event) {
    switch (c.action) {
    case Action::Down: event = {InputEventType::KeyDown, c.a, 0, 0, 0}; return true;
    case Action::Up: event = {InputEventType::KeyUp, c.a, 0, 0, 0}; return true;
    case Action::Mouse:
        event = {InputEventType::MouseMove, 0, c.a, c.b, c.buttons >= 0 ? static_cast<uint32_t>(c.buttons) : buttons};
        return true;
    case Action::Press:
        buttons |= kMouseButtonLeft;
        event = {InputEventType::LeftDown, 0, 0, 0, 0};
        return true;
    case Action::Release:
        buttons &= ~kMouseButtonLeft;
        event = {InputEventType::LeftUp, 0, 0, 0, 0};
        return true;
    default: return false;
    }
}

namespace {

// A recording of hours of play is tens of megabytes; a larger file is refused unread.
constexpr size_t kMaxScriptBytes = 64 * 1024 * 1024;

// A whole decimal number within 64 bits, and nothing else.
bool parseInt(const std::string& word, int64_t& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(word.c_str(), &end, 10);
    return *end == '\0' && errno == 0;
}

} // namespace

const char* parseCommand(const std::string& text, int lineNumber, Command& command) {
    std::istringstream words(text);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    command = Command{};
    command.line = lineNumber;
    if (w.empty()) return "expected a command";
    int64_t number = 0;
    const bool clock = w.size() >= 2 && w[1] == "clock";
    if (!parseInt(w[0], command.frame) || command.frame < (clock ? 0 : 1)) {
        return "expected a frame number from 1";
    }
    if (w.size() < 2) return "expected a command after the frame number";
    const std::string& verb = w[1];
    int64_t x = 0;
    int64_t y = 0;
    if ((verb == "down" || verb == "up") && w.size() == 3) {
        command.action = verb == "down" ? Action::Down : Action::Up;
        command.a = keyCode(w[2]);
        if (command.a < 0) return "unknown key";
    } else if (verb == "mouse" && (w.size() == 4 || w.size() == 5) && parseInt(w[2], x) && parseInt(w[3], y) &&
               x >= INT32_MIN && x <= INT32_MAX && y >= INT32_MIN && y <= INT32_MAX) {
        command.action = Action::Mouse;
        command.a = static_cast<int32_t>(x);
        command.b = static_cast<int32_t>(y);
        if (w.size() == 5) {
            if (!parseInt(w[4], number) || number < 0 || number > 3) return "mouse buttons are 0 to 3";
            command.buttons = static_cast<int32_t>(number);
        }
    } else if (clock) {
        command.action = Action::Clock;
        for (size_t i = 2; i < w.size(); ++i) {
            if (!parseInt(w[i], number) || number < 0) return "clock readings are whole numbers from 0";
            command.readings.push_back(number);
        }
    } else if (verb == "launch" && (w.size() == 4 || w.size() == 5) && parseInt(w[2], x) && parseInt(w[3], y) &&
               x >= 1 && x <= missionCount() && y >= 0 && y < missionRow(Mission(x)).levels) {
        command.action = Action::Launch;
        command.a = static_cast<int32_t>(x);
        command.b = static_cast<int32_t>(y);
        if (w.size() == 5) {
            if (!parseInt(w[4], number) || number < 0 || number > 58) return "missiles must be 0..58";
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
        return "unknown or malformed command";
    }
    return nullptr;
}

bool parseScript(const char* program, const char* name, const std::string& text, Script& script) {
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        auto fail = [&](const char* why) {
            std::fprintf(stderr, "%s: %s:%d: %s\n", program, name, lineNumber, why);
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
        if (w[0] == "keepbests") {
            if (w.size() != 1) return fail("expected: keepbests");
            script.keepBests = true;
            continue;
        }
        if (w[0] == "fullscreen") {
            if (w.size() != 1) return fail("expected: fullscreen");
            script.fullScreen = true;
            continue;
        }
        Command command;
        if (const char* why = parseCommand(line, lineNumber, command)) return fail(why);
        script.commands.push_back(command);
    }
    std::stable_sort(script.commands.begin(), script.commands.end(),
                     [](const Command& l, const Command& r) { return l.frame < r.frame; });
    // The readings go to the game in this order, and the counter they stand for never runs back
    // (so no span of the game's clocks overflows).
    int64_t last = 0;
    for (const Command& command : script.commands) {
        for (const int64_t reading : command.readings) {
            if (reading < last) {
                std::fprintf(stderr, "%s: %s:%d: a clock reading below the one before it\n", program, name,
                             command.line);
                return false;
            }
            last = reading;
        }
    }
    return true;
}

bool readScript(const char* program, const char* path, Script& script) {
    std::vector<uint8_t> bytes;
    if (!readRegularFile(path, "script", kMaxScriptBytes, bytes)) return false;
    return parseScript(program, path, std::string(bytes.begin(), bytes.end()), script);
}
