// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Replay scripts, as the replay tool reads them and skarnwing --record writes them: a command per
// line, each at the frame before which (or after which, for what looks at a frame) it acts.
// The commands are listed at the top of tools/replay.cpp.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

enum class Action { Down, Up, Mouse, Press, Release, Launch, Save, Load, Shot, Dump, Hash, End, Clock };

struct Command {
    int64_t frame = 0;
    Action action = Action::End;
    int32_t a = 0;         // key code, mouse x, or mission
    int32_t b = 0;         // mouse y, or difficulty
    int32_t missiles = -1; // missiles bought before a launch, or -1 to keep the load
    int32_t buttons = -1;  // mouse buttons held, or -1 for those press and release left
    std::string path;
    std::vector<int64_t> readings; // clock
    int line = 0;
};

struct Script {
    uint32_t seed = 1;
    int64_t frequency = 0; // 0: the back end's own clock
    bool fullScreen = false;
    std::string saveFolder;
    bool keepBests = false;        // won sorties are kept as bests beside the save, as the game keeps them
    std::vector<Command> commands; // in frame order
};

// Virtual-key code for a key name (Backspace Tab Enter Ctrl Esc Space Left Up Right Down, a letter or
// digit, or a code such as 0x41), or -1.
int32_t keyCode(const std::string& name);

// The input event an input command (down, up, mouse, press, release) stands for, into `event`;
// false for any other command. `buttons` holds the mouse buttons as the commands so far left
// them: press and release change it, a mouse line without buttons of its own reports it.
bool inputEventOf(const Command& command, uint32_t& buttons, InputEvent& event);

// Reads one command line (comments already removed) into `command`; null when it is well formed,
// otherwise why not.
const char* parseCommand(const std::string& text, int lineNumber, Command& command);

// Takes a script's text into `script`, its commands in frame order; on a bad line prints one
// message naming `name` and the line, as `program` says it, and returns false. Clock readings
// are counter values: from 0, and never lower than the one before in frame order.
bool parseScript(const char* program, const char* name, const std::string& text, Script& script);
// Reads the script at `path` as parseScript does. A missing file, one that is not a regular file
// (a FIFO or device is refused without waiting on it) or one over 64 MiB is refused with one
// line on stderr.
bool readScript(const char* program, const char* path, Script& script);
