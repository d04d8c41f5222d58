// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The airshow's rules that its replay does not fly: the box and the crowd's volume at their
// bounds, the show time by difficulty, the crowd and the clock outside the show section and over
// stays in and out of the box, the objective, the tricks the replay leaves out, and the launch's
// reset and music. Headless: each frame advances the virtual counter by exactly 1/60 s.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "missions/airshow_rules.h"
#include "missions/missions.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

// An airshow at difficulty 0 under way in section 2: camera at the stand's left, the aircraft
// cruising level eastward in the middle of the box.
struct Show : TestGame {
    Show() {
        launch(3);
        game->sector = 2;
        game->camera.cameraX = 20000.0;
        game->camera.cameraY = 18900.0;
        game->groundScreenY = 19617.0 - game->camera.cameraY;
        game->aircraft.gearUp = 1;
        game->aircraft.airspeed = 8.0;
        game->aircraft.pitchAtStep = game->aircraft.pitch = 180.0;
        place(600.0, 300.0);
    }
    void place(double screenX, double screenY) {
        game->aircraft.screenX = screenX;
        game->aircraft.screenY = screenY;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            int32_t pitch = 0;
            platformBeginFrame(&pitch);
            formatShowTime(line, game->showTimeElapsed, game->showTimeRequired);
            countShowTime(*game);
            payTricks(*game);
            updateCrowd(*game);
            markObjectiveIfMet(*game, ObjectiveCheck::kAfterOwnStep);
        }
    }
    // The time line as the last frame drew it.
    std::string timeLine() const { return line; }
    char line[kTextBufferSize] = {};
};

} // namespace

TEST(AirshowRules, BoxVolumeAndShowTimeAtTheirBounds) {
    const Rect box = showBoxAround(791.9, 737.5);
    EXPECT_EQ(box.left, -4208) << "truncated toward zero";
    EXPECT_EQ(box.right, 5791);
    EXPECT_EQ(box.top, -2662);
    EXPECT_EQ(box.bottom, 4137);
    EXPECT_TRUE(withinRect(box, -4208.0, 4137.0)) << "bounds included";
    EXPECT_FALSE(withinRect(box, -4208.01, 0.0));
    EXPECT_FALSE(withinRect(box, 0.0, 4137.01));
    EXPECT_FALSE(withinRect(Rect{}, 0.5, 0.0)) << "a cleared box holds nothing but its corner";

    EXPECT_EQ(crowdVolume(0.0), 0) << "full volume at the crowd point";
    EXPECT_EQ(crowdVolume(6.9), 0);
    EXPECT_EQ(crowdVolume(7.0), -1);
    EXPECT_EQ(crowdVolume(69999.0), -9999);
    EXPECT_EQ(crowdVolume(70000.0), -10000) << "silent from 70000 px";
    EXPECT_EQ(crowdVolume(std::nan("")), -10000);

    const float required[] = {100000.0f, 100000.0f, 200000.0f, 300000.0f, 400000.0f, 400000.0f};
    for (int difficulty = -1; difficulty <= 4; ++difficulty) {
        EXPECT_EQ(showTimeRequiredFor(difficulty), required[difficulty + 1]) << difficulty;
    }
}

// The replay never leaves the show section once it is there.
TEST(Airshow, OutsideTheShowSectionTheCrowdFallsSilentAndTheTimeStandsStill) {
    Show show;
    show.frames(33);
    ASSERT_TRUE(show.playing(kSoundNarration));
    const double elapsed = show->showTimeElapsed;
    show->sector = 1;
    show.frames(60);
    EXPECT_FALSE(show.playing(kSoundNarration));
    EXPECT_EQ(show.timeLine(), "Time: 0:00 of 1:40");
    EXPECT_EQ(show->showTimeElapsed, elapsed);
}

TEST(Airshow, ShowTimeCountsOnlyInTheBoxAndTheObjectiveComesAtOneMinuteForty) {
    Show show;
    show.frames(1);
    EXPECT_EQ(show->showClockStarted, 0) << "the first frame only learns where the box is";
    show.frames(61);
    EXPECT_NEAR(show->showTimeElapsed, 1000.0, 0.01);

    show.place(600.0, -4000.0); // far above the box
    show.frames(300);
    EXPECT_NEAR(show->showTimeElapsed, 1000.0, 0.01) << "the shown time stands still outside";
    EXPECT_NEAR(show->showTimeBanked, 1000.0 + 1000.0 / 60.0, 0.01) << "up to the frame that left";
    EXPECT_EQ(show.timeLine(), "Time: 0:01 of 1:40");

    show.place(600.0, 300.0);
    show.frames(99 * 60 - 2);
    EXPECT_EQ(show->objectiveDone, 0);
    EXPECT_EQ(show.timeLine(), "Time: 1:39 of 1:40");
    show.frames(2);
    EXPECT_EQ(show->objectiveDone, 1);
    show.place(600.0, -4000.0);
    show.frames(2);
    EXPECT_EQ(show->objectiveDone, 1) << "never cleared by the airshow";
    EXPECT_EQ(show.timeLine(), "Time: 1:40 of 1:40");
}

// The replay flies the buzz, the spins and normal loops; these are the others.
// One show at a time: each holds a mixer voice for every sound slot.
TEST(Airshow, InvertedLoopsAndSlowPassesPayAndLoopsOutOfTheBoxDoNot) {
    {
        Show inverted; // inverted level flight heading west, Right held, an upgraded turn rate
        inverted->aircraft.pitchAtStep = 355.0;
        inverted->aircraft.pitchUpRate = 2.0;
        inverted.frames(1);
        inverted.keys[kVkRight] = 1;
        inverted.frames(180);
        EXPECT_EQ(inverted->invertedLoopArmed, 1);
        EXPECT_EQ(inverted->showEarnings, 45);
    }
    {
        Show slow; // slow with the gear down: every 40 frames while at 4 or below
        slow->aircraft.airspeed = 4.0;
        slow->aircraft.gearUp = 0;
        slow.frames(2);
        EXPECT_EQ(slow->showEarnings, 5);
        slow.frames(40);
        EXPECT_EQ(slow->showEarnings, 10);
        slow->aircraft.airspeed = 4.1;
        slow.frames(80);
        EXPECT_EQ(slow->showEarnings, 10) << "above 4 the pass pays nothing";
    }
    Show outside;
    outside.place(600.0, -4000.0);
    outside.frames(1);
    outside.keys[kVkLeft] = 1;
    outside.frames(400);
    EXPECT_EQ(outside->normalLoopArmed, 1);
    EXPECT_EQ(outside->showEarnings, 0);
}

TEST(AirshowLaunch, ScoresAreClearedAndTrackTwoStartsTheClock) {
    Show show;
    show->showEarnings = 120;
    show->trickCount = 9;
    show->showTimeElapsed = 200000.0;
    show->loopDegrees = 200.0;
    show->normalLoopArmed = 1;
    show->showBox = Rect{.left = 1, .top = 3, .right = 2, .bottom = 4};
    show.launch(1); // of any mission
    EXPECT_EQ(show->showEarnings + show->trickCount + show->normalLoopArmed + show->showBox.right, 0);
    EXPECT_EQ(show->showTimeElapsed + show->loopDegrees, 0.0);

    // From track 1: the switch to track 2 starts the show clock.
    show->musicTrack = 1;
    show.frames(1);
    show.launch(3, 2);
    EXPECT_EQ(show->showTimeRequired, 300000.0f);
    EXPECT_EQ(show->musicTrack, 2);
    EXPECT_EQ(show->showClock.stopped, 0);
    EXPECT_EQ(show->showClock.startCount, platformCounter());

    // Track 2 already playing: the music is left alone, the clock cleared but not started.
    show.frames(1);
    show.launch(3, 3);
    EXPECT_EQ(show->showTimeRequired, 400000.0f);
    EXPECT_EQ(show->musicTrack, 2);
    EXPECT_EQ(show->showClock.startCount, 0);
    EXPECT_EQ(show->showClockStarted, 0);
    EXPECT_EQ(show->showTimeBanked, 0.0f);
}
