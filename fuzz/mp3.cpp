// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The MP3 decoder on the bytes of a music file, then the mixer playing the track.

#include <cstdint>
#include <cstdlib>

#include "assets/music.h"
#include "platform/audio.h"
#include "platform/mixer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    audioOpen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MusicTrack track;
    if (decodeMusic(track, data, size, "fuzz") && track.durationSeconds > kMaxMusicSeconds) std::abort();
    playMusic(track);
    int16_t out[2 * 1024];
    mixAudio(out, 1024);
    releaseMusic(track);
    return 0;
}
