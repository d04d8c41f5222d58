// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The software mixer behind every sound the game makes: sound-effect voices and music streams,
// all 44100 Hz 16-bit stereo, summed and clipped by mixAudio (audio.h). Back-end neutral: the SDL
// device callback and the headless frame both drive it through mixAudio, and every call here may
// come from the game thread while the device mixes, so each takes the mixer's lock.
//
// Ids are small positive integers; 0 means "none" and every call accepts it as a no-op.

#include <cstdint>
#include <memory>
#include <vector>

constexpr int32_t kMixerVoiceCount = 64;  // sound-effect voices alive at once
constexpr int32_t kMixerMusicCount = 4;   // music streams alive at once
constexpr int32_t kSilentVolume = -10000; // hundredths of a decibel; 0 is full volume

// Where a voice's frames come from when it does not hold them: read by position as the voice
// plays, so that copies of the voice share one source. Called with the mixer's lock held, from the
// device's thread or the game's, so never from two at once.
struct VoiceSource {
    virtual ~VoiceSource() = default;
    // Writes `frames` interleaved stereo frames from frame `first` on and returns how many it
    // wrote; fewer only when the data cannot be read, and the rest sounds as silence.
    virtual uint32_t read(uint32_t first, int16_t* out, uint32_t frames) = 0;
};

// Takes ownership of interleaved stereo sample frames. Returns 0 (with a message) when the
// table is full. A focus-global voice keeps sounding while the window is unfocused.
int32_t mixerCreateVoice(std::vector<int16_t>&& frames, bool focusGlobal);
// The same for a voice of `frames` sample frames that reads them from the source as it plays.
int32_t mixerCreateVoice(std::shared_ptr<VoiceSource> source, uint32_t frames, bool focusGlobal);
// A new voice playing the same samples, sharing them, with its own position and volume.
// Returns 0 for voice 0 or when the table is full.
int32_t mixerCopyVoice(int32_t voice);
void mixerReleaseVoice(int32_t voice);

// Starts the voice from its beginning, once or looping.
void mixerPlayVoice(int32_t voice, bool looping);
// Stops the voice where it is; the position is kept.
void mixerStopVoice(int32_t voice);
bool mixerVoicePlaying(int32_t voice);
// Sample frames from the voice's start to where it plays now.
uint32_t mixerVoicePosition(int32_t voice);
// Attenuation in hundredths of a decibel, -10000..0. A value outside that range is refused and
// the voice keeps its volume, as the sound device did.
void mixerSetVoiceVolume(int32_t voice, int32_t volume);
int32_t mixerVoiceVolume(int32_t voice);

// Where a music stream's frames come from when it does not hold them: the stream asks for the
// next frames as it plays and rewinds the source whenever it starts. Called with the mixer's lock
// held, from the device's thread or the game's, so never from two at once.
struct MusicSource {
    virtual ~MusicSource() = default;
    // Back to the first frame.
    virtual void rewind() = 0;
    // Writes up to `frames` interleaved stereo frames and returns how many; fewer only when the
    // data ends early, and the stream plays silence for the rest of its length.
    virtual uint32_t read(int16_t* out, uint32_t frames) = 0;
};

// Music: a stream plays its frames once from the start and stops at the end. It holds the
// frames, or takes `frames` of them from a source as it plays.
int32_t mixerCreateMusic(std::vector<int16_t>&& frames);
int32_t mixerCreateMusic(std::shared_ptr<MusicSource> source, uint32_t frames);
void mixerReleaseMusic(int32_t stream);
void mixerPlayMusic(int32_t stream);
// Stops the stream and puts its position back to 0.
void mixerResetMusic(int32_t stream);
bool mixerMusicPlaying(int32_t stream);
// Sample frames played since the last start; stays at the end once the stream has finished.
uint32_t mixerMusicPosition(int32_t stream);
uint32_t mixerMusicLength(int32_t stream);

// While unfocused only focus-global voices are heard; the others still advance.
void mixerSetFocus(bool focused);

// Muted, the output is silence while every voice and stream still advances, so music keeps its
// place. The choice outlasts mixerReset.
void mixerSetMuted(bool muted);
bool mixerMuted();

// The player's volumes in percent, 0..100: music streams and sound-effect voices are scaled by
// them when mixed (the square of the fraction, so each step sounds alike). The choice outlasts
// mixerReset.
void mixerSetVolumes(int32_t musicPercent, int32_t effectsPercent);

// Held, every sound-effect voice stands where it is, silent, and still reads as playing; the
// music plays on. Released, each goes on from where it stood.
void mixerHoldEffects(bool held);

// Releases every voice and stream and gives focus back; used when the device closes.
void mixerReset();

// Gain for an attenuation in hundredths of a decibel: 10^(volume / 2000).
float attenuationGain(int32_t volume);
