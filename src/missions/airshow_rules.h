// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The airshow of mission 3: the crowd stands in section 2, the show clock runs only while the
// aircraft is in a large box around the stand, and tricks flown in the box earn money. The
// crowd's sound grows louder as the aircraft comes near the stand.
// The box test uses the box computed at the end of the previous frame; the next one is computed
// from this frame's camera.

#include <cstdint>

struct GameState;
struct Rect;

constexpr int32_t kShowSection = 2;      // the section of the crowd stand
constexpr double kCrowdWorldX = 20791.0; // world x of the top centre of the stand

struct ShowPoint {
    double x; // screen pixels
    double y;
};

// The show time a difficulty asks for, in milliseconds: 1:40, 3:20, 5:00 or 6:40 for 0..3
// (levels outside that range are taken as the nearest one).
float showTimeRequiredFor(int32_t difficulty);

// The point the box test and the crowd distance use: the nose, 38 pixels from the aircraft's
// centre along pitchAtStep turned 5 degrees toward the belly (downward in upright eastward
// flight; the turn reverses with flipped, so it stays on the belly side).
ShowPoint showPoint(double screenX, double screenY, double pitchAtStep, uint8_t flipped);

// The box around the crowd point: 5000 pixels either side, 3400 above and below, truncated. A
// point on its bounds is in it (withinRect).
Rect showBoxAround(double crowdX, double crowdY);

// The crowd sound's volume at a distance from the crowd point, in hundredths of a decibel:
// -distance / 7, truncated, and never below -10000 (silent from 70000 pixels on).
int32_t crowdVolume(double distance);

// "Time: m:ss of m:ss" from milliseconds: whole minutes and the seconds within the minute.
void formatShowTime(char* text, double elapsed, double required);

// One frame of the airshow, in this order: the time line; outside section 2 the crowd silenced,
// in it the show clock and the loop count; the count while Tab is held; the loops and tricks
// paid; the last trick's message; its count, the crowd's distance, the next
// frame's box and the crowd sound; the box while Tab is held.
void drawShowTime(const GameState& game);
void countShowTime(GameState& game);
void drawLoopCount(const GameState& game);
void payTricks(GameState& game);
void drawTrickMessage(const GameState& game);
void updateCrowd(GameState& game);
void drawShowDiagnostics(const GameState& game);

// Mission 3's launch: the show time for `difficulty`, the scores and the show time cleared, the
// show clock cleared and not running.
void setUpAirshow(GameState& game);

// Both resets: no show time, score, loop, latch, message or box carries into a new sortie.
void resetAirshow(GameState& game);
