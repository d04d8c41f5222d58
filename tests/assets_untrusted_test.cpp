// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Hostile and odd files in place of assets: crafted pictures, other formats under a picture's
// name, FIFOs, devices, folders and oversized files. Each is refused with one line naming it, and
// the sanitizer build checks that nothing is read or written out of bounds on the way.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
// stb_image is the reference the PNG decoding is compared with; the game does not carry it.
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <png.h>

#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"
#include "assets_fixtures.h"
#include "platform/audio.h"

namespace {

std::vector<uint8_t> sampleJpeg() {
    std::vector<uint8_t> rgb(48 * 24 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7 + i / 97);
    return jpegBytes(48, 24, rgb);
}

// One marker segment of a JPEG: where it starts (at its 0xFF) and its whole length.
struct Segment {
    size_t at = 0;
    size_t length = 0;
};

// The first segment with `marker` among those before the scan data.
Segment findSegment(const std::vector<uint8_t>& jpeg, uint8_t marker) {
    for (size_t pos = 2; pos + 4 <= jpeg.size();) {
        const size_t length = 2 + (size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3]);
        if (jpeg[pos + 1] == marker) return {pos, length};
        if (jpeg[pos + 1] == 0xDA) break;
        pos += length;
    }
    return {};
}

uint32_t crc32(const uint8_t* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

void putBig32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// A valid PNG whose header claims width x height (the header's checksum made to match).
std::vector<uint8_t> pngClaiming(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = pngBytes(4, 4, 3, std::vector<uint8_t>(4 * 4 * 3, 90));
    putBig32(png, 16, width);
    putBig32(png, 20, height);
    putBig32(png, 29, crc32(png.data() + 12, 17)); // over "IHDR" and its 13 bytes
    return png;
}

void appendPngBytes(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

// A PNG of the given colour type, bit depth and interlacing, with random samples, a palette of
// 256 entries when it has one, and a transparency chunk when `keyed`. libpng aborts on an error.
std::vector<uint8_t> pngOfKind(int colourType, int depth, bool interlaced, bool keyed, Lcg& random) {
    constexpr uint32_t kWidth = 23;
    constexpr uint32_t kHeight = 11;
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, depth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    png_byte alphas[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {uint8_t(random.next()), uint8_t(random.next()), uint8_t(random.next())};
        alphas[i] = uint8_t(random.next());
    }
    png_color_16 key = {};
    key.gray = 1;
    key.red = 1;
    key.green = 1;
    key.blue = 1;
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 1 << std::min(depth, 8));
    if (keyed) png_set_tRNS(png, info, alphas, 1 << std::min(depth, 8), &key);
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<uint8_t> pixels(rowBytes * kHeight);
    // Small values, so that some samples meet the transparent key.
    for (uint8_t& b : pixels) b = uint8_t(random.next() % 4 == 0 ? 0 : random.next());
    for (size_t i = 1; i < pixels.size(); i += 7) pixels[i] = 1;
    std::vector<png_bytep> rows(kHeight);
    for (uint32_t y = 0; y < kHeight; ++y) rows[y] = pixels.data() + y * rowBytes;
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Decodes with the game's decoder, expecting a refusal with exactly one line; gives the line.
std::string refusal(const std::vector<uint8_t>& bytes) {
    PixelImage image;
    image.width = 7; // a refusal leaves the image as it was
    std::string printed = capturedStderr(
        [&] { EXPECT_FALSE(decodeImageBytes(image, bytes.data(), bytes.size(), "crafted")); });
    EXPECT_EQ(lineCount(printed), 1) << printed;
    EXPECT_EQ(image.width, 7);
    return printed;
}

} // namespace

TEST(UntrustedPictures, CraftedJpegsAreRefusedWithOneLine) {
    const std::vector<uint8_t> valid = sampleJpeg();
    const Segment dht = findSegment(valid, 0xC4);
    const Segment sof = findSegment(valid, 0xC0);
    ASSERT_GT(dht.length, 0u);
    ASSERT_GT(sof.length, 0u);
    ASSERT_LT(sof.at, dht.at);

    // A Huffman table of 16 x 255 codes, placed before the frame header.
    std::vector<uint8_t> bad(valid.begin(), valid.begin() + 2);
    std::vector<uint8_t> table(valid.begin() + ptrdiff_t(dht.at), valid.begin() + ptrdiff_t(dht.at + dht.length));
    ASSERT_GE(table.size(), 21u);
    for (size_t i = 5; i < 21; ++i) table[i] = 0xFF; // the first table's 16 code counts
    bad.insert(bad.end(), table.begin(), table.end());
    bad.insert(bad.end(), valid.begin() + 2, valid.end());
    EXPECT_NE(refusal(bad).find("crafted"), std::string::npos);

    // A frame header claiming 8000 x 8000 pixels: refused by the size limit, from the header.
    std::vector<uint8_t> huge = valid;
    huge[sof.at + 5] = 8000 >> 8;
    huge[sof.at + 6] = 8000 & 0xFF;
    huge[sof.at + 7] = 8000 >> 8;
    huge[sof.at + 8] = 8000 & 0xFF;
    EXPECT_NE(refusal(huge).find("size out of range"), std::string::npos);

    // Arithmetic coding, which reads past cut data as zeros without a warning.
    std::vector<uint8_t> arithmetic = valid;
    arithmetic[sof.at + 1] = 0xC9;
    EXPECT_NE(refusal(arithmetic).find("arithmetic"), std::string::npos);

    // Cut anywhere, even just before its end marker: damaged, never half a picture.
    for (size_t cut = 2; cut < valid.size(); cut += cut < sof.at + 40 ? 1 : 7) {
        refusal(std::vector<uint8_t>(valid.begin(), valid.begin() + ptrdiff_t(cut)));
    }
}

TEST(UntrustedPictures, DamagedScanDataDecodesOrIsRefusedWithOneLine) {
    const std::vector<uint8_t> valid = sampleJpeg();
    const Segment sos = findSegment(valid, 0xDA);
    ASSERT_GT(sos.length, 0u);
    const size_t scan = sos.at + sos.length;
    Lcg random(77);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes = valid;
        // Runs of fill bytes and markers where the entropy-coded data should be.
        for (int i = 0; i < 1 + round % 6; ++i) {
            const size_t at = scan + random.next() % (bytes.size() - 2 - scan);
            bytes[at] = round % 3 == 0 ? 0xFF : uint8_t(random.next());
        }
        PixelImage image;
        bool decoded = false;
        const std::string printed = capturedStderr(
            [&] { decoded = decodeImageBytes(image, bytes.data(), bytes.size(), "damaged"); });
        EXPECT_EQ(lineCount(printed), decoded ? 0 : 1) << printed;
        if (decoded) {
            EXPECT_EQ(image.pixels.size(), 48u * 24u);
        }
    }
}

TEST(UntrustedPictures, OnlyPngAndJpegAreAccepted) {
    std::vector<uint8_t> tga;
    stbi_write_tga_to_func(appendBytes, &tga, 2, 2, 3, std::vector<uint8_t>(12, 200).data());
    std::vector<uint8_t> bmp = {'B', 'M'};
    bmp.resize(80, 0);
    for (const std::vector<uint8_t>& other : {tga, bmp, std::vector<uint8_t>{'P', '6', '\n', '1', ' ', '1', '\n'}}) {
        EXPECT_NE(refusal(other).find("not a PNG or JPEG"), std::string::npos);
    }
    // A TGA named .png, loaded as a texture file: one line naming the file, no texture.
    TempDir dir;
    const std::string path = dir.file("arrow.png");
    writeFile(path, tga);
    TextureHandle texture = 1;
    const std::string printed = capturedStderr([&] { texture = loadTextureFile(path.c_str(), 30, 30, kKeyWhite); });
    EXPECT_EQ(texture, 0);
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_NE(printed.find(path), std::string::npos);
}

TEST(UntrustedPictures, SizeLimitIsCheckedFromThePngHeader) {
    int width = 0;
    int height = 0;
    EXPECT_EQ(checkPictureHeader(pngClaiming(8192, 4096).data(), pngClaiming(8192, 4096).size(), width, height),
              nullptr);
    EXPECT_EQ(int64_t(width) * height, kMaxDecodedPixels); // the limit itself passes the header check
    EXPECT_NE(refusal(pngClaiming(8192, 4097)).find("size out of range"), std::string::npos);
    EXPECT_NE(refusal(pngClaiming(100000, 100000)).find("size out of range"), std::string::npos);
    // A header that claims more rows than its data holds.
    refusal(pngClaiming(4, 5000));
}

// The PNG decoder gives stb_image's pixels for every kind of PNG (every colour type and depth,
// transparency keys, interlacing).
TEST(UntrustedPictures, DecodedPngPixelsMatchTheReferenceDecoder) {
    Lcg random(5);
    std::vector<std::vector<uint8_t>> pictures;
    struct Kind {
        int colourType;
        std::vector<int> depths;
        bool keyable;
    };
    const Kind kinds[] = {{PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, true},
                          {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, false},
                          {PNG_COLOR_TYPE_RGB, {8, 16}, true},
                          {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}, false},
                          {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, true}};
    for (const Kind& kind : kinds) {
        for (const int depth : kind.depths) {
            for (const bool interlaced : {false, true}) {
                pictures.push_back(pngOfKind(kind.colourType, depth, interlaced, false, random));
                if (kind.keyable) pictures.push_back(pngOfKind(kind.colourType, depth, interlaced, true, random));
            }
        }
    }
    for (size_t p = 0; p < pictures.size(); ++p) {
        const std::vector<uint8_t>& bytes = pictures[p];
        int width = 0;
        int height = 0;
        int stored = 0;
        stbi_uc* reference = stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &stored, 4);
        ASSERT_NE(reference, nullptr) << p;
        PixelImage image;
        ASSERT_TRUE(decodeImageBytes(image, bytes.data(), bytes.size(), "reference")) << p;
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, height);
        size_t differing = 0;
        for (size_t i = 0; i < image.pixels.size(); ++i) {
            const stbi_uc* q = reference + i * 4;
            const uint32_t expected = uint32_t(q[3]) << 24 | uint32_t(q[0]) << 16 | uint32_t(q[1]) << 8 | q[2];
            differing += image.pixels[i] != expected;
        }
        EXPECT_EQ(differing, 0u) << "picture " << p;
        stbi_image_free(reference);
    }
}

// JPEG is lossy: a smooth picture comes back within a few levels of what was written, with the
// colour subsampled or not, partial blocks at the edges included.
TEST(UntrustedPictures, JpegsDecodeCloseToWhatWasWritten) {
    for (const auto& [width, height] : {std::pair{101, 67}, {1, 3}}) {
        std::vector<uint8_t> rgb;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) rgb.insert(rgb.end(), {uint8_t(40 + x), uint8_t(200 - y * 2), uint8_t(90)});
        }
        for (const int quality : {95, 80}) {
            const std::vector<uint8_t> jpeg = jpegBytes(width, height, rgb, quality);
            PixelImage image;
            ASSERT_TRUE(decodeImageBytes(image, jpeg.data(), jpeg.size(), "jpeg"));
            ASSERT_EQ(image.pixels.size(), size_t(width) * size_t(height));
            int worst = 0;
            for (size_t i = 0; i < image.pixels.size(); ++i) {
                for (int c = 0; c < 3; ++c) {
                    const int decoded = int(image.pixels[i] >> (16 - 8 * c) & 0xFF);
                    worst = std::max(worst, std::abs(decoded - int(rgb[i * 3 + size_t(c)])));
                }
            }
            EXPECT_LE(worst, 6) << width << "x" << height << " at quality " << quality;
        }
    }
}

TEST(UntrustedPictures, ScalerTakesSizesItsSanityBoundsMisjudge) {
    // 98x42 to 30x30 sums some filter weights past the resizer's 1.1 bound, and 50x50 to 33x1
    // below its 0.9 bound; a flat colour must stay exactly that colour, with and without alpha.
    for (const int channels : {3, 4}) {
        for (const auto& [sourceWidth, sourceHeight] : {std::pair{98, 42}, {50, 50}}) {
            std::vector<uint8_t> flat(size_t(sourceWidth) * size_t(sourceHeight) * size_t(channels));
            for (size_t i = 0; i < flat.size(); ++i) {
                const size_t channel = i % size_t(channels);
                flat[i] = channel == 3 ? 255 : uint8_t(40 + channel * 50);
            }
            const std::vector<uint8_t> png = pngBytes(sourceWidth, sourceHeight, channels, flat);
            for (const auto& [w, h] : {std::pair{30, 30}, {33, 1}, {1, 1}, {97, 41}, {7, 300}, {2000, 3}}) {
                std::vector<uint32_t> pixels;
                ASSERT_TRUE(prepareTexturePixels(png.data(), png.size(), w, h, kKeyWhite, "flat", pixels))
                    << w << "x" << h;
                EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p == 0xFF285A8Cu; }))
                    << w << "x" << h << " with " << channels << " channels";
            }
        }
    }
}

// Every loader that reads a file, with the one line it prints about `path`.
struct FileLoader {
    const char* what;
    std::function<void(const std::string&)> load;
};

const std::vector<FileLoader>& fileLoaders() {
    static const std::vector<FileLoader> loaders = {
        {"texture", [](const std::string& p) { EXPECT_EQ(loadTextureFile(p.c_str(), 30, 30, kKeyWhite), 0); }},
        {"prepared texture",
         [](const std::string& p) {
             std::vector<uint32_t> pixels;
             EXPECT_FALSE(readPreparedPixels(p.c_str(), 30, 30, pixels));
             EXPECT_TRUE(pixels.empty());
         }},
        {"sound", [](const std::string& p) { EXPECT_EQ(loadWavFixed(p.c_str()).voice, 0); }},
        {"converted sound", [](const std::string& p) { EXPECT_EQ(loadWavChunked(p.c_str()).voice, 0); }},
        {"music",
         [](const std::string& p) {
             MusicTrack track;
             loadMusic(track, p.c_str());
             EXPECT_EQ(track.stream, 0);
         }},
        {"font sheet",
         [](const std::string& p) {
             std::vector<uint32_t> sheet(13 * 3, 0x12345678);
             loadBmpSheet(p.c_str(), sheet.data(), 13, 3);
             EXPECT_TRUE(std::all_of(sheet.begin(), sheet.end(), [](uint32_t v) { return v == 0; }));
         }},
    };
    return loaders;
}

void expectOneLineFromEachLoader(const std::string& path, const char* reason) {
    for (const FileLoader& loader : fileLoaders()) {
        const std::string printed = capturedStderr([&] { loader.load(path); });
        EXPECT_EQ(lineCount(printed), 1) << loader.what << ": " << printed;
        EXPECT_NE(printed.find(path), std::string::npos) << loader.what << ": " << printed;
        EXPECT_NE(printed.find(reason), std::string::npos) << loader.what << ": " << printed;
    }
}

TEST(UntrustedFiles, OnlyRegularFilesAreRead) {
    audioOpen();
    TempDir dir;
    // A FIFO with no writer would block an ordinary open and read for ever.
    const std::string fifo = dir.file("m1.z2");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    expectOneLineFromEachLoader(fifo, "not a regular file");
    // An endless device behind a link.
    const std::string zero = dir.file("zero.wav");
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    expectOneLineFromEachLoader(zero, "not a regular file");
    const std::string folder = dir.file("bg");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    expectOneLineFromEachLoader(folder, "not a regular file");
    audioClose();
}

TEST(UntrustedFiles, EachKindOfFileHasASizeCeiling) {
    audioOpen();
    TempDir dir;
    const std::string path = dir.file("huge.bin");
    // Sparse files: nothing is written to disk.
    auto sized = [&](size_t bytes) {
        writeFile(path, std::string());
        ASSERT_EQ(truncate(path.c_str(), off_t(bytes)), 0);
    };
    sized(kMaxPictureFileBytes + 1);
    expectOneLineFromEachLoader(path, "larger than");
    // At the ceiling a file is read, and refused only for what it holds.
    sized(kMaxSoundFileBytes);
    std::string printed = capturedStderr([&] { loadWavFixed(path.c_str()); });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_NE(printed.find("not a RIFF WAVE"), std::string::npos) << printed;
    sized(kMaxSoundFileBytes + 1);
    printed = capturedStderr([&] { loadWavFixed(path.c_str()); });
    EXPECT_NE(printed.find("larger than"), std::string::npos) << printed;
    audioClose();
}
