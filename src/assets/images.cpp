#include "assets/images.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include "platform/paths.h"

namespace {

// A decoded picture as stb gives it: RGBA bytes, top row first.
struct Rgba {
    stbi_uc* bytes = nullptr;
    int width = 0;
    int height = 0;
    ~Rgba() { stbi_image_free(bytes); }
};

// Decodes to RGBA after checking the header's size. Returns null on success, else the reason.
const char* decodeRgba(const uint8_t* data, size_t size, Rgba& out) {
    int width = 0;
    int height = 0;
    if (const char* problem = checkPictureHeader(data, size, width, height)) return problem;
    const int length = static_cast<int>(size);
    int channels = 0;
    out.bytes = stbi_load_from_memory(data, length, &out.width, &out.height, &channels, 4);
    if (out.bytes == nullptr) return stbi_failure_reason() ? stbi_failure_reason() : "does not decode";
    return nullptr;
}

uint32_t packRgba(const stbi_uc* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

// Copies columns x0 .. x0 + frameWidth - 1 of a decoded picture into image.
bool cutFrame(PixelImage& image, const Rgba& rgba, int32_t x0, int32_t frameWidth, int32_t frameHeight,
              const char* name) {
    if (x0 < 0 || frameWidth <= 0 || int64_t(x0) + frameWidth > rgba.width || frameHeight != rgba.height) {
        std::fprintf(stderr, "picture: %s: frame %dx%d at x %d does not fit the %dx%d picture\n", name, frameWidth,
                     frameHeight, x0, rgba.width, rgba.height);
        return false;
    }
    image.width = frameWidth;
    image.height = frameHeight;
    image.pixels.resize(size_t(frameWidth) * size_t(frameHeight));
    for (int32_t y = 0; y < frameHeight; ++y) {
        const stbi_uc* row = rgba.bytes + (size_t(y) * size_t(rgba.width) + size_t(x0)) * 4;
        for (int32_t x = 0; x < frameWidth; ++x) {
            image.pixels[size_t(y) * size_t(frameWidth) + size_t(x)] = packRgba(row + size_t(x) * 4);
        }
    }
    return true;
}

std::string resourceName(int32_t id) {
    return "resource " + std::to_string(id);
}

void reportPicture(const char* name, const char* problem) {
    std::fprintf(stderr, "picture: %s: %s\n", name, problem);
}

// True unless a JPEG's Huffman tables list more than 256 codes. The stb_image we build against
// (2.27) writes past its code table on such a file instead of rejecting it, so it never sees one.
bool jpegHuffmanTablesFit(const uint8_t* bytes, size_t size) {
    size_t pos = 2; // after the start-of-image marker
    while (pos + 4 <= size) {
        if (bytes[pos] != 0xFF) {
            ++pos; // entropy-coded data between markers
            continue;
        }
        const uint8_t marker = bytes[pos + 1];
        if (marker == 0xFF || marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            pos += marker == 0xFF ? 1 : 2; // fill byte, stuffed zero, or a marker without a length
            continue;
        }
        if (marker == 0xD9) return true; // end of image
        const size_t length = size_t(bytes[pos + 2]) << 8 | bytes[pos + 3];
        const size_t end = std::min(size, pos + 2 + length);
        if (marker == 0xC4) {
            for (size_t table = pos + 4; table + 17 <= end;) {
                size_t codes = 0;
                for (size_t i = 1; i <= 16; ++i) codes += bytes[table + i];
                if (codes > 256) return false;
                table += 17 + codes;
            }
        }
        pos = std::max(end, pos + 2);
    }
    return true;
}

} // namespace

const char* checkPictureHeader(const uint8_t* bytes, size_t size, int& width, int& height) {
    if (bytes == nullptr || size == 0) return "no data";
    if (size > size_t(INT_MAX)) return "too large";
    int channels = 0;
    if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels)) {
        return "not a PNG or JPEG picture";
    }
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxDecodedPixels) return "picture size out of range";
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8 && !jpegHuffmanTablesFit(bytes, size)) {
        return "damaged JPEG Huffman table";
    }
    return nullptr;
}

bool decodeImageBytes(PixelImage& image, const uint8_t* bytes, size_t size, const char* name) {
    Rgba rgba;
    if (const char* problem = decodeRgba(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    image.width = rgba.width;
    image.height = rgba.height;
    image.pixels.resize(size_t(rgba.width) * size_t(rgba.height));
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = packRgba(rgba.bytes + i * 4);
    return true;
}

bool decodeFrameBytes(PixelImage& image, const uint8_t* bytes, size_t size, int32_t x0,
                      int32_t frameWidth, int32_t frameHeight, const char* name) {
    Rgba rgba;
    if (const char* problem = decodeRgba(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    return cutFrame(image, rgba, x0, frameWidth, frameHeight, name);
}

bool decodeResourceImage(PixelImage& image, int32_t id) {
    const ResourceData data = findResource(id);
    return decodeImageBytes(image, data.bytes, data.size, resourceName(id).c_str());
}

bool decodeResourceFrame(PixelImage& image, int32_t id, int32_t x0, int32_t frameWidth, int32_t frameHeight) {
    const ResourceData data = findResource(id);
    return decodeFrameBytes(image, data.bytes, data.size, x0, frameWidth, frameHeight, resourceName(id).c_str());
}

void buildFrameSet(FrameSet& set, int32_t id, int32_t count, int32_t frameWidth, int32_t frameHeight,
                   int32_t framesPerImage) {
    set.images.assign(size_t(std::max(count, 0)), PixelImage{});
    set.count = 0;
    // One decode for the whole strip, then every frame is cut from it.
    Rgba rgba;
    const ResourceData data = findResource(id);
    const std::string name = resourceName(id);
    if (const char* problem = decodeRgba(data.bytes, data.size, rgba)) {
        reportPicture(name.c_str(), problem);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (!cutFrame(set.images[size_t(i)], rgba, i * frameWidth, frameWidth, frameHeight, name.c_str())) break;
        }
    }
    set.count = std::max(count, 0);
    set.framesPerImage = framesPerImage;
}

void loadBmpSheet(const char* windowsPath, uint32_t* buffer, int32_t width, int32_t height) {
    const size_t pixelCount = size_t(width) * size_t(height);
    std::fill(buffer, buffer + pixelCount, 0u);
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "font sheet", file)) return;
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

void advanceSprite(SpriteRecord& sprite) {
    // The record's own frames-per-image paces it; the loaded set is shared and never written.
    const FrameSet* set = sprite.frames;
    if (set == nullptr || set->count <= 0) return;
    sprite.tick += 1;
    if (sprite.tick >= sprite.framesPerImage) {
        sprite.imageIndex = (sprite.imageIndex + 1) % set->count;
        if (sprite.imageIndex < 0) sprite.imageIndex = 0;
        sprite.tick = 0;
    }
}
