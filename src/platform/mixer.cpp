// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/audio.h"

namespace {

// One sound-effect voice.
struct Voice {
    std::shared_ptr<const std::vector<int16_t>> samples; // interleaved left, right; shared by copies
    std::shared_ptr<VoiceSource> source;                 // or where they are read from; shared too
    uint32_t frames = 0;                                 // sample frames it plays
    uint32_t position = 0;                               // next frame to mix
    int32_t volume = 0;                                  // hundredths of a decibel, -10000..0
    float gain = 1.0f;                                   // attenuationGain(volume)
    bool inUse = false;
    bool playing = false;
    bool looping = false;
    bool focusGlobal = false;
};

constexpr int32_t kChunkFrames = 512; // mixed at a time, so the accumulator stays on the stack

// One music stream.
struct MusicStream {
    std::vector<int16_t> samples; // interleaved left, right; empty when a source gives them
    std::shared_ptr<MusicSource> source;
    uint32_t frames = 0;
    uint32_t position = 0; // frames played since the last start
    bool inUse = false;
    bool playing = false;
};

struct Mixer {
    std::mutex lock; // taken by every call: the device thread mixes while the game calls in
    Voice voices[kMixerVoiceCount];
    MusicStream music[kMixerMusicCount];
    bool focused = true;
    bool muted = false;     // the player's choice, kept across resets
    float musicGain = 1.0f; // the player's volumes, kept across resets
    float effectsGain = 1.0f;
    bool effectsHeld = false; // a pause: voices neither advance nor sound
};

Mixer& mixer() {
    static Mixer instance;
    return instance;
}

// The voice for an id, or null for 0 and ids not in use. Caller holds the lock.
Voice* findVoice(Mixer& m, int32_t id) {
    if (id < 1 || id > kMixerVoiceCount) return nullptr;
    Voice& voice = m.voices[id - 1];
    return voice.inUse ? &voice : nullptr;
}

MusicStream* findMusic(Mixer& m, int32_t id) {
    if (id < 1 || id > kMixerMusicCount) return nullptr;
    MusicStream& stream = m.music[id - 1];
    return stream.inUse ? &stream : nullptr;
}

uint32_t frameCount(const std::vector<int16_t>& samples) {
    return static_cast<uint32_t>(std::min<size_t>(samples.size() / 2, UINT32_MAX));
}

// Adds a voice's next frames into acc (interleaved, count frames, at most kChunkFrames),
// advancing it.
void mixVoice(Voice& voice, int32_t* acc, int32_t count, bool audible, float volume) {
    const float gain = voice.gain * volume;
    int32_t done = 0;
    while (done < count && voice.playing) {
        if (voice.position >= voice.frames) {
            if (voice.looping && voice.frames > 0) {
                voice.position = 0;
            } else {
                voice.playing = false;
                break;
            }
        }
        const uint32_t left = voice.frames - voice.position;
        const int32_t run = static_cast<int32_t>(std::min<uint32_t>(left, static_cast<uint32_t>(count - done)));
        if (audible) {
            int16_t fetched[kChunkFrames * 2]; // count is at most kChunkFrames, so run is too
            const int16_t* src = fetched;
            if (voice.source != nullptr) {
                const uint32_t got = std::min(voice.source->read(voice.position, fetched, static_cast<uint32_t>(run)),
                                              static_cast<uint32_t>(run));
                std::fill(fetched + got * 2, fetched + run * 2, int16_t{0});
            } else {
                src = voice.samples->data() + size_t(voice.position) * 2;
            }
            for (int32_t i = 0; i < run * 2; ++i) {
                acc[done * 2 + i] += static_cast<int32_t>(std::lround(src[i] * gain));
            }
        }
        voice.position += static_cast<uint32_t>(run);
        done += run;
    }
    if (voice.playing && !voice.looping && voice.position >= voice.frames) voice.playing = false;
}

// Adds a stream's next frames (count at most kChunkFrames) into acc, advancing it.
void mixMusic(MusicStream& stream, int32_t* acc, int32_t count, float volume) {
    if (!stream.playing) return;
    const uint32_t left = stream.frames - std::min(stream.position, stream.frames);
    const int32_t run = static_cast<int32_t>(std::min<uint32_t>(left, static_cast<uint32_t>(count)));
    int16_t decoded[kChunkFrames * 2];
    const int16_t* src = decoded;
    if (stream.source != nullptr) {
        const uint32_t got = std::min(stream.source->read(decoded, static_cast<uint32_t>(run)),
                                      static_cast<uint32_t>(run));
        std::fill(decoded + got * 2, decoded + run * 2, int16_t{0});
    } else {
        src = stream.samples.data() + size_t(stream.position) * 2;
    }
    if (volume == 1.0f) {
        for (int32_t i = 0; i < run * 2; ++i) acc[i] += src[i];
    } else {
        for (int32_t i = 0; i < run * 2; ++i) acc[i] += static_cast<int32_t>(std::lround(src[i] * volume));
    }
    stream.position += static_cast<uint32_t>(run);
    if (stream.position >= stream.frames) stream.playing = false;
}

// Claims a free voice for the samples or the source. Caller holds the lock.
int32_t claimVoice(Mixer& m, std::shared_ptr<const std::vector<int16_t>> samples, std::shared_ptr<VoiceSource> source,
                   uint32_t frames, bool focusGlobal) {
    for (int32_t i = 0; i < kMixerVoiceCount; ++i) {
        Voice& voice = m.voices[i];
        if (voice.inUse) continue;
        voice = Voice{};
        voice.frames = frames;
        voice.samples = std::move(samples);
        voice.source = std::move(source);
        voice.focusGlobal = focusGlobal;
        voice.inUse = true;
        return i + 1;
    }
    std::fprintf(stderr, "sound: all %d mixer voices are in use\n", kMixerVoiceCount);
    return 0;
}

} // namespace

float attenuationGain(int32_t volume) { return static_cast<float>(std::pow(10.0, volume / 2000.0)); }

int32_t mixerCreateVoice(std::vector<int16_t>&& frames, bool focusGlobal) {
    const uint32_t count = frameCount(frames);
    auto samples = std::make_shared<const std::vector<int16_t>>(std::move(frames));
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    return claimVoice(m, std::move(samples), nullptr, count, focusGlobal);
}

int32_t mixerCreateVoice(std::shared_ptr<VoiceSource> source, uint32_t frames, bool focusGlobal) {
    if (source == nullptr) frames = 0;
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    return claimVoice(m, nullptr, std::move(source), frames, focusGlobal);
}

int32_t mixerCopyVoice(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const Voice* voice = findVoice(m, id);
    return voice != nullptr ? claimVoice(m, voice->samples, voice->source, voice->frames, voice->focusGlobal) : 0;
}

void mixerReleaseVoice(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (Voice* voice = findVoice(m, id)) *voice = Voice{};
}

void mixerPlayVoice(int32_t id, bool looping) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (Voice* voice = findVoice(m, id)) {
        voice->position = 0;
        voice->looping = looping;
        voice->playing = voice->frames > 0;
    }
}

void mixerStopVoice(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (Voice* voice = findVoice(m, id)) voice->playing = false;
}

bool mixerVoicePlaying(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const Voice* voice = findVoice(m, id);
    return voice != nullptr && voice->playing;
}

uint32_t mixerVoicePosition(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const Voice* voice = findVoice(m, id);
    return voice != nullptr ? voice->position : 0;
}

void mixerSetVoiceVolume(int32_t id, int32_t volume) {
    if (volume < kSilentVolume || volume > 0) return;
    const float gain = attenuationGain(volume);
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (Voice* voice = findVoice(m, id)) {
        voice->volume = volume;
        voice->gain = gain;
    }
}

int32_t mixerVoiceVolume(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const Voice* voice = findVoice(m, id);
    return voice != nullptr ? voice->volume : 0;
}

namespace {

// Claims a free stream for what it will play. Caller holds the lock.
int32_t claimMusic(Mixer& m, MusicStream&& claimed) {
    for (int32_t i = 0; i < kMixerMusicCount; ++i) {
        MusicStream& stream = m.music[i];
        if (stream.inUse) continue;
        stream = std::move(claimed);
        stream.inUse = true;
        return i + 1;
    }
    std::fprintf(stderr, "music: all %d mixer music streams are in use\n", kMixerMusicCount);
    return 0;
}

} // namespace

int32_t mixerCreateMusic(std::vector<int16_t>&& frames) {
    MusicStream stream;
    stream.frames = frameCount(frames);
    stream.samples = std::move(frames);
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    return claimMusic(m, std::move(stream));
}

int32_t mixerCreateMusic(std::shared_ptr<MusicSource> source, uint32_t frames) {
    MusicStream stream;
    stream.source = std::move(source);
    stream.frames = stream.source != nullptr ? frames : 0;
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    return claimMusic(m, std::move(stream));
}

void mixerReleaseMusic(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (MusicStream* stream = findMusic(m, id)) *stream = MusicStream{};
}

void mixerPlayMusic(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (MusicStream* stream = findMusic(m, id)) {
        stream->position = 0;
        stream->playing = stream->frames > 0;
        if (stream->source != nullptr) stream->source->rewind();
    }
}

void mixerResetMusic(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    if (MusicStream* stream = findMusic(m, id)) {
        stream->position = 0;
        stream->playing = false;
    }
}

bool mixerMusicPlaying(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const MusicStream* stream = findMusic(m, id);
    return stream != nullptr && stream->playing;
}

uint32_t mixerMusicPosition(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const MusicStream* stream = findMusic(m, id);
    return stream != nullptr ? stream->position : 0;
}

uint32_t mixerMusicLength(int32_t id) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    const MusicStream* stream = findMusic(m, id);
    return stream != nullptr ? stream->frames : 0;
}

void mixerSetFocus(bool focused) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    m.focused = focused;
}

void mixerSetMuted(bool muted) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    m.muted = muted;
}

bool mixerMuted() {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    return m.muted;
}

void mixerSetVolumes(int32_t musicPercent, int32_t effectsPercent) {
    const auto gain = [](int32_t percent) {
        const float fraction = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
        return fraction * fraction;
    };
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    m.musicGain = gain(musicPercent);
    m.effectsGain = gain(effectsPercent);
}

void mixerHoldEffects(bool held) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    m.effectsHeld = held;
}

void mixerReset() {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    for (Voice& voice : m.voices) voice = Voice{};
    for (MusicStream& stream : m.music) stream = MusicStream{};
    m.focused = true;
    m.effectsHeld = false;
}

void audioSetFocus(bool focused) { mixerSetFocus(focused); }

void mixAudio(int16_t* out, int32_t sampleFrames) {
    Mixer& m = mixer();
    std::lock_guard<std::mutex> guard(m.lock);
    int32_t acc[kChunkFrames * 2];
    for (int32_t start = 0; start < sampleFrames; start += kChunkFrames) {
        const int32_t count = std::min(kChunkFrames, sampleFrames - start);
        std::fill(acc, acc + count * 2, 0);
        for (Voice& voice : m.voices) {
            if (voice.inUse && voice.playing && !m.effectsHeld) {
                mixVoice(voice, acc, count, m.focused || voice.focusGlobal, m.effectsGain);
            }
        }
        for (MusicStream& stream : m.music) {
            if (stream.inUse) mixMusic(stream, acc, count, m.musicGain);
        }
        for (int32_t i = 0; i < count * 2; ++i) {
            out[start * 2 + i] = m.muted ? int16_t{0} : static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        }
    }
}
