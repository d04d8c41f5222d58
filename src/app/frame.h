#pragma once
// One frame: clear, open and wipe the canvas, run the dispatcher, present, then the timing
// statistics, the full-screen key, the title bar and the music loop.

#include <cstdint>

#include "game/stopwatch.h"

struct GameState;

constexpr float kLargestFloat = 3.4028235e38f;
constexpr int32_t kRenderStatsWindow = 20; // frames per published render-time sample

// Render time (unlock, composite, present) over windows of 20 frames. One per process.
struct RenderStats {
    Stopwatch watch;
    float sum = 0.0f;           // ms in the current window
    float min = kLargestFloat;  // ms, smallest in the current window
    float max = 0.0f;           // ms, largest in the current window
    int32_t count = 0;          // frames in the current window
    float lastMin = 0.0f;       // ms, published every 20th frame
    float lastMax = 0.0f;
    float lastAverage = 0.0f;
};

RenderStats& renderStats();

// Adds one frame's render time and publishes min, max and average on every 20th frame.
void recordRenderTime(RenderStats& stats, float elapsed);

// Runs one whole frame.
void runFrame(GameState& game);

// Wall-clock milliseconds the dispatcher took in the last frame, for profiling.
double lastDispatcherMs();
// Processor milliseconds of this thread in the same span: unlike the wall clock, it does not
// grow when other programs share the machine.
double lastDispatcherCpuMs();
