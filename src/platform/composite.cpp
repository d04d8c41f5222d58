#include "platform/composite.h"

#include <algorithm>
#include <cstdio>

#include <stb/stb_image_write.h>

namespace {

// dst = src * a + dst * (1 - a) per channel, as the GPU's alpha blending does.
uint32_t blendOver(uint32_t dst, uint32_t src) {
    const uint32_t a = src >> 24;
    if (a == 0) return dst;
    if (a == 255) return src | 0xFF000000u;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

} // namespace

void compositeFrame(const std::vector<SoftTexture>& textures, const std::vector<SoftDraw>& draws,
                    const uint32_t* canvas, uint32_t* out) {
    std::fill(out, out + kClientWidth * kClientHeight, 0xFF000000u);
    for (const SoftDraw& draw : draws) {
        if (draw.texture <= 0 || static_cast<size_t>(draw.texture) > textures.size()) continue;
        const SoftTexture& t = textures[static_cast<size_t>(draw.texture - 1)];
        for (int32_t row = 0; row < t.height; ++row) {
            const int32_t y = draw.y + row;
            if (y < 0 || y >= kClientHeight) continue;
            for (int32_t col = 0; col < t.width; ++col) {
                const int32_t x = draw.x + col;
                if (x < 0 || x >= kClientWidth) continue;
                uint32_t& d = out[y * kClientWidth + x];
                d = blendOver(d, t.pixels[size_t(row) * size_t(t.width) + size_t(col)]);
            }
        }
    }
    for (int32_t i = 0; i < kClientWidth * kClientHeight; ++i) out[i] = blendOver(out[i], canvas[i]);
}

bool writeFramePng(const uint32_t* frame, const char* path) {
    std::vector<uint8_t> rgb(size_t(kClientWidth) * kClientHeight * 3);
    for (size_t i = 0; i < size_t(kClientWidth) * kClientHeight; ++i) {
        rgb[i * 3 + 0] = static_cast<uint8_t>(frame[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(frame[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(frame[i]);
    }
    if (!stbi_write_png(path, kClientWidth, kClientHeight, 3, rgb.data(), kClientWidth * 3)) {
        std::fprintf(stderr, "skarnwing: cannot write screenshot \"%s\"\n", path);
        return false;
    }
    return true;
}
