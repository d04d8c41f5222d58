// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The airshow's captions: what the announcer and the crowd's shouts say, and when, in seconds
// of the crowd loop, as the build wrote them from the text the voices were spoken from (the
// program embeds them, resource 43). One piece a line: "START END WHO WORDS", WHO being A and
// the call's number or C and the crowd line's number; a piece may run past the loop's end, or
// start past it, and is then heard from the loop's start.

#include <cstddef>
#include <cstdint>

constexpr int32_t kCaptionCapacity = 80;     // pieces
constexpr int32_t kCaptionTextSize = 72;     // bytes, NUL included
constexpr double kCaptionLoopSeconds = 64.0; // the crowd loop's length

struct Caption {
    float start = 0.0f; // seconds into the loop, below two loops
    float end = 0.0f;   // seconds, after start, below two loops
    bool announcer = false;
    int32_t line = 0; // the call's or crowd line's number in its script
    char text[kCaptionTextSize] = {};
};

// Reads the track into `out`, at most `capacity` pieces. A line that cannot be read (no times,
// an end before its start, times past two loops, an unknown speaker, no words) is skipped; a text too
// long is cut at a word. Returns the pieces kept.
int32_t parseCaptions(const char* text, size_t size, Caption* out, int32_t capacity);

// Whether the piece sounds `seconds` into the loop (0..64).
bool captionSounds(const Caption& caption, double seconds);
