#include "screens/settings_screen.h"

#include <cstdio>
#include <cstring>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "screens/focus.h"

namespace {

constexpr int32_t kOptionCount = 6;
constexpr const char* kOptionLabels[kOptionCount] = {
    "Music volume",      "Effects volume", "Full screen at start", "Vsync", "Pause when the window loses focus",
    "Colour-blind radar"};
// Controls: the options, then a key and a pad cell per action, then Reset and Back.
constexpr int32_t kFirstBinding = kOptionCount;
constexpr int32_t kReset = kFirstBinding + 2 * kActionCount;
constexpr int32_t kBack = kReset + 1;
constexpr int32_t kControlCount = kBack + 1;

constexpr int32_t kTop = 70;     // first row
constexpr int32_t kRowStep = 25; // pixels per row
constexpr int32_t kLabelX = 300;
constexpr int32_t kButtonsY = 640;

constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kYellow = 0xFFFFDC00u;

enum Capture : uint8_t { kNotCapturing, kCapturingKey, kCapturingPad };

Settings gOpenedWith; // what the file would say now, to write it only when something changed

Rect controlAt(int32_t index) {
    if (index < kFirstBinding) {
        const int32_t y = kTop + kRowStep * index;
        return Rect{760, y, 900, y + 20};
    }
    if (index < kReset) {
        const int32_t row = kOptionCount + 1 + (index - kFirstBinding) / 2; // under the "key" and "pad" heads
        const int32_t y = kTop + kRowStep * row;
        return (index - kFirstBinding) % 2 == 0 ? Rect{760, y, 900, y + 20} : Rect{920, y, 1080, y + 20};
    }
    return index == kReset ? Rect{420, kButtonsY, 660, kButtonsY + 24} : Rect{720, kButtonsY, 860, kButtonsY + 24};
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

bool* flagOf(Settings& settings, int32_t option) {
    switch (option) {
    case 2: return &settings.fullScreen;
    case 3: return &settings.vsync;
    case 4: return &settings.pauseOnFocusLoss;
    default: return &settings.colourBlindRadar;
    }
}

// Steps an option: a volume by 10 within 0..100 (wrapping on Space), a choice flips.
void stepOption(int32_t option, int32_t step) {
    Settings& settings = activeSettings();
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
        bool* flag = flagOf(settings, option);
        *flag = !*flag;
    }
    platformApplySettings();
}

void closeSettings(GameState& game) {
    game.settingsShown = 0;
    game.settingsCapturing = kNotCapturing;
    platformCaptureBinding(false);
    if (std::memcmp(&gOpenedWith, &activeSettings(), sizeof gOpenedWith) != 0) {
        saveSettings(activeSettings(), settingsPath());
        gOpenedWith = activeSettings();
    }
}

void activate(GameState& game, int32_t index, int32_t step) {
    spendNavigation(game);
    game.settingsMoved = -1;
    if (index < kFirstBinding) {
        stepOption(index, step);
    } else if (index < kReset) {
        game.settingsCapturing = (index - kFirstBinding) % 2 == 0 ? kCapturingKey : kCapturingPad;
        platformCaptureBinding(true);
    } else if (index == kReset) {
        Settings& settings = activeSettings();
        const Settings defaults = defaultSettings();
        std::memcpy(settings.keys, defaults.keys, sizeof settings.keys);
        std::memcpy(settings.padButtons, defaults.padButtons, sizeof settings.padButtons);
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
        game.settingsMoved = bindKey(activeSettings(), action, key);
    } else if (game.settingsCapturing == kCapturingPad && button != kPadNone) {
        const int32_t moved = bindPadButton(activeSettings(), action, button);
        game.settingsMoved = moved >= 0 ? moved + kActionCount : -1;
    }
    game.settingsCapturing = kNotCapturing;
}

void drawCentred(const GameState& game, const char* text, const Rect& c, uint32_t colour) {
    const BitmapFont& font = game.assets->smallFont;
    const int32_t width = static_cast<int32_t>(std::strlen(text)) * font.cellWidth;
    drawText(game.assets->canvas, text, (c.left + c.right - width) / 2, c.top + 4, font, colour);
}

} // namespace

void openSettings(GameState& game) {
    game.settingsShown = 1;
    game.settingsRow = 0;
    game.settingsCapturing = kNotCapturing;
    game.settingsMoved = -1;
    game.panelClickLatch = game.mouse.leftDown;
    gOpenedWith = activeSettings();
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
            stepOption(row, nav.dx);
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
    drawPanel(game, 280, 20, 1100, 700);
    Canvas& canvas = game.assets->canvas;
    const BitmapFont& font = game.assets->smallFont;
    drawText(canvas, "SETTINGS", 640 - 4 * font.cellWidth, 36, font, kGreen);
    const Settings& settings = activeSettings();
    char text[64];
    for (int32_t option = 0; option < kOptionCount; ++option) {
        drawText(canvas, kOptionLabels[option], kLabelX, kTop + kRowStep * option + 4, font, kWhite);
        if (option <= 1) {
            std::snprintf(text, sizeof text, "< %d%% >", option == 0 ? settings.musicVolume : settings.effectsVolume);
        } else {
            std::snprintf(text, sizeof text, "%s", *flagOf(activeSettings(), option) ? "yes" : "no");
        }
        drawCentred(game, text, controlAt(option), kGreen);
    }
    for (int32_t action = 0; action < kActionCount; ++action) {
        const int32_t y = kTop + kRowStep * (kOptionCount + 1 + action);
        drawText(canvas, actionLabel(action), kLabelX, y + 4, font, kWhite);
        const int32_t keyCell = kFirstBinding + 2 * action;
        const bool capturing = game.settingsCapturing != kNotCapturing && game.settingsRow / 2 == keyCell / 2 &&
                               game.settingsRow >= kFirstBinding && game.settingsRow < kReset;
        const char* key = keyName(settings.keys[action]);
        const bool keyWaits = capturing && game.settingsCapturing == kCapturingKey;
        const bool padWaits = capturing && game.settingsCapturing == kCapturingPad;
        drawCentred(game, keyWaits ? "press a key" : (key != nullptr ? key : "none"), controlAt(keyCell),
                    keyWaits ? kYellow : kGreen);
        drawCentred(game, padWaits ? "press a button" : padButtonName(settings.padButtons[action]),
                    controlAt(keyCell + 1), padWaits ? kYellow : kGreen);
    }
    drawText(canvas, "key", 815, kTop + kRowStep * kOptionCount + 4, font, kWhite);
    drawText(canvas, "pad", 985, kTop + kRowStep * kOptionCount + 4, font, kWhite);
    drawCentred(game, "Reset keys and buttons", controlAt(kReset), kWhite);
    drawCentred(game, "Back", controlAt(kBack), kWhite);
    if (game.settingsMoved >= 0) {
        const bool pad = game.settingsMoved >= kActionCount;
        const int32_t moved = pad ? game.settingsMoved - kActionCount : game.settingsMoved;
        const char* now = pad ? padButtonName(settings.padButtons[moved]) : keyName(settings.keys[moved]);
        std::snprintf(text, sizeof text, "That was %s's: %s now has %s.", actionLabel(moved), actionLabel(moved),
                      now != nullptr ? now : "none");
        drawText(canvas, text, kLabelX, kButtonsY + 32, font, kYellow);
    }
    drawFocusRing(game, controlAt(game.settingsRow));
}
