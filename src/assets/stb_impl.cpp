// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one translation unit that holds the stb resizer's and writer's code. Pictures are decoded
// by libpng and libjpeg-turbo (assets/picture_decode.h), in the game and in the content tools.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef NDEBUG
#define STBIR_ASSERT(x) ((void)0)
#else
// The resizer checks that each output pixel's filter weights sum to within 10% of 1 before it
// divides them by their sum. Its triangle filter goes past those bounds on some downscales (98 to
// 30 pixels, 50 to 1) although the division that follows makes the weights right (they are never
// negative and never all zero), so those bounds alone are let through; every other check still
// stops the program.
static bool isWeightSumBound(const char* condition) {
    static const char* const bounds[] = {"total > 0.9f", "total < 1.1f", "total_filter > 0.9", "total_filter < 1.1f"};
    for (const char* bound : bounds) {
        if (std::strcmp(condition, bound) == 0) return true;
    }
    return false;
}

static void checkResize(bool holds, const char* condition) {
    if (holds || isWeightSumBound(condition)) return;
    std::fprintf(stderr, "stb_image_resize: check failed: %s\n", condition);
    std::abort();
}
#define STBIR_ASSERT(x) checkResize((x), #x)
#endif

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
