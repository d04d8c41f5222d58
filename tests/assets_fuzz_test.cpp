// Every loader on random bytes, on valid files cut at every length and on valid files with bytes
// changed at random: no fault (the sanitizer build checks reads and writes), no image larger than
// its header allows, and a failure always leaves a silent or blank result.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"
#include "assets_fixtures.h"
#include "platform/audio.h"

namespace {

constexpr uint32_t kSeed = 20261206;
// Rounds per loader; SKARNWING_FUZZ_ROUNDS raises it for a longer hunt.
int rounds(int usual) {
    const char* text = std::getenv("SKARNWING_FUZZ_ROUNDS");
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : usual;
}

// Random bytes, the valid file cut at a random length, or the valid file with a few bytes changed.
std::vector<uint8_t> variant(const std::vector<uint8_t>& valid, Lcg& random, int round) {
    std::vector<uint8_t> bytes;
    switch (round % 3) {
    case 0:
        bytes.resize(random.next() % 2048);
        for (uint8_t& b : bytes) b = uint8_t(random.next());
        // Sometimes keep the real signature so the parsers get past their first check.
        if (!bytes.empty() && random.next() % 2 == 0) {
            std::copy(valid.begin(), valid.begin() + std::min<size_t>(12, std::min(valid.size(), bytes.size())), bytes.begin());
        }
        break;
    case 1:
        bytes.assign(valid.begin(), valid.begin() + static_cast<ptrdiff_t>(random.next() % (valid.size() + 1)));
        break;
    default:
        bytes = valid;
        for (int i = int(random.next() % 8); i >= 0; --i) bytes[random.next() % bytes.size()] = uint8_t(random.next());
        break;
    }
    return bytes;
}

std::vector<uint8_t> samplePng() {
    std::vector<uint8_t> rgba(40 * 20 * 4);
    Lcg random(1);
    for (uint8_t& b : rgba) b = uint8_t(random.next());
    return pngBytes(40, 20, 4, rgba);
}

std::vector<uint8_t> sampleJpeg() {
    std::vector<uint8_t> rgb(32 * 16 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 3);
    return jpegBytes(32, 16, rgb);
}

std::vector<uint8_t> sampleBmp() {
    return bmpBytes(13, 3, [](int32_t x, int32_t y) { return uint32_t(x * 40 + y); });
}

} // namespace

TEST(Fuzz, PictureDecodersAndTexturesSurviveDamagedData) {
    Lcg random(kSeed);
    for (const std::vector<uint8_t>& valid : {samplePng(), sampleJpeg()}) {
        for (int round = 0; round < rounds(300); ++round) {
            const std::vector<uint8_t> bytes = variant(valid, random, round);
            capturedStderr([&] {
                PixelImage image;
                if (decodeImageBytes(image, bytes.data(), bytes.size(), "fuzz")) {
                    EXPECT_EQ(image.pixels.size(), size_t(image.width) * size_t(image.height));
                }
                PixelImage frame;
                if (decodeFrameBytes(frame, bytes.data(), bytes.size(), 8, 8, 16, "fuzz")) {
                    EXPECT_EQ(frame.pixels.size(), 8u * 16u);
                }
                std::vector<uint32_t> pixels;
                if (prepareTexturePixels(bytes.data(), bytes.size(), 17, 9, kKeyBlack, "fuzz", pixels)) {
                    EXPECT_EQ(pixels.size(), 17u * 9u);
                }
            });
        }
    }
}

TEST(Fuzz, FileLoadersSurviveDamagedFiles) {
    audioOpen();
    TempDir dir;
    const std::string path = dir.file("fuzz.bin");
    Lcg random(kSeed + 1);
    std::vector<uint8_t> wav = riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"LIST", {'a', 'b', 'c'}},
                                         {"data", pcmBody(std::vector<int16_t>(64, 1000))}});
    std::vector<uint8_t> monoWav =
        riffWave({{"fmt ", fmtBody(1, 11025, 8)}, {"data", std::vector<uint8_t>(33, 200)}});
    for (int round = 0; round < rounds(300); ++round) {
        writeFile(path, variant(round % 2 ? wav : monoWav, random, round));
        capturedStderr([&] {
            SoundEffect fixed = loadWavFixed(path.c_str());
            SoundEffect chunked = loadWavChunked(path.c_str());
            playOnce(fixed, 0);
            playLooping(chunked, -300);
            int16_t out[2 * 256];
            mixAudio(out, 256);
            releaseSound(fixed);
            releaseSound(chunked);
        });
    }
    const std::vector<uint8_t> bmp = sampleBmp();
    for (int round = 0; round < rounds(300); ++round) {
        writeFile(path, variant(bmp, random, round));
        uint32_t sheet[13 * 3 + 1];
        sheet[13 * 3] = 0xCAFEF00D; // a guard word just past the buffer
        capturedStderr([&] { loadBmpSheet(path.c_str(), sheet, 13, 3); });
        EXPECT_EQ(sheet[13 * 3], 0xCAFEF00Du);
    }
    audioClose();
}

TEST(Fuzz, MusicDecoderSurvivesDamagedData) {
    audioOpen();
    const std::string m1 = std::string(SKARNWING_BUILD_DIR) + "/Files/Sound/m1.z2";
    std::vector<uint8_t> valid;
    if (FILE* f = std::fopen(m1.c_str(), "rb")) {
        valid.resize(32 * 1024); // the first few seconds are enough
        valid.resize(std::fread(valid.data(), 1, valid.size(), f));
        std::fclose(f);
    }
    ASSERT_FALSE(valid.empty()) << m1 << " is missing: build the content first";
    Lcg random(kSeed + 2);
    for (int round = 0; round < rounds(60); ++round) {
        const std::vector<uint8_t> bytes = variant(valid, random, round);
        capturedStderr([&] {
            MusicTrack track;
            if (decodeMusic(track, bytes.data(), bytes.size(), "fuzz")) {
                EXPECT_LE(track.durationSeconds, kMaxMusicSeconds);
                EXPECT_EQ(track.pcmLength, uint32_t(176400 * track.durationSeconds));
            }
            playMusic(track);
            int16_t out[2 * 256];
            mixAudio(out, 256);
            releaseMusic(track);
        });
    }
    audioClose();
}
