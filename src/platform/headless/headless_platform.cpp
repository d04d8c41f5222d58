// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The headless back end: no window, no device. The clock advances exactly 1/60 s per frame (or
// hands out the readings of a recorded game), the mixer runs 735 sample frames per frame, and
// the frame is composited in software on request.

#include <algorithm>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/composite.h"
#include "platform/headless.h"
#include "platform/key_taps.h"
#include "platform/mixer.h"
#include "platform/recorder.h"
#include "platform/settings.h"

namespace {

constexpr int64_t kTicksPerSecond = 60000;
constexpr int64_t kTicksPerFrame = kTicksPerSecond / 60;

struct Headless {
    std::deque<InputEvent> events;
    TapKeeper taps;
    int64_t counter = 0;
    int64_t frequency = kTicksPerSecond;
    std::deque<int64_t> readings; // recorded counter readings still to hand out
    bool recordedClock = false;   // readings were given: the counter follows them
    int64_t lastReading = 0;
    std::string title; // the window title last set
    std::vector<uint32_t> canvas = std::vector<uint32_t>(kClientWidth * kClientHeight);
    std::vector<SoftTexture> textures;
    std::vector<SoftDraw> draws;      // this frame's texture draws, in order
    std::vector<SoftDraw> lastDraws;  // the frame presented last
    std::vector<uint32_t> heldCanvas; // the frame a pause holds
    std::vector<SoftDraw> heldDraws;
};

Headless& headless() {
    static Headless state;
    return state;
}

bool takeQueuedEvent(InputEvent* event) {
    Headless& h = headless();
    if (h.events.empty()) return false;
    *event = h.events.front();
    h.events.pop_front();
    return true;
}

} // namespace

bool platformOpen() { return true; }
void platformClose() { recorderClose(); }

bool platformPollEvent(InputEvent* event) {
    if (!pollKeepingTaps(headless().taps, takeQueuedEvent, event)) return false;
    recordEvent(*event);
    return true;
}

void platformPostQuit() { headless().events.push_back(InputEvent{InputEventType::Quit, 0, 0, 0, 0}); }
void platformSetTitle(const char* title) { headless().title = title; }
void platformShowCursor(bool) {}
void platformCaptureMouse(bool) {}
void platformSetFullScreen(bool) {}
const char* platformNotice(uint32_t*) { return nullptr; }
namespace {
bool gPretendPad = false; // headlessPretendPad's answer
} // namespace
bool platformLastPressFromPad() { return gPretendPad; }
void headlessPretendPad(bool pad) { gPretendPad = pad; }
void platformCaptureBinding(bool) {}
bool platformTakeCapturedBinding(int32_t*, int32_t*) { return false; }

void platformApplySettings() {
    const Settings& settings = activeSettings();
    mixerSetVolumes(settings.musicVolume, settings.effectsVolume);
}

void platformHoldLastFrame() {
    Headless& h = headless();
    h.heldCanvas = h.canvas;
    h.heldDraws = h.lastDraws;
}

void platformDrawHeldFrame() {
    Headless& h = headless();
    if (h.heldCanvas.size() != h.canvas.size()) return;
    for (const SoftDraw& draw : h.heldDraws) h.draws.push_back(draw);
    std::copy(h.heldCanvas.begin(), h.heldCanvas.end(), h.canvas.begin());
}

bool platformRecordTo(const char* path, uint32_t seed, bool fullScreen) {
    return recorderOpen(path, seed, platformCounterFrequency(), fullScreen);
}

int64_t platformCounter() {
    Headless& h = headless();
    int64_t value = h.counter;
    if (h.recordedClock) {
        if (!h.readings.empty()) {
            h.lastReading = h.readings.front();
            h.readings.pop_front();
        }
        value = h.lastReading;
    }
    recordCounter(value);
    return value;
}

int64_t platformCounterFrequency() { return headless().frequency; }

uint32_t* platformBeginFrame(int32_t* rowPitch) {
    Headless& h = headless();
    recordFrameBegun();
    h.counter += kTicksPerFrame;
    std::swap(h.lastDraws, h.draws);
    h.draws.clear();
    int16_t samples[kHeadlessFrameSamples * 2];
    mixAudio(samples, kHeadlessFrameSamples);
    *rowPitch = kClientWidth * 4;
    return h.canvas.data();
}

void platformPresentFrame(DrawnBands) {}

TextureHandle platformCreateTexture(const uint32_t* pixels, int32_t width, int32_t height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return 0;
    Headless& h = headless();
    h.textures.push_back(softTexture(pixels, width, height));
    return static_cast<TextureHandle>(h.textures.size());
}

void platformDrawTexture(TextureHandle texture, int32_t x, int32_t y) {
    Headless& h = headless();
    if (texture <= 0 || static_cast<size_t>(texture) > h.textures.size()) return;
    h.draws.push_back(SoftDraw{texture, x, y});
}

void headlessPushEvent(const InputEvent& event) { headless().events.push_back(event); }

void platformUseRecordedClock(int64_t frequency) {
    Headless& h = headless();
    if (frequency > 0) h.frequency = frequency;
    h.recordedClock = true;
}

void platformPushCounterReading(int64_t value) {
    Headless& h = headless();
    h.recordedClock = true;
    h.readings.push_back(value);
}

void platformUseLiveClock() {
    Headless& h = headless();
    h.frequency = kTicksPerSecond;
    h.recordedClock = false;
    h.readings.clear();
}

const char* headlessTitle() { return headless().title.c_str(); }

void headlessCompositeLastFrame(uint32_t* out) {
    Headless& h = headless();
    compositeFrame(h.textures, h.draws, h.canvas.data(), out);
}

bool headlessWriteScreenshot(const char* path) {
    std::vector<uint32_t> frame(size_t(kClientWidth) * kClientHeight);
    headlessCompositeLastFrame(frame.data());
    return writeFramePng(frame.data(), path);
}
