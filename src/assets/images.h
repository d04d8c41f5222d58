#pragma once
// Decoding the program's picture resources into PixelImages, cutting strips into FrameSets,
// and the font-sheet reader.

#include <cstdint>
#include <vector>

#include "raster/pixel_image.h"

// The images of one animation, cut from one strip.
struct FrameSet {
    std::vector<PixelImage> images; // `count` images
    int32_t count = 0;
    int32_t framesPerImage = 0;     // frames each image stays up; animators overwrite it per step
};

// One moving or animated picture. Owners give the remaining fields their meaning.
struct SpriteRecord {
    FrameSet* frames = nullptr;
    int32_t imageIndex = 0;
    int32_t tick = 0;          // frames the current image has been up
    double x = 0.0;            // draw position, screen pixels
    double y = 0.0;
    double scale = 0.0;
    double angle = 0.0;        // degrees
    uint8_t upright = 0;       // passed to the blits; 0 mirrors top to bottom
    int32_t framesPerImage = 0;
};

// Copies the record's frames-per-image into its set, counts one frame and moves to the next
// image (wrapping) when the count reaches it.
void advanceSprite(SpriteRecord& sprite);
