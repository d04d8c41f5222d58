// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one interface between the game and the machine. Two back ends implement it: the SDL one
// (a real window, GPU presentation, the audio device) and the headless one (no window, a virtual
// clock that advances 1/60 s per frame, software composition for screenshots). Nothing outside
// src/platform/ includes SDL.

#include <cstdint>

constexpr int32_t kClientWidth = 1280;
constexpr int32_t kClientHeight = 720;

// Windows virtual-key codes, the indices of the key table.
enum VirtualKey : int32_t {
    kVkTab = 0x09,
    kVkEnter = 0x0D,
    kVkCtrl = 0x11,
    kVkEsc = 0x1B,
    kVkSpace = 0x20,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkA = 0x41,
    kVkG = 0x47,
    kVkS = 0x53,
    kVkY = 0x59,
    kVkZ = 0x5A,
};

// Mouse-button bits carried by a mouse-move event, as the window messages carry them.
constexpr uint32_t kMouseButtonLeft = 1;
constexpr uint32_t kMouseButtonRight = 2;

enum class InputEventType : uint8_t { KeyDown, KeyUp, MouseMove, LeftDown, LeftUp, Quit };

// One window message, already translated to virtual-key codes and client coordinates.
struct InputEvent {
    InputEventType type = InputEventType::Quit;
    int32_t virtualKey = 0; // KeyDown, KeyUp
    int32_t x = 0;          // MouseMove: client column, may lie outside the client area
    int32_t y = 0;          // MouseMove: client row, growing downward
    uint32_t buttons = 0;   // MouseMove: kMouseButtonLeft | kMouseButtonRight held
};

// A texture handle; 0 is "absent" and every draw of it is skipped.
using TextureHandle = int32_t;

// Opens the window (1280x720 client area, titled "Skarnwing", not resizable) or the headless
// equivalent. Returns false if the window cannot be made, or when there is no display to show
// it on (the offscreen and dummy video drivers serve only when asked for by SDL_VIDEODRIVER);
// one line on stderr says why.
bool platformOpen();
void platformClose();

// Takes the next waiting event, if any. Returns false when none waits (then a frame runs).
// A key pressed and released between two frames reaches the game as held for one frame: its
// release is handed out at the start of the next batch, after that frame.
bool platformPollEvent(InputEvent* event);
// Queues a Quit event behind the events already waiting; the pump ends when it reaches it.
void platformPostQuit();

void platformSetTitle(const char* title);
void platformShowCursor(bool shown);
void platformCaptureMouse(bool captured);
// Desktop full screen with the 1280x720 picture scaled to fit and letterboxed, or the window.
void platformSetFullScreen(bool fullScreen);

// Binding capture for the settings screen: while on, the next key or pad button pressed (Esc
// aside, which still quits) goes to the capture instead of the game. Taking it returns false
// while nothing came; otherwise the physical key (a virtual-key code, or 0) or the pad button
// (0..14, or -1) that came, and capture is over.
void platformCaptureBinding(bool capturing);
bool platformTakeCapturedBinding(int32_t* key, int32_t* padButton);
// Puts the volumes and vsync of activeSettings() (settings.h) into effect; the bindings take
// effect by themselves at the next event.
void platformApplySettings();

// A pause holds a picture: platformHoldLastFrame keeps the frame presented last (its textures
// and its canvas) and must run before this frame's canvas is wiped; platformDrawHeldFrame then
// draws that frame's textures again and puts its canvas into this frame's canvas, to be drawn on.
void platformHoldLastFrame();
void platformDrawHeldFrame();

// The performance counter: ticks and ticks per second.
int64_t platformCounter();
int64_t platformCounterFrequency();

// Playing a recorded game back: the counter runs at `frequency` ticks per second (0 keeps the
// back end's rate) and hands out the readings pushed, in order; once they run out it keeps
// returning the last one. The SDL back end still paces its frames by the real clock.
void platformUseRecordedClock(int64_t frequency);
void platformPushCounterReading(int64_t value);
// Back to the back end's own counter and rate after a recording watched inside the game (a best
// flight), the readings not handed out dropped.
void platformUseLiveClock();

// Starts a frame: clears the picture to opaque black and returns the 1280x720 canvas pixels
// (all zero at this point is the caller's job) with their row pitch in bytes.
uint32_t* platformBeginFrame(int32_t* rowPitch);
// What of the canvas was drawn this frame: per band of kDrawnBandRows rows, columns
// [left, right) (none where left >= right); everywhere else the canvas is 0.
constexpr int32_t kDrawnBandRows = 16;
constexpr int32_t kDrawnBands = kClientHeight / kDrawnBandRows;
struct DrawnBands {
    const int16_t* left = nullptr; // kDrawnBands entries; null: the whole canvas counts as drawn
    const int16_t* right = nullptr;
};
// Ends a frame: the textures drawn since platformBeginFrame lie beneath the canvas, which is
// composited over them with its alpha, and the result is presented (at most once per retrace).
// Only the canvas's drawn bands are read.
// The SDL back end then holds the pace at 60 frames a second whatever the display's rate.
void platformPresentFrame(DrawnBands drawn = {});

// Whether the last key or button the player pressed was on a pad (false for the keyboard, and
// always on the headless back end): the cues name the pad's button or the key accordingly.
bool platformLastPressFromPad();

// A short line for the player from the platform itself (where a screenshot went, sound muted),
// with its 0xAARRGGBB colour, for this frame; null when there is none.
const char* platformNotice(uint32_t* colour);

// Writes the game as played into a replay script at `path` from now on: the seed, whether the
// game starts full screen, every event handed out at the frame before which it came, and every
// counter reading. Returns false, with one line on stderr, when the file cannot be written.
// platformClose finishes the script.
bool platformRecordTo(const char* path, uint32_t seed, bool fullScreen);

// Keeps a copy of a 0xAARRGGBB picture, rows top-down, to draw from; its wholly opaque rows are
// drawn as plain copies and its wholly transparent ones skipped (the same pixels as blending).
// Returns 0 if it cannot be made.
TextureHandle platformCreateTexture(const uint32_t* pixels, int32_t width, int32_t height);
// Draws a texture at its top-left corner with alpha blending, beneath this frame's canvas.
void platformDrawTexture(TextureHandle texture, int32_t x, int32_t y);

// Draws UTF-8 text in black in a 16-pixel serif, in order with the textures (beneath the canvas),
// broken between words to stay within left..right; a tab moves on to the next indent and a
// newline starts a new line. Nothing is drawn when the font cannot be opened (one line on
// stderr, once).
void platformDrawText(const char* text, int32_t left, int32_t top, int32_t right, int32_t bottom);
