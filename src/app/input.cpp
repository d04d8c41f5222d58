// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/input.h"

namespace {
// Rows beyond this are treated as off the client area even while captured.
constexpr int32_t kMouseMaxY = 19999;
} // namespace

void handleInputEvent(uint8_t* keys, MouseState& mouse, const InputEvent& event) {
    switch (event.type) {
    case InputEventType::KeyDown: keys[event.virtualKey & 0xFF] = 1; break;
    case InputEventType::KeyUp: keys[event.virtualKey & 0xFF] = 0; break;
    case InputEventType::LeftDown: mouse.leftDown = 1; break;
    case InputEventType::LeftUp: mouse.leftDown = 0; break;
    case InputEventType::MouseMove:
        // Inside (the left column x = 0 counts as outside): track and take the capture, so a
        // release outside the window is still seen.
        if (event.x > 0 && event.y >= 1 && event.y <= kMouseMaxY) {
            mouse.x = event.x;
            mouse.y = event.y;
            if (!mouse.captured) {
                platformCaptureMouse(true);
                mouse.captured = 1;
            }
        } else if (event.buttons & (kMouseButtonLeft | kMouseButtonRight)) {
            // Dragged out: clamp left and top (and far below); x has no upper clamp.
            mouse.x = event.x < 0 ? 0 : event.x;
            mouse.y = event.y < 0 ? 0 : (event.y > kMouseMaxY ? kMouseMaxY : event.y);
        } else {
            platformCaptureMouse(false);
            mouse.captured = 0;
            mouse.leftDown = 0;
        }
        break;
    case InputEventType::Quit: break;
    }
}
