// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/settings_screen.h"

#include <cstdio>
#include <cstring>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/controls.h"
#include "screens/focus.h"
#include "screens/plates.h"

namespace {

constexpr int32_t kOptionCount = 8;
constexpr const char* kOptionLabels[kOptionCount] = {
    "Music volume",        "Effects volume",     "Full screen at start", "Vsync",
    "Pause on focus loss", "Colour-blind radar", "First-sortie cues",    "Captions"};
// Controls: the options, then a key and a pad cell per action, then Reset, Controls and Back.
constexpr int32_t kFirstBinding = kOptionCount;
constexpr int32_t kReset = kFirstBinding + 2 * kActionCount;
constexpr int32_t kControlsButton = kReset + 1;
constexpr int32_t kBack = kControlsButton + 1;
constexpr int32_t kControlCount = kBack + 1;

constexpr int32_t kOptionTop = 110;  // first option's row
constexpr int32_t kOptionStep = 40;  // pixels per option
constexpr int32_t kBindingTop = 110; // first binding's row
constexpr int32_t kBindingStep = 32; // pixels per binding
constexpr int32_t kOptionLabelX = 150;
constexpr int32_t kBindingLabelX = 610;
constexpr int32_t kButtonsY = 640;
constexpr int32_t kCellHeight = 30;

enum Capture : uint8_t { kNotCapturing, kCapturingKey, kCapturingPad };

Rect controlAt(int32_t index) {
    if (index < kFirstBinding) {
        const int32_t y = kOptionTop + kOptionStep * index;
        return Rect{420, y, 570, y + kCellHeight - 1};
    }
    if (index < kReset) {
        const int32_t y = kBindingTop + kBindingStep * ((index - kFirstBinding) / 2);
        return (index - kFirstBinding) % 2 == 0 ? Rect{850, y, 950, y + kCellHeight - 1}
                                                : Rect{965, y, 1140, y + kCellHeight - 1};
    }
    if (index == kReset) return Rect{262, kButtonsY, 570, kButtonsY + 26};
    return index == kControlsButton ? Rect{590, kButtonsY, 700, kButtonsY + 26}
                                    : Rect{720, kButtonsY, 860, kButtonsY + 26};
}

struct Controls {
    Rect all[kControlCount];
    Controls() {
        for (int32_t i = 0; i < kControlCount; ++i) all[i] = controlAt(i);
    }
};

const Controls& controls() {
    static const Controls table;
    return table;
}

// Hands the settings the screen changed to the platform, whose input reads them at once.
void useSettings(const GameState& game) { activeSettings() = game.settings; }

bool Settings::*flagOf(int32_t option) {
    switch (option) {
    case 2: return &Settings::fullScreen;
    case 3: return &Settings::vsync;
    case 4: return &Settings::pauseOnFocusLoss;
    case 5: return &Settings::colourBlindRadar;
    case 6: return &Settings::cues;
    default: return &Settings::captions;
    }
}

// Steps an option: a volume by 10 within 0..100 (wrapping on Space), a choice flips.
void stepOption(GameState& game, int32_t option, int32_t step) {
    Settings& settings = game.settings;
    if (option <= 1) {
        int32_t& volume = option == 0 ? settings.musicVolume : settings.effectsVolume;
        if (step == 0) {
            volume = volume >= 100 ? 0 : volume + kVolumeStep;
        } else {
            volume = volume + step * kVolumeStep < 0
                         ? 0
                         : (volume + step * kVolumeStep > 100 ? 100 : volume + step * kVolumeStep);
        }
    } else {
        bool& flag = settings.*flagOf(option);
        flag = !flag;
    }
    useSettings(game);
    platformApplySettings();
}

void closeSettings(GameState& game) {
    game.settingsShown = 0;
    game.settingsCapturing = kNotCapturing;
    platformCaptureBinding(false);
    if (std::memcmp(&game.settingsOpenedWith, &game.settings, sizeof game.settings) != 0) {
        saveSettings(game.settings, settingsPath());
        game.settingsOpenedWith = game.settings;
    }
}

void activate(GameState& game, int32_t index, int32_t step) {
    spendNavigation(game);
    game.settingsMoved = -1;
    if (index < kFirstBinding) {
        stepOption(game, index, step);
    } else if (index < kReset) {
        game.settingsCapturing = (index - kFirstBinding) % 2 == 0 ? kCapturingKey : kCapturingPad;
        platformCaptureBinding(true);
    } else if (index == kControlsButton) {
        openControls(game);
    } else if (index == kReset) {
        Settings& settings = game.settings;
        const Settings defaults = defaultSettings();
        std::memcpy(settings.keys, defaults.keys, sizeof settings.keys);
        std::memcpy(settings.padButtons, defaults.padButtons, sizeof settings.padButtons);
        useSettings(game);
    } else {
        closeSettings(game);
    }
}

// A binding waiting for its key or button: it comes from the platform, or Backspace cancels.
void finishCapture(GameState& game) {
    int32_t key = 0;
    int32_t button = kPadNone;
    if (!platformTakeCapturedBinding(&key, &button)) return;
    const int32_t action = (game.settingsRow - kFirstBinding) / 2;
    if (game.settingsCapturing == kCapturingKey && key != 0 && keyName(key) != nullptr) {
        game.settingsMoved = bindKey(game.settings, action, key);
        useSettings(game);
    } else if (game.settingsCapturing == kCapturingPad && button != kPadNone) {
        const int32_t moved = bindPadButton(game.settings, action, button);
        useSettings(game);
        game.settingsMoved = moved >= 0 ? moved + kActionCount : -1;
    }
    game.settingsCapturing = kNotCapturing;
}

// A text centred in a control, in the small font.
void drawCentred(const GameState& game, const char* text, const Rect& c, uint32_t colour) {
    drawLabel(game, text, (c.left + c.right - labelWidth(game, text)) / 2, c.top + 2, colour);
}

// A button or value box as the house draws them: navy-mid, lit amber under the mouse.
void drawBox(const GameState& game, const Rect& c) {
    drawBacking(game.assets->canvas, c.left, c.top, c.right, c.bottom, kHouseNavyMid);
}

} // namespace

void openSettings(GameState& game) {
    game.settingsShown = 1;
    game.settingsRow = 0;
    game.settingsCapturing = kNotCapturing;
    game.settingsMoved = -1;
    game.panelClickLatch = game.mouse.leftDown;
    game.settingsOpenedWith = game.settings;
}

void updateSettings(GameState& game) {
    const bool click = game.mouse.leftDown && !game.panelClickLatch;
    game.panelClickLatch = game.mouse.leftDown;
    if (game.settingsCapturing != kNotCapturing) {
        finishCapture(game);
        if (game.settingsCapturing != kNotCapturing && (navigation(game).back || click)) {
            game.settingsCapturing = kNotCapturing;
            platformCaptureBinding(false);
        }
        return;
    }
    const NavPress nav = navigation(game);
    const Rect* all = controls().all;
    int32_t& row = game.settingsRow;
    if (row < 0 || row >= kControlCount) row = 0;
    if (nav.dy != 0) row = nearestControl(all, kControlCount, row, 0, nav.dy);
    if (nav.dx != 0) {
        if (row < kFirstBinding) {
            stepOption(game, row, nav.dx);
        } else {
            row = nearestControl(all, kControlCount, row, nav.dx, 0);
        }
    }
    const int32_t under = controlUnderMouse(game, all, kControlCount);
    if (click && under >= 0) {
        row = under;
        // A click on a volume's left half lowers it, on its right half raises it.
        const int32_t step = under <= 1 ? (game.mouse.x < (all[under].left + all[under].right) / 2 ? -1 : 1) : 0;
        activate(game, under, step);
    } else if (nav.activate) {
        activate(game, row, 0);
    } else if (nav.back) {
        spendNavigation(game);
        closeSettings(game);
    }
}

void drawSettings(const GameState& game) {
    drawPlate(game, 120, 20, 1160, 700, true);
    drawHeading(game, "SETTINGS", 640, 36);
    const Settings& settings = game.settings;
    char text[64];
    for (int32_t option = 0; option < kOptionCount; ++option) {
        const Rect c = controlAt(option);
        drawLabel(game, kOptionLabels[option], kOptionLabelX, c.top + 2, kHouseCream);
        if (option <= 1) {
            std::snprintf(text, sizeof text, "< %d%% >", option == 0 ? settings.musicVolume : settings.effectsVolume);
        } else {
            std::snprintf(text, sizeof text, "%s", settings.*flagOf(option) ? "yes" : "no");
        }
        drawBox(game, c);
        drawCentred(game, text, c, kHouseAmber);
    }
    drawLabel(game, "key", 881, kBindingTop - 30, kHouseCreamDim);
    drawLabel(game, "pad", 1033, kBindingTop - 30, kHouseCreamDim);
    for (int32_t action = 0; action < kActionCount; ++action) {
        const int32_t keyCell = kFirstBinding + 2 * action;
        const Rect keyBox = controlAt(keyCell);
        const Rect padBox = controlAt(keyCell + 1);
        drawLabel(game, actionLabel(action), kBindingLabelX, keyBox.top + 2, kHouseCream);
        const bool capturing = game.settingsCapturing != kNotCapturing && game.settingsRow / 2 == keyCell / 2 &&
                               game.settingsRow >= kFirstBinding && game.settingsRow < kReset;
        if (capturing && game.settingsCapturing == kCapturingKey) {
            drawCentred(game, "press a key", keyBox, kHouseAmber);
        } else {
            const int32_t w = bindingWidth(game, action, false);
            drawBinding(game, action, (keyBox.left + keyBox.right - w) / 2, keyBox.top, false);
        }
        if (capturing && game.settingsCapturing == kCapturingPad) {
            drawCentred(game, "press a button", padBox, kHouseAmber);
        } else {
            const int32_t w = bindingWidth(game, action, true);
            drawBinding(game, action, (padBox.left + padBox.right - w) / 2, padBox.top - 1, true);
        }
    }
    const int32_t under = controlUnderMouse(game, controls().all, kControlCount);
    const char* buttons[3] = {"Reset keys and buttons", "Controls", "Back"};
    for (int32_t i = 0; i < 3; ++i) {
        const Rect c = controlAt(kReset + i);
        drawBox(game, c);
        drawCentred(game, buttons[i], c, under == kReset + i ? kHouseAmber : kHouseCream);
    }
    if (game.settingsMoved >= 0) {
        const bool pad = game.settingsMoved >= kActionCount;
        const int32_t moved = pad ? game.settingsMoved - kActionCount : game.settingsMoved;
        const char* now = pad ? padButtonName(settings.padButtons[moved]) : keyName(settings.keys[moved]);
        std::snprintf(text, sizeof text, "That was %s's: %s now has %s.", actionLabel(moved), actionLabel(moved),
                      now != nullptr ? now : "none");
        drawLabel(game, text, kOptionLabelX, kButtonsY - 40, kHouseAmber);
    }
    drawFocusRing(game, controlAt(game.settingsRow));
}
