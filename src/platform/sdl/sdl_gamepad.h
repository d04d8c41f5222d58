#pragma once
// Game controllers drive the same key table as the keyboard: each controller event becomes the
// key presses and releases the keyboard would send. The game never learns a pad is there.
//   d-pad or left stick      arrows (stick past a dead zone of a quarter of its travel)
//   right trigger or shoulder A (throttle up); left trigger or shoulder Z (throttle down)
//   A fire (Space), X weapon (Ctrl), Y gear (G), B smoke (S), Back restart (Y), Start Enter
// No button is Esc, so a pad cannot quit the game by accident.

#include <SDL.h>

#include <deque>

#include "platform/platform.h"

// Handles a controller event (added, removed, button, axis) and queues the key events it
// causes. Returns false for events of other kinds.
bool gamepadHandleEvent(const SDL_Event& event, std::deque<InputEvent>& out);
// Closes every open controller and forgets their keys.
void gamepadCloseAll();
