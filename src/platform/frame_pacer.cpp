// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/frame_pacer.h"

#include <chrono>
#include <thread>

int64_t paceFrame(FramePacer& pacer, int64_t now, int64_t frequency, int32_t framesPerSecond) {
    const int64_t period = frequency / framesPerSecond;
    const int64_t tolerance = frequency / 4000; // a quarter millisecond
    const int64_t deadline = pacer.last + period;
    if (!pacer.started || now > deadline + kCatchUpFrames * period) {
        // The first frame, or a long stall (a window dragged, the machine busy): start afresh.
        pacer.started = 1;
        pacer.last = now;
        return now;
    }
    if (now > deadline) {
        // A little late: no sleep, and the deadlines keep their grid, so the frames that follow
        // make up for it and the rate stays 60 on average.
        pacer.last = deadline;
        return now;
    }
    if (now >= deadline - tolerance) {
        // On time: a display retracing at 60 Hz paces the frames itself and sets the grid.
        pacer.last = now;
        return now;
    }
    pacer.last = deadline;
    return deadline;
}

void sleepUntilCounter(int64_t until, int64_t (*counter)(), int64_t frequency) {
    for (int64_t left = until - counter(); left > 0; left = until - counter()) {
        const double seconds = static_cast<double>(left) / static_cast<double>(frequency);
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }
}
