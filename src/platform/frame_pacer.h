#pragma once
// Holds the frame rate at 60 a second. The game counts everything in frames, so a display that
// retraces faster than 60 Hz, or a driver that ignores vsync, would speed the whole game up.
// Pure arithmetic on counter readings; the SDL back end does the sleeping.

#include <cstdint>

struct FramePacer {
    int64_t last = 0;      // counter at the start of the last paced frame
    uint8_t started = 0;   // 0 until the first frame has been paced
};

// Called once per frame after presenting, with the counter now, its ticks per second and
// `framesPerSecond`. Returns the counter value to sleep until before the next frame (`now` when
// no sleep is due). Deadlines follow one another a whole frame apart, so a sleep that wakes late
// does not slow the rate. A frame that arrives within a quarter millisecond of its deadline or
// later (a 60 Hz display with vsync, or a slow frame) starts at once and the deadlines restart
// from it: the pacer then adds nothing and never runs frames in a burst to catch up.
int64_t paceFrame(FramePacer& pacer, int64_t now, int64_t frequency, int32_t framesPerSecond);

// Sleeps until `counter()` reaches `until` (ticks at `frequency` per second), waking only to
// sleep again if the system woke it early: no busy-waiting.
void sleepUntilCounter(int64_t until, int64_t (*counter)(), int64_t frequency);
