// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A high-resolution timer on the platform's performance counter.

#include <cstdint>

struct Stopwatch {
    float msPerTick = 0.0f; // milliseconds per counter tick
    uint8_t stopped = 0;
    int64_t stopCount = 0;  // counter at the last stop
    int64_t startCount = 0; // counter at the last start
};

// Computes msPerTick from the counter frequency (narrowed to float before the division).
void computeTickLength(Stopwatch& watch);
// A new stopwatch: tick length computed, running from now.
Stopwatch makeStopwatch();
void startStopwatch(Stopwatch& watch);
// Milliseconds from the last start to now, or to the stop if stopped.
float elapsedMs(const Stopwatch& watch);
// The same truncated to whole milliseconds, held within int32 (a recorded clock may span more
// than the 24 days an int32 of milliseconds holds).
int32_t elapsedWholeMs(const Stopwatch& watch);
void stopStopwatch(Stopwatch& watch);
// Every count 0 and not stopped, with the tick length computed again: read before it is
// started, it counts from the counter's origin.
void clearStopwatch(Stopwatch& watch);
