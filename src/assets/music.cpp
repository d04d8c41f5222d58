// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/music.h"

#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/audio.h"
#include "platform/mixer.h"
#include "platform/paths.h"

namespace {

constexpr uint32_t kBytesPerSecond = 176400; // 44100 Hz, 2 channels, 2 bytes

bool decoderReady() {
    static const bool initialised = mpg123_init() == MPG123_OK;
    return initialised;
}

// One track's MP3 bytes and the decoder reading them from memory. The mixer calls rewind and read
// with its lock held; loading uses it alone before handing it over.
struct Mp3Source final : MusicSource {
    std::vector<uint8_t> bytes;
    size_t offset = 0; // the decoder's read position in `bytes`
    mpg123_handle* handle = nullptr;
    bool ended = true; // nothing more decodes until the next rewind

    ~Mp3Source() override { mpg123_delete(handle); }

    static ssize_t readBytes(void* self, void* out, size_t count) {
        Mp3Source& source = *static_cast<Mp3Source*>(self);
        const size_t n = std::min(count, source.bytes.size() - source.offset);
        if (n == 0) return 0; // an empty file has no bytes to copy from, not even a pointer
        std::memcpy(out, source.bytes.data() + source.offset, n);
        source.offset += n;
        return static_cast<ssize_t>(n);
    }

    static off_t seekBytes(void* self, off_t offset, int whence) {
        Mp3Source& source = *static_cast<Mp3Source*>(self);
        const off_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? off_t(source.offset)
                                                : off_t(source.bytes.size());
        if (offset < -base || offset > off_t(source.bytes.size()) - base) return -1;
        source.offset = size_t(base + offset);
        return base + offset;
    }

    // Opens the decoder on the data from its start: a fresh open leaves no state of an earlier
    // pass behind, so every play decodes the same samples.
    void rewind() override {
        offset = 0;
        ended = handle == nullptr || mpg123_open_handle(handle, this) != MPG123_OK;
    }

    uint32_t read(int16_t* out, uint32_t frames) override {
        uint32_t done = 0;
        int idleReads = 0; // a damaged stream may return nothing without ending
        while (!ended && done < frames) {
            size_t bytesDone = 0;
            const int result = mpg123_read(handle, out + size_t(done) * 2, size_t(frames - done) * 4, &bytesDone);
            done += static_cast<uint32_t>(bytesDone / 4);
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0;
                int encoding = 0;
                mpg123_getformat(handle, &rate, &channels, &encoding);
                ended = rate != kAudioRate || channels != MPG123_STEREO || encoding != MPG123_ENC_SIGNED_16;
            } else if (result != MPG123_OK) {
                ended = true; // the end, or damage: the rest of the length plays as silence
            } else if (bytesDone == 0 && ++idleReads > 8) {
                ended = true;
            }
        }
        return done;
    }
};

// Readies MP3 bytes for playing: counts the frames they decode to from the frame headers and
// decodes the first of them to see that they do. Touches nothing but its result and prints
// nothing, so it may run on any thread at any time.
OpenedMusic openMp3(std::vector<uint8_t> file, std::string name) {
    OpenedMusic opened;
    opened.name = std::move(name);
    if (!decoderReady()) {
        opened.problem = "the MP3 decoder cannot start";
        return opened;
    }
    auto source = std::make_shared<Mp3Source>();
    source->bytes = std::move(file);
    int error = MPG123_OK;
    source->handle = mpg123_new(nullptr, &error);
    mpg123_handle* handle = source->handle;
    if (handle == nullptr) {
        opened.problem = "the MP3 decoder cannot start";
        return opened;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    if (mpg123_format(handle, kAudioRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_replace_reader_handle(handle, Mp3Source::readBytes, Mp3Source::seekBytes, nullptr) != MPG123_OK) {
        opened.problem = "the MP3 decoder refuses 44100 Hz 16-bit stereo output";
        return opened;
    }
    // One MPEG frame's worth decoded now tells bad data from good before anything plays.
    int16_t first[1152 * 2];
    source->rewind();
    if (source->ended) {
        opened.problem = "not decodable MP3 data";
        return opened;
    }
    if (source->read(first, 1152) == 0) {
        opened.problem = "holds no decodable MP3 audio";
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK &&
            (rate != kAudioRate || channels != MPG123_STEREO || encoding != MPG123_ENC_SIGNED_16)) {
            opened.problem = "the MP3 decoder cannot give 44100 Hz 16-bit stereo output";
        }
        return opened;
    }
    // The exact length, from every frame header (and the encoder's note of its padding), without
    // decoding: what a whole decode yields.
    const off_t length = mpg123_scan(handle) == MPG123_OK ? mpg123_length(handle) : -1;
    if (length <= 0) {
        opened.problem = "holds no decodable MP3 audio";
        return opened;
    }
    const off_t maxFrames = static_cast<off_t>(kMaxMusicSeconds * kAudioRate);
    opened.cut = length > maxFrames;
    opened.frames = static_cast<uint32_t>(std::min(length, maxFrames));
    opened.source = std::move(source);
    return opened;
}

// Puts a readied file into the track as a new mixer stream, with the one-line report of a bad or
// overlong file.
bool installMusic(MusicTrack& track, OpenedMusic&& opened) {
    if (opened.problem != nullptr) {
        std::fprintf(stderr, "music: %s: %s; the track stays silent\n", opened.name.c_str(), opened.problem);
        return false;
    }
    if (opened.cut) {
        std::fprintf(stderr, "music: %s: longer than %.0f s; the rest is dropped\n", opened.name.c_str(),
                     kMaxMusicSeconds);
    }
    track.durationSeconds = static_cast<double>(opened.frames) / kAudioRate;
    track.pcmLength = static_cast<uint32_t>(kBytesPerSecond * track.durationSeconds);
    // The stream plays whole sample frames of at most pcmLength bytes.
    track.stream = mixerCreateMusic(std::move(opened.source), std::min(opened.frames, track.pcmLength / 4));
    return track.stream != 0;
}

} // namespace

bool decodeMusic(MusicTrack& track, const uint8_t* bytes, size_t count, const char* name) {
    releaseMusic(track);
    return installMusic(track, openMp3(std::vector<uint8_t>(bytes, bytes + count), name));
}

void loadMusic(MusicTrack& track, const char* windowsPath) {
    releaseMusic(track);
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "music", kMaxMusicFileBytes, file)) return;
    installMusic(track, openMp3(std::move(file), windowsPath));
}

void loadMusicInBackground(MusicTrack& track, const char* windowsPath) {
    releaseMusic(track);
    // The file is read here, so that a missing one is reported at once, in load order.
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "music", kMaxMusicFileBytes, file)) return;
    track.decoding = std::async(std::launch::async, openMp3, std::move(file), std::string(windowsPath)).share();
}

void finishMusic(MusicTrack& track) {
    if (!track.decoding.valid()) return;
    std::shared_future<OpenedMusic> decoding = std::move(track.decoding);
    track.decoding = {};
    installMusic(track, OpenedMusic(decoding.get()));
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

bool musicShouldRestart(uint32_t positionSamples, uint32_t lengthSamples, bool playing, double durationSeconds) {
    if (lengthSamples == 0) return false;
    if (playing &&
        static_cast<int32_t>(positionSamples / double(kAudioRate)) == static_cast<int32_t>(durationSeconds)) {
        return true;
    }
    return !playing && positionSamples >= lengthSamples;
}
