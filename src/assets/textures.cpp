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
    int sourceWidth = 0;
    int sourceHeight = 0;
    if (const char* problem = checkPictureHeader(bytes, size, sourceWidth, sourceHeight)) {
        std::fprintf(stderr, "picture: %s: %s\n", name, problem);
        return false;
    }
    // A picture without alpha is decoded and scaled as RGB, a quarter less work.
    int stored = 0;
    int w = 0;
    int h = 0;
    stbi_info_from_memory(bytes, static_cast<int>(size), &w, &h, &stored);
    const int channels = stored == 2 || stored == 4 ? 4 : 3;
    stbi_uc* decoded = stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &stored, channels);
    if (decoded == nullptr) {
        std::fprintf(stderr, "picture: %s: %s\n", name, stbi_failure_reason() ? stbi_failure_reason() : "does not decode");
        return false;
    }
    const uint8_t* rgba = decoded;
    std::vector<uint8_t> scaled;
    if (w != width || h != height) {
        // The triangle filter: smooth, and cheap on the large backdrops. Colour is weighted by
        // alpha so that transparent pixels do not bleed their colour into the edges.
        scaled.resize(size_t(width) * size_t(height) * size_t(channels));
        const int alphaChannel = channels == 4 ? 3 : STBIR_ALPHA_CHANNEL_NONE;
        const int ok = stbir_resize_uint8_generic(decoded, w, h, w * channels, scaled.data(), width, height,
                                                  width * channels, channels, alphaChannel, 0, STBIR_EDGE_CLAMP,
                                                  STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr);
        if (!ok) {
            stbi_image_free(decoded);
            std::fprintf(stderr, "texture: %s: cannot be scaled to %dx%d\n", name, width, height);
            return false;
        }
        rgba = scaled.data();
    }
    pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint8_t* p = rgba + i * size_t(channels);
        const uint32_t alpha = channels == 4 ? p[3] : 0xFF;
        const uint32_t argb = alpha << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
        pixels[i] = argb == key ? 0u : argb;
    }
    stbi_image_free(decoded);
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
