// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/sound.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/mixer.h"
#include "platform/paths.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kMinRate = 8000;  // Hz; below this a conversion would mostly invent samples
constexpr uint32_t kMaxRate = 96000; // Hz

// The format fields of a "fmt " chunk that the loaders use.
struct WavFormat {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0; // sample frames per second
    uint16_t bits = 0; // per sample
    bool present = false;
};

// Where a WAV file's format and sample data are.
struct WavLayout {
    WavFormat format;
    size_t dataOffset = 0;       // byte offset of the "data" body
    size_t dataLength = 0;       // bytes of it present in the file
    uint32_t declaredLength = 0; // bytes the chunk header claims
};

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A WAV file open for reading: its chunks are read where they lie, not the whole file at once.
struct WavFile {
    int fd = -1;
    uint64_t size = 0; // bytes, when it was opened

    // The `count` bytes at `offset`, or false when the file does not hold them all.
    bool bytesAt(uint64_t offset, uint8_t* out, size_t count) const {
        return offset <= size && count <= size - offset && readAt(fd, offset, out, count) == count;
    }
};

// True when the four bytes at `offset` could be a chunk identifier (printable ASCII).
bool looksLikeChunkId(const WavFile& file, uint64_t offset) {
    uint8_t id[8];
    if (!file.bytesAt(offset, id, 8)) return false;
    for (int i = 0; i < 4; ++i) {
        if (id[i] < 0x20 || id[i] > 0x7E) return false;
    }
    return true;
}

// Walks the RIFF chunks to the format and the data. Returns null on success, else the reason.
// Odd-length chunks are followed by the RIFF pad byte; files written without it are accepted
// too when only the unpadded position holds a chunk header.
const char* walkChunks(const WavFile& file, WavLayout& layout) {
    uint8_t riff[12];
    if (!file.bytesAt(0, riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return "not a RIFF WAVE file";
    }
    uint64_t pos = 12;
    while (pos + 8 <= file.size) {
        uint8_t header[8];
        if (!file.bytesAt(pos, header, 8)) return "could not be read";
        const uint32_t length = read32(header + 4);
        const uint64_t body = pos + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            uint8_t f[26];
            if (length < 16 || !file.bytesAt(body, f, 16)) return "format chunk is too short";
            layout.format.tag = read16(f);
            layout.format.channels = read16(f + 2);
            layout.format.rate = read32(f + 4);
            layout.format.bits = read16(f + 14);
            layout.format.present = true;
            // An extensible format is plain PCM when its sub-format GUID starts with 1.
            if (layout.format.tag == kFormatExtensible && length >= 26 && file.bytesAt(body, f, 26) &&
                read16(f + 24) == kFormatPcm) {
                layout.format.tag = kFormatPcm;
            }
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!layout.format.present) return "data chunk comes before the format chunk";
            layout.dataOffset = static_cast<size_t>(body);
            layout.declaredLength = length;
            layout.dataLength = static_cast<size_t>(std::min<uint64_t>(length, file.size - body));
            return nullptr;
        }
        uint64_t next = body + length;
        if ((length & 1) != 0 && !(looksLikeChunkId(file, next) && !looksLikeChunkId(file, next + 1))) {
            next += 1;
        }
        pos = next;
    }
    return layout.format.present ? "no data chunk" : "no format chunk";
}

// Converts the data to 44100 Hz 16-bit stereo frames. Returns null on success, else the reason.
const char* convertToMixerFormat(const uint8_t* data, size_t length, const WavFormat& format,
                                 std::vector<int16_t>& out) {
    if (format.tag != kFormatPcm) return "not PCM";
    if (format.bits != 8 && format.bits != 16) return "not 8 or 16 bits per sample";
    if (format.channels != 1 && format.channels != 2) return "not mono or stereo";
    if (format.rate < kMinRate || format.rate > kMaxRate) return "sample rate outside 8000..96000 Hz";
    const size_t bytesPerFrame = size_t(format.channels) * (format.bits / 8);
    const size_t inFrames = length / bytesPerFrame;
    if (format.channels == 2 && format.bits == 16 && format.rate == uint32_t(kAudioRate)) {
        out.resize(inFrames * 2);
        if (inFrames > 0) std::memcpy(out.data(), data, inFrames * bytesPerFrame); // little-endian both
        return nullptr;
    }
    // Sample `channel` of input frame `frame` as 16-bit.
    auto sample = [&](size_t frame, int channel) -> int32_t {
        const uint8_t* p = data + frame * bytesPerFrame + size_t(channel) * (format.bits / 8);
        return format.bits == 8 ? (int32_t(p[0]) - 128) * 256 : int32_t(int16_t(read16(p)));
    };
    const uint64_t outFrames = uint64_t(inFrames) * kAudioRate / format.rate;
    // Appended in order rather than sized first, so no sample is written twice.
    out.clear();
    out.reserve(static_cast<size_t>(outFrames) * 2);
    for (uint64_t i = 0; i < outFrames; ++i) {
        // Linear interpolation between the two input frames around the output instant.
        const uint64_t scaled = i * format.rate;
        const size_t a = static_cast<size_t>(scaled / kAudioRate);
        const size_t b = std::min(a + 1, inFrames - 1);
        const int32_t frac = static_cast<int32_t>(scaled % kAudioRate);
        for (int c = 0; c < 2; ++c) {
            const int channel = format.channels == 2 ? c : 0;
            const int32_t sa = sample(a, channel);
            const int32_t sb = sample(b, channel);
            const int64_t mixed = sa + (int64_t(sb - sa) * frac) / kAudioRate;
            out.push_back(static_cast<int16_t>(mixed));
        }
    }
    return nullptr;
}

bool isMixerFormat(const WavFormat& format) {
    return format.tag == kFormatPcm && format.channels == 2 && format.rate == uint32_t(kAudioRate) && format.bits == 16;
}

// The file name after the last folder separator, truncated to fit the slot.
void copyBaseName(const char* path, char (&name)[kSoundNameSize]) {
    const char* base = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') base = p + 1;
    }
    std::snprintf(name, sizeof name, "%s", base);
}

// Sample data read from its file as the voice plays, for effects too long to be worth holding.
// The file stays open while the voice lives; data that can no longer be read sounds as silence.
struct WavFileSource final : VoiceSource {
    int fd = -1;
    uint64_t dataOffset = 0; // bytes from the file's start to its first frame

    WavFileSource(int file, uint64_t offset) : fd(file), dataOffset(offset) {}
    ~WavFileSource() override { close(fd); }
    WavFileSource(const WavFileSource&) = delete;
    WavFileSource& operator=(const WavFileSource&) = delete;

    uint32_t read(uint32_t first, int16_t* out, uint32_t frames) override {
        // Frames are 4 bytes, little-endian like the mixer's samples.
        return static_cast<uint32_t>(readAt(fd, dataOffset + uint64_t(first) * 4, out, size_t(frames) * 4) / 4);
    }
};

// Both loaders: open, walk, check or convert the format, hand the frames to a new voice.
SoundEffect loadWav(const char* windowsPath, bool convert, bool focusGlobal) {
    SoundEffect sound;
    WavFile file;
    file.fd = openRegularFile(windowsPath, "sound", kMaxSoundFileBytes, file.size);
    if (file.fd < 0) return sound;
    WavLayout layout;
    const char* problem = walkChunks(file, layout);
    if (problem == nullptr && !convert && !isMixerFormat(layout.format)) {
        problem = "not 44100 Hz 16-bit stereo PCM";
    }
    const bool streamed = problem == nullptr && isMixerFormat(layout.format) &&
                          layout.dataLength >= kStreamedSoundBytes;
    std::vector<int16_t> frames;
    if (problem == nullptr && !streamed) {
        try {
            std::vector<uint8_t> data(layout.dataLength);
            data.resize(readAt(file.fd, layout.dataOffset, data.data(), data.size()));
            problem = convertToMixerFormat(data.data(), data.size(), layout.format, frames);
        } catch (const std::bad_alloc&) {
            problem = "does not fit in memory";
        }
        if (problem == nullptr && frames.empty()) problem = "holds no sound data";
    }
    if (problem != nullptr) {
        close(file.fd);
        std::fprintf(stderr, "sound: %s: %s; the effect stays silent\n", windowsPath, problem);
        return sound;
    }
    if (layout.dataLength < layout.declaredLength) {
        std::fprintf(stderr, "sound: %s: truncated, %zu of %u data bytes present; playing those\n", windowsPath,
                     layout.dataLength, layout.declaredLength);
    }
    if (streamed) {
        sound.voice = mixerCreateVoice(std::make_shared<WavFileSource>(file.fd, layout.dataOffset),
                                       static_cast<uint32_t>(layout.dataLength / 4), focusGlobal);
    } else {
        close(file.fd);
        sound.voice = mixerCreateVoice(std::move(frames), focusGlobal);
    }
    if (sound.voice != 0) copyBaseName(windowsPath, sound.name);
    return sound;
}

} // namespace

SoundEffect loadWavFixed(const char* windowsPath) { return loadWav(windowsPath, false, false); }

SoundEffect loadWavChunked(const char* windowsPath) { return loadWav(windowsPath, true, true); }

SoundEffect copySound(const SoundEffect& sound) {
    SoundEffect copy = sound;
    copy.voice = mixerCopyVoice(sound.voice);
    if (copy.voice == 0) copy = SoundEffect{};
    return copy;
}

void assignSound(SoundEffect& slot, const SoundEffect& loaded) {
    if (slot.voice != loaded.voice) mixerReleaseVoice(slot.voice);
    slot = loaded;
}

void releaseSound(SoundEffect& slot) {
    mixerReleaseVoice(slot.voice);
    slot = SoundEffect{};
}

void playOnce(SoundEffect& sound, int32_t volume) {
    mixerSetVoiceVolume(sound.voice, std::max(volume, kSilentVolume));
    mixerPlayVoice(sound.voice, false);
}

void playLooping(SoundEffect& sound, int32_t volume) {
    mixerSetVoiceVolume(sound.voice, std::max(volume, kSilentVolume));
    mixerPlayVoice(sound.voice, true);
}

void setVolume(SoundEffect& sound, int32_t volume) {
    mixerSetVoiceVolume(sound.voice, std::max(volume, kSilentVolume));
}

void stopSound(SoundEffect& sound) { mixerStopVoice(sound.voice); }

bool isPlaying(const SoundEffect& sound) { return mixerVoicePlaying(sound.voice); }

uint32_t soundPosition(const SoundEffect& sound) { return sound.voice == 0 ? 0 : mixerVoicePosition(sound.voice); }
