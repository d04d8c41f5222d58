// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Captions (a setting, off by default): while the airshow's crowd loop sounds, the words of the
// announcer's calls and of the crowd's shouts worth reading, on a plate at the bottom of the
// screen, each while it is spoken, timed by the loop's place in the mixer.

#include <cstdint>

struct GameState;

// At most this many pieces show at once: the announcer and two shouts.
constexpr int32_t kCaptionsShown = 3;

// The pieces sounding `seconds` into the loop, the announcer's first, into `out`; returns how
// many (at most kCaptionsShown).
int32_t captionsAt(const GameState& game, double seconds, int32_t* out);

// The plate, last in a sortie's frame, when captions are on and the crowd loop plays.
void drawCaptions(const GameState& game);
