// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Picture decoding, frame cutting, texture preparation and the reader of prepared pixels. The
// first four bytes choose the sizes and the colour key; the rest is the picture file. Pictures
// whose header claims more than 256 x 256 pixels are skipped: the decoders' own ceiling is tested
// elsewhere, and a mutated header asking for millions of pixels would spend the run clearing
// memory.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "assets/images.h"
#include "assets/textures.h"
#include "fuzz_file.h"

constexpr int64_t kLargestPicture = 256 * 256; // pixels

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int32_t textureWidth = 1 + data[0];
    const int32_t textureHeight = 1 + data[1];
    const int32_t frameWidth = 1 + data[2] % 64;
    const uint32_t keys[3] = {kKeyWhite, kKeyMagenta, kKeyBlack};
    const uint32_t key = keys[data[3] % 3];
    const uint8_t* bytes = data + 4;
    size -= 4;

    int width = 0;
    int height = 0;
    if (checkPictureHeader(bytes, size, width, height) == nullptr && int64_t(width) * height > kLargestPicture)
        return 0;

    PixelImage image;
    if (decodeImageBytes(image, bytes, size, "fuzz")) {
        if (image.pixels.size() != size_t(image.width) * size_t(image.height)) std::abort();
        if (int64_t(image.width) * image.height > kMaxDecodedPixels) std::abort();
        PixelImage frame;
        const int32_t x0 = image.width / 2;
        if (decodeFrameBytes(frame, bytes, size, x0, frameWidth, image.height, "fuzz") &&
            frame.pixels.size() != size_t(frameWidth) * size_t(image.height)) {
            std::abort();
        }
    }
    std::vector<uint32_t> pixels;
    if (prepareTexturePixels(bytes, size, textureWidth, textureHeight, key, "fuzz", pixels) &&
        pixels.size() != size_t(textureWidth) * size_t(textureHeight)) {
        std::abort();
    }
    // The same bytes as a file of prepared pixels.
    if (writeFuzzFile(bytes, size) && readPreparedPixels(fuzzFilePath().c_str(), textureWidth, textureHeight, pixels) &&
        pixels.size() * 4 != size) {
        std::abort();
    }
    return 0;
}
