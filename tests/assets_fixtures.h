// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Small fixture files for the asset tests: pictures, sounds and font sheets as bytes, stderr
// captured, and a deterministic generator.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include "temp_dir.h"

inline void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// PNG bytes of width x height pixels with `channels` bytes each (3 RGB, 4 RGBA).
inline std::vector<uint8_t> pngBytes(int width, int height, int channels, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(appendBytes, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

// JPEG bytes of RGB pixels; at quality 90 or less the colour is subsampled 2x2.
inline std::vector<uint8_t> jpegBytes(int width, int height, const std::vector<uint8_t>& rgb, int quality = 95) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(appendBytes, &out, width, height, 3, rgb.data(), quality);
    return out;
}

inline int lineCount(const std::string& text) {
    int lines = 0;
    for (const char c : text) lines += c == '\n';
    return lines;
}

// Runs `load` with stderr captured and returns what it printed.
template <typename Load>
std::string capturedStderr(Load load) {
    testing::internal::CaptureStderr();
    load();
    return testing::internal::GetCapturedStderr();
}

inline void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

inline void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One RIFF chunk; `pad` adds the pad byte after an odd-length body, as the format asks.
struct WavChunk {
    std::string id;
    std::vector<uint8_t> body;
    bool pad = true;
    uint32_t declaredLength = 0; // when non-zero, the length written instead of the body's
};

inline std::vector<uint8_t> fmtBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    std::vector<uint8_t> body;
    put16(body, tag);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * channels * bits / 8);
    put16(body, uint16_t(channels * bits / 8));
    put16(body, bits);
    return body;
}

inline std::vector<uint8_t> pcmBody(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> body;
    for (const int16_t s : samples) put16(body, uint16_t(s));
    return body;
}

inline std::vector<uint8_t> riffWave(const std::vector<WavChunk>& chunks) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const WavChunk& chunk : chunks) {
        out.insert(out.end(), chunk.id.begin(), chunk.id.end());
        put32(out, chunk.declaredLength != 0 ? chunk.declaredLength : uint32_t(chunk.body.size()));
        out.insert(out.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.pad && chunk.body.size() % 2 == 1) out.push_back(0);
    }
    const uint32_t riffLength = uint32_t(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = uint8_t(riffLength >> (8 * i));
    return out;
}

// The plain 44-byte-header file: RIFF, "fmt " of 16 bytes, "data".
inline std::vector<uint8_t> plainWav(const std::vector<int16_t>& stereoSamples) {
    return riffWave({{"fmt ", fmtBody(2, 44100, 16)}, {"data", pcmBody(stereoSamples)}});
}

// A BMP file of width x height, bottom-up, with `bits` per pixel; pixel (x, y) of the picture is
// colour(x, y) as 0xRRGGBB.
template <typename Colour>
std::vector<uint8_t> bmpBytes(int32_t width, int32_t height, Colour colour, uint16_t bits = 24) {
    const uint32_t rowBytes = uint32_t(width) * bits / 8;
    const uint32_t padding = (4 - rowBytes % 4) % 4;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 54 + (rowBytes + padding) * uint32_t(height));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, bits);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (int32_t r = 0; r < height; ++r) {
        const int32_t y = height - 1 - r;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c >> 16));
            if (bits == 32) out.push_back(0xFF);
        }
        for (uint32_t p = 0; p < padding; ++p) out.push_back(0xEE);
    }
    return out;
}

// A simple deterministic generator for fixtures and fuzzing.
struct Lcg {
    uint32_t state;
    explicit Lcg(uint32_t seed) : state(seed) {}
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};
