// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The replay script's reader (recordings played with --play, the replay tool's scripts) on any
// bytes: a script it takes is in frame order, every command within what the game and the tool
// index with it, and its clock readings a counter's, from 0 and never running back. Its input
// commands then go into a key table and the mouse as the game takes them.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/input.h"
#include "missions/missions.h"
#include "replay/script.h"

namespace {

bool inRange(const Command& c) {
    switch (c.action) {
    case Action::Down:
    case Action::Up: return c.a >= 0 && c.a <= 0xFF;
    case Action::Mouse: return c.buttons >= -1 && c.buttons <= 3;
    case Action::Launch:
        return c.a >= 1 && c.a <= missionCount() && c.b >= 0 && c.b < missionRow(Mission(c.a)).levels &&
               c.missiles >= -1 && c.missiles <= 58;
    case Action::Clock: return c.frame >= 0;
    default: return c.frame >= 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Script script;
    if (!parseScript("fuzz", "fuzz.txt", std::string(reinterpret_cast<const char*>(data), size), script)) return 0;
    if (script.frequency < 0) std::abort();
    int64_t frame = 0;
    int64_t reading = 0;
    uint8_t keys[256] = {};
    MouseState mouse{};
    uint32_t buttons = 0;
    for (const Command& c : script.commands) {
        if (c.frame < frame || !inRange(c)) std::abort();
        frame = c.frame;
        for (const int64_t r : c.readings) {
            if (r < reading) std::abort();
            reading = r;
        }
        InputEvent event;
        if (inputEventOf(c, buttons, event)) handleInputEvent(keys, mouse, event);
    }
    return 0;
}
