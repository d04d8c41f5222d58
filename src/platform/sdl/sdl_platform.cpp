// The SDL back end: one window with a 1280x720 client area, presented through an SDL renderer
// with vsync. The canvas is a streaming texture drawn last each frame, with alpha blending, over
// the textures the game drew during the frame.

#include <SDL.h>

#include <cstdio>
#include <vector>

#include "platform/audio.h"
#include "platform/platform.h"

namespace {

struct SdlPlatform {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* canvasTexture = nullptr;
    std::vector<uint32_t> canvas = std::vector<uint32_t>(kClientWidth * kClientHeight);
    std::vector<SDL_Texture*> textures; // handle h is textures[h - 1]
};

SdlPlatform gSdl;

// Windows virtual-key code for an SDL key, or 0 for keys the game never reads.
int32_t virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F9) return 0x70 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return kVkTab;
    case SDLK_RETURN: case SDLK_KP_ENTER: return kVkEnter;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL: case SDLK_RCTRL: return kVkCtrl;
    case SDLK_PAUSE: return 0x13;
    case SDLK_ESCAPE: return kVkEsc;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_UP: return kVkUp;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_DOWN: return kVkDown;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_F11: return 0x7A;
    case SDLK_F12: return 0x7B;
    default: return 0;
    }
}

// Alt, F10 and anything pressed with Alt held are system keys that never reach the key table.
bool isSystemKey(const SDL_KeyboardEvent& key) {
    return key.keysym.sym == SDLK_LALT || key.keysym.sym == SDLK_RALT || key.keysym.sym == SDLK_F10 ||
           (key.keysym.mod & KMOD_ALT) != 0;
}

uint32_t buttonsFromState(uint32_t state) {
    return ((state & SDL_BUTTON_LMASK) ? kMouseButtonLeft : 0u) | ((state & SDL_BUTTON_RMASK) ? kMouseButtonRight : 0u);
}

} // namespace

bool platformOpen() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "skarnwing: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    // Scale the picture smoothly when full screen stretches it.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    gSdl.window = SDL_CreateWindow("Skarnwing", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth,
                                   kClientHeight, SDL_WINDOW_SHOWN);
    if (gSdl.window == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot open the window: %s\n", SDL_GetError());
        return false;
    }
    gSdl.renderer = SDL_CreateRenderer(gSdl.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (gSdl.renderer == nullptr) gSdl.renderer = SDL_CreateRenderer(gSdl.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (gSdl.renderer == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot create a renderer: %s\n", SDL_GetError());
        return false;
    }
    // The logical size keeps the picture 1280x720 and letterboxed at any window size, and maps
    // mouse coordinates back to client pixels.
    SDL_RenderSetLogicalSize(gSdl.renderer, kClientWidth, kClientHeight);
    gSdl.canvasTexture = SDL_CreateTexture(gSdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                           kClientWidth, kClientHeight);
    if (gSdl.canvasTexture == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot create the frame texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(gSdl.canvasTexture, SDL_BLENDMODE_BLEND);
    return true;
}

void platformClose() {
    for (SDL_Texture* texture : gSdl.textures) {
        if (texture != nullptr) SDL_DestroyTexture(texture);
    }
    gSdl.textures.clear();
    if (gSdl.canvasTexture != nullptr) SDL_DestroyTexture(gSdl.canvasTexture);
    if (gSdl.renderer != nullptr) SDL_DestroyRenderer(gSdl.renderer);
    if (gSdl.window != nullptr) SDL_DestroyWindow(gSdl.window);
    gSdl.canvasTexture = nullptr;
    gSdl.renderer = nullptr;
    gSdl.window = nullptr;
    SDL_Quit();
}

bool platformPollEvent(InputEvent* event) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT: *event = InputEvent{InputEventType::Quit, 0, 0, 0, 0}; return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int32_t vk = virtualKeyFor(e.key.keysym.sym);
            // A key released while Alt is held still clears its entry, so it cannot stick.
            if (vk == 0 || (e.type == SDL_KEYDOWN && isSystemKey(e.key))) break;
            *event = InputEvent{e.type == SDL_KEYDOWN ? InputEventType::KeyDown : InputEventType::KeyUp, vk, 0, 0, 0};
            return true;
        }
        case SDL_MOUSEMOTION:
            *event = InputEvent{InputEventType::MouseMove, 0, e.motion.x, e.motion.y, buttonsFromState(e.motion.state)};
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            *event = InputEvent{e.type == SDL_MOUSEBUTTONDOWN ? InputEventType::LeftDown : InputEventType::LeftUp, 0,
                                e.button.x, e.button.y, 0};
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) audioSetFocus(true);
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) audioSetFocus(false);
            break;
        default: break;
        }
    }
    return false;
}

void platformPostQuit() {
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

void platformSetTitle(const char* title) {
    if (gSdl.window != nullptr) SDL_SetWindowTitle(gSdl.window, title);
}

void platformShowCursor(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

// SDL already keeps the pointer captured while a button is held, which is what lets a release
// outside the window be seen. Holding a grab with no button down would stop the player from
// clicking other windows, so only the release is passed on.
void platformCaptureMouse(bool captured) {
    if (!captured) SDL_CaptureMouse(SDL_FALSE);
}

void platformSetFullScreen(bool fullScreen) {
    if (gSdl.window == nullptr) return;
    SDL_SetWindowFullscreen(gSdl.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

int64_t platformCounter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }
int64_t platformCounterFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

uint32_t* platformBeginFrame(int32_t* rowPitch) {
    SDL_SetRenderDrawColor(gSdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(gSdl.renderer);
    *rowPitch = kClientWidth * 4;
    return gSdl.canvas.data();
}

void platformPresentFrame() {
    SDL_UpdateTexture(gSdl.canvasTexture, nullptr, gSdl.canvas.data(), kClientWidth * 4);
    SDL_RenderCopy(gSdl.renderer, gSdl.canvasTexture, nullptr, nullptr);
    SDL_RenderPresent(gSdl.renderer);
}

TextureHandle platformCreateTexture(const uint32_t* pixels, int32_t width, int32_t height) {
    if (gSdl.renderer == nullptr || pixels == nullptr || width <= 0 || height <= 0) return 0;
    SDL_Texture* texture = SDL_CreateTexture(gSdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
    if (texture == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot create a %dx%d texture: %s\n", width, height, SDL_GetError());
        return 0;
    }
    SDL_UpdateTexture(texture, nullptr, pixels, width * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    gSdl.textures.push_back(texture);
    return static_cast<TextureHandle>(gSdl.textures.size());
}

void platformDrawTexture(TextureHandle texture, int32_t x, int32_t y) {
    if (texture <= 0 || static_cast<size_t>(texture) > gSdl.textures.size()) return;
    SDL_Texture* t = gSdl.textures[static_cast<size_t>(texture - 1)];
    int w = 0;
    int h = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
    const SDL_Rect target{x, y, w, h};
    SDL_RenderCopy(gSdl.renderer, t, nullptr, &target);
}
