#pragma once
// The two music tracks, decoded whole at start-up to 44100 Hz 16-bit stereo PCM.

#include <cstdint>
#include <vector>

struct MusicTrack {
    uint32_t pcmLength = 0;        // bytes of PCM = (uint32_t)(176400 * durationSeconds)
    double durationSeconds = 0.0;  // decoded length
    std::vector<uint8_t> pcm;      // pcmLength bytes
    uint32_t positionSamples = 0;  // sample frames played since the last start
    uint8_t playing = 0;
};
