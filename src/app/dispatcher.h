// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The per-frame game step: picks the title picture, a screen between sorties or a sortie from
// the GameState's flags and runs every subsystem's step in its fixed order. The sortie's order
// is written once, in dispatcher.cpp.

struct GameState;

// A press made while the pause panel or the settings are up (`panelUp`) is theirs and reaches
// nothing else: its key reads up for the sortie until released, and the left button is latched
// for the screen beneath until it is up. A key held since before the pause is not held off, so a
// pause changes nothing of what it interrupts. Called once per frame, after the panels' input.
void holdOffPanelPresses(GameState& game, bool panelUp);

// Runs one frame's steps and drawing; true when it flew the world (a sortie frame).
bool runDispatcher(GameState& game);
