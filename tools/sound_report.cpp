// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-sound-report: prints, for every sound and music file of the game, its length,
// peak and RMS level, and for the looping sounds the step between the last and the first
// sample, so the sounds can be judged without speakers. Then the mix as the game plays it:
// each file's level at the volume the game passes, and the gaps the mix relies on.
//
// Usage: skarnwing-sound-report [SOUND_DIR]   (default Files/Sound)
#include <mpg123.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound_inventory.h"

namespace {

struct Pcm {
    int rate = 0, channels = 0;
    std::vector<int16_t> samples; // interleaved
};

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

// Walks the RIFF chunks for "fmt " and "data"; only 16-bit PCM is accepted.
bool readWav(const std::string& path, Pcm& pcm) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4)) {
        std::fprintf(stderr, "%s: missing or not a RIFF/WAVE file\n", path.c_str());
        return false;
    }
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        uint32_t length = le32(&b[at + 4]);
        const unsigned char* body = &b[at + 8];
        if (length > b.size() - at - 8) break;
        if (!std::memcmp(&b[at], "fmt ", 4) && length >= 16) {
            pcm.channels = body[2] | body[3] << 8;
            pcm.rate = (int)le32(body + 4);
            haveFormat = (body[0] | body[1] << 8) == 1 && (body[14] | body[15] << 8) == 16;
        } else if (!std::memcmp(&b[at], "data", 4) && haveFormat && pcm.channels > 0) {
            pcm.samples.resize(length / 2);
            std::memcpy(pcm.samples.data(), body, pcm.samples.size() * 2);
            return true;
        }
        at += 8 + length + (length & 1);
    }
    std::fprintf(stderr, "%s: no 16-bit PCM format and data chunk\n", path.c_str());
    return false;
}

bool readMp3(const std::string& path, Pcm& pcm) {
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh || mpg123_open(mh, path.c_str()) != MPG123_OK) {
        std::fprintf(stderr, "%s: cannot open as MP3\n", path.c_str());
        if (mh) mpg123_delete(mh);
        return false;
    }
    long rate;
    int channels, encoding;
    mpg123_getformat(mh, &rate, &channels, &encoding);
    pcm.rate = (int)rate, pcm.channels = channels;
    unsigned char buffer[16384];
    size_t done = 0;
    int err;
    do {
        err = mpg123_read(mh, buffer, sizeof buffer, &done);
        size_t old = pcm.samples.size();
        pcm.samples.resize(old + done / 2);
        std::memcpy(pcm.samples.data() + old, buffer, done / 2 * 2);
    } while (err == MPG123_OK || err == MPG123_NEW_FORMAT);
    mpg123_close(mh);
    mpg123_delete(mh);
    if (err != MPG123_DONE || pcm.samples.empty()) {
        std::fprintf(stderr, "%s: MP3 decoding failed\n", path.c_str());
        return false;
    }
    return true;
}

double dbfs(double linear) { return linear > 0 ? 20 * std::log10(linear) : -120.0; }

double rmsDb(const Pcm& pcm, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += (pcm.samples[i] / 32768.0) * (pcm.samples[i] / 32768.0);
    return dbfs(std::sqrt(sum / std::fmax(1.0, (double)count)));
}

// The loudest 100 ms, in dBFS RMS: how loud a short sound is heard.
double loudestDb(const Pcm& pcm) {
    const size_t window = (size_t)pcm.rate / 10 * pcm.channels;
    if (pcm.samples.size() <= window) return rmsDb(pcm, 0, pcm.samples.size());
    double loudest = -120;
    for (size_t i = 0; i + window <= pcm.samples.size(); i += window / 4)
        loudest = std::fmax(loudest, rmsDb(pcm, i, window));
    return loudest;
}

// The game restarts a track when it has played its last whole second: the near-silence at the
// start it jumps to, and the level of the 100 ms after the jump against the 100 ms the track
// would have gone on to play.
void reportRestart(const char* name, const Pcm& pcm) {
    const size_t frames = pcm.samples.size() / pcm.channels, window = (size_t)pcm.rate / 10 * pcm.channels;
    const size_t restart = frames / pcm.rate * pcm.rate * pcm.channels;
    if (restart == 0 || restart + window > pcm.samples.size()) return;
    size_t quiet = 0;
    while (quiet < pcm.samples.size() && std::abs(pcm.samples[quiet]) < 104) ++quiet; // -50 dBFS
    std::printf("%-13s restart at %zu s: %.1f ms near-silent, then %.1f dBFS where it would go on at %.1f dBFS\n", name,
                restart / pcm.channels / pcm.rate, 1000.0 * (quiet / pcm.channels) / pcm.rate, rmsDb(pcm, 0, window),
                rmsDb(pcm, restart, window));
}

// How the game plays a file, in dB (its volume in hundredths of a decibel / 100).
struct Played {
    const char* name;
    double volumeDb;
};
constexpr Played kPlayed[] = {{"A2.wav", -10},  {"B1.wav", -8},  {"23.wav", -12},   {"vulcv.wav", -5}, {"detCl.wav", 0},
                              {"detFr.wav", 0}, {"dest.wav", 0}, {"GndHit.wav", 0}, {"m1.z2", 0},      {"m2.z2", 0}};

void reportMix(const std::string& dir) {
    std::printf("\nAs played (RMS and loudest 100 ms, dBFS, at the game's volume):\n");
    double rms[std::size(kPlayed)] = {}, loud[std::size(kPlayed)] = {};
    for (size_t i = 0; i < std::size(kPlayed); ++i) {
        Pcm pcm;
        const std::string path = dir + "/" + kPlayed[i].name;
        if (!(std::strstr(kPlayed[i].name, ".z2") ? readMp3(path, pcm) : readWav(path, pcm))) return;
        rms[i] = rmsDb(pcm, 0, pcm.samples.size()) + kPlayed[i].volumeDb;
        loud[i] = loudestDb(pcm) + kPlayed[i].volumeDb;
        std::printf("  %-11s at %4.0f dB  RMS %6.1f  loudest %6.1f\n", kPlayed[i].name, kPlayed[i].volumeDb, rms[i],
                    loud[i]);
    }
    const double loudestEngine = std::fmax(loud[0], std::fmax(loud[1], loud[2]));
    std::printf("  afterburner - cruise %+.1f dB, cruise - low %+.1f dB, gun - cruise %+.1f dB\n", rms[2] - rms[1],
                rms[1] - rms[0], rms[3] - rms[1]);
    std::printf("  cruise - music: m1 %+.1f dB, m2 %+.1f dB\n", rms[1] - rms[8], rms[1] - rms[9]);
    std::printf("  detonations - loudest engine (loudest 100 ms): detCl %+.1f, detFr %+.1f, dest %+.1f dB\n",
                loud[4] - loudestEngine, loud[5] - loudestEngine, loud[6] - loudestEngine);
}

void report(const char* name, const Pcm& pcm, bool loops) {
    const size_t frames = pcm.samples.size() / pcm.channels;
    double peak = 0, sum = 0;
    for (int16_t s : pcm.samples) {
        peak = std::fmax(peak, std::fabs(s / 32768.0));
        sum += (s / 32768.0) * (s / 32768.0);
    }
    double rms = std::sqrt(sum / std::fmax(1.0, (double)pcm.samples.size()));
    std::printf("%-13s %5d Hz %d ch %8.3f s  peak %6.1f dBFS  RMS %6.1f dBFS", name, pcm.rate, pcm.channels,
                (double)frames / pcm.rate, dbfs(peak), dbfs(rms));
    if (loops && frames > 1) {
        // The seam step set against the typical step between neighbouring samples.
        double seam = 0, steps = 0;
        for (int c = 0; c < pcm.channels; ++c) {
            seam = std::fmax(seam, std::fabs(pcm.samples[c] - pcm.samples[(frames - 1) * pcm.channels + c]));
            for (size_t i = 1; i < frames; ++i) {
                double d = pcm.samples[i * pcm.channels + c] - pcm.samples[(i - 1) * pcm.channels + c];
                steps += d * d;
            }
        }
        double rmsStep = std::sqrt(steps / (double)(pcm.channels * (frames - 1)));
        std::printf("  seam step %5.0f (%.2f x RMS step)", seam, seam / std::fmax(1.0, rmsStep));
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "Files/Sound";
    mpg123_init();
    int failures = 0;
    for (const SoundFile& file : kSoundFiles) {
        Pcm pcm;
        if (readWav(dir + "/" + file.name, pcm)) report(file.name, pcm, file.loops);
        else ++failures;
    }
    for (const char* name : kMusicFiles) {
        Pcm pcm;
        if (readMp3(dir + "/" + name, pcm)) report(name, pcm, false), reportRestart(name, pcm);
        else ++failures;
    }
    if (!failures) reportMix(dir);
    return failures ? 1 : 0;
}
