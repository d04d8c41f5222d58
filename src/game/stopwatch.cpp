// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/stopwatch.h"

#include "platform/platform.h"

void computeTickLength(Stopwatch& watch) {
    const float ticksPerMs = static_cast<float>(static_cast<double>(platformCounterFrequency()) / 1000.0);
    watch.msPerTick = 1.0f / ticksPerMs;
}

Stopwatch makeStopwatch() {
    Stopwatch watch;
    computeTickLength(watch);
    startStopwatch(watch);
    return watch;
}

void startStopwatch(Stopwatch& watch) {
    watch.stopped = 0;
    watch.startCount = platformCounter();
}

float elapsedMs(const Stopwatch& watch) {
    const int64_t now = watch.stopped ? watch.stopCount : platformCounter();
    return static_cast<float>(now - watch.startCount) * watch.msPerTick;
}

int32_t elapsedWholeMs(const Stopwatch& watch) {
    const float ms = elapsedMs(watch);
    if (ms >= 2147483648.0f) return INT32_MAX;
    if (ms <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(ms);
}

void stopStopwatch(Stopwatch& watch) {
    if (watch.stopped) return;
    watch.stopCount = platformCounter();
    watch.stopped = 1;
}

void clearStopwatch(Stopwatch& watch) {
    watch = Stopwatch{};
    computeTickLength(watch);
}
