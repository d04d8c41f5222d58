// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures: decoding, strip frames, font sheets, texture scaling and colour keys, the built-in
// resources, and the whole start-up inventory.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/inventory.h"
#include "assets/game_assets.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"
#include "assets_fixtures.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "test_game.h"

namespace {

uint32_t testColour(int32_t x, int32_t y) {
    return uint32_t(x * 7 + 1) << 16 | uint32_t(y * 13 + 2) << 8 | uint32_t((x + y) & 0xFF);
}

} // namespace

TEST(ImageDecoding, StripFrameAtX0Of408IsTheThirdImage) {
    // A 612x4 strip whose every pixel is distinct: red = column / 3, green = column % 256.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 612; ++x) {
            rgba.insert(rgba.end(), {uint8_t(x / 3), uint8_t(x & 0xFF), uint8_t(y * 60), uint8_t(100 + y)});
        }
    }
    const std::vector<uint8_t> png = pngBytes(612, 4, 4, rgba);
    PixelImage frame;
    ASSERT_TRUE(decodeFrameBytes(frame, png.data(), png.size(), 408, 204, 4, "strip"));
    ASSERT_EQ(frame.width, 204);
    ASSERT_EQ(frame.height, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 204; ++x) {
            const int sx = 408 + x;
            const uint32_t expected = uint32_t(100 + y) << 24 | uint32_t(sx / 3) << 16 | uint32_t(sx & 0xFF) << 8 |
                                      uint32_t(y * 60);
            ASSERT_EQ(frame.pixels[size_t(y * 204 + x)], expected) << x << "," << y;
        }
    }
    // A frame reaching past the strip, or of another height, is refused and leaves the image as it was.
    std::string printed = capturedStderr(
        [&] { EXPECT_FALSE(decodeFrameBytes(frame, png.data(), png.size(), 409, 204, 4, "strip")); });
    EXPECT_EQ(lineCount(printed), 1);
    printed = capturedStderr(
        [&] { EXPECT_FALSE(decodeFrameBytes(frame, png.data(), png.size(), 0, 204, 5, "strip")); });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_EQ(frame.width, 204);
    EXPECT_EQ(frame.pixels[0], uint32_t(100) << 24 | uint32_t(408 / 3) << 16 | uint32_t(408 & 0xFF) << 8);
}

TEST(ImageDecoding, AlphaIsAsStoredAndOpaqueWhereThePictureHasNone) {
    // JPEG: no alpha, so every pixel is opaque.
    std::vector<uint8_t> rgb(16 * 16 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 5);
    const std::vector<uint8_t> jpeg = jpegBytes(16, 16, rgb);
    PixelImage image;
    ASSERT_TRUE(decodeImageBytes(image, jpeg.data(), jpeg.size(), "jpeg"));
    ASSERT_EQ(image.pixels.size(), 256u);
    for (const uint32_t p : image.pixels) ASSERT_EQ(p >> 24, 0xFFu);

    // PNG with alpha: a fully transparent pixel keeps its colour bytes; RGB PNG is opaque.
    const std::vector<uint8_t> png = pngBytes(2, 1, 4, {10, 20, 30, 0, 200, 100, 50, 128});
    ASSERT_TRUE(decodeImageBytes(image, png.data(), png.size(), "png"));
    EXPECT_EQ(image.pixels[0], 0x000A141Eu);
    EXPECT_EQ(image.pixels[1], 0x80C86432u);
    const std::vector<uint8_t> opaque = pngBytes(1, 1, 3, {1, 2, 3});
    ASSERT_TRUE(decodeImageBytes(image, opaque.data(), opaque.size(), "png"));
    EXPECT_EQ(image.pixels[0], 0xFF010203u);

    // Bytes that are no picture leave the image as it was, with one line.
    const std::vector<uint8_t> junk(100, 0x5A);
    const std::string printed = capturedStderr(
        [&] { EXPECT_FALSE(decodeImageBytes(image, junk.data(), junk.size(), "junk")); });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_NE(printed.find("junk"), std::string::npos);
    EXPECT_EQ(image.pixels[0], 0xFF010203u);
}

TEST(ImageDecoding, FrameSetCutsEveryImageAndSpritesAdvanceAndWrap) {
    FrameSet set;
    buildFrameSet(set, 8, 3, 204, 204); // a built-in exhaust strip of 612x204
    ASSERT_EQ(set.count, 3);
    for (const PixelImage& image : set.images) {
        EXPECT_EQ(image.width, 204);
        EXPECT_EQ(image.pixels.size(), 204u * 204u);
    }
    SpriteRecord sprite;
    sprite.framesPerImage = 2;
    std::vector<int32_t> shown;
    for (int i = 0; i < 7; ++i) {
        advanceSprite(sprite, &set);
        shown.push_back(sprite.imageIndex);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 1, 2, 2, 0, 0}));
}

TEST(FontSheets, RowsArePaddedToFourBytesAndStoredBottomUp) {
    TempDir dir;
    for (const int32_t width : {13, 4}) { // 39 + 1 padding bytes per row; 12, no padding
        const std::string path = dir.file("sheet" + std::to_string(width) + ".bmp");
        writeFile(path, bmpBytes(width, 3, testColour));
        std::vector<uint32_t> buffer(size_t(width) * 3, 0x12345678);
        const std::string printed = capturedStderr([&] { loadBmpSheet(path.c_str(), buffer.data(), width, 3); });
        EXPECT_EQ(printed, "");
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                ASSERT_EQ(buffer[size_t(y * width + x)], 0xFF000000u | testColour(x, y))
                    << width << ":" << x << "," << y;
            }
        }
    }
}

TEST(FontSheets, BadFilesLeaveTheBufferBlankWithOneLine) {
    TempDir dir;
    const std::vector<uint8_t> good = bmpBytes(13, 3, testColour);
    std::vector<uint8_t> truncated(good.begin(), good.end() - 2);
    std::vector<uint8_t> farOffset = good;
    farOffset[10] = 0xF0; // pixel data said to start past the end of the file
    farOffset[11] = 0xFF;
    std::vector<uint8_t> compressed = good;
    compressed[30] = 1;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {
        {"wrong-size.bmp", bmpBytes(12, 3, testColour)},
        {"32-bit.bmp", bmpBytes(13, 3, testColour, 32)},
        {"truncated.bmp", truncated},
        {"far-offset.bmp", farOffset},
        {"compressed.bmp", compressed},
        {"empty.bmp", {}},
        {"text.bmp", std::vector<uint8_t>(80, 'x')},
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = dir.file(name);
        writeFile(path, bytes);
        std::vector<uint32_t> buffer(13 * 3, 0x12345678);
        const std::string printed = capturedStderr([&] { loadBmpSheet(path.c_str(), buffer.data(), 13, 3); });
        EXPECT_EQ(lineCount(printed), 1) << name << ": " << printed;
        EXPECT_NE(printed.find(name), std::string::npos) << printed;
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint32_t p) { return p == 0; })) << name;
    }
    std::vector<uint32_t> buffer(13 * 3, 0x12345678);
    const std::string missing = dir.file("missing.bmp");
    const std::string printed = capturedStderr([&] { loadBmpSheet(missing.c_str(), buffer.data(), 13, 3); });
    EXPECT_EQ(lineCount(printed), 1);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint32_t p) { return p == 0; }));
}

TEST(Textures, ColourKeyTakesOnlyExactMatches) {
    // White, white one step off in blue, white at alpha 254, magenta.
    const std::vector<uint8_t> png = pngBytes(
        4, 1, 4, {255, 255, 255, 255, 255, 255, 254, 255, 255, 255, 255, 254, 255, 0, 255, 255});
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(prepareTexturePixels(png.data(), png.size(), 4, 1, kKeyWhite, "keyed", pixels));
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x00000000u, 0xFFFFFFFEu, 0xFEFFFFFFu, 0xFFFF00FFu}));
    ASSERT_TRUE(prepareTexturePixels(png.data(), png.size(), 4, 1, kKeyMagenta, "keyed", pixels));
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFFFFFFFFu, 0xFFFFFFFEu, 0xFEFFFFFFu, 0x00000000u}));
}

// Their sizes are the generated files' (checked with the content); here the embedding itself.
TEST(Resources, BuiltInPicturesAreFoundByIdAndAMissingIdSaysSo) {
    int width = 0;
    int height = 0;
    const ResourceData data = findResource(34);
    ASSERT_NE(data.bytes, nullptr);
    EXPECT_EQ(checkPictureHeader(data.bytes, data.size, width, height), nullptr);
    EXPECT_EQ(width, 3264);
    EXPECT_EQ(height, 2448);
    EXPECT_EQ(findResource(19).bytes, nullptr);
    PixelImage image;
    const std::string printed = capturedStderr([&] { EXPECT_FALSE(decodeResourceImage(image, 19)); });
    EXPECT_EQ(lineCount(printed), 1);
}

// The whole inventory, from the build tree's content when it is there and from an empty folder.
// Start-up reads the title's pixels prepared by the build: they are, bit for bit, the ones it
// would make from the built-in picture.
TEST(Textures, PreparedTitleIsTheDecodedPictureBitForBit) {
    PreparedTexture decoded;
    ASSERT_TRUE(prepareResourceTexture(kTexTitle, decoded));
    std::vector<uint32_t> prepared;
    ASSERT_TRUE(readPreparedPixels(generated("Files/Img/title.argb").c_str(), decoded.width, decoded.height, prepared));
    EXPECT_TRUE(prepared == decoded.pixels);
}

TEST(Inventory, LoadsEverySlotFromTheContentAndGoesOnWhenAllIsMissing) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    const std::string content = SKARNWING_BUILD_DIR;
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Sound/m1.z2")));
    {
        ASSERT_EQ(chdir(content.c_str()), 0);
        audioOpen();
        TestGame game(false);
        const std::string printed = capturedStderr([&] {
            loadFonts(*game);
            loadInventory(*game);
        });
        EXPECT_EQ(printed, "");
        for (int i = 0; i < kTextureCount; ++i) EXPECT_NE(game.assets->textures[i], 0) << "texture " << i;
        for (int i = 0; i < kSoundSlotCount; ++i) EXPECT_NE(game.assets->sounds[i].voice, 0) << "sound " << i;
        EXPECT_GT(game.assets->track1.durationSeconds, 1.0);
        EXPECT_EQ(game.assets->track2.stream, 0); // still decoding, or decoded and not yet claimed
        finishMusic(game.assets->track2);
        EXPECT_GT(game.assets->track2.durationSeconds, 1.0);
        EXPECT_TRUE(std::any_of(std::begin(game.assets->smallSheet), std::end(game.assets->smallSheet),
                                [](uint32_t p) { return p == 0xFF000000u; }));
        EXPECT_EQ(game.assets->smallFont.cellWidth, 13);
        EXPECT_EQ(game.assets->largeFont.cellHeight, 28);
        EXPECT_EQ(game.assets->frameSets[kFramesMissileBlast].count, 12);
        EXPECT_EQ(game.assets->frameSets[kFramesMissileBlast].images[11].height, 150);
        EXPECT_EQ(game.assets->shadowImage.width, 204);
        EXPECT_EQ(game->exhaustLowSprite.frames, kFramesExhaustLow);
        EXPECT_EQ(game->exhaustLowSprite.framesPerImage, 3);
        EXPECT_EQ(game->gearSprite.framesPerImage, 10);
        releaseSounds(*game);
    }

    TempDir empty;
    ASSERT_EQ(chdir(empty.path.c_str()), 0);
    audioOpen();
    TestGame game(false);
    const std::string printed = capturedStderr([&] {
        loadFonts(*game);
        loadInventory(*game);
    });
    // One line per missing file: 2 font sheets, 17 texture files, 19 sound files (the ten
    // drones share one), 2 tracks, and the title's prepared pixels (the title is then decoded).
    EXPECT_EQ(lineCount(printed), 2 + 17 + 19 + 2 + 1) << printed;
    for (int i = 0; i < 17; ++i) EXPECT_EQ(game.assets->textures[i], 0);
    for (int i = 17; i < kTextureCount; ++i) EXPECT_NE(game.assets->textures[i], 0); // built in, so always there
    for (const SoundEffect& sound : game.assets->sounds) EXPECT_EQ(sound.voice, 0);
    EXPECT_EQ(game.assets->track1.stream, 0);
    EXPECT_EQ(game.assets->frameSets[kFramesAircraft].count, 1);
    EXPECT_EQ(game.assets->track2.stream, 0);
    releaseSounds(*game);
    ASSERT_EQ(chdir(previous), 0);
}
