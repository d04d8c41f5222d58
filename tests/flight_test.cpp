// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The flight model's edges that the replays do not fly: the pitch bands, the pitch keys at
// turning speed and at the circle's end, the stall's two lines, the overlays after a roll-over,
// the gear on the runway, touchdown attitudes, re-arming, the runway-end obstacle, the west end
// of missions 1 and 3, and the resets. The throttle, the stall's lift, rolls, take-offs, landings,
// the camera and the other passages between sections are flown, and pinned, by the replays.

#include <gtest/gtest.h>

#include <vector>

#include "flight/flight.h"
#include "flight/gear.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

// Parked at a mission-1 sortie's start, the camera at 0, 0, with a large font of solid ink so
// that the notice leaves pixels.
struct Flight : TestGame {
    std::vector<uint32_t> ink = std::vector<uint32_t>(kLargeSheetWidth * kLargeSheetHeight, 0xFF000000u);

    Flight() {
        assets->largeFont = BitmapFont{16, 28, 32, ink.data()};
        launch(1);
        game->groundScreenY = 19617.0;
    }
    // Airborne high over the world with the throttle at `airspeed`.
    void cruise(double airspeed) {
        game->aircraft.onGround = 0;
        game->aircraft.reloaded = 0;
        game->aircraft.worldY = 15000.0;
        game->altitude = 4846;
        game->aircraft.airspeed = game->aircraft.lift = airspeed;
        game->throttleUntouched = 0;
    }
};

} // namespace

TEST(FlightRules, PitchBandBoundaries) {
    for (double pitch : {357.0, 360.0, 0.0, 3.999}) EXPECT_EQ(pitchBand(pitch), 0) << pitch;
    EXPECT_EQ(pitchBand(4.0), 1);
    EXPECT_EQ(pitchBand(356.999), 19);
    EXPECT_EQ(pitchBand(176.9), 9);
    EXPECT_EQ(pitchBand(177.0), 10);
    EXPECT_EQ(pitchBand(184.0), 11);
}

TEST(PitchKeys, DeadBelowTurningSpeedOrStalledAndWrapAtTheCircle) {
    Flight f;
    f.cruise(3.8);
    f.keys[kVkRight] = 1;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 180.0);
    f->aircraft.airspeed = 3.9;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 180.5); // nose down heading east turns at pitchDownRate
    f->aircraft.flipped = 1;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 181.5); // rolled over, the same key turns at pitchUpRate

    f->aircraft.pitch = 359.5;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 0.0);
    f->aircraft.pitch = 359.0;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 360.0); // 360 itself stays
    f.keys[kVkRight] = 0;
    f.keys[kVkLeft] = 1;
    f->aircraft.flipped = 0;
    f->aircraft.pitch = 0.5;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 360.0);
    f->aircraft.stalled = 1;
    updatePitchAndRoll(*f.game);
    EXPECT_EQ(f->aircraft.pitch, 360.0);
}

// The ceiling: a stall begins above y -145 and ends below y -85; the lift turns and comes back
// six stronger. The replays climb through both lines faster than a pixel a frame.
TEST(Stall, BeginsAboveMinus145AndEndsBelowMinus85) {
    Flight f;
    f.cruise(8.0);
    f->aircraft.velY = 0.0;
    for (const double y : {-145.0, -145.5, -85.0, -84.5}) {
        f->aircraft.worldY = y;
        moveAircraft(*f.game);
        EXPECT_EQ(f->aircraft.stalled, y < -145.0 || y == -85.0 ? 1 : 0) << y;
    }
    EXPECT_EQ(f->aircraft.lift, 14.0);
}

// After a roll the gear and the exhaust stay hidden until Up or Down is pressed again, so the
// rolled-over body is not drawn with overlays that belong to the other side.
TEST(Roll, OverlaysHideAfterARollUntilUpOrDownIsHeld) {
    Flight f;
    f.cruise(8.0);
    PixelImage solid{204, 204, std::vector<uint32_t>(204 * 204, 0xFFFFFFFFu), {}};
    f.assets->frameSets[kFramesGear] = FrameSet{{solid}, 1};
    f.assets->frameSets[kFramesExhaustCruise] = FrameSet{{solid, solid, solid}, 3};
    f->gearSprite.frames = kFramesGear;
    f->exhaustCruiseSprite.frames = kFramesExhaustCruise;
    f->exhaustCruiseSprite.framesPerImage = 3;
    f->aircraft.screenX = 640;
    f->aircraft.screenY = 360;
    f->aircraft.spriteScale = 1.25;
    f->aircraft.physicsTimer = 2;

    f->aircraft.rollDone = 1;
    updateGear(*f.game);
    drawGear(*f.game);
    updateThrottle(*f.game);
    drawExhaust(*f.game);
    EXPECT_EQ(f.count(0xFFFFFFFFu), 0);
    f.keys[kVkDown] = 1;
    updateGear(*f.game);
    drawGear(*f.game);
    EXPECT_GT(f.count(0xFFFFFFFFu), 0) << "the gear shows again while Down is held";
    f.wipe();
    updateThrottle(*f.game);
    drawExhaust(*f.game);
    EXPECT_GT(f.count(0xFFFFFFFFu), 0) << "so does the cruise exhaust";
}

TEST(Gear, DeadOnTheRunwayAndOneReversalPerPressFromEitherEnd) {
    Flight parked;
    parked.keys[kVkG] = 1;
    updateGear(*parked.game);
    EXPECT_EQ(parked->aircraft.gearUp, 0);
    EXPECT_FALSE(parked.playing(kSoundGearMotor));

    Flight f;
    f.cruise(8.0);
    f.keys[kVkG] = 1;
    for (int i = 0; i < 5; ++i) updateGear(*f.game); // held: one reversal
    EXPECT_EQ(f->aircraft.gearUp, 1);
    EXPECT_EQ(f->aircraft.gearTravel, 5);
    EXPECT_TRUE(f.playing(kSoundGearMotor));

    f->keyLatchAG = 0; // a fresh press
    updateGear(*f.game);
    EXPECT_EQ(f->aircraft.gearUp, 0);
    EXPECT_EQ(f->aircraft.gearTravel, 17); // restarted from fully up, not from 6
}

TEST(Runway, TouchdownNeedsAnUprightAttitude) {
    struct Case {
        double pitch;
        uint8_t flipped;
        int lands;
    };
    for (const Case& c : {Case{180, 0, 1}, Case{115.5, 0, 1}, Case{115, 0, 0}, Case{200, 0, 0}, Case{0, 1, 1},
                          Case{64.5, 1, 1}, Case{65, 1, 0}, Case{180, 1, 0}}) {
        Flight f;
        f.cruise(5.0);
        f->aircraft.worldX = 19800.0;
        f->aircraft.worldY = 19838.0;
        f->altitude = 8;
        f->aircraft.pitch = c.pitch;
        f->aircraft.flipped = c.flipped;
        updateRunway(*f.game);
        EXPECT_EQ(f->aircraft.onGround, c.lands) << c.pitch << " " << int(c.flipped);
        EXPECT_EQ(f.playing(kSoundWheel), c.lands == 1) << c.pitch;
        EXPECT_EQ(f->aircraft.worldY, 19838.0 - c.lands); // lifted one pixel while in contact
    }
    Flight untouched; // at a sortie start: silent, and re-armed without a notice
    untouched->aircraft.onGround = untouched->aircraft.reloaded = 0;
    updateRunway(*untouched.game);
    EXPECT_EQ(untouched->aircraft.onGround, 1);
    EXPECT_FALSE(untouched.playing(kSoundWheel));
    EXPECT_EQ(untouched->aircraft.reloaded, 1);
    EXPECT_EQ(untouched->reloadNotice, 0);
}

TEST(Runway, ReArmsOnlyAtExactlyZeroAndOncePerStay) {
    Flight f;
    f.cruise(1e-12); // what closing by 0.1 steps can leave for a frame
    f->aircraft.worldX = 19900.0;
    f->aircraft.worldY = 19836.0;
    f->altitude = 10;
    f->aircraft.pitch = 170.0;
    f->aircraft.fuel = 12.0;
    f->roundsFired = 50;
    updateRunway(*f.game);
    EXPECT_EQ(f->aircraft.onGround, 1);
    EXPECT_EQ(f->aircraft.reloaded, 0);
    EXPECT_EQ(f->aircraft.pitch, 171.0); // levelled while not yet re-armed

    f->aircraft.airspeed = 0.0;
    updateRunway(*f.game);
    EXPECT_EQ(f->aircraft.reloaded, 1);
    EXPECT_EQ(f->aircraft.worldX, 19100.0);
    EXPECT_EQ(f->aircraft.pitch, 180.0);
    EXPECT_EQ(f->aircraft.fuel, 400.0);
    EXPECT_EQ(f->roundsFired, 0);
    EXPECT_EQ(f->terrainScrollX, -19350.0);
    EXPECT_EQ(f->reloadNotice, 160);

    f->roundsFired = 7;
    f->aircraft.worldX = 19500.0;
    f.wipe();
    drawReloadNotice(*f.game);
    updateRunway(*f.game);
    EXPECT_GT(f.count(0xFF00FF00u), 0) << "\"Aircraft Reloaded.\" in green";
    EXPECT_EQ(f->reloadNotice, 159);
    EXPECT_EQ(f->roundsFired, 7);

    f->altitude = 40; // a bob after lift-off keeps the runway state
    updateRunway(*f.game);
    EXPECT_EQ(f->aircraft.reloaded, 1);
    f->altitude = 41;
    updateRunway(*f.game);
    EXPECT_EQ(f->aircraft.onGround + f->aircraft.reloaded, 0);
}

TEST(Runway, ObstaclePastTheEastEndEndsTheSortie) {
    struct Case {
        double x, y;
        int32_t sector;
        int crashes;
    };
    for (const Case& c : {Case{20700, 19827, 0, 1}, Case{20650.5, 19830, 0, 1}, Case{20650, 19830, 0, 0},
                          Case{20800, 19830, 0, 0}, Case{20700, 19826.9, 0, 0}, Case{20700, 19830, 1, 0}}) {
        Flight f;
        f->aircraft.worldX = c.x;
        f->aircraft.worldY = c.y;
        f->sector = c.sector;
        f->camera.cameraX = c.x - 640.0;
        f->camera.cameraY = 19400.0;
        f->groundScreenY = 19617.0 - f->camera.cameraY;
        checkRunwayEndCollision(*f.game);
        EXPECT_EQ(f.game->outcome == Outcome::Crashed, c.crashes == 1) << c.x << " " << c.y;
        EXPECT_EQ(f->missionOver, c.crashes);
    }
}

TEST(Resets, ANewGameRestoresTheUpgradedFlightValuesASortieKeepsThem) {
    Flight f;
    f->aircraft.maxSpeed = 12;
    f->aircraft.pitchUpRate = 1.4;
    f.cruise(9.0);
    f->aircraft.gearUp = f->aircraft.stalled = 1;
    f->bombRightOfTruck = 1; // which way the next sortie's first wreck is thrown
    resetMission(*f.game);
    EXPECT_EQ(f->aircraft.maxSpeed, 12);
    EXPECT_EQ(f->aircraft.pitchUpRate, 1.4);
    EXPECT_EQ(f->aircraft.airspeed, 0.0);
    EXPECT_EQ(f->aircraft.gearUp + f->aircraft.stalled, 0);
    EXPECT_EQ(f->aircraft.onGround + f->aircraft.reloaded, 2);
    EXPECT_EQ(f->altitude, 10);
    resetNewGame(*f.game);
    EXPECT_EQ(f->aircraft.maxSpeed, 8);
    EXPECT_EQ(f->aircraft.pitchUpRate, 1.0);
    EXPECT_EQ(f->bombRightOfTruck, 1) << "neither reset clears it";
}
