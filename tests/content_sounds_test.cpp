// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Checks the generated sound and music files against what the game's two WAV loaders and
// its MP3 decoder expect, and against the listening rules: no clipping, loops without a
// step at the seam, one-shots that end cleanly, and the mix as the game plays it: engines in
// order of thrust and in front of the music, detonations above the engines, no clipping.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../tools/sound_inventory.h"
#include "platform/audio.h"
#include "platform/mixer.h"

namespace {

const std::string kSoundDir = std::string(SKARNWING_BUILD_DIR) + "/Files/Sound/";

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The stereo frames of a generated file: after the 44-byte header, or after the "data"
// chunk header for the chunk-walked file (chunk lengths taken as stored, as its loader does).
std::vector<int16_t> samplesOf(const SoundFile& file, const std::vector<uint8_t>& bytes) {
    size_t at = 44;
    if (file.chunked) {
        for (at = 12; at + 8 <= bytes.size() && std::memcmp(&bytes[at], "data", 4) != 0;)
            at += 8 + le32(&bytes[at + 4]);
        at += 8;
    }
    std::vector<int16_t> samples;
    for (size_t i = at; i + 1 < bytes.size(); i += 2) samples.push_back(int16_t(le16(&bytes[i])));
    return samples;
}

double rmsOf(const std::vector<int16_t>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(count));
}

double dbOf(double amplitude) { return 20 * std::log10(std::fmax(amplitude, 1e-9) / 32768.0); }

// The loudest 100 ms of a file, in dBFS RMS.
double loudestWindowDb(const std::vector<int16_t>& s) {
    const size_t window = 4410 * 2;
    double loudest = 0;
    for (size_t i = 0; i + window <= s.size(); i += window / 4) loudest = std::fmax(loudest, rmsOf(s, i, window));
    return dbOf(loudest);
}

std::vector<int16_t> load(const char* name) {
    for (const SoundFile& file : kSoundFiles)
        if (std::strcmp(file.name, name) == 0) return samplesOf(file, readFile(kSoundDir + name));
    return {};
}

// A music track decoded as the game decodes it; empty when it cannot be read.
std::vector<int16_t> decodeMusic(const char* name, long* rate = nullptr, int* channels = nullptr) {
    std::vector<int16_t> samples;
    if (mpg123_init() != MPG123_OK) return samples;
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) return samples;
    long r = 0;
    int c = 0, encoding = 0, err = MPG123_ERR;
    if (mpg123_open(mh, (kSoundDir + name).c_str()) == MPG123_OK &&
        mpg123_getformat(mh, &r, &c, &encoding) == MPG123_OK) {
        std::vector<unsigned char> block(65536);
        size_t done = 0;
        do {
            err = mpg123_read(mh, block.data(), block.size(), &done);
            for (size_t i = 0; i + 1 < done; i += 2) samples.push_back(int16_t(le16(&block[i])));
        } while (err == MPG123_OK);
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    if (err != MPG123_DONE) samples.clear();
    if (rate) *rate = r;
    if (channels) *channels = c;
    return samples;
}

double wholeDb(const std::vector<int16_t>& s) { return dbOf(rmsOf(s, 0, s.size())); }

TEST(ContentSounds, EveryFileHasTheLayoutItsLoaderReads) {
    for (const SoundFile& file : kSoundFiles) {
        SCOPED_TRACE(file.name);
        const std::vector<uint8_t> b = readFile(kSoundDir + file.name);
        ASSERT_GT(b.size(), 44u) << "missing or empty";
        ASSERT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
        ASSERT_EQ(std::memcmp(b.data() + 8, "WAVE", 4), 0);
        EXPECT_EQ(le32(&b[4]), b.size() - 8);
        if (!file.chunked) {
            // The fixed loader reads only bytes 40-43 and takes 44100 Hz 16-bit stereo for granted.
            EXPECT_EQ(std::memcmp(&b[12], "fmt ", 4), 0);
            EXPECT_EQ(le32(&b[16]), 16u);
            EXPECT_EQ(std::memcmp(&b[36], "data", 4), 0);
            EXPECT_EQ(le32(&b[40]), b.size() - 44);
            EXPECT_EQ(le32(&b[40]) % 4, 0u);
            const uint8_t* f = &b[20];
            EXPECT_EQ(le16(f), 1);
            EXPECT_EQ(le16(f + 2), 2);
            EXPECT_EQ(le32(f + 4), 44100u);
            EXPECT_EQ(le32(f + 8), 176400u);
            EXPECT_EQ(le16(f + 12), 4);
            EXPECT_EQ(le16(f + 14), 16);
            continue;
        }
        // The chunk walker must really walk: a chunk before "fmt ", one between it and "data".
        std::vector<std::string> ids;
        size_t at = 12;
        for (; at + 8 <= b.size(); at += 8 + le32(&b[at + 4])) {
            ids.emplace_back(reinterpret_cast<const char*>(&b[at]), 4);
            if (ids.back() == "fmt ") {
                EXPECT_EQ(le16(&b[at + 8]), 1);
                EXPECT_EQ(le16(&b[at + 10]), 2);
                EXPECT_EQ(le32(&b[at + 12]), 44100u);
                EXPECT_EQ(le16(&b[at + 22]), 16);
            }
            if (ids.back() == "data") break;
        }
        ASSERT_GE(ids.size(), 4u);
        EXPECT_EQ(ids[0], "LIST");
        EXPECT_EQ(ids[1], "fmt ");
        EXPECT_NE(ids[2], "data");
        EXPECT_EQ(ids.back(), "data");
        EXPECT_EQ(le32(&b[at + 4]), b.size() - at - 8) << "data length does not match the file";
    }
}

TEST(ContentSounds, LevelsLeaveHeadroomAndOneShotsEndCleanly) {
    for (const SoundFile& file : kSoundFiles) {
        SCOPED_TRACE(file.name);
        const std::vector<int16_t> s = samplesOf(file, readFile(kSoundDir + file.name));
        ASSERT_GT(s.size(), 4410u);
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(dbOf(peak), -1.0) << "too close to full scale";
        EXPECT_GT(dbOf(peak), -20.0) << "hardly audible";
        if (file.loops) continue;
        // The last sample is near zero (no click), and the final quarter second is not all
        // silence: a one-shot stops when its sound does.
        EXPECT_LT(std::abs(s[s.size() - 1]) + std::abs(s[s.size() - 2]), 64);
        const size_t tail = std::min<size_t>(s.size(), 44100 / 4 * 2);
        EXPECT_GT(dbOf(rmsOf(s, s.size() - tail, tail)), -70.0) << "long trailing silence";
    }
}

TEST(ContentSounds, LoopsJoinWithoutAStepOrALevelJump) {
    for (const SoundFile& file : kSoundFiles) {
        if (!file.loops) continue;
        SCOPED_TRACE(file.name);
        const std::vector<int16_t> s = samplesOf(file, readFile(kSoundDir + file.name));
        ASSERT_GT(s.size(), 4410u * 2);
        for (size_t c = 0; c < 2; ++c) {
            double steps = 0;
            for (size_t i = c + 2; i < s.size(); i += 2) steps += std::pow(s[i] - s[i - 2], 2.0);
            const double typicalStep = std::sqrt(steps / double(s.size() / 2 - 1));
            const double seam = std::abs(s[c] - s[s.size() - 2 + c]);
            EXPECT_LE(seam, 3 * typicalStep + 16) << "step at the seam, channel " << c;
        }
        // A steady loop has the same level either side of the seam; the beeping tones fall
        // silent between beeps and are judged by the step alone.
        const size_t window = 8820 * 2; // 200 ms: long enough to even out speech and gunfire
        double quietest = 1e9;
        for (size_t i = 0; i + window <= s.size(); i += window) quietest = std::fmin(quietest, rmsOf(s, i, window));
        if (dbOf(quietest) < -60) continue;
        const double head = dbOf(rmsOf(s, 0, window)), end = dbOf(rmsOf(s, s.size() - window, window));
        EXPECT_NEAR(head, end, 3.0) << "level jumps at the seam";
    }
    // Every call and line of the crowd is heard once a loop: over a minute, none comes round again.
    EXPECT_GE(load("Narr.wav").size(), 60u * 44100 * 2);
}

TEST(ContentSounds, EnginesRiseWithThrustAndStandBetweenMusicAndDetonationsAsPlayed) {
    // The game plays the low, cruise and afterburner loops at -10, -8 and -12 dB.
    const double low = wholeDb(load("A2.wav")) - 10, cruise = wholeDb(load("B1.wav")) - 8;
    const double burner = wholeDb(load("23.wav")) - 12;
    EXPECT_GE(cruise - low, 2.0);
    EXPECT_GE(burner - cruise, 3.0);
    // The gun's loop, played at -5 dB, is heard clearly over the cruise engine.
    EXPECT_GE(wholeDb(load("vulcv.wav")) - 5 - cruise, 3.0);
    for (const char* name : kMusicFiles) {
        SCOPED_TRACE(name);
        const double music = wholeDb(decodeMusic(name));
        EXPECT_GE(cruise - music, 3.0);
        EXPECT_LE(cruise - music, 6.0);
    }
    const double loudestEngine = std::fmax(loudestWindowDb(load("23.wav")) - 12, loudestWindowDb(load("B1.wav")) - 8);
    for (const char* name : {"detCl.wav", "detFr.wav", "dest.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_GE(loudestWindowDb(load(name)), loudestEngine + 6.0);
    }
    // The ground hit is also every button's click: it must be heard over the music.
    EXPECT_GT(loudestWindowDb(load("GndHit.wav")), -18.0);
}

// The gun firing, the afterburner and a detonation over the loudest passage of each track,
// summed by the game's own mixer: nothing may reach full scale.
TEST(ContentSounds, AWorstCaseMixDoesNotClip) {
    for (const char* track : kMusicFiles) {
        for (const char* blast : {"detCl.wav", "detFr.wav", "dest.wav"}) {
            SCOPED_TRACE(std::string(track) + " with " + blast);
            mixerReset();
            std::vector<int16_t> music = decodeMusic(track);
            ASSERT_GT(music.size(), 44100u * 2);
            // Where the track is loudest: mix up to there, then start the effects.
            const size_t window = 4410 * 2;
            size_t loudestAt = 0;
            double loudest = 0;
            for (size_t i = 0; i + window <= music.size(); i += window)
                if (rmsOf(music, i, window) > loudest) loudest = rmsOf(music, i, window), loudestAt = i;
            const int32_t stream = mixerCreateMusic(std::move(music));
            const int32_t gun = mixerCreateVoice(load("vulcv.wav"), false);
            const int32_t engine = mixerCreateVoice(load("23.wav"), false);
            const int32_t bang = mixerCreateVoice(load(blast), false);
            mixerPlayMusic(stream);
            std::vector<int16_t> out(44100 * 2);
            for (int32_t skip = int32_t(loudestAt / 2); skip > 0; skip -= 44100)
                mixAudio(out.data(), std::min(skip, 44100));
            mixerSetVoiceVolume(gun, -500);
            mixerSetVoiceVolume(engine, -1200);
            mixerPlayVoice(gun, true);
            mixerPlayVoice(engine, true);
            mixerPlayVoice(bang, false);
            int peak = 0;
            for (int second = 0; second < 3; ++second) {
                mixAudio(out.data(), 44100);
                for (int16_t v : out) peak = std::max(peak, std::abs(int(v)));
            }
            EXPECT_LT(dbOf(peak), -0.5) << "the mix comes within half a decibel of full scale";
            mixerReset();
        }
    }
}

// The game restarts a track once it has played its last whole second: that must come before the
// fade-out, the jump back must land on sound (no near-silent gap over 10 ms), and what follows it
// must be as loud as what the track would have gone on to play.
TEST(ContentSounds, MusicDecodesToStereoTracksThatRestartWithoutAGapOrAStep) {
    for (const char* name : kMusicFiles) {
        SCOPED_TRACE(name);
        long rate = 0;
        int channels = 0;
        const std::vector<int16_t> s = decodeMusic(name, &rate, &channels);
        ASSERT_GT(s.size(), 44100u * 4) << "missing or unreadable";
        EXPECT_EQ(rate, 44100);
        EXPECT_EQ(channels, 2);
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(peak, 32767) << "clips";
        const double seconds = double(s.size() / 2) / 44100;
        EXPECT_GE(seconds, 90.0);
        EXPECT_LE(seconds, 180.0);
        EXPECT_GT(seconds - std::floor(seconds), 0.2);
        size_t firstSound = 0; // frames before the first sample above -50 dBFS
        while (firstSound * 2 + 1 < s.size() &&
               std::max(std::abs(int(s[firstSound * 2])), std::abs(int(s[firstSound * 2 + 1]))) < 104)
            ++firstSound;
        EXPECT_LE(firstSound * 1000.0 / 44100, 10.0) << "near-silence at the start";
        const size_t restart = size_t(seconds) * 44100 * 2; // the last whole second
        const size_t window = 4410 * 2;                     // 100 ms
        EXPECT_NEAR(dbOf(rmsOf(s, restart, window)), dbOf(rmsOf(s, 0, window)), 3.0) << "level step at the restart";
    }
}

} // namespace
