// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "missions/airshow_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "game/stopwatch.h"
#include "game/world.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "raster/colours.h"

namespace {

constexpr double kCrowdAboveGround = 20.0; // screen rows from the ground line down to the stand's top
constexpr double kBoxHalfWidth = 5000.0;
constexpr double kBoxHalfHeight = 3400.0;
constexpr double kShowPointReach = 38.0;     // pixels from the aircraft's centre to its nose
constexpr double kNoseTurn = 5.0;            // degrees from pitchAtStep to the nose point
constexpr double kLoopDegrees = 360.0;       // degrees of turn that pay one loop
constexpr int32_t kTrickCooldownFrames = 40; // between "Buzz Crowd" and "Low Speed Flyby" payments
constexpr double kPixelsPerVolumeStep = 7.0; // pixels of distance per hundredth of a decibel lost
constexpr int32_t kSilent = -10000;
constexpr int32_t kLoopMessageFrames = 100;
constexpr int32_t kTrickMessageFrames = 20;
constexpr double kLowSpeedFlybyTop = 4.0; // airspeed at or below which a gear-down pass pays

// Amounts paid, dollars.
constexpr int32_t kPayBuzzCrowd = 20;
constexpr int32_t kPayNormalLoop = 35;
constexpr int32_t kPayInvertedLoop = 45;
constexpr int32_t kPaySpin = 3;
constexpr int32_t kPayLowSpeedFlyby = 5;

// The airshow's lines lie over the sky, each on its own plate.
void drawPlatedText(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour) {
    drawTextPlate(game.assets->canvas, text, x, y, game.assets->smallFont);
    drawText(game.assets->canvas, text, x, y, game.assets->smallFont, colour);
}

// Where the show is seen from this frame: the crowd point and the aircraft's show point, screen
// pixels.
struct ShowView {
    double crowdX;
    double crowdY;
    ShowPoint show;
};

ShowView showView(const GameState& game) {
    return ShowView{
        kCrowdWorldX - game.camera.cameraX, game.groundScreenY + kCrowdAboveGround,
        showPoint(game.aircraft.screenX, game.aircraft.screenY, game.aircraft.pitchAtStep, game.aircraft.flipped)};
}

// The box test of this frame: against the box computed at the end of the previous frame.
bool showPointInBox(const GameState& game) {
    const ShowPoint show = showView(game).show;
    return withinRect(game.showBox, show.x, show.y);
}

bool pitchKeyHeld(const GameState& game) { return game.keys[kVkLeft] || game.keys[kVkRight]; }

void payTrick(GameState& game, Trick trick, int32_t amount, int32_t messageFrames) {
    game.showEarnings += amount;
    game.trickCount += 1;
    std::snprintf(game.trickMessage, sizeof game.trickMessage, "%s: $%d", game.trickNames[trick], amount);
    game.trickMessageTimer = messageFrames;
}

// A pull from level flight arms a loop: upright it is a normal one, inverted an inverted one.
// Left pulls the nose up heading east (pitch near 180), Right heading west (pitch near 0).
void armLoops(GameState& game, bool left, bool right) {
    const double p = game.aircraft.pitchAtStep;
    const bool pullEast = left && p >= 170.0 && p <= 190.0;
    const bool pullWest = right && (p >= 350.0 || p <= 10.0);
    const bool flipped = game.aircraft.flipped != 0;
    if ((pullEast && !flipped) || (pullWest && flipped)) game.normalLoopArmed = 1;
    if ((pullEast && flipped) || (pullWest && !flipped)) game.invertedLoopArmed = 1;
}

// The show clock counts real time in the box; time out of it is banked, not lost.
void runShowClock(GameState& game, bool inBox) {
    Stopwatch& clock = game.showClock;
    if (inBox) {
        if (!game.showClockStarted) {
            computeTickLength(clock);
            startStopwatch(clock);
            game.showClockStarted = 1;
            game.showTimeBanked = 0.0f;
        }
        if (clock.stopped) startStopwatch(clock);
        game.showTimeElapsed = static_cast<double>(game.showTimeBanked) + static_cast<double>(elapsedMs(clock));
    } else if (!clock.stopped) {
        game.showTimeBanked += elapsedMs(clock);
        stopStopwatch(clock);
    }
}

void payTricksInBox(GameState& game) {
    const Aircraft& aircraft = game.aircraft;
    const uint8_t* keys = game.keys;
    if (aircraft.airspeed == aircraft.boostSpeed && game.trickCooldown == 0) {
        payTrick(game, kTrickBuzzCrowd, kPayBuzzCrowd, kTrickMessageFrames);
        game.trickCooldown = kTrickCooldownFrames;
    }
    if (keys[kVkDown] && !game.spinLatchDown) {
        payTrick(game, kTrickSpin, kPaySpin, kTrickMessageFrames);
        game.spinLatchDown = 1;
    }
    if (keys[kVkUp] && !game.spinLatchUp) {
        payTrick(game, kTrickSpin, kPaySpin, kTrickMessageFrames);
        game.spinLatchUp = 1;
    }
    if (aircraft.airspeed >= 0.0 && aircraft.airspeed <= kLowSpeedFlybyTop && !aircraft.gearUp &&
        game.trickCooldown == 0) {
        payTrick(game, kTrickLowSpeedFlyby, kPayLowSpeedFlyby, kTrickMessageFrames);
        game.trickCooldown = kTrickCooldownFrames;
    }
}

} // namespace

float showTimeRequiredFor(int32_t difficulty) {
    return 100000.0f * static_cast<float>(std::clamp(difficulty, 0, 3) + 1);
}

ShowPoint showPoint(double screenX, double screenY, double pitchAtStep, uint8_t flipped) {
    const double degrees = pitchAtStep + (flipped ? -kNoseTurn : kNoseTurn);
    const double angle = radians(degrees);
    return ShowPoint{screenX - std::cos(angle) * kShowPointReach, screenY - std::sin(angle) * kShowPointReach};
}

Rect showBoxAround(double crowdX, double crowdY) {
    return Rect{static_cast<int32_t>(crowdX - kBoxHalfWidth), static_cast<int32_t>(crowdY - kBoxHalfHeight),
                static_cast<int32_t>(crowdX + kBoxHalfWidth), static_cast<int32_t>(crowdY + kBoxHalfHeight)};
}

int32_t crowdVolume(double distance) {
    const double volume = -(distance / kPixelsPerVolumeStep);
    if (!(volume > kSilent)) return kSilent; // far away, or a distance that is not a number
    return static_cast<int32_t>(volume);
}

void formatShowTime(char* text, double elapsed, double required) {
    formatText(text, "Time: %.0f:%.2d of %.0f:%.2d", std::trunc(elapsed / 60000.0),
               static_cast<int32_t>(std::fmod(std::trunc(elapsed / 1000.0), 60.0)), std::trunc(required / 60000.0),
               static_cast<int32_t>(std::fmod(std::trunc(required / 1000.0), 60.0)));
}

void drawShowTime(const GameState& game) {
    char text[kTextBufferSize];
    formatShowTime(text, game.showTimeElapsed, game.showTimeRequired);
    drawPlatedText(game, text, 230, 5, kTimeLineColour);
}

void countShowTime(GameState& game) {
    if (game.sector != kShowSection) {
        SoundEffect& crowd = game.assets->sounds[kSoundNarration];
        if (isPlaying(crowd)) stopSound(crowd);
        return;
    }
    armLoops(game, game.keys[kVkLeft] != 0, game.keys[kVkRight] != 0);
    const bool inBox = showPointInBox(game);
    runShowClock(game, inBox);
    // The count grows by the nose-up rate whichever arrow is held, so a loop pays after a full
    // turn at the rate the upgrades give.
    if (inBox && pitchKeyHeld(game) && (game.normalLoopArmed || game.invertedLoopArmed)) {
        game.loopDegrees += game.aircraft.pitchUpRate;
    }
}

void drawLoopCount(const GameState& game) {
    if (game.sector != kShowSection || !game.frozen) return;
    if (!(showPointInBox(game) && pitchKeyHeld(game) && (game.normalLoopArmed || game.invertedLoopArmed))) return;
    char text[kTextBufferSize];
    formatText(text, "Deg %f", game.loopDegrees);
    drawPlatedText(game, text, 10, 204, kWhite);
}

void payTricks(GameState& game) {
    if (game.sector != kShowSection) return;
    if (!pitchKeyHeld(game)) {
        game.normalLoopArmed = 0;
        game.invertedLoopArmed = 0;
        game.loopDegrees = 0.0;
    }
    if (game.loopDegrees >= kLoopDegrees) {
        if (game.normalLoopArmed) {
            payTrick(game, kTrickNormalLoop, kPayNormalLoop, kLoopMessageFrames);
        } else if (game.invertedLoopArmed) {
            payTrick(game, kTrickInvertedLoop, kPayInvertedLoop, kLoopMessageFrames);
        }
        game.loopDegrees = 0.0;
    }
    if (showPointInBox(game)) payTricksInBox(game);
    if (game.trickCooldown > 0) game.trickCooldown -= 1;
}

void drawTrickMessage(const GameState& game) {
    if (game.sector == kShowSection && game.trickMessageTimer > 0) {
        drawPlatedText(game, game.trickMessage, 810, 5, kInstrumentGreen);
    }
}

void updateCrowd(GameState& game) {
    if (game.sector != kShowSection) return;
    if (game.trickMessageTimer > 0) game.trickMessageTimer -= 1;

    const ShowView view = showView(game);
    game.crowdDistance = std::hypot(view.show.x - view.crowdX, view.show.y - view.crowdY);
    game.showBox = showBoxAround(view.crowdX, view.crowdY);

    SoundEffect& crowd = game.assets->sounds[kSoundNarration];
    const int32_t volume = crowdVolume(game.crowdDistance);
    if (!isPlaying(crowd)) playLooping(crowd, volume);
    if (isPlaying(crowd)) setVolume(crowd, volume);
}

void drawShowDiagnostics(const GameState& game) {
    if (game.sector != kShowSection || !game.frozen) return;
    // The line from the show point to the crowd and the box's outline.
    const ShowView view = showView(game);
    Canvas& canvas = game.assets->canvas;
    const Rect& box = game.showBox;
    drawLine(canvas, static_cast<int32_t>(view.show.x), static_cast<int32_t>(view.show.y),
             static_cast<int32_t>(view.crowdX), static_cast<int32_t>(view.crowdY), kBlue);
    drawLine(canvas, box.left, box.top, box.right, box.top, kGreen);
    drawLine(canvas, box.right, box.top, box.right, box.bottom, kGreen);
    drawLine(canvas, box.right, box.bottom, box.left, box.bottom, kGreen);
    drawLine(canvas, box.left, box.bottom, box.left, box.top, kGreen);
}

void setUpAirshow(GameState& game) {
    game.showTimeRequired = showTimeRequiredFor(game.difficulty);
    game.showTimeElapsed = 0.0;
    game.showTimeBanked = 0.0f;
    game.showClockStarted = 0;
    game.showEarnings = 0;
    game.trickCount = 0;
    clearStopwatch(game.showClock);
}

void resetAirshow(GameState& game) {
    game.showTimeElapsed = 0.0;
    game.showTimeBanked = 0.0f;
    game.showClockStarted = 0;
    game.showEarnings = 0;
    game.trickCount = 0;
    game.loopDegrees = 0.0;
    game.normalLoopArmed = 0;
    game.invertedLoopArmed = 0;
    game.spinLatchUp = 0;
    game.spinLatchDown = 0;
    game.trickCooldown = 0;
    game.trickMessage[0] = '\0';
    game.trickMessageTimer = 0;
    game.showBox = Rect{};
    game.crowdDistance = 0.0;
}
