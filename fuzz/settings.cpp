// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file's reader on any bytes: what it fills holds only values the settings screen
// could have set (volumes in steps of 10, keys that have names, real pad buttons, no key or
// button bound to two actions), and written out and read again it comes back the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/settings.h"

namespace {

bool same(const Settings& a, const Settings& b) {
    bool equal = a.musicVolume == b.musicVolume && a.effectsVolume == b.effectsVolume && a.fullScreen == b.fullScreen &&
                 a.vsync == b.vsync && a.pauseOnFocusLoss == b.pauseOnFocusLoss &&
                 a.colourBlindRadar == b.colourBlindRadar;
    for (int32_t action = 0; action < kActionCount; ++action) {
        equal = equal && a.keys[action] == b.keys[action] && a.padButtons[action] == b.padButtons[action];
    }
    return equal;
}

bool volume(int32_t percent) { return percent >= 0 && percent <= 100 && percent % kVolumeStep == 0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Settings settings = parseSettings(std::string(reinterpret_cast<const char*>(data), size), "fuzz.ini");
    if (!volume(settings.musicVolume) || !volume(settings.effectsVolume)) std::abort();
    for (int32_t action = 0; action < kActionCount; ++action) {
        const int32_t key = settings.keys[action];
        const int32_t button = settings.padButtons[action];
        if ((key != 0 && keyName(key) == nullptr) || button < kPadNone || button >= kPadButtonCount) std::abort();
        if ((key != 0 && actionForKey(settings, key) != action) ||
            (button != kPadNone && actionForPadButton(settings, button) != action)) {
            std::abort(); // bound twice
        }
    }
    if (!same(parseSettings(formatSettings(settings), "fuzz.ini"), settings)) std::abort();
    return 0;
}
