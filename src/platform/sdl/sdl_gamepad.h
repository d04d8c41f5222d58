// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Game controllers drive the same key table as the keyboard: each controller event becomes the
// key presses and releases the keyboard would send for the actions its buttons are bound to
// (settings.h). The game never learns a pad is there. By default:
//   d-pad                    arrows; the left stick always moves as the d-pad (past a dead zone
//                            of a quarter of its travel)
//   right shoulder A (throttle up); left shoulder Z (throttle down); the triggers always press
//                            as the shoulders
//   A fire (Space), X weapon (Ctrl), Y gear (G), B smoke (S), Back restart (Y), Start pause (P)
// B also always sends Backspace, back one screen between sorties. No button is Esc, so a pad
// cannot quit the game by accident.

#include <SDL.h>

#include <deque>

#include "platform/platform.h"

// Handles a controller event (added, removed, button, axis) and queues the key events it
// causes. Returns false for events of other kinds.
bool gamepadHandleEvent(const SDL_Event& event, std::deque<InputEvent>& out);
// Closes every open controller and forgets their keys.
void gamepadCloseAll();
