// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sound effects and music: both WAV loaders, the mixer's voices, volume and focus, MP3 decoding,
// the music restart rule and the track switch. Runs the mixer headless, as the replay tool does.

#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "assets/game_assets.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets_fixtures.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/mixer.h"
#include "test_game.h"

namespace {

// `frames` stereo frames: left counts up from `start`, right is its negation.
std::vector<int16_t> ramp(int32_t frames, int16_t start = 1) {
    std::vector<int16_t> samples;
    for (int32_t i = 0; i < frames; ++i) {
        samples.push_back(int16_t(start + i));
        samples.push_back(int16_t(-(start + i)));
    }
    return samples;
}

std::vector<int16_t> mix(int32_t frames) {
    std::vector<int16_t> out(size_t(frames) * 2);
    mixAudio(out.data(), frames);
    return out;
}

// Each test starts from an empty mixer with focus.
class Audio : public testing::Test {
protected:
    void SetUp() override { audioOpen(); }
    void TearDown() override { audioClose(); }

    SoundEffect load(const std::vector<uint8_t>& bytes, bool chunked, std::string* printed = nullptr) {
        const std::string path = dir.file("effect" + std::to_string(++files) + ".wav");
        writeFile(path, bytes);
        SoundEffect sound;
        const std::string text = capturedStderr(
            [&] { sound = chunked ? loadWavChunked(path.c_str()) : loadWavFixed(path.c_str()); });
        if (printed != nullptr) *printed = text;
        return sound;
    }

    TempDir dir;
    int files = 0;
};

} // namespace

TEST_F(Audio, BothLoadersFindTheDataPastExtraAndOddLengthChunks) {
    const std::vector<int16_t> samples = ramp(300);
    const std::vector<std::vector<uint8_t>> files = {
        plainWav(samples),
        // A LIST chunk of odd length with its pad byte, between format and data.
        riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"LIST", {'I', 'N', 'F', 'O', 'x'}}, {"data", pcmBody(samples)}}),
        // The same without the pad byte, as some writers do.
        riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"LIST", {'a', 'b', 'c'}, false}, {"data", pcmBody(samples)}}),
        // A chunk before the format, and a format chunk longer than 16 bytes.
        riffWave({{"JUNK", std::vector<uint8_t>(7, 0)},
                  {"fmt ",
                   [] {
                       auto f = fmtBody(2, 44100, 16);
                       f.resize(18);
                       return f;
                   }()},
                  {"data", pcmBody(samples)},
                  {"cue ", std::vector<uint8_t>(5, 1)}}),
    };
    for (size_t i = 0; i < files.size(); ++i) {
        for (const bool chunked : {false, true}) {
            std::string printed;
            SoundEffect sound = load(files[i], chunked, &printed);
            ASSERT_NE(sound.voice, 0) << i << printed;
            EXPECT_EQ(printed, "");
            playOnce(sound, 0);
            EXPECT_EQ(mix(300), samples) << "file " << i << (chunked ? " chunked" : " fixed");
            EXPECT_FALSE(isPlaying(sound));
        }
    }
}

TEST_F(Audio, ShortAndMalformedFilesGiveSilentSlotsWithOneLine) {
    const std::vector<uint8_t> good = plainWav(ramp(100));
    std::vector<uint8_t> garbage(500);
    Lcg random(7);
    for (uint8_t& b : garbage) b = uint8_t(random.next());
    const std::vector<std::vector<uint8_t>> bad = {
        {},
        std::vector<uint8_t>(good.begin(), good.begin() + 30), // cut inside the format chunk
        std::vector<uint8_t>(good.begin(), good.begin() + 40), // cut inside the data header
        garbage,
        riffWave({{"data", pcmBody(ramp(10))}, {"fmt ", fmtBody(2, 44100, 16)}}),    // data before format
        riffWave({{"fmt ", fmtBody(2, 44100, 16)}}),                                 // no data
        riffWave({{"fmt ", fmtBody(2, 44100, 16, 3)}, {"data", pcmBody(ramp(10))}}), // float, not PCM
        riffWave({{"fmt ", fmtBody(2, 44100, 24)}, {"data", pcmBody(ramp(10))}}),
        riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"data", {}}}),
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        for (const bool chunked : {false, true}) {
            std::string printed;
            SoundEffect sound = load(bad[i], chunked, &printed);
            EXPECT_EQ(sound.voice, 0) << i;
            EXPECT_EQ(lineCount(printed), 1) << i << ": " << printed;
            EXPECT_NE(printed.find("effect"), std::string::npos) << printed;
            playOnce(sound, 0); // a silent slot takes every call
            EXPECT_FALSE(isPlaying(sound));
        }
    }
    // A data chunk claiming more than the file holds plays what is there, and says so.
    std::vector<uint8_t> cut = riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"data", pcmBody(ramp(100)), true, 4000}});
    std::string printed;
    SoundEffect sound = load(cut, false, &printed);
    EXPECT_EQ(lineCount(printed), 1) << printed;
    playOnce(sound, 0);
    EXPECT_EQ(mix(100), ramp(100));
    EXPECT_FALSE(isPlaying(sound));
    // A missing file.
    const std::string missing = dir.file("missing.wav");
    printed = capturedStderr([&] { EXPECT_EQ(loadWavFixed(missing.c_str()).voice, 0); });
    EXPECT_EQ(lineCount(printed), 1);
}

TEST_F(Audio, OnlyTheChunkedLoaderConvertsOtherFormats) {
    // 22050 Hz mono 16-bit: two output frames per input frame, both channels alike.
    std::vector<int16_t> mono;
    for (int i = 0; i < 100; ++i) mono.push_back(int16_t(i * 100));
    const std::vector<uint8_t> file = riffWave({{"fmt ", fmtBody(1, 22050, 16)}, {"data", pcmBody(mono)}});
    std::string printed;
    EXPECT_EQ(load(file, false, &printed).voice, 0);
    EXPECT_EQ(lineCount(printed), 1);
    SoundEffect sound = load(file, true, &printed);
    ASSERT_NE(sound.voice, 0);
    playOnce(sound, 0);
    const std::vector<int16_t> out = mix(200);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 50); // halfway between the first two samples
    EXPECT_EQ(out[4], 100);
    EXPECT_EQ(out[100 * 2], 5000);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(out[size_t(i) * 2], out[size_t(i) * 2 + 1]);
    EXPECT_FALSE(isPlaying(sound));

    // 8-bit unsigned at 44100 Hz stereo: 128 is silence.
    const std::vector<uint8_t> eight = riffWave({{"fmt ", fmtBody(2, 44100, 8)}, {"data", {128, 129, 127, 255}}});
    SoundEffect small = load(eight, true);
    playOnce(small, 0);
    EXPECT_EQ(mix(2), (std::vector<int16_t>{0, 256, -256, 32512}));
}

TEST_F(Audio, TenCopiesOfOneFileSoundAtOnce) {
    // Five loads of the file and five copies of the first load's voice.
    const std::vector<uint8_t> file = plainWav(ramp(1000));
    SoundEffect copies[10];
    for (int i = 0; i < 5; ++i) copies[i] = load(file, false);
    for (int i = 5; i < 10; ++i) copies[i] = copySound(copies[0]);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(copies[i].voice, 0);
        for (int j = 0; j < i; ++j) ASSERT_NE(copies[i].voice, copies[j].voice);
    }
    for (SoundEffect& copy : copies) playOnce(copy, 0);
    std::vector<int16_t> out = mix(10);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(out[size_t(i) * 2], 10 * (1 + i));
    // Stopping one leaves the other nine.
    stopSound(copies[3]);
    out = mix(1);
    EXPECT_EQ(out[0], 9 * 11);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(isPlaying(copies[i]), i != 3);
    // Releasing the voice a copy came from leaves the copy its samples.
    releaseSound(copies[0]);
    playOnce(copies[7], 0);
    stopSound(copies[1]);
    stopSound(copies[2]);
    stopSound(copies[4]);
    EXPECT_EQ(mix(1)[0], 4 * 12 + 1); // copies 5, 6, 8 and 9 go on; 7 starts again
    EXPECT_EQ(copySound(SoundEffect{}).voice, 0);
}

TEST_F(Audio, OneShotsEndLoopsWrapAndStopKeepsThePosition) {
    SoundEffect once = load(plainWav(ramp(1000)), false);
    playOnce(once, 0);
    mix(kHeadlessFrameSamples);
    EXPECT_TRUE(isPlaying(once));
    mix(kHeadlessFrameSamples);
    EXPECT_FALSE(isPlaying(once));
    EXPECT_EQ(mixerVoicePosition(once.voice), 1000u);

    releaseSound(once);
    EXPECT_EQ(once.voice, 0);
    SoundEffect loop = load(plainWav(ramp(1000)), false);
    playLooping(loop, 0);
    const std::vector<int16_t> out = mix(1500);
    EXPECT_EQ(out[999 * 2], 1000);
    EXPECT_EQ(out[1000 * 2], 1); // wrapped to the first frame
    EXPECT_EQ(out[1499 * 2], 500);
    EXPECT_TRUE(isPlaying(loop));

    stopSound(loop);
    EXPECT_EQ(mixerVoicePosition(loop.voice), 500u);
    EXPECT_EQ(mix(10), std::vector<int16_t>(20, 0));
    EXPECT_EQ(mixerVoicePosition(loop.voice), 500u);
    // Playing again, even while it plays, starts from the beginning.
    playLooping(loop, 0);
    mix(100);
    playLooping(loop, 0);
    EXPECT_EQ(mix(1)[0], 1);
}

TEST_F(Audio, VolumeIsAnAttenuationClampedBelowAndRefusedAbove) {
    SoundEffect sound = load(plainWav(std::vector<int16_t>(2000, 10000)), false);
    playOnce(sound, -2000); // -20 dB: a tenth
    EXPECT_EQ(mix(1)[0], 1000);
    playOnce(sound, -20000); // below silence: plays at -10000
    EXPECT_EQ(mixerVoiceVolume(sound.voice), kSilentVolume);
    EXPECT_EQ(mix(1)[0], 0);
    EXPECT_TRUE(isPlaying(sound));
    playOnce(sound, -600);
    playOnce(sound, 500); // louder than full is refused: the volume stays at -600
    EXPECT_EQ(mixerVoiceVolume(sound.voice), -600);
    EXPECT_EQ(mix(1)[0], 5012); // -6 dB
    EXPECT_NEAR(attenuationGain(0), 1.0f, 1e-6f);
    EXPECT_NEAR(attenuationGain(-500), 0.5623f, 1e-4f);
}

TEST_F(Audio, UnfocusedOnlyTheGunSoundsButEveryVoiceAdvances) {
    SoundEffect engine = load(plainWav(std::vector<int16_t>(20000, 100)), false);
    SoundEffect gun = load(plainWav(std::vector<int16_t>(20000, 7)), true);
    playLooping(engine, 0);
    playLooping(gun, 0);
    EXPECT_EQ(mix(1)[0], 107);
    audioSetFocus(false);
    EXPECT_EQ(mix(100)[0], 7);
    EXPECT_TRUE(isPlaying(engine));
    EXPECT_EQ(mixerVoicePosition(engine.voice), 101u);
    audioSetFocus(true);
    EXPECT_EQ(mix(1)[0], 107);
}

TEST(MusicRule, RestartsInsideTheLastWholeSecondAndNeverAfterAReset) {
    constexpr uint32_t kSecond = 44100;
    const uint32_t length = uint32_t(125.7 * kSecond);
    EXPECT_FALSE(musicShouldRestart(125 * kSecond - 1, length, true, 125.7));
    EXPECT_TRUE(musicShouldRestart(125 * kSecond, length, true, 125.7));
    EXPECT_TRUE(musicShouldRestart(125 * kSecond + kSecond / 2, length, true, 125.7));
    EXPECT_FALSE(musicShouldRestart(0, length, false, 125.7)); // reset: switched off
    EXPECT_FALSE(musicShouldRestart(0, 0, true, 0.0));         // empty track
    // A track of exact whole seconds whose byte length lost its last sample ends and restarts.
    EXPECT_TRUE(musicShouldRestart(5 * kSecond - 1, 5 * kSecond - 1, false, 5.0));
}

// The restart itself is played frame by frame on a real track below; here the switches.
TEST_F(Audio, SwitchingTracksStartsTheOtherAtItsBeginning) {
    TestGame game(false);
    std::vector<int16_t> pcm(3 * 44100 * 2);
    for (size_t i = 0; i < pcm.size(); i += 2) pcm[i] = int16_t(i / 2 % 20000);
    game.assets->track1.durationSeconds = 3.0;
    game.assets->track1.stream = mixerCreateMusic(std::move(pcm));
    game.assets->track2.durationSeconds = 10.0;
    game.assets->track2.stream = mixerCreateMusic(std::vector<int16_t>(441000 * 2, 0));
    playMusic(game.assets->track1);
    game->musicTrack = 1;
    mix(44100);
    switchToTrack2(*game);
    EXPECT_EQ(game->musicTrack, 2);
    EXPECT_FALSE(mixerMusicPlaying(game.assets->track1.stream));
    mix(44100);
    loopMusic(*game); // the switched-off track stays off
    EXPECT_FALSE(mixerMusicPlaying(game.assets->track1.stream));
    switchToTrack1(*game);
    EXPECT_EQ(game->musicTrack, 1);
    EXPECT_FALSE(mixerMusicPlaying(game.assets->track2.stream));
    EXPECT_EQ(mixerMusicPosition(game.assets->track2.stream), 0u);
    const std::vector<int16_t> out = mix(3);
    EXPECT_EQ(out[0], 0); // track 1 from its first sample
    EXPECT_EQ(out[2], 1);
    EXPECT_EQ(out[4], 2);
    switchToTrack1(*game); // already on: nothing changes
    EXPECT_EQ(mixerMusicPosition(game.assets->track1.stream), 3u);
}

TEST_F(Audio, Mp3DecodesToStereo44100AndBadDataGivesAnEmptyTrack) {
    const std::string bytesText = readFile(generated("Files/Sound/m1.z2"));
    const std::vector<uint8_t> bytes(bytesText.begin(), bytesText.end());
    ASSERT_FALSE(bytes.empty());
    MusicTrack track;
    ASSERT_TRUE(decodeMusic(track, bytes.data(), bytes.size(), "m1"));
    EXPECT_GT(track.durationSeconds, 1.0);
    EXPECT_EQ(track.pcmLength, uint32_t(176400 * track.durationSeconds));
    EXPECT_EQ(mixerMusicLength(track.stream), track.pcmLength / 4);
    // Cut in the middle, it keeps what decodes, shorter.
    MusicTrack half;
    ASSERT_TRUE(decodeMusic(half, bytes.data(), bytes.size() / 2, "half"));
    EXPECT_LT(half.durationSeconds, track.durationSeconds * 0.6);
    EXPECT_GT(half.durationSeconds, track.durationSeconds * 0.4);
    releaseMusic(track);
    releaseMusic(half);
    MusicTrack bad;
    std::vector<uint8_t> junk(20000);
    Lcg random(3);
    for (uint8_t& b : junk) b = uint8_t(random.next() & 0x7F); // no frame sync bytes (0xFF)
    std::string printed = capturedStderr([&] { EXPECT_FALSE(decodeMusic(bad, junk.data(), junk.size(), "junk.z2")); });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_NE(printed.find("junk.z2"), std::string::npos);
    EXPECT_EQ(bad.stream, 0);
    EXPECT_EQ(bad.durationSeconds, 0.0);
    playMusic(bad); // an empty track takes every call
    // An empty file: no bytes, not even a pointer to them (a fuzz finding).
    printed = capturedStderr([&] { EXPECT_FALSE(decodeMusic(bad, nullptr, 0, "empty.z2")); });
    EXPECT_EQ(lineCount(printed), 1);
    const std::string missing = dir.file("m9.z2");
    printed = capturedStderr([&] { loadMusic(bad, missing.c_str()); });
    EXPECT_EQ(lineCount(printed), 1);
}

TEST_F(Audio, BackgroundDecodeIsClaimedByTheFrameOrByFirstUse) {
    TestGame game(false);
    loadMusicInBackground(game.assets->track2, generated("Files/Sound/m1.z2").c_str());
    for (int frame = 0; frame < 3000 && game.assets->track2.stream == 0; ++frame) {
        loopMusic(*game); // never waits; claims the result once it is ready
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(game.assets->track2.stream, 0);
    EXPECT_GT(game.assets->track2.durationSeconds, 1.0);
    EXPECT_FALSE(mixerMusicPlaying(game.assets->track2.stream)); // claimed, not started
    // A missing file: the first use waits for the decode and finds the track empty.
    const std::string missing = dir.file("m2.z2");
    const std::string printed = capturedStderr([&] {
        loadMusicInBackground(game.assets->track2, missing.c_str());
        game->musicTrack = 1;
        switchToTrack2(*game);
    });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_EQ(game.assets->track2.stream, 0);
    EXPECT_EQ(game->musicTrack, 2);
}

namespace {

// Frames from a counter, ending after `frames` of them, counting its rewinds.
struct CountingSource final : MusicSource {
    uint32_t frames = 0;
    uint32_t next = 0;
    int rewinds = 0;
    void rewind() override {
        next = 0;
        ++rewinds;
    }
    uint32_t read(int16_t* out, uint32_t count) override {
        const uint32_t n = std::min(count, frames - next);
        for (uint32_t i = 0; i < n; ++i) {
            out[i * 2] = int16_t(1 + next + i);
            out[i * 2 + 1] = int16_t(-1);
        }
        next += n;
        return n;
    }
};

// The whole decode of an MP3 file as 44100 Hz 16-bit stereo, fed in pieces.
std::vector<int16_t> decodeWhole(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> out;
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(handle);
    std::vector<int16_t> block(16384);
    size_t fed = 0;
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(handle, block.data(), block.size() * 2, &done);
        out.insert(out.end(), block.begin(), block.begin() + long(done / 2));
        if (result == MPG123_NEED_MORE && fed < bytes.size()) {
            const size_t piece = std::min<size_t>(65536, bytes.size() - fed);
            mpg123_feed(handle, bytes.data() + fed, piece);
            fed += piece;
        } else if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            break;
        }
    }
    mpg123_delete(handle);
    return out;
}

} // namespace

TEST_F(Audio, StreamFromASourceRewindsOnPlayAndPlaysSilencePastAnEarlyEnd) {
    auto source = std::make_shared<CountingSource>();
    source->frames = 1000;
    const int32_t stream = mixerCreateMusic(source, 1300);
    EXPECT_EQ(mixerMusicLength(stream), 1300u);
    EXPECT_EQ(mix(10)[0], 0); // not started: nothing read
    mixerPlayMusic(stream);
    EXPECT_EQ(source->rewinds, 1);
    std::vector<int16_t> out = mix(1200);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[999 * 2], 1000);
    EXPECT_EQ(out[1000 * 2], 0); // the data ended early: silence for the rest of the length
    EXPECT_TRUE(mixerMusicPlaying(stream));
    mix(100);
    EXPECT_FALSE(mixerMusicPlaying(stream));
    EXPECT_EQ(mixerMusicPosition(stream), 1300u);
    mixerPlayMusic(stream);
    EXPECT_EQ(source->rewinds, 2);
    EXPECT_EQ(mix(2)[2], 2); // from the first frame again
    mixerReleaseMusic(stream);
    EXPECT_EQ(mixerCreateMusic(std::shared_ptr<MusicSource>(), 100), 1); // no source: an empty stream
    EXPECT_EQ(mixerMusicLength(1), 0u);
}

// The track plays, frame by frame and across its restart, exactly the samples a whole decode of
// the file gives, and its length is that decode's.
TEST_F(Audio, StreamedTrackPlaysTheWholeDecodeAndRestartsWithoutAGap) {
    const std::string text = readFile(generated("Files/Sound/m2.z2"));
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    ASSERT_FALSE(bytes.empty());
    const std::vector<int16_t> whole = decodeWhole(bytes);
    TestGame game(false);
    MusicTrack& track = game.assets->track1;
    ASSERT_TRUE(decodeMusic(track, bytes.data(), bytes.size(), "m2"));
    EXPECT_EQ(track.durationSeconds, double(whole.size() / 2) / 44100);
    EXPECT_EQ(mixerMusicLength(track.stream), track.pcmLength / 4);
    playMusic(track);
    game->musicTrack = 1;
    std::vector<int16_t> heard;
    uint32_t restartFrame = 0; // frames heard when the frame restarted the track
    for (int frame = 0; frame < 20000 && restartFrame == 0; ++frame) {
        const std::vector<int16_t> out = mix(kHeadlessFrameSamples);
        heard.insert(heard.end(), out.begin(), out.end());
        loopMusic(*game);
        if (mixerMusicPosition(track.stream) == 0) restartFrame = uint32_t(heard.size() / 2);
    }
    ASSERT_GT(restartFrame, 0u);
    EXPECT_EQ(restartFrame / 44100, uint32_t(track.durationSeconds));
    const std::vector<int16_t> after = mix(44100);
    heard.insert(heard.end(), after.begin(), after.end());
    size_t differing = 0;
    for (size_t i = 0; i < heard.size(); ++i) {
        const size_t frame = i / 2;
        const size_t source = frame < restartFrame ? i : i - size_t(restartFrame) * 2;
        differing += heard[i] != whole[source];
    }
    EXPECT_EQ(differing, 0u);
    releaseMusic(track);
}

// The crowd loop is too long to hold, so its voice reads the file as it plays. A random run of
// blocks, volumes, holds, focus changes and a copy playing beside it, long enough to pass the
// loop's seam, sounds sample for sample as the same run over the whole samples held in memory.
TEST_F(Audio, StreamedCrowdLoopSoundsAsTheWholeOneAcrossItsSeam) {
    const std::string path = generated("Files/Sound/Narr.wav");
    const std::string text = readFile(path);
    size_t at = 12; // the data chunk, past any other
    while (at + 8 <= text.size() && text.compare(at, 4, "data") != 0)
        at += 8 + (uint32_t(uint8_t(text[at + 4])) | uint32_t(uint8_t(text[at + 5])) << 8 |
                   uint32_t(uint8_t(text[at + 6])) << 16 | uint32_t(uint8_t(text[at + 7])) << 24);
    ASSERT_LE(at + 8, text.size());
    std::vector<int16_t> whole((text.size() - at - 8) / 4 * 2);
    std::memcpy(whole.data(), text.data() + at + 8, whole.size() * 2);
    ASSERT_GE(whole.size() * 2, kStreamedSoundBytes);

    SoundEffect streamed = loadWavFixed(path.c_str());
    ASSERT_NE(streamed.voice, 0);
    SoundEffect held;
    held.voice = mixerCreateVoice(std::move(whole), false);
    auto run = [&](SoundEffect& sound) {
        Lcg random(35);
        std::vector<int16_t> heard;
        std::vector<uint32_t> positions;
        SoundEffect copy;
        playLooping(sound, -300);
        // Until the voice has come round past its seam and 50000 frames on.
        for (uint32_t last = 0, wraps = 0; wraps == 0 || last < 50000;) {
            const uint32_t choice = random.next() % 16;
            if (choice == 0) setVolume(sound, -int32_t(random.next() % 4000));
            if (choice == 1 && copy.voice == 0) playOnce(copy = copySound(sound), -600);
            mixerHoldEffects(choice == 2); // for this block only
            audioSetFocus(choice != 3);
            const std::vector<int16_t> out = mix(1 + int32_t(random.next() % 5000));
            heard.insert(heard.end(), out.begin(), out.end());
            const uint32_t position = mixerVoicePosition(sound.voice);
            wraps += position < last;
            positions.push_back(last = position);
        }
        mixerHoldEffects(false);
        audioSetFocus(true);
        stopSound(sound);
        releaseSound(copy);
        return std::make_pair(heard, positions);
    };
    const auto [streamedHeard, streamedPositions] = run(streamed);
    const auto [heldHeard, heldPositions] = run(held);
    EXPECT_EQ(streamedPositions, heldPositions);
    ASSERT_EQ(streamedHeard.size(), heldHeard.size());
    size_t differing = 0;
    for (size_t i = 0; i < heldHeard.size(); ++i) differing += streamedHeard[i] != heldHeard[i];
    EXPECT_EQ(differing, 0u);
}

// A streamed effect whose file is cut short while it plays sounds silence past the cut.
TEST_F(Audio, StreamedEffectGoesSilentWhereItsFileWasCut) {
    std::vector<int16_t> samples(kStreamedSoundBytes / 2 + 1000);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(1 + i % 1000);
    const std::vector<uint8_t> file = plainWav(samples);
    const std::string path = dir.file("long.wav");
    writeFile(path, file);
    SoundEffect sound = loadWavFixed(path.c_str());
    ASSERT_NE(sound.voice, 0);
    writeFile(path, std::vector<uint8_t>(file.begin(), file.begin() + 44 + 4000)); // the first 1000 frames
    playOnce(sound, 0);
    const std::vector<int16_t> out = mix(2000);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 2000, samples.begin()));
    EXPECT_EQ(std::count(out.begin() + 2000, out.end(), int16_t{0}), 2000);
    EXPECT_TRUE(isPlaying(sound));
}
