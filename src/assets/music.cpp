#include "assets/music.h"

#include <mpg123.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "app/game_state.h"
#include "platform/audio.h"
#include "platform/mixer.h"
#include "platform/paths.h"

namespace {

constexpr uint32_t kBytesPerSecond = 176400; // 44100 Hz, 2 channels, 2 bytes

// Decodes all of `bytes` to 44100 Hz 16-bit stereo, at most kMaxMusicSeconds of it. Returns
// null on success, else the reason.
const char* decodeMp3(const uint8_t* bytes, size_t count, std::vector<int16_t>& out, bool& cut) {
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised) return "the MP3 decoder cannot start";
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr) return "the MP3 decoder cannot start";
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    const char* problem = nullptr;
    if (mpg123_format(handle, kAudioRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_open_feed(handle) != MPG123_OK) {
        problem = "the MP3 decoder refuses 44100 Hz 16-bit stereo output";
    }
    // Knowing the size lets the decoder estimate the length, so the output is allocated once.
    mpg123_set_filesize(handle, static_cast<off_t>(std::min<size_t>(count, size_t(INT32_MAX))));
    const size_t maxSamples = static_cast<size_t>(kMaxMusicSeconds * kAudioRate) * 2;
    constexpr size_t kFeedBytes = 64 * 1024; // fed at a time, so the decoder never copies the whole file
    constexpr size_t kReadSamples = 16384;   // decoded at a time
    size_t fed = 0;
    size_t used = 0; // samples of `out` holding decoded output
    bool reserved = false;
    cut = false;
    try {
        while (problem == nullptr) {
            if (out.size() < used + kReadSamples) {
                out.resize(std::min(maxSamples, std::max(used + kReadSamples, out.size() * 2)));
            }
            const size_t room = out.size() - used;
            if (room < kReadSamples) {
                cut = true;
                break;
            }
            size_t done = 0;
            const int result = mpg123_read(handle, out.data() + used, room * sizeof(int16_t), &done);
            used += done / sizeof(int16_t);
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0;
                int encoding = 0;
                mpg123_getformat(handle, &rate, &channels, &encoding);
                if (rate != kAudioRate || channels != MPG123_STEREO || encoding != MPG123_ENC_SIGNED_16) {
                    problem = "the MP3 decoder cannot give 44100 Hz 16-bit stereo output";
                }
                const off_t estimate = mpg123_length(handle);
                if (!reserved && estimate > 0) {
                    // A little over the estimate; pages past the end are never touched, so cost nothing.
                    const size_t samples = std::min(maxSamples, static_cast<size_t>(estimate) * 2 + kAudioRate * 2);
                    if (samples > out.size()) out.resize(samples);
                    reserved = true;
                }
            } else if (result == MPG123_NEED_MORE) {
                if (fed == count) break;
                const size_t piece = std::min(kFeedBytes, count - fed);
                if (mpg123_feed(handle, bytes + fed, piece) != MPG123_OK) problem = "the MP3 decoder rejects the data";
                fed += piece;
            } else if (result == MPG123_DONE) {
                break;
            } else if (result != MPG123_OK) {
                // A damaged stream ends here; what decoded before it is kept.
                if (used == 0) problem = "not decodable MP3 data";
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        problem = "does not fit in memory";
        used = 0;
    }
    out.resize(used / 2 * 2);
    mpg123_delete(handle);
    if (problem == nullptr && out.empty()) problem = "holds no decodable MP3 audio";
    return problem;
}

// Puts decoded output into the track as a new mixer stream, with the one-line report of a bad or
// overlong file.
bool installMusic(MusicTrack& track, DecodedMusic&& decoded) {
    if (decoded.problem != nullptr) {
        std::fprintf(stderr, "music: %s: %s; the track stays silent\n", decoded.name.c_str(), decoded.problem);
        return false;
    }
    if (decoded.cut) {
        std::fprintf(stderr, "music: %s: longer than %.0f s; the rest is dropped\n", decoded.name.c_str(),
                     kMaxMusicSeconds);
    }
    std::vector<int16_t> samples = std::move(decoded.samples);
    const size_t frames = samples.size() / 2;
    track.durationSeconds = static_cast<double>(frames) / kAudioRate;
    track.pcmLength = static_cast<uint32_t>(kBytesPerSecond * track.durationSeconds);
    // The stream holds whole sample frames of at most pcmLength bytes.
    samples.resize(std::min<size_t>(frames, track.pcmLength / 4) * 2);
    track.stream = mixerCreateMusic(std::move(samples));
    return track.stream != 0;
}

// Decodes a file's bytes; touches nothing but its result and prints nothing, so it may run on
// any thread at any time.
DecodedMusic decodeFile(std::vector<uint8_t> file, std::string name) {
    DecodedMusic decoded;
    decoded.name = std::move(name);
    decoded.problem = decodeMp3(file.data(), file.size(), decoded.samples, decoded.cut);
    return decoded;
}

} // namespace

bool decodeMusic(MusicTrack& track, const uint8_t* bytes, size_t count, const char* name) {
    releaseMusic(track);
    DecodedMusic decoded;
    decoded.name = name;
    decoded.problem = decodeMp3(bytes, count, decoded.samples, decoded.cut);
    return installMusic(track, std::move(decoded));
}

void loadMusic(MusicTrack& track, const char* windowsPath) {
    releaseMusic(track);
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "music", kMaxMusicFileBytes, file)) return;
    installMusic(track, decodeFile(std::move(file), windowsPath));
}

void loadMusicInBackground(MusicTrack& track, const char* windowsPath) {
    releaseMusic(track);
    // The file is read here, so that a missing one is reported at once, in load order.
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "music", kMaxMusicFileBytes, file)) return;
    track.decoding = std::async(std::launch::async, decodeFile, std::move(file), std::string(windowsPath)).share();
}

void finishMusic(MusicTrack& track) {
    if (!track.decoding.valid()) return;
    std::shared_future<DecodedMusic> decoding = std::move(track.decoding);
    track.decoding = {};
    DecodedMusic decoded = decoding.get();
    installMusic(track, std::move(decoded));
}

void releaseMusic(MusicTrack& track) {
    mixerReleaseMusic(track.stream);
    track = MusicTrack{};
}

void playMusic(MusicTrack& track) {
    finishMusic(track);
    mixerPlayMusic(track.stream);
    track.positionSamples = 0;
}

void resetMusic(MusicTrack& track) {
    finishMusic(track);
    mixerResetMusic(track.stream);
    track.positionSamples = 0;
}

bool musicShouldRestart(uint32_t positionSamples, uint32_t lengthSamples, bool playing,
                        double durationSeconds) {
    if (lengthSamples == 0) return false;
    if (playing && static_cast<int32_t>(positionSamples / double(kAudioRate)) == static_cast<int32_t>(durationSeconds)) {
        return true;
    }
    return !playing && positionSamples >= lengthSamples;
}

void loopMusic(GameState& game) {
    for (MusicTrack* track : {&game.track1, &game.track2}) {
        if (track->decoding.valid()) {
            if (track->decoding.wait_for(std::chrono::seconds(0)) != std::future_status::ready) continue;
            finishMusic(*track);
        }
        if (track->stream == 0) continue;
        track->positionSamples = mixerMusicPosition(track->stream);
        if (musicShouldRestart(track->positionSamples, mixerMusicLength(track->stream),
                               mixerMusicPlaying(track->stream), track->durationSeconds)) {
            resetMusic(*track);
            playMusic(*track);
        }
    }
}

void switchToTrack1(GameState& game) {
    if (!game.musicTrack2On) return;
    resetMusic(game.track2);
    playMusic(game.track1);
    game.musicTrack2On = 0;
    game.musicTrack1On = 1;
}

void switchToTrack2(GameState& game) {
    if (!game.musicTrack1On) return;
    resetMusic(game.track1);
    playMusic(game.track2);
    game.musicTrack1On = 0;
    game.musicTrack2On = 1;
}
