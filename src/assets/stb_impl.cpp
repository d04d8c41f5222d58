// The one translation unit that holds the stb resizer's and writer's code, and the decoders the
// content tools use (the game decodes its pictures with libpng and libjpeg-turbo).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef NDEBUG
#define STBIR_ASSERT(x) ((void)0)
#else
// The resizer checks that each output pixel's filter weights sum to within 10% of 1 before it
// divides them by their sum. Its triangle filter goes past that bound on some downscales (98 to
// 30 pixels) although the division that follows makes the weights right, so those two bounds
// alone are let through; every other check still stops the program.
static void checkResize(bool holds, const char* condition) {
    if (holds || std::strcmp(condition, "total < 1.1f") == 0 || std::strcmp(condition, "total_filter < 1.1f") == 0) {
        return;
    }
    std::fprintf(stderr, "stb_image_resize: check failed: %s\n", condition);
    std::abort();
}
#define STBIR_ASSERT(x) checkResize((x), #x)
#endif

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
