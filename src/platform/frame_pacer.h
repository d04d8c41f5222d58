// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Holds the frame rate at 60 a second. The game counts everything in frames, so a display that
// retraces faster than 60 Hz, or a driver that ignores vsync, would speed the whole game up.
// Pure arithmetic on counter readings; the SDL back end does the sleeping.

#include <cstdint>

constexpr int64_t kCatchUpFrames = 4; // periods of lateness made up before the grid restarts

struct FramePacer {
    int64_t last = 0;    // counter at the start of the last paced frame
    uint8_t started = 0; // 0 until the first frame has been paced
};

// Called once per frame after presenting, with the counter now, its ticks per second and
// `framesPerSecond`. Returns the counter value to sleep until before the next frame (`now` when
// no sleep is due). Deadlines lie on a grid a whole frame apart, so a sleep that wakes late or a
// slow frame does not slow the rate: the next frames sleep less. A frame that arrives within a
// quarter millisecond before its deadline moves the grid to itself, so on a display that
// retraces at 60 Hz with vsync the pacer never sleeps. A frame more than four periods late
// restarts the grid: a short stall of the machine is made up by the frames after it, a long one
// (a window dragged) is not followed by a burst of frames.
int64_t paceFrame(FramePacer& pacer, int64_t now, int64_t frequency, int32_t framesPerSecond);

// Sleeps until `counter()` reaches `until` (ticks at `frequency` per second), waking only to
// sleep again if the system woke it early: no busy-waiting.
void sleepUntilCounter(int64_t until, int64_t (*counter)(), int64_t frequency);
