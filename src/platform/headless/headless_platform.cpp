// The headless back end: no window, no device. The clock advances exactly 1/60 s per frame, the
// mixer runs 735 sample frames per frame, and the frame is composited in software on request.

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include <stb/stb_image_write.h>

#include "platform/audio.h"
#include "platform/headless.h"

namespace {

constexpr int64_t kTicksPerSecond = 60000;
constexpr int64_t kTicksPerFrame = kTicksPerSecond / 60;

struct Texture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

struct TextureDraw {
    TextureHandle texture;
    int32_t x;
    int32_t y;
};

struct Headless {
    std::deque<InputEvent> events;
    int64_t counter = 0;
    int64_t framesPresented = 0;
    std::vector<uint32_t> canvas = std::vector<uint32_t>(kClientWidth * kClientHeight);
    std::vector<Texture> textures;     // handle h is textures[h - 1]
    std::vector<TextureDraw> draws;    // this frame's texture draws, in order
};

Headless& headless() {
    static Headless state;
    return state;
}

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

bool platformOpen() { return true; }
void platformClose() {}

bool platformPollEvent(InputEvent* event) {
    Headless& h = headless();
    if (h.events.empty()) return false;
    *event = h.events.front();
    h.events.pop_front();
    return true;
}

void platformPostQuit() { headless().events.push_back(InputEvent{InputEventType::Quit, 0, 0, 0, 0}); }
void platformSetTitle(const char*) {}
void platformShowCursor(bool) {}
void platformCaptureMouse(bool) {}
void platformSetFullScreen(bool) {}

int64_t platformCounter() { return headless().counter; }
int64_t platformCounterFrequency() { return kTicksPerSecond; }

uint32_t* platformBeginFrame(int32_t* rowPitch) {
    Headless& h = headless();
    h.counter += kTicksPerFrame;
    h.draws.clear();
    int16_t samples[kHeadlessFrameSamples * 2];
    mixAudio(samples, kHeadlessFrameSamples);
    *rowPitch = kClientWidth * 4;
    return h.canvas.data();
}

void platformPresentFrame() { ++headless().framesPresented; }

TextureHandle platformCreateTexture(const uint32_t* pixels, int32_t width, int32_t height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return 0;
    Headless& h = headless();
    h.textures.push_back(Texture{width, height, std::vector<uint32_t>(pixels, pixels + size_t(width) * size_t(height))});
    return static_cast<TextureHandle>(h.textures.size());
}

void platformDrawTexture(TextureHandle texture, int32_t x, int32_t y) {
    Headless& h = headless();
    if (texture <= 0 || static_cast<size_t>(texture) > h.textures.size()) return;
    h.draws.push_back(TextureDraw{texture, x, y});
}

void headlessPushEvent(const InputEvent& event) { headless().events.push_back(event); }

int64_t headlessFramesPresented() { return headless().framesPresented; }

void headlessCompositeLastFrame(uint32_t* out) {
    Headless& h = headless();
    std::fill(out, out + kClientWidth * kClientHeight, 0xFF000000u);
    for (const TextureDraw& draw : h.draws) {
        const Texture& t = h.textures[static_cast<size_t>(draw.texture - 1)];
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
    for (size_t i = 0; i < h.canvas.size(); ++i) out[i] = blendOver(out[i], h.canvas[i]);
}

bool headlessWriteScreenshot(const char* path) {
    std::vector<uint32_t> frame(kClientWidth * kClientHeight);
    headlessCompositeLastFrame(frame.data());
    std::vector<uint8_t> rgb(frame.size() * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
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
