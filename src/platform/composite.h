#pragma once
// The frame as the player sees it, composed in software: opaque black, the frame's textures in
// the order drawn, then the canvas with its alpha, as the GPU blends them. The headless back end
// shows its frames this way; the SDL one keeps copies of its textures to write screenshots.

#include <cstdint>
#include <vector>

#include "platform/platform.h"

struct SoftTexture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, rows top-down
};

struct SoftDraw {
    TextureHandle texture = 0; // handle h is textures[h - 1]
    int32_t x = 0;
    int32_t y = 0;
};

// Fills out (kClientWidth * kClientHeight pixels of 0xFFRRGGBB). Draws of unknown handles and
// the parts of textures outside the frame are skipped.
void compositeFrame(const std::vector<SoftTexture>& textures, const std::vector<SoftDraw>& draws,
                    const uint32_t* canvas, uint32_t* out);

// Writes a composed frame as an RGB PNG. Returns false, with one line on stderr, on failure.
bool writeFramePng(const uint32_t* frame, const char* path);
