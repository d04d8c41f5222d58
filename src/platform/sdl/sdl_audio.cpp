// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The SDL audio device: 44100 Hz, 16-bit, stereo, its callback filling each buffer from the
// mixer. The mixer takes its own lock, so the game thread may call it while the device runs.

#include <SDL.h>

#include <cstdio>

#include "platform/audio.h"
#include "platform/mixer.h"

namespace {

SDL_AudioDeviceID gDevice = 0; // 0 while no device is open
bool gReadied = false;         // audioOpen was called: audioStart opens the device

// Runs on SDL's audio thread with the device locked.
void fillAudio(void* /*userdata*/, Uint8* stream, int length) {
    mixAudio(reinterpret_cast<int16_t*>(stream), length / 4);
}

} // namespace

void audioOpen() {
    mixerReset();
    gReadied = true;
}

void audioStart() {
    if (!gReadied || gDevice != 0) return;
    gReadied = false; // one attempt: a missing device is reported once
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "audio: cannot start SDL audio: %s\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kAudioRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fillAudio;
    SDL_AudioSpec obtained{};
    gDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (gDevice == 0) {
        std::fprintf(stderr, "audio: cannot open an audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(gDevice, 0);
}

void audioClose() {
    gReadied = false;
    if (gDevice != 0) {
        SDL_CloseAudioDevice(gDevice);
        gDevice = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    mixerReset();
}
