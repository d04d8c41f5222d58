// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pacer's idle frames: one 60-a-second frame slept through per iteration. The CPU column
// against the wall-clock one shows how much of a core the sleep costs (it should be a sliver:
// the pacer sleeps, it does not spin).

#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/frame_pacer.h"

namespace {

int64_t nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void BM_PacerIdleFrame(benchmark::State& state) {
    FramePacer pacer;
    for (auto _ : state)
        sleepUntilCounter(paceFrame(pacer, nowNanoseconds(), 1000000000, 60), nowNanoseconds, 1000000000);
}
BENCHMARK(BM_PacerIdleFrame)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
