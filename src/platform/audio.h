// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The audio side of the platform layer. The mixer itself is back-end neutral: the SDL back end
// calls mixAudio from its device callback, the headless one once per frame for 735 sample
// frames (1/60 s at 44100 Hz), so that playing, stopping and positions behave the same.

#include <cstdint>

constexpr int32_t kAudioRate = 44100;          // sample frames per second
constexpr int32_t kHeadlessFrameSamples = 735; // sample frames mixed per headless game frame

// Readies the output at 44100 Hz, 16-bit stereo, from an empty mixer: voices and streams may be
// made and played at once, and are heard from audioStart on.
void audioOpen();
// Starts the output audioOpen readied: the SDL back end opens its sound device here, saying so
// when it cannot, and only the first call after audioOpen does anything. Start-up leaves it until
// the first frame is on screen: opening the device while the window opened, on a loaded machine,
// took as long again as the window itself.
void audioStart();
void audioClose();

// Window focus: while unfocused only voices marked focus-global sound.
void audioSetFocus(bool focused);

// Mixes the next sampleFrames stereo frames (interleaved left, right) into out, advancing every
// playing voice and music stream.
void mixAudio(int16_t* out, int32_t sampleFrames);
