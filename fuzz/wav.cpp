// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Both WAV loaders (the fixed 44100 Hz stereo one and the converting one) on one file, then the
// mixer playing whatever they loaded.

#include <cstdint>

#include "assets/sound.h"
#include "fuzz_file.h"
#include "platform/audio.h"
#include "platform/mixer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    audioOpen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeFuzzFile(data, size)) return 0;
    SoundEffect fixed = loadWavFixed(fuzzFilePath().c_str());
    SoundEffect chunked = loadWavChunked(fuzzFilePath().c_str());
    SoundEffect copy = copySound(chunked);
    playOnce(fixed, 0);
    playLooping(chunked, -300);
    playOnce(copy, -12000);
    int16_t out[2 * 1024];
    mixAudio(out, 1024);
    releaseSound(copy);
    releaseSound(fixed);
    releaseSound(chunked);
    return 0;
}
