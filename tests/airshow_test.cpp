// The airshow: the time line and the crowd outside the show section, the show clock over stays
// in the box, the loops, spins, passes and their shared cooldown, the objective, the crowd
// sound's volume, the box on the radar, and mission 3's launch with its music and clock.
// Headless: each frame advances the virtual counter by exactly 1/60 s.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/cockpit.h"
#include "combat/outcome.h"
#include "flight/airshow.h"
#include "game/game_state.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "screens/briefing.h"
#include "test_game.h"

namespace {

constexpr const char* kTrickNameTexts[kTrickCount] = {"Buzz Crowd", "Normal Loop", "Inverted Loop", "Spin",
                                                      "Low Speed Flyby"};

// An airshow at difficulty 0 under way in section 2: camera at the stand's left, the aircraft
// cruising level eastward in the middle of the box, a real mixer voice in the crowd's slot.
struct Show {
    std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    std::unique_ptr<GameState> game = newGameState(*assets);
    uint8_t* keys = game->keys;
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kCanvasWidth * kCanvasHeight, 0);

    Show() {
        GameState& g = *game;
        g.assets->canvas = Canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, pixels.data()};
        for (int i = 0; i < kTrickCount; ++i) std::snprintf(g.trickNames[i], kTrickNameSize, "%s", kTrickNameTexts[i]);
        g.assets->sounds[kSoundNarration].voice = mixerCreateVoice(std::vector<int16_t>(2000, 0), false);
        resetNewGame(g);
        g.titleShown = 0;
        g.mission = 3;
        g.difficulty = 0;
        takeOff(g);
        g.sector = 2;
        g.camera.cameraX = 20000.0;
        g.camera.cameraY = 18900.0;
        g.groundScreenY = 19617.0 - g.camera.cameraY;
        g.aircraft.gearUp = 1;
        g.aircraft.airspeed = 8.0;
        g.aircraft.pitchAtStep = 180.0;
        g.aircraft.pitch = 180.0;
        place(600.0, 300.0);
    }
    ~Show() { mixerReleaseVoice(assets->sounds[kSoundNarration].voice); }
    GameState* operator->() { return game.get(); }

    void place(double screenX, double screenY) {
        game->aircraft.screenX = screenX;
        game->aircraft.screenY = screenY;
    }
    // One frame of the airshow: the clock ticks, the dispatcher's latches clear, the step runs.
    void frame() {
        int32_t pitch = 0;
        platformBeginFrame(&pitch);
        if (!keys[kVkDown]) game->spinLatchDown = 0;
        if (!keys[kVkUp]) game->spinLatchUp = 0;
        formatShowTime(line, game->showTimeElapsed, game->showTimeRequired);
        countShowTime(*game);
        payTricks(*game);
        updateCrowd(*game);
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) frame();
    }
    // The time line as this frame drew it.
    std::string timeLine() const { return line; }
    char line[kTextBufferSize] = {};
    int32_t crowdVolumeNow() const { return mixerVoiceVolume(assets->sounds[kSoundNarration].voice); }
    bool crowdPlaying() const { return isPlaying(assets->sounds[kSoundNarration]); }
};

} // namespace

TEST(AirshowRules, ShowPointBoxAndVolumeArithmetic) {
    // The nose point: 38 px ahead, 5 degrees toward the belly, mirrored when flipped.
    const ShowPoint east = showPoint(400.0, 300.0, 180.0, 0);
    const double fiveDegrees = 5.0 * std::numbers::pi / 180.0;
    EXPECT_NEAR(east.x, 400.0 + 38.0 * std::cos(fiveDegrees), 1e-6);
    EXPECT_NEAR(east.y, 300.0 + 38.0 * std::sin(fiveDegrees), 1e-6);
    const ShowPoint west = showPoint(400.0, 300.0, 0.0, 1);
    EXPECT_NEAR(west.x, 800.0 - east.x, 1e-6);
    EXPECT_NEAR(west.y, east.y, 1e-6);
    const ShowPoint up = showPoint(400.0, 300.0, 90.0, 0);
    EXPECT_LT(up.y, 300.0 - 37.0) << "nose up points up the screen";

    const ShowBox box = showBoxAround(791.9, 737.5);
    EXPECT_EQ(box.left, -4208) << "truncated toward zero";
    EXPECT_EQ(box.right, 5791);
    EXPECT_EQ(box.top, -2662);
    EXPECT_EQ(box.bottom, 4137);
    EXPECT_TRUE(insideShowBox(box, -4208.0, 4137.0)) << "bounds included";
    EXPECT_FALSE(insideShowBox(box, -4208.01, 0.0));
    EXPECT_FALSE(insideShowBox(box, 0.0, 4137.01));
    EXPECT_FALSE(insideShowBox(ShowBox{}, 0.5, 0.0)) << "a cleared box holds nothing but its corner";

    EXPECT_EQ(crowdVolume(0.0), 0) << "full volume at the crowd point";
    EXPECT_EQ(crowdVolume(6.9), 0);
    EXPECT_EQ(crowdVolume(7.0), -1);
    EXPECT_EQ(crowdVolume(6999.0), -999);
    EXPECT_EQ(crowdVolume(69999.0), -9999);
    EXPECT_EQ(crowdVolume(70000.0), -10000) << "silent from 70000 px";
    EXPECT_EQ(crowdVolume(1e12), -10000);
    EXPECT_EQ(crowdVolume(std::nan("")), -10000);

    EXPECT_EQ(showTimeRequiredFor(0), 100000.0f);
    EXPECT_EQ(showTimeRequiredFor(1), 200000.0f);
    EXPECT_EQ(showTimeRequiredFor(2), 300000.0f);
    EXPECT_EQ(showTimeRequiredFor(3), 400000.0f);
    EXPECT_EQ(showTimeRequiredFor(-1), 100000.0f);
    EXPECT_EQ(showTimeRequiredFor(9), 400000.0f);
}

TEST(Airshow, OutsideTheShowSectionOnlyTheTimeLineAndTheCrowdFallsSilent) {
    Show show;
    show.frames(3);
    ASSERT_TRUE(show.crowdPlaying());
    show.frames(30);
    const double elapsed = show->showTimeElapsed;
    ASSERT_GT(elapsed, 0.0);

    show->sector = 1;
    show.keys[kVkDown] = 1;
    show->aircraft.airspeed = 12.0;
    show->aircraft.boostSpeed = 12;
    const int32_t earned = show->showEarnings;
    const ShowBox box = show->showBox;
    show.frames(60);
    EXPECT_FALSE(show.crowdPlaying());
    EXPECT_EQ(show.timeLine(), "Time: 0:00 of 1:40");
    EXPECT_EQ(show->showTimeElapsed, elapsed) << "the time stands still";
    EXPECT_EQ(show->showEarnings, earned) << "no trick pays outside the show section";
    EXPECT_EQ(show->showBox.left, box.left);
}

TEST(Airshow, ShowTimeCountsOnlyInTheBoxAndContinuesAfterLeavingIt) {
    Show show;
    show.frame();
    EXPECT_EQ(show->showClockStarted, 0) << "the first frame only learns where the box is";
    show.frame();
    EXPECT_EQ(show->showClockStarted, 1);
    EXPECT_EQ(show->showTimeElapsed, 0.0);
    show.frames(60);
    EXPECT_NEAR(show->showTimeElapsed, 1000.0, 0.01);

    show.place(600.0, -4000.0); // far above the box
    show.frames(300);
    EXPECT_NEAR(show->showTimeElapsed, 1000.0, 0.01) << "the shown time stands still outside";
    EXPECT_NEAR(show->showTimeBanked, 1000.0 + 1000.0 / 60.0, 0.01) << "up to the frame that left";
    EXPECT_EQ(show->showClock.stopped, 1);
    EXPECT_EQ(show.timeLine(), "Time: 0:01 of 1:40");

    show.place(600.0, 300.0);
    show.frames(59 * 60);
    EXPECT_NEAR(show->showTimeElapsed, 60000.0, 0.05) << "continues from where it stopped";
    show.frame();
    EXPECT_EQ(show.timeLine(), "Time: 1:00 of 1:40") << "the line shows the time as the last frame left it";
}

TEST(Airshow, ObjectiveAfterOneMinuteFortyInTheBox) {
    Show show;
    show.frames(2);
    show.frames(5999);
    EXPECT_EQ(show->objectiveDone, 0);
    EXPECT_EQ(show.timeLine(), "Time: 1:39 of 1:40");
    show.frame();
    EXPECT_EQ(show->objectiveDone, 1);
    EXPECT_GE(show->showTimeElapsed, 100000.0);
    show.place(600.0, -4000.0);
    show.frames(2);
    EXPECT_EQ(show->objectiveDone, 1) << "never cleared by the airshow";
    EXPECT_EQ(show.timeLine(), "Time: 1:40 of 1:40");
}

TEST(Airshow, LoopsPayEveryFullTurnAndGivingUpResetsTheCount) {
    Show show;
    show.frame();
    show.keys[kVkLeft] = 1;
    show.frames(359);
    EXPECT_EQ(show->normalLoopArmed, 1);
    EXPECT_EQ(show->showEarnings, 0);
    show.frame();
    EXPECT_EQ(show->showEarnings, 35);
    EXPECT_EQ(show->trickCount, 1);
    EXPECT_STREQ(show->trickMessage, "Normal Loop: $35");
    EXPECT_EQ(show->trickMessageTimer, 99) << "100, already counted down in the paying frame";
    EXPECT_EQ(show->loopDegrees, 0.0);
    show.frames(360);
    EXPECT_EQ(show->showEarnings, 70) << "holding on flies a further loop";

    show.frames(200);
    show.keys[kVkLeft] = 0;
    show.frame();
    EXPECT_EQ(show->loopDegrees, 0.0);
    EXPECT_EQ(show->normalLoopArmed, 0);
    show.keys[kVkLeft] = 1;
    show.frames(359);
    EXPECT_EQ(show->showEarnings, 70) << "the count starts again after giving up";

    // From inverted level flight, heading west with Right and an upgraded turn rate.
    Show inverted;
    inverted->aircraft.pitchAtStep = 355.0;
    inverted->aircraft.flipped = 0;
    inverted->aircraft.pitchUpRate = 2.0;
    inverted.frame();
    inverted.keys[kVkRight] = 1;
    inverted.frames(180);
    EXPECT_EQ(inverted->invertedLoopArmed, 1);
    EXPECT_EQ(inverted->normalLoopArmed, 0);
    EXPECT_EQ(inverted->showEarnings, 45);
    EXPECT_STREQ(inverted->trickMessage, "Inverted Loop: $45");

    // Out of the box a loop is armed but not counted.
    Show outside;
    outside.place(600.0, -4000.0);
    outside.frame();
    outside.keys[kVkLeft] = 1;
    outside.frames(400);
    EXPECT_EQ(outside->normalLoopArmed, 1);
    EXPECT_EQ(outside->loopDegrees, 0.0);
    EXPECT_EQ(outside->showEarnings, 0);
}

TEST(Airshow, SpinPaysOncePerPressOfUpOrDown) {
    Show show;
    show.frame();
    show.keys[kVkDown] = 1;
    show.frame();
    EXPECT_EQ(show->showEarnings, 3);
    EXPECT_STREQ(show->trickMessage, "Spin: $3");
    EXPECT_EQ(show->trickMessageTimer, 19);
    show.frames(29);
    EXPECT_EQ(show->showEarnings, 3) << "holding the key pays nothing more";
    EXPECT_EQ(show->trickMessageTimer, 0);
    show.keys[kVkDown] = 0;
    show.frame();
    show.keys[kVkDown] = 1;
    show.keys[kVkUp] = 1;
    show.frame();
    EXPECT_EQ(show->showEarnings, 9) << "a new press of Down and one of Up";
    EXPECT_EQ(show->trickCount, 3);
}

TEST(Airshow, BuzzAndLowSpeedFlybyShareAFortyFrameCooldown) {
    Show show;
    show->aircraft.boostSpeed = 12;
    show->aircraft.airspeed = 12.0;
    show.frame();
    EXPECT_EQ(show->showEarnings, 0) << "not yet known to be in the box";
    show.frame();
    EXPECT_EQ(show->showEarnings, 20);
    EXPECT_STREQ(show->trickMessage, "Buzz Crowd: $20");
    EXPECT_EQ(show->trickCooldown, 39) << "lowered in the paying frame";
    show.frames(39);
    EXPECT_EQ(show->showEarnings, 20);
    show.frame();
    EXPECT_EQ(show->showEarnings, 40) << "every 40 frames with the afterburner lit";

    // Slow with the gear down, still inside the cooldown the buzz started.
    show->aircraft.airspeed = 4.0;
    show->aircraft.gearUp = 0;
    show.frames(39);
    EXPECT_EQ(show->showEarnings, 40);
    show.frame();
    EXPECT_EQ(show->showEarnings, 45);
    EXPECT_STREQ(show->trickMessage, "Low Speed Flyby: $5");
    show->aircraft.airspeed = 4.1;
    show.frames(80);
    EXPECT_EQ(show->showEarnings, 45) << "above 4 the pass pays nothing";
}

TEST(Airshow, CrowdSoundRisesNearTheStand) {
    Show show;
    show.frame();
    ASSERT_TRUE(show.crowdPlaying());
    const double crowdX = kCrowdWorldX - show->camera.cameraX;
    const double crowdY = show->groundScreenY + 20.0;
    const ShowPoint point = showPoint(600.0, 300.0, 180.0, 0);
    EXPECT_DOUBLE_EQ(show->crowdDistance, std::hypot(point.x - crowdX, point.y - crowdY));
    EXPECT_EQ(show.crowdVolumeNow(), crowdVolume(show->crowdDistance));
    EXPECT_EQ(show.crowdVolumeNow(), -65) << "460 px from the stand's top";

    show.place(crowdX - (point.x - 600.0), crowdY - (point.y - 300.0)); // show point on the crowd point
    show.frame();
    EXPECT_NEAR(show->crowdDistance, 0.0, 1e-9);
    EXPECT_EQ(show.crowdVolumeNow(), 0);

    show.place(-70000.0, crowdY);
    show.frame();
    EXPECT_EQ(show.crowdVolumeNow(), -10000);
    EXPECT_TRUE(show.crowdPlaying()) << "it keeps playing, silent, anywhere in the section";
}

TEST(Airshow, TheBoxIsOutlinedOnTheRadarInTheShowSectionOnly) {
    Show show;
    show.frame();
    const ShowBox box = show->showBox;
    const int32_t left = static_cast<int32_t>((box.left + show->camera.cameraX) * 200 / 40000 + 540);
    const int32_t right = static_cast<int32_t>((box.right + show->camera.cameraX) * 200 / 40000 + 540);
    const int32_t top = static_cast<int32_t>((box.top + show->camera.cameraY) * 100 / 20000 + 610);
    EXPECT_EQ(left, 540 + 78);
    EXPECT_EQ(right, 540 + 128);
    drawCockpit(*show.game);
    const auto at = [&](int32_t x, int32_t y) { return show.pixels[y * kCanvasWidth + x]; };
    EXPECT_EQ(at(left, top), 0xFFFFFFFFu);
    EXPECT_EQ(at(right, 700), 0xFFFFFFFFu);
    EXPECT_EQ(at((left + right) / 2, 709), 0xFFFFFFFFu);

    std::fill(show.pixels.begin(), show.pixels.end(), 0u);
    show->sector = 1;
    drawCockpit(*show.game);
    EXPECT_NE(at(left, 700), 0xFFFFFFFFu) << "no outline outside the show section, only the radar's backing";
}

TEST(Airshow, FrozenWorldShowsTheLoopCountTheBoxAndTheLineToTheCrowd) {
    Show show;
    show->camera.cameraX = kCrowdWorldX - 5100.0; // the box's left edge at screen x 100
    show.frame();
    std::fill(show.pixels.begin(), show.pixels.end(), 0u);
    show->frozen = 1;
    show.keys[kVkLeft] = 1;
    show.frame();
    EXPECT_EQ(show->loopDegrees, 1.0) << "the count the readout shows";
    drawLoopCount(*show.game);
    drawShowDiagnostics(*show.game);
    const auto at = [&](int32_t x, int32_t y) { return show.pixels[y * kCanvasWidth + x]; };
    EXPECT_EQ(at(100, 360), 0xFF00FF00u) << "the box's left edge";
    const ShowPoint point = showPoint(600.0, 300.0, 180.0, 0);
    EXPECT_EQ(at(static_cast<int32_t>(point.x), static_cast<int32_t>(point.y)), 0xFF0000FFu) << "the line's start";
}

TEST(AirshowLaunch, ShowTimeByDifficultyAndTrackTwoWithItsClock) {
    Show show;
    // Scores of a finished airshow must not reach the next sortie, of any mission.
    show->showEarnings = 120;
    show->trickCount = 9;
    show->showTimeElapsed = 200000.0;
    show->loopDegrees = 200.0;
    show->normalLoopArmed = 1;
    show->trickMessageTimer = 50;
    show->showBox = ShowBox{1, 2, 3, 4};
    show->mission = 1;
    takeOff(*show.game);
    EXPECT_EQ(show->showEarnings, 0);
    EXPECT_EQ(show->trickCount, 0);
    EXPECT_EQ(show->showTimeElapsed, 0.0);
    EXPECT_EQ(show->loopDegrees, 0.0);
    EXPECT_EQ(show->normalLoopArmed, 0);
    EXPECT_EQ(show->trickMessageTimer, 0);
    EXPECT_EQ(show->showBox.right, 0);

    // From track 1: the switch to track 2 starts the show clock.
    show->musicTrack1On = 1;
    show->musicTrack2On = 0;
    show->mission = 3;
    show->difficulty = 2;
    int32_t pitch = 0;
    platformBeginFrame(&pitch);
    takeOff(*show.game);
    EXPECT_EQ(show->showTimeRequired, 300000.0f);
    EXPECT_EQ(show->musicTrack2On, 1);
    EXPECT_EQ(show->musicTrack1On, 0);
    EXPECT_EQ(show->showClock.stopped, 0);
    EXPECT_EQ(show->showClock.startCount, platformCounter());
    EXPECT_EQ(show->showClockStarted, 0);

    // Track 2 already playing: the music is left alone, the clock cleared but not started.
    show->difficulty = 3;
    platformBeginFrame(&pitch);
    takeOff(*show.game);
    EXPECT_EQ(show->showTimeRequired, 400000.0f);
    EXPECT_EQ(show->musicTrack2On, 1);
    EXPECT_EQ(show->musicTrack1On, 0);
    EXPECT_EQ(show->showClock.stopped, 0);
    EXPECT_EQ(show->showClock.startCount, 0);
    EXPECT_GT(show->showClock.msPerTick, 0.0f);
    EXPECT_EQ(show->showClockStarted, 0);
    EXPECT_EQ(show->showTimeBanked, 0.0f);
}
