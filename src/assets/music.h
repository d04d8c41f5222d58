// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two music tracks: each keeps its MP3 data and the mixer decodes it to 44100 Hz 16-bit
// stereo as it plays (about 2 MB held per track where the whole PCM would take 25 MB). A track
// plays once from the start and the frame restarts it near its end.

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <string>

struct MusicSource;

constexpr double kMaxMusicSeconds = 600.0;              // longer music is cut here
constexpr size_t kMaxMusicFileBytes = 32 * 1024 * 1024; // larger music files are refused unread

// A track's data made ready to play, as a load on another thread hands it back.
struct OpenedMusic {
    std::shared_ptr<MusicSource> source; // the decoder over the file's bytes
    uint32_t frames = 0;                 // stereo sample frames it decodes to
    const char* problem = nullptr;       // why it cannot play, or null
    bool cut = false;                    // longer than kMaxMusicSeconds
    std::string name;                    // the file, for messages
};

struct MusicTrack {
    int32_t stream = 0;                       // mixer music stream decoding the MP3 data; 0 for an empty track
    uint32_t pcmLength = 0;                   // bytes of PCM = (uint32_t)(176400 * durationSeconds)
    double durationSeconds = 0.0;             // decoded length, seconds
    uint32_t positionSamples = 0;             // sample frames played, as last read by loopMusic
    std::shared_future<OpenedMusic> decoding; // valid while a background load is unclaimed
};

// Makes MP3 data into the track (any earlier content is released): its length is counted from
// the frame headers, its sound decoded as it plays. Returns false, leaving the track empty and
// silent, when the data holds no decodable audio; `name` is for the message.
bool decodeMusic(MusicTrack& track, const uint8_t* bytes, size_t count, const char* name);
// Reads a music file into the track; a missing or undecodable one gives an empty, silent track.
void loadMusic(MusicTrack& track, const char* windowsPath);
// Reads a music file and readies it on a thread of its own, returning at once. The track stays
// empty until the result is claimed: by loopMusic once it is ready, or by any other operation on
// the track, which waits for it. Messages about the file come from this call or from the claim,
// never from the other thread.
void loadMusicInBackground(MusicTrack& track, const char* windowsPath);
// Waits for the track's background load, if any, and puts its result into the track.
void finishMusic(MusicTrack& track);
// Releases the track's data and empties it.
void releaseMusic(MusicTrack& track);

// Starts the track from its beginning.
void playMusic(MusicTrack& track);
// Stops the track; its position reads 0 afterwards.
void resetMusic(MusicTrack& track);

// The restart rule: a playing track's whole seconds played equal the whole seconds of its
// duration. A track that played to its end without meeting it (the byte length is truncated,
// so a track of exact whole seconds can end one sample short of its last second) restarts too;
// a reset one and an empty one do not.
bool musicShouldRestart(uint32_t positionSamples, uint32_t lengthSamples, bool playing, double durationSeconds);
