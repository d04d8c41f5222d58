// The game's sound files under Files/Sound and how each is played.
#pragma once

struct SoundFile {
  const char* name;
  bool loops;    // played looping: its end must lead into its start without a step
  bool chunked;  // read by the chunk-walking loader instead of the 44-byte-header one
};

inline constexpr SoundFile kSoundFiles[] = {
    {"Bombdrop.wav", false, false}, {"GndHit.wav", false, false}, {"wheel.wav", false, false},
    {"tt2.wav", false, false},      {"GUNHIT.wav", false, false}, {"detCl.wav", false, false},
    {"detFr.wav", false, false},    {"B1.wav", true, false},      {"A2.wav", true, false},
    {"23.wav", true, false},        {"dest.wav", false, false},   {"crash.wav", false, false},
    {"vulcv.wav", true, true},      {"ML.wav", false, false},     {"Narr.wav", true, false},
    {"Trk.wav", false, false},      {"Antonov.wav", true, false}, {"search.wav", true, false},
    {"Lock.wav", true, false},
};

inline constexpr const char* kMusicFiles[] = {"m1.z2", "m2.z2"};
