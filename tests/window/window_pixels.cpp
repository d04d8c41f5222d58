// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_pixels.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool readWindowPixels(SDL_Window* window, int width, int height, std::vector<uint32_t>& pixels) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    XSync(info.info.x11.display, False);
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const bool rgb = image->red_mask == 0xFF0000u && image->green_mask == 0xFF00u && image->blue_mask == 0xFFu;
    pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height && rgb; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * size_t(width) + size_t(x)] = XGetPixel(image, x, y) & 0xFFFFFFu;
    }
    XDestroyImage(image);
    return rgb;
}
