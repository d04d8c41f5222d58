#pragma once
// Sound effects: WAV files loaded once into mixer voices, played once or looping at an
// attenuation in hundredths of a decibel (0 full, -10000 silent).

#include <cstdint>

// One sound slot: a mixer voice, or none (0) when the file could not be loaded.
struct SoundEffect {
    int32_t voice = 0;
};
