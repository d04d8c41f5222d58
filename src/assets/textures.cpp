// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/textures.h"

#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

#include "assets/images.h"
#include "platform/paths.h"

namespace {

constexpr int32_t kMaxTextureSide = 8192; // pixels

// Uploads prepared pixels, or gives 0 when there are none.
TextureHandle upload(bool prepared, const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
    return prepared ? platformCreateTexture(pixels.data(), width, height) : 0;
}

// Scales a decoded picture to width x height and keys it into pixels.
void scaleAndKey(RgbaPicture& decoded, int32_t width, int32_t height, uint32_t key, std::vector<uint32_t>& pixels) {
    // A picture without alpha is scaled as RGB, a quarter less work: its bytes are packed to
    // three a pixel in place.
    const int channels = decoded.hasAlpha ? 4 : 3;
    if (channels == 3) {
        uint8_t* p = decoded.bytes.data();
        const size_t count = size_t(decoded.width) * size_t(decoded.height);
        for (size_t i = 0; i < count; ++i) {
            p[i * 3] = p[i * 4];
            p[i * 3 + 1] = p[i * 4 + 1];
            p[i * 3 + 2] = p[i * 4 + 2];
        }
    }
    const uint8_t* source = decoded.bytes.data();
    DecodeBuffer scaled;
    if (decoded.width != width || decoded.height != height) {
        // The triangle filter: smooth, and cheap on the large backdrops. Colour is weighted by
        // alpha so that transparent pixels do not bleed their colour into the edges.
        scaled.resize(size_t(width) * size_t(height) * size_t(channels));
        const int alphaChannel = channels == 4 ? 3 : STBIR_ALPHA_CHANNEL_NONE;
        if (!stbir_resize_uint8_generic(source, decoded.width, decoded.height, decoded.width * channels, scaled.data(),
                                        width, height, width * channels, channels, alphaChannel, 0, STBIR_EDGE_CLAMP,
                                        STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr)) {
            throw std::bad_alloc(); // its only failure is its scratch memory
        }
        source = scaled.data();
    }
    // Appended rather than sized first, so no pixel is written twice.
    const size_t count = size_t(width) * size_t(height);
    pixels.clear();
    pixels.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = source + i * size_t(channels);
        const uint32_t alpha = channels == 4 ? p[3] : 0xFF;
        const uint32_t argb = alpha << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
        pixels.push_back(argb == key ? 0u : argb);
    }
}

} // namespace

bool prepareTexturePixels(const uint8_t* bytes, size_t size, int32_t width, int32_t height, uint32_t key,
                          const char* name, std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide) {
        std::fprintf(stderr, "texture: %s: size %dx%d out of range\n", name, width, height);
        return false;
    }
    RgbaPicture decoded;
    if (const char* problem = decodeRgbaPicture(bytes, size, decoded)) {
        std::fprintf(stderr, "picture: %s: %s\n", name, problem);
        return false;
    }
    try {
        scaleAndKey(decoded, width, height, key, pixels);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "texture: %s: does not fit in memory at %dx%d\n", name, width, height);
        pixels = std::vector<uint32_t>();
        return false;
    }
    return true;
}

bool readPreparedPixels(const char* windowsPath, int32_t width, int32_t height, std::vector<uint32_t>& pixels) {
    pixels = std::vector<uint32_t>();
    if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide) return false;
    const size_t bytes = size_t(width) * size_t(height) * 4;
    uint64_t size = 0;
    const int fd = openRegularFile(windowsPath, "texture", bytes, size);
    if (fd < 0) return false;
    const char* problem = size == bytes ? nullptr : "is smaller than its picture";
    if (problem == nullptr) {
        try {
            pixels.resize(bytes / 4);
            if (readAt(fd, 0, pixels.data(), bytes) != bytes) problem = "could not be read";
        } catch (const std::bad_alloc&) {
            problem = "does not fit in memory";
        }
    }
    close(fd);
    if (problem != nullptr) {
        std::fprintf(stderr, "texture: %s: %s\n", windowsPath, problem);
        pixels = std::vector<uint32_t>();
        return false;
    }
    return true;
}

TextureHandle loadTextureFile(const char* windowsPath, int32_t width, int32_t height, uint32_t key) {
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "texture", kMaxPictureFileBytes, file)) return 0;
    std::vector<uint32_t> pixels;
    const bool prepared = prepareTexturePixels(file.data(), file.size(), width, height, key, windowsPath, pixels);
    return upload(prepared, pixels, width, height);
}
