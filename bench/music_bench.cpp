// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The audio device's cost of music: one device buffer (1024 sample frames) of a track decoded
// from its MP3 data as it plays, against the same buffer from PCM held whole.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/music.h"
#include "platform/audio.h"
#include "platform/mixer.h"

namespace {

constexpr int32_t kDeviceFrames = 1024;

std::vector<uint8_t> readTrack() {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen("Files/Sound/m1.z2", "rb")) {
        bytes.resize(8 << 20);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

// Mixes device buffers, starting the stream again whenever it ends.
void mixBuffers(benchmark::State& state, int32_t stream) {
    int16_t out[kDeviceFrames * 2];
    mixerPlayMusic(stream);
    for (auto _ : state) {
        if (!mixerMusicPlaying(stream)) mixerPlayMusic(stream);
        mixAudio(out, kDeviceFrames);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * kDeviceFrames);
}

void BM_MixStreamedMusic(benchmark::State& state) {
    audioOpen();
    const std::vector<uint8_t> bytes = readTrack();
    MusicTrack track;
    if (bytes.empty() || !decodeMusic(track, bytes.data(), bytes.size(), "m1.z2")) {
        state.SkipWithError("run from the build folder, which holds Files/Sound/m1.z2");
        return;
    }
    mixBuffers(state, track.stream);
    releaseMusic(track);
    audioClose();
}
BENCHMARK(BM_MixStreamedMusic);

void BM_MixHeldMusic(benchmark::State& state) {
    audioOpen();
    std::vector<int16_t> pcm(size_t(kAudioRate) * 10 * 2);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t(i * 7);
    mixBuffers(state, mixerCreateMusic(std::move(pcm)));
    audioClose();
}
BENCHMARK(BM_MixHeldMusic);

} // namespace
