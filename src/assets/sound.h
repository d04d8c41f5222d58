// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Sound effects: WAV files loaded once into mixer voices, played once or looping at an
// attenuation in hundredths of a decibel (0 full, -10000 silent).

#include <cstddef>
#include <cstdint>

constexpr int32_t kSoundNameSize = 32;
// Larger WAV files are refused unread: converted, 16 MB of 8 kHz mono becomes some 350 MB.
constexpr size_t kMaxSoundFileBytes = 16 * 1024 * 1024;
// Sample data of 44100 Hz 16-bit stereo from this size on (12 s) is not held: the voice reads it
// from the file as it plays, the way the music is decoded as it plays.
constexpr size_t kStreamedSoundBytes = 2 * 1024 * 1024;

// One sound slot: a mixer voice, or none (0) when the file could not be loaded; a slot without
// a voice is silent and every operation on it does nothing.
struct SoundEffect {
    int32_t voice = 0;
    char name[kSoundNameSize] = {}; // file name without its folders, for state dumps
};

// Loads a 44100 Hz 16-bit stereo PCM WAV file. A missing, malformed or differently formatted
// file gives an empty slot and one line on stderr.
SoundEffect loadWavFixed(const char* windowsPath);
// Loads a PCM WAV file in the format it declares (8 or 16 bits, mono or stereo, 8000 to
// 96000 Hz, converted to the mixer's format). Its voice stays audible while the window is
// unfocused. Failures as loadWavFixed.
SoundEffect loadWavChunked(const char* windowsPath);

// A second slot for the same effect: independent (it plays, stops and has its volume on its
// own) but sharing the samples. Empty when `sound` is.
SoundEffect copySound(const SoundEffect& sound);

// Puts a loaded effect into a slot, releasing the voice the slot held.
void assignSound(SoundEffect& slot, const SoundEffect& loaded);
// Releases the slot's voice and leaves it empty.
void releaseSound(SoundEffect& slot);

// Rewinds, sets the volume (values below -10000 play at -10000) and plays once.
void playOnce(SoundEffect& sound, int32_t volume);
// Rewinds, sets the volume as playOnce does and plays looping.
void playLooping(SoundEffect& sound, int32_t volume);
// Sets the volume as playOnce does, playing or not.
void setVolume(SoundEffect& sound, int32_t volume);
// Stops; the position stays where it stopped.
void stopSound(SoundEffect& sound);
bool isPlaying(const SoundEffect& sound);
// Sample frames (44100 a second) from the start of the effect to where it plays now; a looping
// effect starts again from 0 at each pass. 0 for an empty slot.
uint32_t soundPosition(const SoundEffect& sound);
