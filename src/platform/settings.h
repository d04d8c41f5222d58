// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's settings: volumes, presentation, the pause on focus loss, the radar's palette and
// the key and pad bindings. They live in the platform layer: a binding turns a physical key or
// pad button into the virtual key of its action before the game sees it, so the game, its
// replays and its recordings only ever see virtual keys. Stored as a small text file the player
// may edit by hand:
//
//   # comment
//   music_volume = 70           percent, 0..100 in steps of 10
//   effects_volume = 100
//   fullscreen = no             yes or no: full screen at start
//   vsync = yes
//   pause_on_focus_loss = no
//   colour_blind_radar = no     blue and orange radar dots in place of green and red
//   cues = yes                  the first sorties' cues, until the player has landed once
//   captions = no               the airshow's calls and shouts in words at the bottom
//   key.fire = Space            a key name (keyName), or "none"
//   pad.fire = A                a pad button name (padButtonName), or "none"

#include <cstdint>
#include <string>
#include <string_view>

// What a binding can move. Each action's virtual key is what the game sees (kActionKeys).
enum BoundAction : int32_t {
    kActTurnLeft,
    kActTurnRight,
    kActRollUp,
    kActRollDown,
    kActThrottleUp,
    kActThrottleDown,
    kActFire,
    kActNextWeapon,
    kActGear,
    kActSmoke,
    kActRestart,
    kActOverlay,
    kActPause,
    kActScreenshot,
    kActMute,
    kActionCount
};

// Virtual keys the platform sends for these events and keys; the game reads them.
constexpr int32_t kVkBackspace = 0x08;  // back one screen (pad B too, whatever it is bound to)
constexpr int32_t kVkPauseKey = 0x50;   // P, the pause action
constexpr int32_t kVkFocusLost = 0x88;  // a tap sent when the window loses focus, when asked for
constexpr int32_t kVkScreenshot = 0x7B; // F12; the platform acts on it, the game never sees it
constexpr int32_t kVkMute = 0x4D;       // M; likewise

// The pad's buttons, numbered as SDL's game controller numbers them. The left stick always
// moves as the d-pad does and the triggers always press as the shoulders do.
constexpr int32_t kPadButtonCount = 15;
constexpr int32_t kPadNone = -1;

constexpr int32_t kVolumeStep = 10; // percent

struct Settings {
    int32_t musicVolume = 100;   // percent, 0..100 in steps of 10
    int32_t effectsVolume = 100; // percent, 0..100 in steps of 10
    bool fullScreen = false;     // full screen at start
    bool vsync = true;
    bool pauseOnFocusLoss = false;
    bool colourBlindRadar = false;
    bool cues = true;
    bool captions = false;
    int32_t keys[kActionCount] = {};       // physical key of each action, a virtual-key code, 0 none
    int32_t padButtons[kActionCount] = {}; // pad button of each action, kPadNone for none
};

// Every value at its default: the keys and buttons of the README's table.
Settings defaultSettings();

// The name of an action in the file ("turn_left") and on the settings screen ("Turn left").
const char* actionName(int32_t action);
const char* actionLabel(int32_t action);
// The virtual key the game sees for an action.
int32_t actionKey(int32_t action);

// A physical key's name ("Space", "F5", "A"), or null for a key that cannot be bound. Esc,
// Enter and Backspace keep their meanings and cannot be bound.
const char* keyName(int32_t key);
// The key for a name (case ignored), 0 for none or an unknown name.
int32_t keyFromName(std::string_view name);
const char* padButtonName(int32_t button);
int32_t padButtonFromName(std::string_view name); // kPadNone for "none" or unknown

// The action a physical key is bound to, or -1.
int32_t actionForKey(const Settings& settings, int32_t key);
int32_t actionForPadButton(const Settings& settings, int32_t button);

// Binds `key` to `action`. An action that had the key already takes the action's old key in
// exchange, and its index is returned so the screen can say so; -1 when nothing moved.
int32_t bindKey(Settings& settings, int32_t action, int32_t key);
int32_t bindPadButton(Settings& settings, int32_t action, int32_t button);

// The file's text for `settings`.
std::string formatSettings(const Settings& settings);
// Reads the file's text over the defaults. Each bad line (unknown name, bad value, a key or
// button already bound on an earlier line) leaves that value at its default; the good lines are
// kept. The first ten bad lines are reported on stderr with `path` and their line numbers, then
// one more line gives the count of the rest.
Settings parseSettings(const std::string& text, const std::string& path);

// $XDG_CONFIG_HOME/skarnwing/settings.ini, or ~/.config/skarnwing/settings.ini when it is
// unset, empty or not absolute; empty when there is no home.
std::string settingsPath(const char* xdgConfigHome, const char* home);
std::string settingsPath();
// Loads the file at `path`: defaults when it is missing; defaults and one line on stderr when it
// cannot be read or is not a regular file of at most 64 KiB (a FIFO is refused without waiting).
Settings loadSettings(const std::string& path);
// Writes the file whole as the save is written (openReplacement), making its folder. False, with
// one line on stderr, on failure; the old file is then untouched.
bool saveSettings(const Settings& settings, const std::string& path);

// The settings in force for this run. The back ends read them at every event; the game reads
// the radar palette.
Settings& activeSettings();
