// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The audio part of a state dump.

#include <string>

struct GameState;

// Appends ,"playing":[{"sound":NAME,"volume":V}...],"music":{"track":T,"seconds":S} to a JSON
// object being written that already holds a key: the sound slots playing, in slot order, each
// with its file name and its volume in hundredths of a decibel (a file loaded into several slots
// appears once per slot playing), the music track that plays (1, 2, or 0 for none) and its
// position in seconds.
void dumpAudioState(const GameState& game, std::string& out);
