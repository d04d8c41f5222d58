#pragma once
// The pixel contract shared by the canvas, the blits and the decoders:
// a pixel is a uint32_t read as 0xAARRGGBB, rows run top-down, pixel (x, y) of a
// PixelImage is pixels[y * width + x].

#include <cstdint>
#include <vector>

// One decoded picture. The storage lives for the whole run once start-up has filled it.
struct PixelImage {
    int32_t width = 0;            // pixels
    int32_t height = 0;           // pixels
    std::vector<uint32_t> pixels; // width * height, 0xAARRGGBB, alpha as stored (0xFF where none)
};
