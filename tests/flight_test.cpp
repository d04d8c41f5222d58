// The flight model, the gear and the runway: the sector lookup and the approach rules, the
// throttle and afterburner, the pitch keys, the stall, the roll-over, the gear schedule and its
// latch, touchdown and re-arming, the runway-end obstacle, and a take-off and a landing flown
// frame by frame. Runs on the headless back end without loading any asset.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/game_state.h"
#include "assets/sound.h"
#include "combat/outcome.h"
#include "flight/flight.h"
#include "flight/gear.h"
#include "platform/mixer.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;

// A sortie-start game record with its own keys, mouse, canvas and solid-ink large font, and real
// mixer voices in the engine, gear and wheel slots so that sounds can be observed.
struct FlightGame {
    std::unique_ptr<GameState> game = std::make_unique<GameState>();
    uint8_t keys[kKeyTableSize] = {};
    MouseState mouse;
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kCanvasWidth * kCanvasHeight, 0);
    std::vector<uint32_t> inkSheet = std::vector<uint32_t>(kLargeSheetWidth * kLargeSheetHeight, 0xFF000000u);

    FlightGame() {
        GameState& g = *game;
        g.keys = keys;
        g.mouse = &mouse;
        g.canvas = Canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, pixels.data()};
        g.largeFont = BitmapFont{16, 28, 32, inkSheet.data()};
        resetFlightConstants(g);
        resetAircraft(g);
        resetGearAndRunway(g);
        g.worldX = 19100.0;
        g.worldY = 19836.0;
        g.throttleUntouched = 1;
        g.sector = 0;
        for (int slot : {kSoundEngineCruise, kSoundEngineLow, kSoundAfterburner, kSoundWheel, kSoundGearMotor}) {
            g.sounds[slot].voice = mixerCreateVoice(std::vector<int16_t>(2000, 0), false);
        }
    }
    ~FlightGame() {
        for (SoundEffect& sound : game->sounds) mixerReleaseVoice(sound.voice);
    }
    GameState& operator*() { return *game; }
    GameState* operator->() { return game.get(); }

    bool playing(int slot) { return isPlaying(game->sounds[slot]); }
    uint32_t pixel(int x, int y) { return pixels[y * kCanvasWidth + x]; }
    void wipe() { std::fill(pixels.begin(), pixels.end(), 0u); }

    // Airborne and cruising east at the top of the throttle.
    void cruise(double airspeed = 8.0) {
        game->onGround = 0;
        game->reloaded = 0;
        game->worldY = 15000.0;
        game->altitude = 4846;
        game->airspeed = airspeed;
        game->lift = airspeed;
        game->throttleUntouched = 0;
    }

    // The latches the dispatcher clears once their keys are up.
    void releaseLatches() {
        GameState& g = *game;
        if (!keys[kVkUp] && !keys[kVkDown] && g.rollReturning && g.rollFrame == 0 && g.rollActive) {
            g.rollDone = 0;
            g.rollActive = 0;
            g.rollReturning = 0;
        }
        if (!keys[kVkA] && !keys[kVkG]) g.keyLatchAG = 0;
        if (!keys[kVkZ]) g.keyLatchZ = 0;
    }

    // One sortie frame of the flight steps in the dispatcher's order, with the camera held still
    // and the altitude written afterwards as the cockpit does.
    void flyFrame() {
        GameState& g = *game;
        moveAircraft(g);
        if (g.physicsTimer > 0) g.physicsTimer -= 1;
        updateRunway(g);
        checkRunwayEndCollision(g);
        updatePitchAndRoll(g);
        releaseLatches();
        updateGear(g);
        drawAircraftBody(g);
        updateThrottle(g);
        g.altitude = (int32_t)(19846.0 - g.worldY);
    }

    void throttleFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            updateThrottle(*game);
            releaseLatches();
        }
    }
};

} // namespace

TEST(FlightRules, SectorBoundaries) {
    EXPECT_EQ(attitudeSector(357.0), 0);
    EXPECT_EQ(attitudeSector(360.0), 0);
    EXPECT_EQ(attitudeSector(0.0), 0);
    EXPECT_EQ(attitudeSector(3.999), 0);
    EXPECT_EQ(attitudeSector(4.0), 1);
    EXPECT_EQ(attitudeSector(356.999), 19);
    EXPECT_EQ(attitudeSector(90.0), 5);
    EXPECT_EQ(attitudeSector(176.9), 9);
    EXPECT_EQ(attitudeSector(177.0), 10);
    EXPECT_EQ(attitudeSector(180.0), 10);
    EXPECT_EQ(attitudeSector(184.0), 11);
    EXPECT_EQ(attitudeSector(270.0), 15);
}

TEST(FlightRules, PlainRuleStepsByOneAndOvershoots) {
    EXPECT_EQ(stepToward(3.0, 3.0), 3.0);
    EXPECT_EQ(stepToward(0.0, 0.5), 1.0);
    EXPECT_EQ(stepToward(0.0, -12.1), -1.0);

    // -4 - 8.1 is never met: the value settles into alternating between its whole neighbours.
    const double target = gearUpTarget(attitudeSector(20.0), 8.1, 8.1).x;
    EXPECT_NEAR(target, -12.1, 1e-9);
    double v = 0.0;
    for (int i = 0; i < 12; ++i) v = stepToward(v, target);
    EXPECT_EQ(v, -12.0);
    v = stepToward(v, target);
    EXPECT_EQ(v, -13.0);
    v = stepToward(v, target);
    EXPECT_EQ(v, -12.0);
}

TEST(FlightRules, GroundRulePullsTowardZeroOnlyOnTheRunway) {
    EXPECT_EQ(stepGround(2.0, 5.0, true), 1.0);
    EXPECT_EQ(stepGround(-1.0, -5.0, true), 0.0);
    // Resting with velY 0 the target may lift the aircraft one step: this is how it takes off.
    EXPECT_EQ(stepGround(0.0, -3.1, true), -1.0);
    EXPECT_EQ(stepGround(-1.0, -5.0, false), -2.0);
    EXPECT_EQ(stepGround(2.0, 5.0, false), 3.0);
}

TEST(FlightRules, LevelRuleHoldsOrSinksButNeverClimbs) {
    EXPECT_EQ(stepLevel(3.0, 6.0, true), 2.0);
    EXPECT_EQ(stepLevel(0.0, 6.0, true), 0.0);
    EXPECT_EQ(stepLevel(0.0, -2.1, false), 0.0);
    EXPECT_EQ(stepLevel(0.0, 0.5, false), 1.0);
    EXPECT_EQ(stepLevel(-3.0, -10.0, false), -2.0);
    EXPECT_EQ(stepLevel(2.0, 0.5, false), 1.0);
    EXPECT_EQ(stepLevel(1.0, 4.0, false), 2.0);
}

TEST(FlightPhysics, LevelFlightHoldsHeightWithTheGearUpAndSinksWithItDown) {
    FlightGame f;
    f.cruise(8.1);
    f->gearUp = 1;
    f->velY = -3.0;
    for (int i = 0; i < 40; ++i) runFlightPhysics(*f);
    EXPECT_EQ(f->velY, 0.0);
    EXPECT_TRUE(f->velX == 13.0 || f->velX == 14.0) << f->velX;
    EXPECT_EQ(f->physicsTimer, kPhysicsPeriodGearUp);
    EXPECT_EQ(f->pitchAtStep, 180.0);

    // Gear down with the nose level: a climb is damped away and the aircraft sinks toward 6 - L.
    f->gearUp = 0;
    f->lift = 4.0;
    f->velY = -2.0;
    runFlightPhysics(*f);
    EXPECT_EQ(f->velY, -1.0);
    EXPECT_EQ(f->physicsTimer, kPhysicsPeriodGearDown);
    for (int i = 0; i < 10; ++i) runFlightPhysics(*f);
    EXPECT_EQ(f->velY, 2.0);
}

TEST(FlightPhysics, GearScheduleStepsEveryThreeFramesUpAndFourDown) {
    for (uint8_t gearUp : {1, 0}) {
        FlightGame f;
        f.cruise(8.0);
        f->gearUp = gearUp;
        f->gearTravel = gearUp ? kGearTravelUp : 0;
        f->physicsTimer = 3;
        for (int frame = 0; frame < 24; ++frame) {
            if (f->physicsTimer > 0) f->physicsTimer -= 1;
            updateGear(*f);
        }
        // x closes on its target by one per step from 0: the count of steps taken.
        EXPECT_EQ(f->velX, gearUp ? 8.0 : 6.0);
    }
}

TEST(Throttle, ClimbsToAboutEightPointOneThenTheAfterburnerNeedsAFreshPress) {
    FlightGame f;
    f.keys[kVkA] = 1;
    f.throttleFrames(80);
    EXPECT_LT(f->airspeed, 8.0);
    f.throttleFrames(1);
    EXPECT_EQ((int)f->airspeed, 8);
    EXPECT_NEAR(f->airspeed, 8.1, 1e-9);
    EXPECT_NEAR(f->lift, 8.1, 1e-9);
    EXPECT_EQ(f->throttleUntouched, 0);
    EXPECT_TRUE(f.playing(kSoundEngineCruise));

    f.throttleFrames(50); // still held: the latch stops it at the top
    EXPECT_NEAR(f->airspeed, 8.1, 1e-9);
    EXPECT_EQ(f->throttleStage, 1);

    f.keys[kVkA] = 0;
    f.throttleFrames(1);
    f.keys[kVkA] = 1;
    f.throttleFrames(1);
    EXPECT_EQ(f->airspeed, 12.0);
    EXPECT_EQ(f->lift, 12.0);
    EXPECT_EQ(f->throttleStage, 3);
    EXPECT_TRUE(f.playing(kSoundAfterburner));
    EXPECT_FALSE(f.playing(kSoundEngineCruise));
    EXPECT_EQ(mixerVoiceVolume(f->sounds[kSoundAfterburner].voice), -1200);

    f.keys[kVkA] = 0;
    f.keys[kVkZ] = 1;
    f.throttleFrames(1);
    EXPECT_EQ(f->airspeed, 8.0);
    EXPECT_EQ(f->lift, 8.0);
    EXPECT_EQ(f->throttleStage, 2);
    EXPECT_TRUE(f.playing(kSoundEngineCruise));
    EXPECT_FALSE(f.playing(kSoundAfterburner));
    EXPECT_EQ(mixerVoiceVolume(f->sounds[kSoundEngineCruise].voice), -800);
    f.throttleFrames(5); // Z still held: the afterburner's shut-off latched it
    EXPECT_EQ(f->airspeed, 8.0);
}

TEST(Throttle, ClosingStopsNearFourInTheAirAndReachesZeroOnlyOnTheRunway) {
    for (uint8_t gearUp : {0, 1}) {
        FlightGame f;
        f.cruise(8.0);
        f->gearUp = gearUp;
        f.keys[kVkZ] = 1;
        f.throttleFrames(200);
        EXPECT_GT(f->airspeed, 3.85) << int(gearUp);
        EXPECT_LT(f->airspeed, 4.05) << int(gearUp);
    }

    FlightGame f;
    f->airspeed = 5.0;
    f->lift = 5.0;
    f.keys[kVkZ] = 1;
    f.throttleFrames(30);
    EXPECT_TRUE(f.playing(kSoundEngineLow));
    EXPECT_EQ(mixerVoiceVolume(f->sounds[kSoundEngineLow].voice), -1000);
    f.throttleFrames(100);
    EXPECT_EQ(f->airspeed, 0.0); // exactly: re-arming waits for it
    EXPECT_EQ(f->lift, 0.0);
}

TEST(Throttle, DeadWhileStalledOrPastAnEdgeOrWithoutFuel) {
    for (int gate = 0; gate < 3; ++gate) {
        FlightGame f;
        f->stalled = gate == 0;
        f->edgeArmed = gate != 1;
        f->fuel = gate == 2 ? 0.0 : 400.0;
        f.keys[kVkA] = 1;
        f.throttleFrames(10);
        EXPECT_EQ(f->airspeed, 0.0) << gate;
        EXPECT_EQ(f->throttleUntouched, 1) << gate;
    }
}

TEST(PitchKeys, DeadBelowTurningSpeedAndWrapAtTheCircle) {
    FlightGame f;
    f.cruise(3.8);
    f.keys[kVkRight] = 1;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 180.0);

    f->airspeed = 3.9;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 180.5); // nose down heading east: pitchDownRate
    f->flipped = 1;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 181.5); // rolled over the same key uses pitchUpRate

    f->pitch = 359.5;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 0.0);
    f->pitch = 359.0;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 360.0); // 360 itself stays

    f.keys[kVkRight] = 0;
    f.keys[kVkLeft] = 1;
    f->flipped = 0;
    f->pitch = 0.5;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 360.0);

    f->stalled = 1;
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->pitch, 360.0);
}

TEST(Stall, AboveTheCeilingLiftTurnsNegativeAndRecoversSixStronger) {
    FlightGame f;
    f.cruise(8.0);
    f->worldY = -140.0;
    f->velY = -6.0;
    moveAircraft(*f);
    EXPECT_EQ(f->worldY, -146.0);
    EXPECT_EQ(f->stalled, 1);
    EXPECT_EQ(f->lift, -14.0);
    EXPECT_EQ(f.pixel(606, 351), kRed); // "STALL"

    // Still stalled and shown until the aircraft sinks below y -85.
    f.wipe();
    f->velY = 30.0;
    moveAircraft(*f);
    EXPECT_EQ(f->stalled, 1);
    EXPECT_EQ(f->lift, -14.0);
    EXPECT_EQ(f.pixel(606, 351), kRed);

    f.wipe();
    f->velY = 31.0; // y -85, h 10: not yet out, no longer shown
    moveAircraft(*f);
    EXPECT_EQ(f->stalled, 1);
    EXPECT_EQ(f.pixel(606, 351), 0u);

    f->velY = 1.0;
    moveAircraft(*f);
    EXPECT_EQ(f->stalled, 0);
    EXPECT_EQ(f->lift, 14.0);
}

TEST(Motion, AddsVelocityAndFollowsTheCameraUnlessFrozen) {
    FlightGame f;
    f.cruise(8.0);
    f->worldX = 1000.0;
    f->velX = 7.0;
    f->velY = -2.0;
    f->cameraX = 400.0;
    f->cameraY = 14700.0;
    moveAircraft(*f);
    EXPECT_EQ(f->worldX, 1007.0);
    EXPECT_EQ(f->screenX, 607.0);
    EXPECT_EQ(f->screenY, 298.0);
    f->frozen = 1;
    moveAircraft(*f);
    EXPECT_EQ(f->worldX, 1007.0);
    EXPECT_EQ(f->worldY, 14998.0);
}

TEST(Roll, ATapCompletesOverThreeFramesAndANewRollNeedsTheKeyReleased) {
    FlightGame f;
    f.cruise(8.0);
    f.keys[kVkUp] = 1;
    updatePitchAndRoll(*f);
    f.keys[kVkUp] = 0;
    f.releaseLatches();
    EXPECT_EQ(f->flipped, 0);
    updatePitchAndRoll(*f);
    f.releaseLatches();
    EXPECT_EQ(f->flipped, 0);
    updatePitchAndRoll(*f);
    EXPECT_EQ(f->flipped, 1);
    EXPECT_EQ(f->rollDone, 1);
    EXPECT_EQ(f->pitch, 180.0);
    f.releaseLatches();
    EXPECT_EQ(f->rollActive, 0);

    // Held down: one roll only.
    f.keys[kVkDown] = 1;
    for (int i = 0; i < 10; ++i) {
        updatePitchAndRoll(*f);
        f.releaseLatches();
    }
    EXPECT_EQ(f->flipped, 0);
    EXPECT_EQ(f->rollDone, 1);

    // On the runway the key does nothing.
    FlightGame parked;
    parked.keys[kVkUp] = 1;
    for (int i = 0; i < 3; ++i) updatePitchAndRoll(*parked);
    EXPECT_EQ(parked->rollActive, 0);
    EXPECT_EQ(parked->flipped, 0);
}

TEST(Gear, ReversesFromEitherEndAndSharesItsLatchWithA) {
    FlightGame parked;
    parked.keys[kVkG] = 1;
    updateGear(*parked);
    EXPECT_EQ(parked->gearUp, 0);
    EXPECT_FALSE(parked.playing(kSoundGearMotor));

    FlightGame f;
    f.cruise(8.0);
    f->physicsTimer = 3;
    f.keys[kVkG] = 1;
    updateGear(*f);
    EXPECT_EQ(f->gearUp, 1);
    EXPECT_EQ(f->gearTravel, 1);
    EXPECT_TRUE(f.playing(kSoundGearMotor));
    for (int i = 0; i < 4; ++i) updateGear(*f); // held: no second reversal
    EXPECT_EQ(f->gearUp, 1);
    EXPECT_EQ(f->gearTravel, 5);

    // G released but A still held: the shared latch keeps G dead.
    f.keys[kVkG] = 0;
    f.keys[kVkA] = 1;
    f.releaseLatches();
    f.keys[kVkG] = 1;
    updateGear(*f);
    EXPECT_EQ(f->gearUp, 1);

    f.keys[kVkA] = 0;
    f.keys[kVkG] = 0;
    f.releaseLatches();
    f.keys[kVkG] = 1;
    updateGear(*f);
    EXPECT_EQ(f->gearUp, 0);
    EXPECT_EQ(f->gearTravel, 17); // restarted from fully up, not from 6
    for (int i = 0; i < 30; ++i) updateGear(*f);
    EXPECT_EQ(f->gearTravel, 0);
}

TEST(Runway, TouchdownNeedsAnUprightAttitude) {
    struct Case {
        double pitch;
        uint8_t flipped;
        bool lands;
    };
    for (const Case& c : {Case{180, 0, true}, Case{115.5, 0, true}, Case{115, 0, false}, Case{200, 0, false},
                          Case{0, 1, true}, Case{64.5, 1, true}, Case{65, 1, false}, Case{180, 1, false}}) {
        FlightGame f;
        f.cruise(5.0);
        f->worldX = 19800.0;
        f->worldY = 19838.0;
        f->altitude = 8;
        f->pitch = c.pitch;
        f->flipped = c.flipped;
        updateRunway(*f);
        EXPECT_EQ(f->onGround, c.lands ? 1 : 0) << c.pitch << " " << int(c.flipped);
        EXPECT_EQ(f.playing(kSoundWheel), c.lands) << c.pitch << " " << int(c.flipped);
        EXPECT_EQ(f->worldY, c.lands ? 19837.0 : 19838.0); // lifted one pixel while in contact
    }
}

TEST(Runway, ReArmsOnlyAtAStandstillAndOncePerStay) {
    FlightGame f;
    f.cruise(0.1);
    f->worldX = 19900.0;
    f->worldY = 19836.0;
    f->altitude = 10;
    f->pitch = 170.0;
    f->fuel = 12.0;
    f->roundsFired = 50;
    f->bombsDropped = 2;
    f->missilesFired = 1;
    updateRunway(*f);
    EXPECT_EQ(f->onGround, 1);
    EXPECT_EQ(f->reloaded, 0);
    EXPECT_EQ(f->pitch, 171.0); // levelled while not yet re-armed
    EXPECT_EQ(f->worldY, 19836.0); // altitude 10 is on the runway but not lifted

    f->airspeed = 0.0;
    updateRunway(*f);
    EXPECT_EQ(f->reloaded, 1);
    EXPECT_EQ(f->worldX, 19100.0);
    EXPECT_EQ(f->pitch, 180.0);
    EXPECT_EQ(f->fuel, 400.0);
    EXPECT_EQ(f->roundsFired + f->bombsDropped + f->missilesFired, 0);
    EXPECT_EQ(f->backdropX, -275.0);
    EXPECT_EQ(f->terrainScrollX, -19350.0);
    EXPECT_EQ(f->cameraLead, 0);
    EXPECT_EQ(f->reloadNotice, 160);

    // The notice counts down while shown; a second stop in the same stay does not re-arm.
    f->roundsFired = 7;
    f->worldX = 19500.0;
    updateRunway(*f);
    EXPECT_EQ(f.pixel(506, 251), kGreen);
    EXPECT_EQ(f->reloadNotice, 159);
    EXPECT_EQ(f->roundsFired, 7);
    EXPECT_EQ(f->worldX, 19500.0);

    // Leaving the runway state: 41 pixels up, or past its end.
    f->altitude = 40;
    updateRunway(*f);
    EXPECT_EQ(f->reloaded, 1);
    f->altitude = 41;
    updateRunway(*f);
    EXPECT_EQ(f->onGround, 0);
    EXPECT_EQ(f->reloaded, 0);
}

TEST(Runway, NoWheelSoundOrNoticeBeforeTheThrottleIsTouched) {
    FlightGame f;
    f->onGround = 0;
    f->reloaded = 0;
    updateRunway(*f);
    EXPECT_EQ(f->onGround, 1);
    EXPECT_FALSE(f.playing(kSoundWheel));
    EXPECT_EQ(f->reloaded, 1);
    EXPECT_EQ(f->reloadNotice, 0);
}

TEST(Runway, ObstaclePastTheEastEndEndsTheSortie) {
    struct Case {
        double x, y;
        int32_t sector;
        bool crashes;
    };
    for (const Case& c : {Case{20700, 19827, 0, true}, Case{20650.5, 19830, 0, true}, Case{20650, 19830, 0, false},
                          Case{20800, 19830, 0, false}, Case{20700, 19826.9, 0, false},
                          Case{20700, 19830, 1, false}}) {
        FlightGame f;
        f->outcome = "NULL";
        f->worldX = c.x;
        f->worldY = c.y;
        f->sector = c.sector;
        f->cameraX = c.x - 640.0;
        f->cameraY = 19400.0;
        f->groundScreenY = 19617.0 - f->cameraY;
        checkRunwayEndCollision(*f);
        EXPECT_EQ(f->outcome, c.crashes ? "Crashed" : "NULL") << c.x << " " << c.y;
        EXPECT_EQ(f->missionOver, c.crashes ? 1 : 0);
    }
}

TEST(Exhaust, FollowsTheAircraftAndHidesAfterARollUntilTheKeyIsUp) {
    FlightGame f;
    f.cruise(8.0);
    FrameSet flames;
    flames.count = 3;
    flames.images.assign(3, PixelImage{8, 8, std::vector<uint32_t>(64, 0xFFFFFFFFu)});
    f->exhaustCruiseSprite.frames = &flames;
    f->exhaustCruiseSprite.framesPerImage = 3;
    f->screenX = 300.0;
    f->screenY = 200.0;
    updateThrottle(*f);
    EXPECT_NE(f.pixel(300, 200), 0u);
    EXPECT_EQ(f->exhaustCruiseSprite.x, 300.0);
    EXPECT_EQ(f->exhaustCruiseSprite.angle, 180.0);
    EXPECT_EQ(f->exhaustCruiseSprite.scale, 1.25);
    updateThrottle(*f);
    updateThrottle(*f);
    EXPECT_EQ(f->exhaustCruiseSprite.imageIndex, 1);

    f.wipe();
    f->rollDone = 1;
    updateThrottle(*f);
    EXPECT_EQ(f.pixel(300, 200), 0u);
    f.keys[kVkUp] = 1;
    updateThrottle(*f);
    EXPECT_NE(f.pixel(300, 200), 0u);
}

TEST(Sortie, TakesOffAndClimbsOutBeforeTheRunwayEnds) {
    FlightGame f;
    f->outcome = "NULL";
    f->cameraX = 0.0;
    f->cameraY = 0.0;
    f->groundScreenY = 19617.0;
    f.keys[kVkA] = 1;
    int32_t highestBeforeObstacle = 0;
    for (int frame = 0; frame < 1200 && !f->missionOver && f->worldX < 21000.0; ++frame) {
        // Nose up by 10 degrees once the throttle is at the top.
        f.keys[kVkLeft] = f->airspeed > 8.0 && f->pitch > 170.0;
        f.flyFrame();
        if (f->worldX < 20650.0) highestBeforeObstacle = f->altitude;
    }
    EXPECT_EQ(f->missionOver, 0) << "crashed at x " << f->worldX;
    EXPECT_GE(f->worldX, 21000.0);
    EXPECT_GT(highestBeforeObstacle, 41);
    EXPECT_GT(f->altitude, highestBeforeObstacle); // still climbing
    EXPECT_EQ(f->onGround, 0);
    EXPECT_EQ(f->reloaded, 0);
}

TEST(Sortie, LandsStopsAndIsReArmed) {
    FlightGame f;
    f.cruise(5.0);
    f->outcome = "NULL";
    f->groundScreenY = 19617.0;
    f->worldX = 19050.0;
    f->worldY = 19816.0; // altitude 30, gear down, nose level, sinking slowly
    f->altitude = 30;
    f->velX = 5.0;
    f->velY = 1.0;
    f->roundsFired = 100;
    bool touched = false;
    for (int frame = 0; frame < 600 && !f->reloaded; ++frame) {
        touched = touched || f->onGround;
        f.keys[kVkZ] = touched;
        f.flyFrame();
        ASSERT_LT(f->worldY, 19842.0) << "hit the ground at frame " << frame;
    }
    EXPECT_EQ(f->reloaded, 1);
    EXPECT_EQ(f->onGround, 1);
    EXPECT_EQ(f->airspeed, 0.0);
    EXPECT_EQ(f->roundsFired, 0);
    EXPECT_EQ(f->reloadNotice, 160);
}

TEST(Resets, ANewGameRestoresTheFlightValuesASortieKeepsThem) {
    FlightGame f;
    f->maxSpeed = 12;
    f->boostSpeed = 16;
    f->pitchUpRate = 1.4;
    f->gearUp = 1;
    f->airspeed = 9.0;
    f->onGround = 0;
    f->stalled = 1;
    resetMission(*f);
    EXPECT_EQ(f->maxSpeed, 12);
    EXPECT_EQ(f->boostSpeed, 16);
    EXPECT_EQ(f->pitchUpRate, 1.4);
    EXPECT_EQ(f->gearUp, 0);
    EXPECT_EQ(f->airspeed, 0.0);
    EXPECT_EQ(f->onGround, 1);
    EXPECT_EQ(f->reloaded, 1);
    EXPECT_EQ(f->stalled, 0);
    EXPECT_EQ(f->altitude, 10);
    resetNewGame(*f);
    EXPECT_EQ(f->maxSpeed, 8);
    EXPECT_EQ(f->boostSpeed, 12);
    EXPECT_EQ(f->pitchUpRate, 1.0);
}
