// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/sdl_gamepad.h"

#include <cstring>

#include "platform/settings.h"

namespace {

constexpr int32_t kPadCount = 4;            // controllers followed at once
constexpr int32_t kStickDeadZone = 8000;    // of 32767: a quarter of the stick's travel
constexpr int32_t kTriggerThreshold = 8000; // of 32767

struct Pad {
    bool inUse = false;
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr; // null for a pad only seen through its events
    uint8_t buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
    int16_t axes[SDL_CONTROLLER_AXIS_MAX] = {};
};

Pad gPads[kPadCount];
uint8_t gPadHeld[256] = {}; // keys the pads hold down, as last sent

// The pad with this id; a free slot is claimed for an id not seen yet. Null when all are taken.
Pad* padFor(SDL_JoystickID id) {
    for (Pad& pad : gPads) {
        if (pad.inUse && pad.id == id) return &pad;
    }
    for (Pad& pad : gPads) {
        if (pad.inUse) continue;
        pad = Pad{};
        pad.inUse = true;
        pad.id = id;
        return &pad;
    }
    return nullptr;
}

static_assert(kPadButtonCount == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1, "pad buttons are numbered as SDL numbers them");

// The keys one pad's state holds.
void addPadKeys(const Pad& pad, uint8_t* held) {
    bool down[kPadButtonCount] = {};
    for (int32_t b = 0; b < kPadButtonCount; ++b) down[b] = pad.buttons[b] != 0;
    const int32_t x = pad.axes[SDL_CONTROLLER_AXIS_LEFTX];
    const int32_t y = pad.axes[SDL_CONTROLLER_AXIS_LEFTY];
    down[SDL_CONTROLLER_BUTTON_DPAD_LEFT] |= x < -kStickDeadZone;
    down[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] |= x > kStickDeadZone;
    down[SDL_CONTROLLER_BUTTON_DPAD_UP] |= y < -kStickDeadZone;
    down[SDL_CONTROLLER_BUTTON_DPAD_DOWN] |= y > kStickDeadZone;
    down[SDL_CONTROLLER_BUTTON_RIGHTSHOULDER] |= pad.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] > kTriggerThreshold;
    down[SDL_CONTROLLER_BUTTON_LEFTSHOULDER] |= pad.axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT] > kTriggerThreshold;
    const Settings& settings = activeSettings();
    for (int32_t action = 0; action < kActionCount; ++action) {
        const int32_t b = settings.padButtons[action];
        if (b >= 0 && b < kPadButtonCount && down[b]) held[actionKey(action) & 0xFF] = 1;
    }
    if (down[SDL_CONTROLLER_BUTTON_B]) held[kVkBackspace] = 1;
}

// Queues a press or release for every key whose pad state changed.
void sendChanges(std::deque<InputEvent>& out) {
    uint8_t held[256] = {};
    for (const Pad& pad : gPads) {
        if (pad.inUse) addPadKeys(pad, held);
    }
    for (int32_t key = 0; key < 256; ++key) {
        if (held[key] == gPadHeld[key]) continue;
        out.push_back(InputEvent{held[key] ? InputEventType::KeyDown : InputEventType::KeyUp, key, 0, 0, 0});
        gPadHeld[key] = held[key];
    }
}

} // namespace

bool gamepadHandleEvent(const SDL_Event& event, std::deque<InputEvent>& out) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
        if (controller == nullptr) return true;
        Pad* pad = padFor(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)));
        if (pad == nullptr || pad->controller != nullptr) {
            SDL_GameControllerClose(controller);
        } else {
            pad->controller = controller;
        }
        return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
        for (Pad& pad : gPads) {
            if (!pad.inUse || pad.id != event.cdevice.which) continue;
            if (pad.controller != nullptr) SDL_GameControllerClose(pad.controller);
            pad = Pad{};
        }
        sendChanges(out);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = padFor(event.cbutton.which);
            pad != nullptr && event.cbutton.button < SDL_CONTROLLER_BUTTON_MAX) {
            pad->buttons[event.cbutton.button] = event.type == SDL_CONTROLLERBUTTONDOWN;
            sendChanges(out);
        }
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padFor(event.caxis.which); pad != nullptr && event.caxis.axis < SDL_CONTROLLER_AXIS_MAX) {
            pad->axes[event.caxis.axis] = event.caxis.value;
            sendChanges(out);
        }
        return true;
    default: return false;
    }
}

void gamepadCloseAll() {
    for (Pad& pad : gPads) {
        if (pad.inUse && pad.controller != nullptr) SDL_GameControllerClose(pad.controller);
        pad = Pad{};
    }
    std::memset(gPadHeld, 0, sizeof gPadHeld);
}
