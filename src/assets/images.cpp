// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/images.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "platform/paths.h"

namespace {

uint32_t packRgba(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

// Copies columns x0 .. x0 + frameWidth - 1 of a decoded picture into image.
bool cutFrame(PixelImage& image, const RgbaPicture& rgba, int32_t x0, int32_t frameWidth, int32_t frameHeight,
              const char* name) {
    if (x0 < 0 || frameWidth <= 0 || int64_t(x0) + frameWidth > rgba.width || frameHeight != rgba.height) {
        std::fprintf(stderr, "picture: %s: frame %dx%d at x %d does not fit the %dx%d picture\n", name, frameWidth,
                     frameHeight, x0, rgba.width, rgba.height);
        return false;
    }
    PixelImage cut;
    try {
        cut.pixels.reserve(size_t(frameWidth) * size_t(frameHeight));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "picture: %s: does not fit in memory\n", name);
        return false;
    }
    cut.width = frameWidth;
    cut.height = frameHeight;
    // Appended rather than sized first, so no pixel is written twice.
    for (int32_t y = 0; y < frameHeight; ++y) {
        const uint8_t* row = rgba.bytes.data() + (size_t(y) * size_t(rgba.width) + size_t(x0)) * 4;
        for (int32_t x = 0; x < frameWidth; ++x) cut.pixels.push_back(packRgba(row + size_t(x) * 4));
    }
    image = std::move(cut);
    return true;
}

std::string resourceName(int32_t id) { return "resource " + std::to_string(id); }

void reportPicture(const char* name, const char* problem) { std::fprintf(stderr, "picture: %s: %s\n", name, problem); }

} // namespace

bool decodeImageBytes(PixelImage& image, const uint8_t* bytes, size_t size, const char* name) {
    RgbaPicture rgba;
    if (const char* problem = decodeRgbaPicture(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    return cutFrame(image, rgba, 0, rgba.width, rgba.height, name);
}

bool decodeFrameBytes(PixelImage& image, const uint8_t* bytes, size_t size, int32_t x0, int32_t frameWidth,
                      int32_t frameHeight, const char* name) {
    RgbaPicture rgba;
    if (const char* problem = decodeRgbaPicture(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    return cutFrame(image, rgba, x0, frameWidth, frameHeight, name);
}

bool decodeResourceImage(PixelImage& image, int32_t id) {
    const ResourceData data = findResource(id);
    return decodeImageBytes(image, data.bytes, data.size, resourceName(id).c_str());
}

void buildFrameSet(FrameSet& set, int32_t id, int32_t count, int32_t frameWidth, int32_t frameHeight) {
    set.images.assign(size_t(std::max(count, 0)), PixelImage{});
    set.count = 0;
    // One decode for the whole strip, then every frame is cut from it.
    RgbaPicture rgba;
    const ResourceData data = findResource(id);
    const std::string name = resourceName(id);
    if (const char* problem = decodeRgbaPicture(data.bytes, data.size, rgba)) {
        reportPicture(name.c_str(), problem);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (!cutFrame(set.images[size_t(i)], rgba, i * frameWidth, frameWidth, frameHeight, name.c_str())) break;
        }
    }
    set.count = std::max(count, 0);
}

void loadBmpSheet(const char* windowsPath, uint32_t* buffer, int32_t width, int32_t height) {
    const size_t pixelCount = size_t(width) * size_t(height);
    std::fill(buffer, buffer + pixelCount, 0u);
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "font sheet", kMaxFontSheetFileBytes, file)) return;
    auto fail = [&](const char* problem) {
        std::fprintf(stderr, "font sheet: %s: %s; its text will not show\n", windowsPath, problem);
    };
    auto read16 = [&](size_t at) { return uint32_t(file[at]) | uint32_t(file[at + 1]) << 8; };
    auto read32 = [&](size_t at) { return read16(at) | read16(at + 2) << 16; };
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return fail("not a BMP file");
    const uint32_t dataOffset = read32(10);
    const uint32_t headerSize = read32(14);
    const int32_t fileWidth = static_cast<int32_t>(read32(18));
    const int32_t fileHeight = static_cast<int32_t>(read32(22));
    const uint32_t bits = read16(28);
    const uint32_t compression = read32(30);
    if (headerSize < 40) return fail("unsupported BMP header");
    if (bits != 24 || compression != 0) return fail("not an uncompressed 24-bit BMP");
    // A negative height is a top-down file.
    const bool topDown = fileHeight < 0;
    if (fileWidth != width || (topDown ? -int64_t(fileHeight) : fileHeight) != height) {
        char problem[64];
        std::snprintf(problem, sizeof problem, "is %dx%d, not %dx%d", fileWidth, fileHeight, width, height);
        return fail(problem);
    }
    const size_t rowBytes = size_t(width) * 3;
    const size_t padding = (4 - rowBytes % 4) % 4;
    const uint64_t needed = uint64_t(dataOffset) + uint64_t(rowBytes + padding) * uint64_t(height) - padding;
    if (dataOffset < 14 + uint64_t(headerSize) || needed > file.size()) return fail("truncated");
    for (int32_t r = 0; r < height; ++r) {
        const uint8_t* src = file.data() + dataOffset + size_t(r) * (rowBytes + padding);
        const int32_t y = topDown ? r : height - 1 - r;
        uint32_t* dst = buffer + size_t(y) * size_t(width);
        for (int32_t x = 0; x < width; ++x, src += 3) {
            dst[x] = 0xFF000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | uint32_t(src[0]);
        }
    }
}

void advanceSprite(SpriteRecord& sprite, const FrameSet* set) {
    // The record's own frames-per-image paces it; the loaded set is shared and never written.
    if (set == nullptr || set->count <= 0) return;
    sprite.tick += 1;
    if (sprite.tick >= sprite.framesPerImage) {
        sprite.imageIndex = (sprite.imageIndex + 1) % set->count;
        if (sprite.imageIndex < 0) sprite.imageIndex = 0;
        sprite.tick = 0;
    }
}
