// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's sound files under Files/Sound and how each is played, from the game's asset list.
#pragma once

#include "../src/assets/asset_list.h"

struct SoundFile {
    const char* name;
    bool loops;   // played looping: its end must lead into its start without a step
    bool chunked; // read by the chunk-walking loader instead of the 44-byte-header one
};

#define SKARNWING_SOUND_FILE(slot, file, loops, chunked) {file, loops, chunked},
inline constexpr SoundFile kSoundFiles[] = {SKARNWING_SOUNDS(SKARNWING_SOUND_FILE)};
#undef SKARNWING_SOUND_FILE

inline constexpr const char* kMusicFiles[] = {"m1.z2", "m2.z2"};
