// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor a windowed game stands on: one streaming 1280 x 720 texture filled, sent, blended
// and presented 60 times a second, as SDL's renderer does it on this machine. bench/summary.sh
// sets the game's processor time beside this one's. Runs until SIGTERM or SIGINT (or argv[1]
// seconds). With --first it stops after its first frame and prints the wall-clock and processor
// time from main to that frame: the floor of the game's first frame in a window.

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

double nowMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    const double mainMs = nowMs(CLOCK_MONOTONIC);
    const bool firstOnly = argc > 1 && std::strcmp(argv[1], "--first") == 0;
    const double seconds = argc > 1 && !firstOnly ? std::atof(argv[1]) : 1e9;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("present loop", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280, 720,
                                          SDL_WINDOW_SHOWN);
    SDL_Renderer* renderer = window
                                 ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC)
                                 : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                                        1280, 720)
                                    : nullptr;
    if (texture == nullptr) return 1;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    std::vector<uint32_t> pixels(1280 * 720);
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t start = SDL_GetPerformanceCounter();
    uint64_t next = start;
    for (uint32_t frame = 0;; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) goto done;
        }
        pixels[frame % pixels.size()] = 0xFF000000u | frame;
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_UpdateTexture(texture, nullptr, pixels.data(), 1280 * 4);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        if (firstOnly) {
            std::printf("first frame: %.1f ms main to first frame, %.1f ms cpu\n", nowMs(CLOCK_MONOTONIC) - mainMs,
                        nowMs(CLOCK_PROCESS_CPUTIME_ID));
            break;
        }
        // 60 a second whatever vsync does.
        next += frequency / 60;
        const uint64_t now = SDL_GetPerformanceCounter();
        if (now < next) SDL_Delay(static_cast<uint32_t>((next - now) * 1000 / frequency));
        if (double(now - start) / double(frequency) > seconds) break;
    }
done:
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
