#include "assets/textures.h"

#include <climits>
#include <cstdio>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
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

} // namespace

bool prepareTexturePixels(const uint8_t* bytes, size_t size, int32_t width, int32_t height, uint32_t key,
                          const char* name, std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide) {
        std::fprintf(stderr, "texture: %s: size %dx%d out of range\n", name, width, height);
        return false;
    }
    PixelImage image;
    if (!decodeImageBytes(image, bytes, size, name)) return false;
    // Back to RGBA bytes for the resizer, which weights colour by alpha.
    std::vector<uint8_t> rgba(image.pixels.size() * 4);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t p = image.pixels[i];
        rgba[i * 4 + 0] = uint8_t(p >> 16);
        rgba[i * 4 + 1] = uint8_t(p >> 8);
        rgba[i * 4 + 2] = uint8_t(p);
        rgba[i * 4 + 3] = uint8_t(p >> 24);
    }
    if (image.width != width || image.height != height) {
        std::vector<uint8_t> scaled(size_t(width) * size_t(height) * 4);
        if (!stbir_resize_uint8_generic(rgba.data(), image.width, image.height, image.width * 4, scaled.data(),
                                        width, height, width * 4, 4, 3, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
                                        STBIR_COLORSPACE_LINEAR, nullptr)) {
            std::fprintf(stderr, "texture: %s: cannot be scaled to %dx%d\n", name, width, height);
            return false;
        }
        rgba.swap(scaled);
    }
    pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint8_t* p = rgba.data() + i * 4;
        const uint32_t argb = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
        pixels[i] = argb == key ? 0u : argb;
    }
    return true;
}

TextureHandle loadTextureFile(const char* windowsPath, int32_t width, int32_t height, uint32_t key) {
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "texture", file)) return 0;
    std::vector<uint32_t> pixels;
    const bool prepared = prepareTexturePixels(file.data(), file.size(), width, height, key, windowsPath, pixels);
    return upload(prepared, pixels, width, height);
}

TextureHandle loadTextureResource(int32_t id, int32_t width, int32_t height, uint32_t key) {
    const ResourceData data = findResource(id);
    const std::string name = "resource " + std::to_string(id);
    std::vector<uint32_t> pixels;
    const bool prepared = prepareTexturePixels(data.bytes, data.size, width, height, key, name.c_str(), pixels);
    return upload(prepared, pixels, width, height);
}
