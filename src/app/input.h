// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The input state that window messages produce: the key table and the mouse record. Both back
// ends feed their events through handleInputEvent, so scripted input behaves like real input.

#include <cstdint>

#include "game/game_state.h"
#include "platform/platform.h"

// Records one event: key down sets the entry (repeats keep it 1), key up clears it; mouse moves
// follow the capture rule; left button down and up set leftDown.
void handleInputEvent(uint8_t* keys, MouseState& mouse, const InputEvent& event);
