// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The weapons, the convoy, the blasts and the smoke trail, at the edges the convoy replays do
// not reach: the gun's and the bombs' latches, the truck windows of rounds and bombs, how
// trucks die and are counted, the escape at difficulty 0, a full blast table, and the smoke
// modes.

#include <gtest/gtest.h>

#include <memory>

#include "combat/blasts.h"
#include "combat/hits.h"
#include "combat/targets.h"
#include "combat/trucks.h"
#include "combat/weapons.h"
#include "flight/smoke.h"
#include "game/world.h"
#include "missions/missions.h"
#include "test_game.h"

namespace {

// A mission-1 sortie airborne in section 1, gear up, level and heading east, with the blast
// strips stood in for by 12 tiny images so blasts animate as loaded ones do.
struct Combat : TestGame {
    Combat() {
        for (FrameSet* set : {&assets->frameSets[kFramesBombBlast], &assets->frameSets[kFramesMissileBlast]}) {
            set->images.assign(12, PixelImage{2, 2, std::vector<uint32_t>(4, 0xFFFF0000u), {}});
            set->count = 12;
        }
        launch(1);
        game->truckCount = 0; // each test lays out its own convoy
        game->aircraft.onGround = 0;
        game->aircraft.gearUp = 1;
        game->aircraft.worldY = 19000;
        game->sector = 1;
    }
    void silence() {
        for (SoundEffect& sound : assets->sounds) stopSound(sound);
    }
    // Truck `index` of the convoy alone at x in section 1.
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
    // A round in flight that reaches the ground at world x this frame.
    void roundLandingAt(double x) {
        game->roundsFired = 1;
        game->bullets[1] = Bullet{};
        game->bullets[1].worldX = x;
        game->bullets[1].worldY = kBulletGroundY;
        game->bullets[1].sector = 1;
        game->bullets[1].active = 1;
    }
    void bombLandingAt(double x) {
        game->bombsDropped = 1;
        Bomb& bomb = game->bombs[0];
        bomb = Bomb{};
        bomb.worldX = x;
        bomb.worldY = kRoadY;
        bomb.drawDivisor = 4;
        bomb.sector = 1;
        bomb.active = 1;
    }
    // A frame of the trigger with Space up, which clears its latch.
    void letGo() {
        keys[kVkSpace] = 0;
        fireGun(*game);
        keys[kVkSpace] = 1;
    }
};

} // namespace

TEST(Gun, OneRoundAFrameWhileHeldWithItsLoopUntilReleaseOrEmpty) {
    Combat f;
    f->gunRounds = 3;
    f.keys[kVkSpace] = 1;
    fireGun(*f.game);
    EXPECT_EQ(f->bullets[1].active, 1) << "the first round takes slot 1";
    EXPECT_TRUE(f.playing(kSoundGunFire));
    fireGun(*f.game);
    fireGun(*f.game); // the last round stops the loop at once
    EXPECT_EQ(f->roundsFired, 3);
    EXPECT_FALSE(f.playing(kSoundGunFire));
    fireGun(*f.game);
    EXPECT_EQ(f->roundsFired, 3);

    f->roundsFired = 0;
    fireGun(*f.game);
    EXPECT_FALSE(f.playing(kSoundGunFire)) << "the trigger was never let go: no new burst";
    f.letGo();
    fireGun(*f.game);
    EXPECT_TRUE(f.playing(kSoundGunFire));
    f.keys[kVkSpace] = 0;
    fireGun(*f.game);
    EXPECT_FALSE(f.playing(kSoundGunFire)) << "letting go stops the gun";
}

TEST(Bombs, OnePerPressGearUpAndUprightAndTheGunsLatchHoldsThemBack) {
    Combat f;
    f->selectedWeapon = kWeaponBombs;
    f.keys[kVkSpace] = 1;
    releaseStores(*f.game);
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "one bomb per press";
    EXPECT_TRUE(f.playing(kSoundBombDrop));

    f.letGo();
    f->aircraft.gearUp = 0;
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "gear down";
    f->aircraft.gearUp = 1;
    f->aircraft.pitch = 0; // heading west without the roll-over: inverted
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 1) << "inverted";
    f->aircraft.flipped = 1; // rolled over: upright heading west
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 2) << "the same press releases once upright";

    // The gun's latch, set while Space is held, keeps bombs back after switching.
    f.letGo();
    f->selectedWeapon = kWeaponGun;
    fireGun(*f.game);
    f->selectedWeapon = kWeaponBombs;
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 2);

    // An empty rack still uses up the press.
    f->bombLoad = f->bombsDropped = 0;
    f.letGo();
    releaseStores(*f.game);
    EXPECT_EQ(f->bombsDropped, 0);
    EXPECT_EQ(f->triggerLatch, 1);
}

TEST(Bombs, TheTruckWindowDecidesTheKillAndTheSideTheWreckFliesFrom) {
    struct Case {
        double offset; // bomb x less truck x
        bool destroys;
        bool right;
    };
    for (const Case c : {Case{40, true, true}, Case{10, true, false}, Case{-59, true, false}, Case{-60, false, false},
                         Case{147, true, true}, Case{148, false, false}}) {
        Combat f;
        f->bombRightOfTruck = !c.right;
        Truck& truck = f.truckAt(0, 5000);
        f.bombLandingAt(5000 + c.offset);
        landProjectiles(*f.game);
        // The bomb's own window, before its blast reaches anything.
        EXPECT_EQ(truck.alive, c.destroys ? 0 : 1) << c.offset;
        EXPECT_EQ(f->trucksDestroyed, c.destroys ? 1 : 0) << c.offset;
        if (c.destroys) {
            EXPECT_EQ(f->bombRightOfTruck, c.right ? 1 : 0) << c.offset;
        }
        EXPECT_EQ(f->bombBlastCount, 1);
    }
}

TEST(Rounds, HitTrucksInTheirWindowAndBurnThemAtZero) {
    Combat f;
    f.truckAt(0, 5000);
    f.truckAt(1, 5200);
    f.roundLandingAt(5100); // right of truck 0's window (5065), left of truck 1's (5150)
    f.silence();
    landProjectiles(*f.game);
    EXPECT_TRUE(f.playing(kSoundGroundHit));
    EXPECT_FALSE(f.playing(kSoundGunHit)) << "between two windows only the ground is hit";
    EXPECT_EQ(f->trucks[0].hitPoints + f->trucks[1].hitPoints, 160);

    f->trucks[0].hitPoints = 10;
    f.roundLandingAt(5000);
    f->bullets[1].sector = 0;
    landProjectiles(*f.game);
    EXPECT_EQ(f->trucks[0].hitPoints, 10) << "a round fired in another section";
    f.roundLandingAt(5000);
    f.silence();
    landProjectiles(*f.game);
    EXPECT_TRUE(f.playing(kSoundTruckWrecked));
    EXPECT_EQ(f->trucks[0].burning, 1);
    EXPECT_EQ(f->trucks[0].alive, 1) << "it dies, and counts, in the truck step";
}

TEST(Convoy, AGunKillCountsOnceBeyondSectionZeroABlastKillNever) {
    Combat f;
    f.truckAt(0, 5000).hitPoints = 0;
    f->trucks[0].burning = 1;
    f->sector = 0;
    updateTrucks(*f.game);
    EXPECT_EQ(f->trucks[0].alive, 1);
    f->sector = 1;
    updateTrucks(*f.game);
    updateTrucks(*f.game);
    EXPECT_EQ(f->trucks[0].alive, 0);
    EXPECT_EQ(f->trucksDestroyed, 1);
    markObjectiveIfMet(*f.game, ObjectiveCheck::kAfterTargets);
    EXPECT_EQ(f->objectiveDone, 1) << "the only truck is dead";

    Combat b;
    b.truckAt(0, 5000);
    b.truckAt(1, 5100);
    startGroundBlast(*b.game, BlastKind::Bomb, 5060); // 60 from truck 0, 40 from truck 1
    updateBlasts(*b.game);
    EXPECT_EQ(b->trucks[0].alive + b->trucks[1].alive, 0);
    EXPECT_EQ(b->trucksDestroyed, 0);
    updateTrucks(*b.game);
    EXPECT_EQ(b->trucks[0].wreckLaunched, 1);
    EXPECT_LT(b->trucks[0].wreckVelX, 0) << "thrown west: the flag says no bomb landed right of it";
    markObjectiveIfMet(*b.game, ObjectiveCheck::kAfterTargets);
    EXPECT_EQ(b->objectiveDone, 1);
    const uint32_t after = b->randomState;
    updateTrucks(*b.game);
    EXPECT_EQ(b->randomState, after) << "thrown once";
}

TEST(Convoy, AWreckSettlesLevelFromAnyAngle) {
    EXPECT_DOUBLE_EQ(settleWreckAngle(-100), 100.5);
    EXPECT_DOUBLE_EQ(settleWreckAngle(720), 2);
    EXPECT_DOUBLE_EQ(settleWreckAngle(45), 44.5);
    EXPECT_DOUBLE_EQ(settleWreckAngle(359), 359);
}

TEST(Convoy, TheLeadTruckEscapesAfter15200FramesAtDifficultyZero) {
    Combat f;
    setUpMissionOneConvoy(*f.game, 0);
    ASSERT_EQ(f->truckCount, 4);
    EXPECT_EQ(f->trucks[3].x, -1000);
    for (int frame = 1; frame <= 15200; ++frame) updateTrucks(*f.game);
    EXPECT_EQ(f->missionOver, 0);
    updateTrucks(*f.game);
    EXPECT_EQ(f.game->outcome, Outcome::Escaped);

    setUpMissionOneConvoy(*f.game, 3);
    EXPECT_EQ(f->truckCount, 20);
    EXPECT_EQ(f->trucks[19].hitPoints, 180);
    EXPECT_EQ(f->trucks[19].speed, 4.0);
    f->truckCount = 50; // as a damaged save could leave it
    updateTrucks(*f.game);
    setUpDrivingConvoy(*f.game);
}

TEST(Blasts, AFullTableReplaysItsOldestFinishedBlastAndAGroundBlastLeavesAMark) {
    Combat f;
    for (int i = 0; i < kBombBlastCapacity; ++i) startGroundBlast(*f.game, BlastKind::Bomb, 1000.0 * i);
    startGroundBlast(*f.game, BlastKind::Bomb, 99999); // none finished yet: refused
    EXPECT_EQ(f->bombBlastCount, kBombBlastCapacity);
    int frames = 0;
    while (!f->bombBlasts[0].finished && frames < 100) {
        updateBlasts(*f.game);
        ++frames;
    }
    EXPECT_EQ(frames, 11 * 3 + 1) << "each image three frames, the last one once";
    updateBlasts(*f.game);
    EXPECT_EQ(f->craters[0].active, 1);
    startGroundBlast(*f.game, BlastKind::Bomb, 77777);
    EXPECT_EQ(f->bombBlastCount, kBombBlastCapacity);
    EXPECT_EQ(f->bombBlasts[0].worldX, 77777);
    EXPECT_EQ(f->bombBlasts[0].finished, 0);

    Combat air;
    air->groundScreenY = 600;
    air->camera.cameraY = 18700; // the air blast on the screen
    startAirBlast(*air.game, BlastKind::Missile, 500, 19000);
    for (int i = 0; i < 40; ++i) updateBlasts(*air.game);
    EXPECT_EQ(air->blastMarks[0].active + air->craters[0].active, 0) << "a blast in the air leaves no mark";
    startAirBlast(*air.game, BlastKind::Missile, 500, 19000);
    air->frozen = 1;
    const double x = air->missileBlasts[1].screenX;
    air->camera.cameraX += 50;
    updateBlasts(*air.game);
    EXPECT_EQ(air->missileBlasts[1].screenX, x) << "frozen: it does not follow the camera";
}

TEST(Smoke, AModeTwoPuffLivesEightyOneFramesAndSCyclesTheModeOncePerPress) {
    Combat f;
    f->smokeMode = 2;
    resetSmoke(*f.game);
    f->aircraft.airspeed = 8;
    f->aircraft.spriteScale = 1.25;
    f->aircraft.screenX = 400;
    f->aircraft.screenY = 300;
    for (int frame = 0; frame < 3; ++frame) updateSmoke(*f.game);
    ASSERT_EQ(f->smokeIndex, 0) << "the first puff comes on the third frame, into slot 0";
    const SmokePuff& puff = f->smokePuffs[0];
    f->aircraft.airspeed = 0; // no new puffs
    int life = 1;
    while (life < 200 && puff.active) {
        updateSmoke(*f.game);
        ++life;
    }
    EXPECT_EQ(life, 81);

    f.keys[kVkS] = 1;
    updateSmoke(*f.game);
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeMode, 3) << "once per press";
    f.keys[kVkS] = 0;
    updateSmoke(*f.game);
    f.keys[kVkS] = 1;
    updateSmoke(*f.game);
    EXPECT_EQ(f->smokeMode, 0);
}

// Saves and bests hold lock numbers: each names one target of a kind missiles lock on to, the
// cargo aircraft keep their own indexes, and a number out of range names nothing.
TEST(Targets, LockNumbersNameEachLockableTargetOnce) {
    TargetRef target{};
    int32_t named = 0;
    for (int32_t kind = 0; kind < kTargetKinds; ++kind) {
        const TargetRow& row = targetRow(TargetKind(kind));
        for (int32_t i = 0; row.missileLock && i < row.capacity; ++i, ++named) {
            ASSERT_TRUE(targetOfLock(lockNumber(TargetKind(kind), i), &target));
            EXPECT_TRUE(target.kind == kind && target.index == i) << kind << " " << i;
        }
    }
    EXPECT_EQ(named, lockNumbers());
    EXPECT_EQ(lockNumber(kTargetCargo, kCargoCapacity - 1), kCargoCapacity - 1);
    EXPECT_FALSE(targetOfLock(-1, &target));
    EXPECT_FALSE(targetOfLock(lockNumbers(), &target));
}

// A mission's number is its place in the table, which the save, the dump and the scripts rely on.
TEST(Missions, EachRowSitsAtItsNumberWithLevelsThatFit) {
    for (int32_t m = 1; m <= missionCount(); ++m) {
        const MissionRow& row = missionRow(Mission(m));
        EXPECT_EQ(row.mission, m);
        EXPECT_EQ(&mapMission(m - 1), &row);
        EXPECT_TRUE(row.levels >= 1 && row.levels <= kLevelSlots) << m;
        EXPECT_TRUE(row.setUp && row.objectiveMet && row.mapMarker.opensAt == m) << m;
    }
    EXPECT_EQ(missionRow(Mission(missionCount() + 1)).mission, kMissionNone);
}

// The sites fill from the first slot and refuse when full; every take-off empties them.
TEST(Targets, SitesAreClaimedInOrderUntilFullAndEmptiedAtSetUp) {
    auto game = std::make_unique<GameState>();
    for (int32_t i = 0; i < kSiteCapacity; ++i) {
        Site* site = claimSite(*game, kTargetTruck);
        ASSERT_EQ(site, &game->sites[i]);
        EXPECT_EQ(site->alive, 1);
    }
    EXPECT_EQ(claimSite(*game, kTargetTruck), nullptr);
    EXPECT_EQ(game->siteCount, kSiteCapacity);
    setUpTargetKinds(*game);
    EXPECT_EQ(game->siteCount, 0);
}
