// The weapons, the convoy, the blasts and the smoke trail: the gun and its sound, the trigger
// latch shared by gun and bombs, the truck windows of rounds and bombs, how trucks die and are
// counted, the escape, full tables, and the smoke ring. Headless, without loading any asset
// (real mixer voices stand in for the sounds, so plays can be observed).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/blasts.h"
#include "combat/convoy.h"
#include "combat/outcome.h"
#include "combat/weapons.h"
#include "flight/smoke.h"
#include "game/game_state.h"
#include "game/world.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

constexpr int kWatchedSounds[] = {kSoundGunFire,        kSoundGroundHit,        kSoundGunHit,
                                  kSoundTruckWrecked,   kSoundBombDrop,         kSoundDetonationClose,
                                  kSoundDetonationFar};

// A mission-1 sortie parked on the runway, with a canvas and observable sounds, and the blast
// strips stood in for by 12 tiny images so blasts animate as loaded ones do.
struct CombatGame {
    std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    std::unique_ptr<GameState> game = newGameState(*assets);
    uint8_t* keys = game->keys;
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kCanvasWidth * kCanvasHeight, 0);

    CombatGame() {
        assets->canvas = Canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, pixels.data()};
        for (FrameSet* set : {&assets->bombBlastFrames, &assets->missileBlastFrames}) {
            set->images.assign(12, PixelImage{2, 2, std::vector<uint32_t>(4, 0xFFFF0000u)});
            set->count = 12;
        }
        for (int slot : kWatchedSounds) assets->sounds[slot].voice = mixerCreateVoice(std::vector<int16_t>(2000, 0), false);
        game->mission = 1;
        resetNewGame(*game);
        resetMission(*game);
    }
    ~CombatGame() {
        for (SoundEffect& sound : assets->sounds) mixerReleaseVoice(sound.voice);
    }
    GameState* operator->() { return game.get(); }
    bool playing(int slot) { return isPlaying(assets->sounds[slot]); }
    void silence() {
        for (int slot : kWatchedSounds) stopSound(assets->sounds[slot]);
    }
    // Airborne in section 1, gear up, level and heading east.
    void airborne() {
        game->aircraft.onGround = 0;
        game->aircraft.gearUp = 1;
        game->aircraft.worldY = 19000;
        game->sector = 1;
    }
    // One truck of the convoy at x in section 1.
    Truck& truckAt(int32_t index, double x) {
        if (game->truckCount <= index) game->truckCount = index + 1;
        Truck& truck = game->trucks[index];
        truck = Truck{};
        truck.x = x;
        truck.y = kRoadY;
        truck.sector = 1;
        truck.alive = 1;
        truck.hitPoints = 80;
        truck.wreckAngle = 180;
        return truck;
    }
    // A round already in flight that reaches the ground at world x this frame.
    void roundLandingAt(double x) {
        game->roundsFired = 1;
        Bullet& bullet = game->bullets[1];
        bullet = Bullet{};
        bullet.worldX = x;
        bullet.worldY = kBulletGroundY;
        bullet.sector = 1;
    }
    // A bomb about to land at world x.
    void bombLandingAt(double x) {
        game->bombsDropped = 1;
        Bomb& bomb = game->bombs[0];
        bomb = Bomb{};
        bomb.worldX = x;
        bomb.worldY = kRoadY;
        bomb.velY = 0.0;
        bomb.drawDivisor = 4;
        bomb.sector = 1;
        bomb.active = 1;
    }
};

} // namespace

TEST(Gun, OneRoundAFrameWhileHeldWithItsLoopUntilReleaseOrEmpty) {
    CombatGame f;
    f.airborne();
    f->gunRounds = 3;
    f.keys[kVkSpace] = 1;
    fireGun(*f.game);
    EXPECT_EQ(f->roundsFired, 1);
    EXPECT_TRUE(f.playing(kSoundGunFire));
    EXPECT_EQ(f->bullets[1].active, 1) << "the first round takes slot 1";
    EXPECT_EQ(f->bullets[0].active, 0);
    fireGun(*f.game);
    EXPECT_EQ(f->roundsFired, 2);
    EXPECT_TRUE(f.playing(kSoundGunFire));
    fireGun(*f.game); // the last round stops the loop at once
    EXPECT_EQ(f->roundsFired, 3);
    EXPECT_FALSE(f.playing(kSoundGunFire));
    fireGun(*f.game);
    EXPECT_EQ(f->roundsFired, 3);

    f->roundsFired = 0;
    fireGun(*f.game);
    EXPECT_FALSE(f.playing(kSoundGunFire)) << "the trigger was never let go: no new burst";
    f.keys[kVkSpace] = 0;
    fireGun(*f.game);
    EXPECT_EQ(f->triggerLatch, 0);
    f.keys[kVkSpace] = 1;
    fireGun(*f.game);
    EXPECT_TRUE(f.playing(kSoundGunFire));
    f.keys[kVkSpace] = 0;
    fireGun(*f.game);
    EXPECT_FALSE(f.playing(kSoundGunFire)) << "letting go stops the gun";
}

TEST(Gun, AHugeMagazineNeverFiresPastTheTable) {
    CombatGame f;
    f.airborne();
    f->gunRounds = 100000; // as a damaged save could say
    f.keys[kVkSpace] = 1;
    for (int i = 0; i < kBulletCapacity + 50; ++i) fireGun(*f.game);
    EXPECT_EQ(f->roundsFired, kBulletCapacity - 1);
    EXPECT_FALSE(f.playing(kSoundGunFire));
    moveBullets(*f.game); // walks every slot up to the count, and no further
    f->gunRounds = -5;
    f->roundsFired = -7;
    fireGun(*f.game);
    moveBullets(*f.game);
    EXPECT_EQ(f->roundsFired, -7);
}

TEST(Bombs, OnePerPressGearUpAndUprightAndTheGunsLatchHoldsThemBack) {
    CombatGame f;
    f.airborne();
    f->selectedWeapon = 2;
    f.keys[kVkSpace] = 1;
    releaseStores(*f.game);
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "one bomb per press";
    EXPECT_TRUE(f.playing(kSoundBombDrop));

    f.keys[kVkSpace] = 0;
    fireGun(*f.game); // a frame with the key up clears the latch
    f.keys[kVkSpace] = 1;
    f->aircraft.gearUp = 0;
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "gear down";
    f->aircraft.gearUp = 1;
    f->aircraft.pitch = 0; // heading west without the roll-over: inverted
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "inverted";
    EXPECT_EQ(f->triggerLatch, 0) << "the key stays armed";
    f->aircraft.flipped = 1; // rolled over: upright heading west
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 2) << "the same press releases once upright";

    // The gun's latch, set while Space is held, keeps bombs back after switching.
    f.keys[kVkSpace] = 0;
    fireGun(*f.game);
    f->selectedWeapon = 1;
    f.keys[kVkSpace] = 1;
    fireGun(*f.game);
    f->selectedWeapon = 2;
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 2);
}

TEST(Bombs, AnEmptyOrHostileRackReleasesNothingAndStaysInsideTheTable) {
    CombatGame f;
    f.airborne();
    f->selectedWeapon = 2;
    f->bombLoad = 1000;
    for (int i = 0; i < 200; ++i) {
        f.keys[kVkSpace] = i % 2;
        if (!f.keys[kVkSpace]) fireGun(*f.game);
        releaseStores(*f.game);
    }
    EXPECT_EQ(f->bombsDropped, kBombCapacity);
    moveBombs(*f.game);
    f->bombLoad = 0;
    f->bombsDropped = 0;
    f.keys[kVkSpace] = 0;
    fireGun(*f.game);
    f.keys[kVkSpace] = 1;
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 0);
    EXPECT_EQ(f->triggerLatch, 1) << "an empty rack still uses up the press";
}

TEST(Bombs, TheTruckWindowDecidesTheKillAndTheSideTheWreckFliesFrom) {
    struct Case {
        double offset; // bomb x less truck x
        bool destroys;
        bool right;
    };
    for (const Case c : {Case{40, true, true}, Case{10, true, false}, Case{-59, true, false}, Case{-60, false, false},
                         Case{147, true, true}, Case{148, false, false}}) {
        CombatGame f;
        f.airborne();
        f->bombRightOfTruck = !c.right;
        Truck& truck = f.truckAt(0, 5000);
        f.bombLandingAt(5000 + c.offset);
        moveBombs(*f.game);
        // The bomb's own window, before its blast reaches anything.
        EXPECT_EQ(truck.alive, c.destroys ? 0 : 1) << c.offset;
        EXPECT_EQ(f->trucksDestroyed, c.destroys ? 1 : 0) << c.offset;
        if (c.destroys) {
            EXPECT_EQ(f->bombRightOfTruck, c.right ? 1 : 0) << c.offset;
        }
        EXPECT_EQ(f->bombBlastCount, 1);
        EXPECT_EQ(f->bombs[0].active, 0);
    }
}

TEST(Bombs, ALowReleaseCatchesTheAircraftInItsOwnBlast) {
    CombatGame f;
    f.airborne();
    f->aircraft.worldX = 5000;
    f->aircraft.worldY = 19800; // within 70 pixels of the bomb's ground
    f.bombLandingAt(4990);
    moveBombs(*f.game);
    EXPECT_STREQ(f->outcome, "Blew");
    EXPECT_EQ(f->missionOver, 1);
    EXPECT_EQ(f->outcomeFresh, 1);
    EXPECT_TRUE(f.playing(kSoundDetonationClose));

    CombatGame high;
    high.airborne();
    high->aircraft.worldX = 5000;
    high->aircraft.worldY = 18000;
    high.bombLandingAt(4990);
    moveBombs(*high.game);
    EXPECT_STREQ(high->outcome, "NULL");
    EXPECT_TRUE(high.playing(kSoundDetonationFar));
}

TEST(Rounds, HitTrucksInTheirWindowAndBurnThemAtZero) {
    CombatGame f;
    f.airborne();
    f.truckAt(0, 5000);
    f.truckAt(1, 5200);
    f.roundLandingAt(5100); // right of truck 0's window (5065), left of truck 1's (5150)
    f.silence();
    moveBullets(*f.game);
    EXPECT_TRUE(f.playing(kSoundGroundHit));
    EXPECT_FALSE(f.playing(kSoundGunHit)) << "between two windows only the ground is hit";
    EXPECT_EQ(f->trucks[0].hitPoints, 80);
    EXPECT_EQ(f->trucks[1].hitPoints, 80);
    EXPECT_EQ(f->bullets[1].worldY, 0) << "the round is retired";

    f->trucks[0].hitPoints = 10;
    f.roundLandingAt(5000);
    f->bullets[1].sector = 0;
    moveBullets(*f.game);
    EXPECT_EQ(f->trucks[0].hitPoints, 10) << "a round fired in another section";
    f.roundLandingAt(5000);
    f.silence();
    moveBullets(*f.game);
    EXPECT_TRUE(f.playing(kSoundGunHit));
    EXPECT_TRUE(f.playing(kSoundTruckWrecked));
    EXPECT_EQ(f->trucks[0].burning, 1);
    EXPECT_EQ(f->trucks[0].alive, 1) << "it dies, and counts, in the truck step";
}

TEST(Convoy, AGunKillCountsOnceAndOnlyBeyondSectionZero) {
    CombatGame f;
    f.truckAt(0, 5000).hitPoints = 0;
    f->trucks[0].burning = 1;
    f->sector = 0;
    updateTrucks(*f.game);
    EXPECT_EQ(f->trucks[0].alive, 1);
    EXPECT_EQ(f->trucksDestroyed, 0);
    f->sector = 1;
    updateTrucks(*f.game);
    updateTrucks(*f.game);
    EXPECT_EQ(f->trucks[0].alive, 0);
    EXPECT_EQ(f->trucksDestroyed, 1);
    EXPECT_EQ(f->objectiveDone, 1) << "the only truck is dead";
}

TEST(Convoy, ABlastKillsWithoutCountingAndTheWreckIsThrownOnce) {
    CombatGame f;
    f.airborne();
    f.truckAt(0, 5000);
    f.truckAt(1, 5100);
    startGroundBlast(*f.game, BlastKind::Bomb, 5060); // 60 from truck 0, 40 from truck 1
    updateBlasts(*f.game);
    EXPECT_EQ(f->trucks[0].alive, 0);
    EXPECT_EQ(f->trucks[1].alive, 0);
    EXPECT_EQ(f->trucksDestroyed, 0);
    f->randomState = 7;
    updateTrucks(*f.game);
    EXPECT_EQ(f->trucks[0].wreckLaunched, 1);
    uint32_t expected = 7;
    for (int draw = 0; draw < 6; ++draw) expected = expected * 214013u + 2531011u;
    EXPECT_EQ(f->randomState, expected) << "three numbers per wreck, two wrecks";
    EXPECT_LT(f->trucks[0].wreckVelX, 0) << "thrown west: the flag says no bomb landed right of it";
    EXPECT_EQ(f->objectiveDone, 1);
    const uint32_t after = f->randomState;
    updateTrucks(*f.game);
    EXPECT_EQ(f->randomState, after) << "thrown once";
}

TEST(Convoy, TheWreckRisesFallsLandsWithOneSoundAndSettles) {
    CombatGame f;
    Truck& truck = f.truckAt(0, 5000);
    truck.alive = 0;
    int sounds = 0;
    for (int frame = 0; frame < 400; ++frame) {
        f.silence();
        updateTrucks(*f.game);
        sounds += f.playing(kSoundTruckWrecked) ? 1 : 0;
    }
    EXPECT_EQ(sounds, 1);
    EXPECT_GE(truck.wreckY, 19810);
    const double a = truck.wreckAngle;
    EXPECT_TRUE((a >= 1.5 && a <= 2.5) || (a >= 178.5 && a <= 179.5) || (a >= 358.5 && a <= 359.5)) << a;
    EXPECT_DOUBLE_EQ(settleWreckAngle(-100), 100.5);
    EXPECT_DOUBLE_EQ(settleWreckAngle(720), 2);
    EXPECT_DOUBLE_EQ(settleWreckAngle(45), 44.5);
    EXPECT_DOUBLE_EQ(settleWreckAngle(359), 359);
}

TEST(Convoy, TheLeadTruckEscapesAfter15200FramesAtDifficultyZero) {
    CombatGame f;
    setUpMissionOneConvoy(*f.game, 0);
    ASSERT_EQ(f->truckCount, 4);
    EXPECT_EQ(f->trucks[0].x, 2000);
    EXPECT_EQ(f->trucks[3].x, -1000);
    for (int frame = 1; frame <= 15200; ++frame) updateTrucks(*f.game);
    EXPECT_EQ(f->missionOver, 0);
    updateTrucks(*f.game);
    EXPECT_EQ(f->missionOver, 1);
    EXPECT_STREQ(f->outcome, "Escaped");
    EXPECT_EQ(f->trucks[0].x, 0);

    setUpMissionOneConvoy(*f.game, 3);
    EXPECT_EQ(f->truckCount, 20);
    EXPECT_EQ(f->trucks[19].hitPoints, 180);
    EXPECT_EQ(f->trucks[19].speed, 4.0);
    EXPECT_EQ(f->trucks[19].x, 2000 - 19000);
    f->truckCount = 50; // as a damaged save could leave it
    updateTrucks(*f.game);
    setUpConvoy(*f.game);
}

TEST(Blasts, AFullTableReplaysItsOldestFinishedBlastAndNeverWritesPastItsEnd) {
    CombatGame f;
    for (int i = 0; i < kBombBlastCapacity; ++i) startGroundBlast(*f.game, BlastKind::Bomb, 1000.0 * i);
    EXPECT_EQ(f->bombBlastCount, kBombBlastCapacity);
    startGroundBlast(*f.game, BlastKind::Bomb, 99999); // none finished yet: refused
    EXPECT_EQ(f->bombBlastCount, kBombBlastCapacity);
    for (int frame = 0; frame < 12 * 3 + 2; ++frame) updateBlasts(*f.game);
    EXPECT_EQ(f->bombBlasts[0].finished, 1);
    startGroundBlast(*f.game, BlastKind::Bomb, 77777);
    EXPECT_EQ(f->bombBlastCount, kBombBlastCapacity);
    EXPECT_EQ(f->bombBlasts[0].worldX, 77777);
    EXPECT_EQ(f->bombBlasts[0].finished, 0);
    EXPECT_EQ(f->bombBlasts[0].imageIndex, 0);
}

TEST(Blasts, ThePaceComesFromTheResetAndAGroundBlastLeavesAMark) {
    CombatGame f;
    EXPECT_EQ(f->bombBlasts[5].framesPerImage, 40 / 12) << "after a sortie reset";
    resetNewGame(*f.game);
    EXPECT_EQ(f->missileBlasts[800].framesPerImage, 30 / 12);
    resetMission(*f.game);
    f->groundScreenY = 600;
    f->camera.cameraY = 18700; // the air blast on the screen
    startGroundBlast(*f.game, BlastKind::Bomb, 500);
    startAirBlast(*f.game, BlastKind::Missile, 500, 19000);
    int frames = 0;
    while (!f->bombBlasts[0].finished && frames < 100) {
        updateBlasts(*f.game);
        ++frames;
    }
    EXPECT_EQ(frames, 11 * 3 + 1) << "each image three frames, the last one once";
    updateBlasts(*f.game);
    EXPECT_EQ(f->craters[0].active, 1);
    EXPECT_EQ(f->blastMarks[0].active, 0) << "a blast in the air leaves no mark";

    f->frozen = 1;
    const double x = f->missileBlasts[0].screenX;
    f->camera.cameraX += 50;
    updateBlasts(*f.game);
    EXPECT_EQ(f->missileBlasts[0].screenX, x) << "frozen: it does not follow the camera";
}

TEST(Smoke, TheRingWrapsAndAModeTwoPuffLivesEightyOneFrames) {
    CombatGame f;
    f->smokeMode = 2;
    resetSmoke(*f.game);
    f->aircraft.airspeed = 8;
    f->aircraft.spriteScale = 1.25;
    f->aircraft.screenX = 400;
    f->aircraft.screenY = 300;
    // The first puff comes on the third frame, into slot 0.
    for (int frame = 0; frame < 3; ++frame) updateSmoke(*f.game);
    ASSERT_EQ(f->smokeIndex, 0);
    const SmokePuff& puff = f->smokePuffs[0];
    int life = 1;
    int drawn = puff.size >= 2 ? 1 : 0;
    while (life < 200) {
        f->aircraft.airspeed = 0; // no new puffs
        updateSmoke(*f.game);
        ++life;
        if (!puff.active) break;
        drawn += puff.size >= 2 ? 1 : 0;
    }
    EXPECT_EQ(life, 81);
    EXPECT_EQ(drawn, 66);

    f->aircraft.airspeed = 8;
    f->smokeIndex = kSmokePuffCount - 1;
    f->smokeTimer = 2;
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeIndex, 0) << "the 51st puff replaces the oldest";

    f.keys[kVkS] = 1;
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeMode, 3);
    EXPECT_EQ(f->smokeIndex, 0);
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeMode, 3) << "once per press";
    f.keys[kVkS] = 0;
    updateSmoke(*f.game);
    f.keys[kVkS] = 1;
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeMode, 0);
}

TEST(Weapons, CtrlCyclesGunBombsMissilesOncePerPress) {
    CombatGame f;
    EXPECT_EQ(f->selectedWeapon, 1);
    f.keys[kVkCtrl] = 1;
    cycleWeapon(*f.game);
    cycleWeapon(*f.game);
    EXPECT_EQ(f->selectedWeapon, 2);
    for (int press = 0; press < 2; ++press) {
        f.keys[kVkCtrl] = 0;
        cycleWeapon(*f.game);
        f.keys[kVkCtrl] = 1;
        cycleWeapon(*f.game);
    }
    EXPECT_EQ(f->selectedWeapon, 1);
}
