// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keeps quick key taps. A key pressed and released between two frames would otherwise be up
// again before any frame reads the key table, and the tap would be lost. Both back ends pass
// their events through here, so scripted and real input keep taps alike.

#include <cstdint>

#include "platform/platform.h"

struct TapKeeper {
    uint8_t pressed[256] = {};  // pressed since the last frame
    uint8_t heldBack[256] = {}; // released since the last frame after a press in it
    uint8_t due[256] = {};      // held-back releases to hand out before the next batch
    int32_t dueScan = 256;      // next index of `due` to look at
};

// The next event for the game, taken from `next` (the back end's raw source) except for a key's
// release that follows its press within the same batch: that one is held back and handed out
// first in the next batch, after the frame that sees the key held. A new press of the key in
// the same batch cancels the held-back release. Returns false when the batch ends.
bool pollKeepingTaps(TapKeeper& keeper, bool (*next)(InputEvent*), InputEvent* event);
