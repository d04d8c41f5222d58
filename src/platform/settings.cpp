// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "platform/user_folders.h"

namespace {

constexpr size_t kMaxSettingsBytes = 64 * 1024;
constexpr int kBadLinesTold = 10; // a file of junk is reported in a few lines, not thousands

struct ActionInfo {
    const char* name;
    const char* label;
    int32_t virtualKey; // what the game sees
    int32_t key;        // default physical key
    int32_t pad;        // default pad button
};

// Pad buttons in SDL's order: A B X Y Back Guide Start LeftStick RightStick LeftShoulder
// RightShoulder DpadUp DpadDown DpadLeft DpadRight.
constexpr ActionInfo kActions[kActionCount] = {
    {"turn_left", "Turn left", 0x25, 0x25, 13},
    {"turn_right", "Turn right", 0x27, 0x27, 14},
    {"roll_up", "Roll over (up)", 0x26, 0x26, 11},
    {"roll_down", "Roll over (down)", 0x28, 0x28, 12},
    {"throttle_up", "Throttle up", 0x41, 0x41, 10},
    {"throttle_down", "Throttle down", 0x5A, 0x5A, 9},
    {"fire", "Fire", 0x20, 0x20, 0},
    {"next_weapon", "Next weapon", 0x11, 0x11, 2},
    {"gear", "Landing gear", 0x47, 0x47, 3},
    {"smoke", "Smoke", 0x53, 0x53, 1},
    {"restart", "Restart after a loss", 0x59, 0x59, 4},
    {"overlay", "Diagnostics", 0x09, 0x09, kPadNone},
    {"pause", "Pause", kVkPauseKey, kVkPauseKey, 6},
    {"screenshot", "Screenshot", kVkScreenshot, kVkScreenshot, kPadNone},
    {"mute", "Mute", kVkMute, kVkMute, kPadNone},
};

// clang-format off
constexpr const char* kPadNames[kPadButtonCount] = {"A", "B", "X", "Y", "Back", "Guide", "Start", "LeftStick",
                                                    "RightStick", "LeftShoulder", "RightShoulder", "DpadUp",
                                                    "DpadDown", "DpadLeft", "DpadRight"};
// clang-format on

struct NamedKey {
    int32_t key;
    const char* name;
};

// Keys with names of more than one character; letters and digits are their own names.
constexpr NamedKey kNamedKeys[] = {
    {0x09, "Tab"},      {0x10, "Shift"},  {0x11, "Ctrl"},   {0x13, "Pause"}, {0x20, "Space"}, {0x21, "PageUp"},
    {0x22, "PageDown"}, {0x23, "End"},    {0x24, "Home"},   {0x25, "Left"},  {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"},     {0x2D, "Insert"}, {0x2E, "Delete"}, {0x70, "F1"},    {0x71, "F2"},    {0x72, "F3"},
    {0x73, "F4"},       {0x74, "F5"},     {0x75, "F6"},     {0x76, "F7"},    {0x77, "F8"},    {0x78, "F9"},
    {0x7A, "F11"},      {0x7B, "F12"},
};

bool sameText(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool readVolume(std::string_view value, int32_t& out) {
    if (value.empty() || value.size() > 3) return false;
    int32_t percent = 0;
    for (const char c : value) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        percent = percent * 10 + (c - '0');
    }
    if (percent > 100 || percent % kVolumeStep != 0) return false;
    out = percent;
    return true;
}

bool readYesNo(std::string_view value, bool& out) {
    if (sameText(value, "yes")) {
        out = true;
    } else if (sameText(value, "no")) {
        out = false;
    } else {
        return false;
    }
    return true;
}

// Applies one "name = value" line; returns why it is bad, or null.
const char* applyLine(Settings& settings, std::string_view name, std::string_view value, bool (&keySeen)[kActionCount],
                      bool (&padSeen)[kActionCount]) {
    if (name == "music_volume")
        return readVolume(value, settings.musicVolume) ? nullptr : "expected 0 to 100 in steps of 10";
    if (name == "effects_volume")
        return readVolume(value, settings.effectsVolume) ? nullptr : "expected 0 to 100 in steps of 10";
    bool* flags[] = {&settings.fullScreen,       &settings.vsync, &settings.pauseOnFocusLoss,
                     &settings.colourBlindRadar, &settings.cues,  &settings.captions};
    const char* flagNames[] = {"fullscreen", "vsync", "pause_on_focus_loss", "colour_blind_radar", "cues", "captions"};
    for (int i = 0; i < 6; ++i) {
        if (name == flagNames[i]) return readYesNo(value, *flags[i]) ? nullptr : "expected yes or no";
    }
    const bool isKey = name.starts_with("key.");
    const bool isPad = name.starts_with("pad.");
    if (!isKey && !isPad) return "unknown setting";
    const std::string_view actionPart = name.substr(4);
    int32_t action = -1;
    for (int32_t a = 0; a < kActionCount && action < 0; ++a) {
        if (actionPart == kActions[a].name) action = a;
    }
    if (action < 0) return "unknown action";
    bool(&seen)[kActionCount] = isKey ? keySeen : padSeen;
    if (seen[action]) return "the action is bound twice";
    int32_t* bindings = isKey ? settings.keys : settings.padButtons;
    const int32_t none = isKey ? 0 : kPadNone;
    const int32_t code = sameText(value, "none") ? none : (isKey ? keyFromName(value) : padButtonFromName(value));
    if (code == none && !sameText(value, "none")) return isKey ? "unknown or reserved key" : "unknown pad button";
    if (code != none) {
        for (int32_t other = 0; other < kActionCount; ++other) {
            if (other != action && seen[other] && bindings[other] == code) return "already bound to another action";
        }
    }
    seen[action] = true;
    bindings[action] = code;
    return nullptr;
}

// A binding taken from the file wins over a default it collides with: the default gives way.
void dropCollidingDefaults(int32_t* bindings, const bool (&seen)[kActionCount], int32_t none) {
    for (int32_t a = 0; a < kActionCount; ++a) {
        if (seen[a] || bindings[a] == none) continue;
        for (int32_t b = 0; b < kActionCount; ++b) {
            if (b != a && seen[b] && bindings[b] == bindings[a]) bindings[a] = none;
        }
    }
}

int32_t bindCode(int32_t* bindings, int32_t action, int32_t code, int32_t none) {
    if (action < 0 || action >= kActionCount) return -1;
    int32_t moved = -1;
    if (code != none) {
        for (int32_t other = 0; other < kActionCount; ++other) {
            if (other == action || bindings[other] != code) continue;
            bindings[other] = bindings[action];
            moved = other;
        }
    }
    bindings[action] = code;
    return moved;
}

} // namespace

Settings defaultSettings() {
    Settings settings;
    for (int32_t a = 0; a < kActionCount; ++a) {
        settings.keys[a] = kActions[a].key;
        settings.padButtons[a] = kActions[a].pad;
    }
    return settings;
}

const char* actionName(int32_t action) { return action >= 0 && action < kActionCount ? kActions[action].name : ""; }
const char* actionLabel(int32_t action) { return action >= 0 && action < kActionCount ? kActions[action].label : ""; }
int32_t actionKey(int32_t action) { return action >= 0 && action < kActionCount ? kActions[action].virtualKey : 0; }

const char* keyName(int32_t key) {
    static const char* const kSingles[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B",
                                           "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
                                           "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    if (key >= '0' && key <= '9') return kSingles[key - '0'];
    if (key >= 'A' && key <= 'Z') return kSingles[10 + key - 'A'];
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) return named.name;
    }
    return nullptr;
}

int32_t keyFromName(std::string_view name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return std::toupper(static_cast<unsigned char>(name[0]));
    }
    for (const NamedKey& named : kNamedKeys) {
        if (sameText(name, named.name)) return named.key;
    }
    return 0;
}

const char* padButtonName(int32_t button) {
    return button >= 0 && button < kPadButtonCount ? kPadNames[button] : "none";
}

int32_t padButtonFromName(std::string_view name) {
    for (int32_t b = 0; b < kPadButtonCount; ++b) {
        if (sameText(name, kPadNames[b])) return b;
    }
    return kPadNone;
}

int32_t actionForKey(const Settings& settings, int32_t key) {
    if (key == 0) return -1;
    for (int32_t a = 0; a < kActionCount; ++a) {
        if (settings.keys[a] == key) return a;
    }
    return -1;
}

int32_t actionForPadButton(const Settings& settings, int32_t button) {
    if (button == kPadNone) return -1;
    for (int32_t a = 0; a < kActionCount; ++a) {
        if (settings.padButtons[a] == button) return a;
    }
    return -1;
}

int32_t bindKey(Settings& settings, int32_t action, int32_t key) {
    if (key != 0 && keyName(key) == nullptr) return -1;
    return bindCode(settings.keys, action, key, 0);
}

int32_t bindPadButton(Settings& settings, int32_t action, int32_t button) {
    if (button != kPadNone && (button < 0 || button >= kPadButtonCount)) return -1;
    return bindCode(settings.padButtons, action, button, kPadNone);
}

std::string formatSettings(const Settings& settings) {
    std::ostringstream out;
    out << "# Skarnwing settings. Edit freely; a line the game cannot read is reported and left at its\n"
           "# default. Volumes are percent in steps of 10; keys by name (A, F5, Space, Left, Ctrl...),\n"
           "# pad buttons by name (A, B, X, Y, Back, Start, LeftShoulder, DpadUp...), or none.\n";
    out << "music_volume = " << settings.musicVolume << "\n";
    out << "effects_volume = " << settings.effectsVolume << "\n";
    out << "fullscreen = " << (settings.fullScreen ? "yes" : "no") << "\n";
    out << "vsync = " << (settings.vsync ? "yes" : "no") << "\n";
    out << "pause_on_focus_loss = " << (settings.pauseOnFocusLoss ? "yes" : "no") << "\n";
    out << "colour_blind_radar = " << (settings.colourBlindRadar ? "yes" : "no") << "\n";
    out << "cues = " << (settings.cues ? "yes" : "no") << "\n";
    out << "captions = " << (settings.captions ? "yes" : "no") << "\n";
    for (int32_t a = 0; a < kActionCount; ++a) {
        const char* name = keyName(settings.keys[a]);
        out << "key." << kActions[a].name << " = " << (name != nullptr ? name : "none") << "\n";
    }
    for (int32_t a = 0; a < kActionCount; ++a) {
        out << "pad." << kActions[a].name << " = " << padButtonName(settings.padButtons[a]) << "\n";
    }
    return out.str();
}

Settings parseSettings(const std::string& text, const std::string& path) {
    Settings settings = defaultSettings();
    bool keySeen[kActionCount] = {};
    bool padSeen[kActionCount] = {};
    int lineNumber = 0;
    int badLines = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        const char* why = nullptr;
        if (equals == std::string::npos) {
            why = "expected name = value";
        } else {
            why = applyLine(settings, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), keySeen,
                            padSeen);
        }
        if (why != nullptr && ++badLines <= kBadLinesTold) {
            std::fprintf(stderr, "skarnwing: %s:%d: %s; that setting keeps its default\n", path.c_str(), lineNumber,
                         why);
        }
    }
    if (badLines > kBadLinesTold) {
        std::fprintf(stderr, "skarnwing: %s: %d more bad lines, which keep their defaults too\n", path.c_str(),
                     badLines - kBadLinesTold);
    }
    dropCollidingDefaults(settings.keys, keySeen, 0);
    dropCollidingDefaults(settings.padButtons, padSeen, kPadNone);
    return settings;
}

std::string settingsPath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return std::string(xdgConfigHome) + "/skarnwing/settings.ini";
    if (home == nullptr || home[0] == '\0') return std::string();
    return std::string(home) + "/.config/skarnwing/settings.ini";
}

std::string settingsPath() { return settingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

Settings loadSettings(const std::string& path) {
    struct stat info {};
    if (path.empty() || (lstat(path.c_str(), &info) != 0 && errno == ENOENT)) return defaultSettings();
    std::vector<uint8_t> bytes;
    if (!readRegularFile(path, "settings file", kMaxSettingsBytes, bytes)) return defaultSettings();
    return parseSettings(std::string(bytes.begin(), bytes.end()), path);
}

bool saveSettings(const Settings& settings, const std::string& path) {
    const size_t slash = path.rfind('/');
    if (path.empty() || (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))) {
        std::fprintf(stderr, "skarnwing: cannot make the folder for the settings file %s\n", path.c_str());
        return false;
    }
    const std::string text = formatSettings(settings);
    const int fd = openReplacement(path);
    const char* call = fd < 0 ? "open" : nullptr;
    if (call == nullptr && !writeAll(fd, text.data(), text.size())) {
        abandonReplacement(fd, path);
        call = "write";
    }
    if (call == nullptr) call = commitReplacement(fd, path);
    if (call != nullptr) {
        std::fprintf(stderr, "skarnwing: cannot write the settings file %s: %s failed (%s)\n", path.c_str(), call,
                     std::strerror(errno));
    }
    return call == nullptr;
}

Settings& activeSettings() {
    static Settings settings = defaultSettings();
    return settings;
}
