// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The SDL back end: one window with a 1280x720 client area, presented through an SDL renderer
// with vsync and held to 60 frames a second. Each frame, the textures the game drew and the
// canvas over them are composed in software (composite.h) and sent as one streaming texture,
// drawn without blending: GL then does one plain copy a frame, the least it can do where it
// runs in software. Keys and game
// controllers become the virtual keys of the actions they are bound to (settings.h); the
// screenshot and mute actions are the back end's own and never reach the game.

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/composite.h"
#include "platform/frame_pacer.h"
#include "platform/key_taps.h"
#include "platform/left_unset.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/recorder.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/settings.h"
#include "platform/text/text_render.h"
#include "platform/user_folders.h"

namespace {

constexpr int32_t kStepsPerSecond = 60;
constexpr int32_t kNoticeFrames = 150; // frames a notice stays up
constexpr uint32_t kNoticeGreen = 0xFF00FF00u;
constexpr uint32_t kNoticeRed = 0xFFFF0000u;

// A frame's pixels, left unset when made: the game wipes the canvas before it draws the first
// frame, and every frame is composed over whole, so no pixel is read before it is written and no
// page is touched before the first frame (zeroing these took a tenth of the time to it).
using FramePixels = std::vector<uint32_t, LeftUnset<uint32_t>>;

struct SdlPlatform {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* frameTexture = nullptr;
    FramePixels canvas = FramePixels(kClientWidth * kClientHeight);
    FramePixels frame = FramePixels(kClientWidth * kClientHeight); // as composed
    FramePixels shown = FramePixels(kClientWidth * kClientHeight); // as last sent
    bool mustSend = true;                                          // the window may have lost what it showed
    int32_t framesUnsent = 0;          // frames since the last was sent, each the same as it
    std::vector<SoftTexture> textures; // handle h is textures[h - 1]
    std::vector<SoftDraw> draws;       // this frame's texture draws, in order
    bool unscaled = false;             // the window shows the frame pixel for pixel
    std::deque<InputEvent> pending;    // translated events not yet handed out
    TapKeeper taps;
    FramePacer pacer;
    bool screenshotWanted = false; // F12 was pressed: write this frame when presenting
    std::string notice;            // the platform's line for the player
    uint32_t noticeColour = kNoticeGreen;
    int32_t noticeFrames = 0;          // frames the notice still shows
    bool capturing = false;            // the next key or button press is a binding's, not the game's
    bool lastPressFromPad = false;     // the last press came from a pad, not the keyboard
    int32_t capturedKey = 0;           // what it was: a physical key, or
    int32_t capturedButton = kPadNone; // a pad button
    FramePixels heldCanvas;            // the frame a pause holds, its canvas and its draws
    std::vector<SoftDraw> heldDraws;
    std::vector<SoftDraw> lastDraws; // the draws of the frame presented last
    bool recordedClock = false;      // the counter hands out a recording's readings
    int64_t recordedFrequency = 0;
    std::deque<int64_t> readings;
    int64_t lastReading = 0;
};

SdlPlatform gSdl;

void showNotice(const std::string& text, uint32_t colour) {
    gSdl.notice = text;
    gSdl.noticeColour = colour;
    gSdl.noticeFrames = kNoticeFrames;
}

// Windows virtual-key code of the physical key, or 0 for keys nothing can use.
int32_t virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F9) return 0x70 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return kVkTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kVkEnter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return kVkCtrl;
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

// A path shown with the home folder as "~", so it fits on the frame.
std::string shortPath(const std::string& path) {
    const char* home = std::getenv("HOME");
    const size_t length = home != nullptr ? std::strlen(home) : 0;
    if (length <= 1 || path.compare(0, length, home) != 0 || path[length] != '/') return path;
    std::string shorter(1, '~');
    shorter.append(path, length, std::string::npos);
    return shorter;
}

// Writes this frame (before the notice it causes) into the pictures folder, or the folder of the
// player's files when there is none.
void writeScreenshot() {
    std::string folder = picturesFolder();
    if (folder.empty()) {
        folder = userDataFolder();
        if (folder.empty() || !makeFolders(folder)) {
            std::fprintf(stderr, "skarnwing: no folder to write a screenshot into\n");
            showNotice("Screenshot failed.", kNoticeRed);
            return;
        }
    }
    const std::string path = unusedPath(folder, screenshotName(std::time(nullptr)));
    if (!path.empty() && writeFramePng(gSdl.frame.data(), path.c_str())) {
        showNotice("Screenshot " + shortPath(path), kNoticeGreen);
    } else {
        showNotice("Screenshot failed.", kNoticeRed);
    }
}

// The screenshot and mute actions act here and never reach the game. Returns true for them.
bool handleOwnKey(int32_t virtualKey, bool pressed) {
    if (virtualKey != kVkScreenshot && virtualKey != kVkMute) return false;
    if (!pressed) return true;
    if (virtualKey == kVkScreenshot) {
        gSdl.screenshotWanted = true;
    } else {
        mixerSetMuted(!mixerMuted());
        const char* key = keyName(activeSettings().keys[kActMute]);
        showNotice(mixerMuted() ? std::string("Sound off (") + (key != nullptr ? key : "mute") + ")" : "Sound on",
                   kNoticeGreen);
    }
    return true;
}

// The virtual key the game sees for a physical key: Esc, Enter and Backspace are themselves,
// every other key is its action's, and a key bound to nothing is nothing.
int32_t boundKey(int32_t physical) {
    if (physical == kVkEsc || physical == kVkEnter || physical == kVkBackspace) return physical;
    return actionKey(actionForKey(activeSettings(), physical));
}

// Takes the pad's events out of the queue where they act on the platform: its own actions and,
// while a binding waits for one, the first button pressed.
void filterPadEvents(size_t from) {
    for (size_t i = from; i < gSdl.pending.size();) {
        const InputEvent& event = gSdl.pending[i];
        if (handleOwnKey(event.virtualKey, event.type == InputEventType::KeyDown)) {
            gSdl.pending.erase(gSdl.pending.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

// Translates SDL's events into the game's, one at a time, with the pad's key events in between.
bool takeSdlEvent(InputEvent* event) {
    SDL_Event e;
    while (gSdl.pending.empty() && SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT: gSdl.pending.push_back(InputEvent{InputEventType::Quit, 0, 0, 0, 0}); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int32_t physical = virtualKeyFor(e.key.keysym.sym);
            const bool press = e.type == SDL_KEYDOWN && e.key.repeat == 0 && !isSystemKey(e.key);
            if (gSdl.capturing && press && physical != kVkEsc && physical != 0) {
                gSdl.capturing = false;
                gSdl.capturedKey = physical;
                break;
            }
            if (press) gSdl.lastPressFromPad = false;
            const int32_t vk = boundKey(physical);
            if (handleOwnKey(vk, press)) break;
            // A key released while Alt is held still clears its entry, so it cannot stick.
            if (vk == 0 || (e.type == SDL_KEYDOWN && isSystemKey(e.key))) break;
            gSdl.pending.push_back(
                InputEvent{e.type == SDL_KEYDOWN ? InputEventType::KeyDown : InputEventType::KeyUp, vk, 0, 0, 0});
            break;
        }
        case SDL_MOUSEMOTION:
            gSdl.pending.push_back(
                InputEvent{InputEventType::MouseMove, 0, e.motion.x, e.motion.y, buttonsFromState(e.motion.state)});
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            gSdl.pending.push_back(
                InputEvent{e.type == SDL_MOUSEBUTTONDOWN ? InputEventType::LeftDown : InputEventType::LeftUp, 0,
                           e.button.x, e.button.y, 0});
            break;
        case SDL_WINDOWEVENT:
            gSdl.mustSend = true; // shown, exposed, resized, moved: the next frame is drawn whatever it holds
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) audioSetFocus(true);
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                audioSetFocus(false);
                // A tap the game reads as "pause now", when the player asked for it.
                if (activeSettings().pauseOnFocusLoss) {
                    gSdl.pending.push_back(InputEvent{InputEventType::KeyDown, kVkFocusLost, 0, 0, 0});
                    gSdl.pending.push_back(InputEvent{InputEventType::KeyUp, kVkFocusLost, 0, 0, 0});
                }
            }
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (gSdl.capturing && e.cbutton.button < kPadButtonCount) {
                gSdl.capturing = false;
                gSdl.capturedButton = e.cbutton.button;
                break;
            }
            [[fallthrough]];
        default: {
            const size_t from = gSdl.pending.size();
            gamepadHandleEvent(e, gSdl.pending);
            filterPadEvents(from);
            for (size_t i = from; i < gSdl.pending.size(); ++i) {
                if (gSdl.pending[i].type == InputEventType::KeyDown) gSdl.lastPressFromPad = true;
            }
            break;
        }
        }
    }
    if (gSdl.pending.empty()) return false;
    *event = gSdl.pending.front();
    gSdl.pending.pop_front();
    return true;
}

// Whether the video driver is one that shows nothing, and nobody asked for it.
bool noDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return true;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return false;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked == nullptr || SDL_strcasecmp(asked, driver) != 0;
}

int64_t sdlCounter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

} // namespace

bool platformOpen() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "skarnwing: cannot start the video system: %s\n", SDL_GetError());
        return false;
    }
    if (noDisplay()) {
        std::fprintf(stderr, "skarnwing: no display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    // Without game controllers the keyboard still plays.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "skarnwing: game controllers unavailable: %s\n", SDL_GetError());
    }
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
    gSdl.frameTexture = SDL_CreateTexture(gSdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                          kClientWidth, kClientHeight);
    if (gSdl.frameTexture == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot create the frame texture: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(gSdl.frameTexture, SDL_BLENDMODE_NONE);
    gSdl.unscaled = false;
    gSdl.mustSend = true;
    return true;
}

void platformClose() {
    recorderClose();
    gamepadCloseAll();
    gSdl.textures.clear();
    forgetTextTextures();
    gSdl.draws.clear();
    gSdl.pending.clear();
    gSdl.taps = TapKeeper{};
    gSdl.pacer = FramePacer{};
    gSdl.noticeFrames = 0;
    if (gSdl.frameTexture != nullptr) SDL_DestroyTexture(gSdl.frameTexture);
    if (gSdl.renderer != nullptr) SDL_DestroyRenderer(gSdl.renderer);
    if (gSdl.window != nullptr) SDL_DestroyWindow(gSdl.window);
    gSdl.frameTexture = nullptr;
    gSdl.renderer = nullptr;
    gSdl.window = nullptr;
    // Subsystem by subsystem, so a caller that holds its own reference to SDL's video keeps it.
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool platformPollEvent(InputEvent* event) {
    if (!pollKeepingTaps(gSdl.taps, takeSdlEvent, event)) return false;
    recordEvent(*event);
    return true;
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

void platformCaptureBinding(bool capturing) {
    gSdl.capturing = capturing;
    gSdl.capturedKey = 0;
    gSdl.capturedButton = kPadNone;
}

bool platformTakeCapturedBinding(int32_t* key, int32_t* padButton) {
    if (gSdl.capturedKey == 0 && gSdl.capturedButton == kPadNone) return false;
    *key = gSdl.capturedKey;
    *padButton = gSdl.capturedButton;
    gSdl.capturedKey = 0;
    gSdl.capturedButton = kPadNone;
    return true;
}

void platformApplySettings() {
    const Settings& settings = activeSettings();
    mixerSetVolumes(settings.musicVolume, settings.effectsVolume);
    if (gSdl.renderer != nullptr) SDL_RenderSetVSync(gSdl.renderer, settings.vsync ? 1 : 0);
}

void platformHoldLastFrame() {
    gSdl.heldCanvas = gSdl.canvas;
    gSdl.heldDraws = gSdl.lastDraws;
}

void platformDrawHeldFrame() {
    if (gSdl.heldCanvas.size() != gSdl.canvas.size()) return;
    for (const SoftDraw& draw : gSdl.heldDraws) platformDrawTexture(draw.texture, draw.x, draw.y);
    std::copy(gSdl.heldCanvas.begin(), gSdl.heldCanvas.end(), gSdl.canvas.begin());
}

void platformSetFullScreen(bool fullScreen) {
    if (gSdl.window == nullptr) return;
    SDL_SetWindowFullscreen(gSdl.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    gSdl.mustSend = true;
}

int64_t platformCounter() {
    int64_t value = sdlCounter();
    if (gSdl.recordedClock) {
        if (!gSdl.readings.empty()) {
            gSdl.lastReading = gSdl.readings.front();
            gSdl.readings.pop_front();
        }
        value = gSdl.lastReading;
    }
    recordCounter(value);
    return value;
}

int64_t platformCounterFrequency() {
    if (gSdl.recordedClock && gSdl.recordedFrequency > 0) return gSdl.recordedFrequency;
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

void platformUseRecordedClock(int64_t frequency) {
    gSdl.recordedClock = true;
    gSdl.recordedFrequency = frequency;
}

void platformPushCounterReading(int64_t value) {
    gSdl.recordedClock = true;
    gSdl.readings.push_back(value);
}

bool platformLastPressFromPad() { return gSdl.lastPressFromPad; }

void platformUseLiveClock() {
    gSdl.recordedClock = false;
    gSdl.recordedFrequency = 0;
    gSdl.readings.clear();
}

const char* platformNotice(uint32_t* colour) {
    if (gSdl.noticeFrames <= 0) return nullptr;
    *colour = gSdl.noticeColour;
    return gSdl.notice.c_str();
}

bool platformRecordTo(const char* path, uint32_t seed, bool fullScreen) {
    return recorderOpen(path, seed, platformCounterFrequency(), fullScreen);
}

uint32_t* platformBeginFrame(int32_t* rowPitch) {
    recordFrameBegun();
    std::swap(gSdl.lastDraws, gSdl.draws);
    gSdl.draws.clear();
    if (gSdl.noticeFrames > 0) --gSdl.noticeFrames;
    *rowPitch = kClientWidth * 4;
    return gSdl.canvas.data();
}

void platformPresentFrame(DrawnBands drawn) {
    compositeFrame(gSdl.textures, gSdl.draws, gSdl.canvas.data(), gSdl.frame.data(), drawn);
    if (gSdl.screenshotWanted) {
        gSdl.screenshotWanted = false;
        writeScreenshot();
    }
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(gSdl.renderer, &outputWidth, &outputHeight);
    const bool unscaled = outputWidth == kClientWidth && outputHeight == kClientHeight;
    if (unscaled != gSdl.unscaled) {
        // Pixel for pixel, the nearest sample is the filtered one for less work; stretched to
        // full screen, the picture is filtered smoothly.
        gSdl.unscaled = unscaled;
        SDL_SetTextureScaleMode(gSdl.frameTexture, unscaled ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        gSdl.mustSend = true;
    }
    // A frame the window already shows (a still title or menu) is not sent again: the window keeps
    // it until a window event says otherwise, and once a second it is sent anyway.
    if (!gSdl.mustSend && gSdl.framesUnsent < kStepsPerSecond && gSdl.frame == gSdl.shown) {
        ++gSdl.framesUnsent;
    } else {
        SDL_UpdateTexture(gSdl.frameTexture, nullptr, gSdl.frame.data(), kClientWidth * 4);
        // The opaque frame covers the window unless full screen letterboxes it.
        if (!unscaled) {
            SDL_SetRenderDrawColor(gSdl.renderer, 0, 0, 0, 255);
            SDL_RenderClear(gSdl.renderer);
        }
        SDL_RenderCopy(gSdl.renderer, gSdl.frameTexture, nullptr, nullptr);
        SDL_RenderPresent(gSdl.renderer);
        std::swap(gSdl.frame, gSdl.shown); // the next frame is composed over every pixel anyway
        gSdl.mustSend = false;
        gSdl.framesUnsent = 0;
    }
    // Vsync alone does not make 60 a second on a faster display or under a driver that ignores
    // it; the pacer sleeps to the next 1/60 s deadline when the frame came early.
    const int64_t frequency = static_cast<int64_t>(SDL_GetPerformanceFrequency());
    sleepUntilCounter(paceFrame(gSdl.pacer, sdlCounter(), frequency, kStepsPerSecond), sdlCounter, frequency);
}

TextureHandle platformCreateTexture(const uint32_t* pixels, int32_t width, int32_t height) {
    if (gSdl.renderer == nullptr || pixels == nullptr || width <= 0 || height <= 0) return 0;
    gSdl.textures.push_back(softTexture(pixels, width, height));
    return static_cast<TextureHandle>(gSdl.textures.size());
}

void platformDrawTexture(TextureHandle texture, int32_t x, int32_t y) {
    if (texture <= 0 || static_cast<size_t>(texture) > gSdl.textures.size()) return;
    gSdl.draws.push_back(SoftDraw{texture, x, y});
}
