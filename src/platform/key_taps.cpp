// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/key_taps.h"

#include <cstring>

bool pollKeepingTaps(TapKeeper& keeper, bool (*next)(InputEvent*), InputEvent* event) {
    for (; keeper.dueScan < 256; ++keeper.dueScan) {
        if (!keeper.due[keeper.dueScan]) continue;
        keeper.due[keeper.dueScan] = 0;
        *event = InputEvent{InputEventType::KeyUp, keeper.dueScan, 0, 0, 0};
        return true;
    }
    while (next(event)) {
        const int32_t key = event->virtualKey & 0xFF;
        if (event->type == InputEventType::KeyDown) {
            keeper.pressed[key] = 1;
            keeper.heldBack[key] = 0;
        } else if (event->type == InputEventType::KeyUp && keeper.pressed[key]) {
            keeper.heldBack[key] = 1;
            continue;
        }
        return true;
    }
    std::memcpy(keeper.due, keeper.heldBack, sizeof keeper.due);
    std::memset(keeper.heldBack, 0, sizeof keeper.heldBack);
    std::memset(keeper.pressed, 0, sizeof keeper.pressed);
    keeper.dueScan = 0;
    return false;
}
