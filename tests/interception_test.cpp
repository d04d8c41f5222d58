// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Mission 2's interception at the edges its replays do not reach: the cargo aircraft's hit
// boxes, collisions and tail hits, the base line, and the
// missiles with the lock-on and its tones.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "combat/cargo.h"
#include "combat/hits.h"
#include "combat/missiles.h"
#include "combat/weapons.h"
#include "game/world.h"
#include "platform/audio.h"
#include "test_game.h"

namespace {

// Mission 2 at difficulty 0 (three cargo aircraft), the aircraft flying level east in section
// -1 with the camera at the section's origin; aircraft 0 is moved there too.
struct Interception : TestGame {
    Interception() {
        launch(2);
        game->sector = -1;
        game->aircraft.gearUp = 1;
        game->aircraft.pitch = game->aircraft.pitchAtStep = 180.0;
        game->aircraft.spriteScale = 1.25;
        fly(5000.0, 7000.0);
        game->cargoAircraft[0].sector = -1;
        game->selectedWeapon = kWeaponMissiles;
        game->missileLoad = 4;
    }
    CargoAircraft& cargo(int i) { return game->cargoAircraft[i]; }

    // The aircraft at a world point, the camera 600 and 300 px up and left of it.
    void fly(double worldX, double worldY) {
        game->aircraft.worldX = worldX;
        game->aircraft.worldY = worldY;
        game->camera.cameraX = worldX - 600.0;
        game->camera.cameraY = worldY - 300.0;
        game->aircraft.screenX = 600.0;
        game->aircraft.screenY = 300.0;
    }
    // Places aircraft i so that box A's top-left corner is at screen (left, top).
    void placeCargo(int i, double left, double top) {
        cargo(i).x = left - 20 + 150 + game->camera.cameraX;
        cargo(i).y = top - 13 + 25 + game->camera.cameraY;
    }
    Bomb& bomb(int slot, double viewX, double viewY, double screenX) {
        Bomb& b = game->bombs[slot];
        b = Bomb{};
        b.active = 1;
        b.sector = game->sector;
        b.viewX = viewX;
        b.viewY = viewY;
        b.worldX = screenX + game->camera.cameraX;
        b.worldY = viewY + game->camera.cameraY;
        return b;
    }
};

} // namespace

TEST(CargoBoxes, BoundsAreTruncatedAndExclusive) {
    Interception t;
    t->camera.cameraX = 0.0;
    t->camera.cameraY = 0.0;
    t.cargo(0).x = 130.5; // L = -19.5: box A from 0.5, truncated to 0
    t.cargo(0).y = 100.0; // T = 75
    const CargoBoxes boxes = cargoBoxes(*t.game, t.cargo(0));
    EXPECT_EQ(boxes.a.left, 0);
    EXPECT_EQ(boxes.a.right, 400);
    EXPECT_EQ(boxes.c.left, -77) << "-77.5 truncates toward zero";
    EXPECT_EQ(boxes.d.top, 57);
    EXPECT_EQ(boxes.d.bottom, 75);
    EXPECT_FALSE(strictlyWithinRect(boxes.a, 0.0, 100.0)) << "on the left bound";
    EXPECT_TRUE(strictlyWithinRect(boxes.a, 0.01, 100.0));
    EXPECT_FALSE(strictlyWithinRect(boxes.a, 400.0, 100.0)) << "on the right bound";
    EXPECT_FALSE(strictlyWithinRect(boxes.a, 200.0, 88.0)) << "on the top bound";
    EXPECT_TRUE(strictlyWithinRect(boxes.a, 200.0, 88.5));
    EXPECT_FALSE(strictlyWithinRect(boxes.a, 200.0, 146.0)) << "on the bottom bound";
}

TEST(CargoCollision, OnlyALiveAircraftInTheSectionIsFlownInto) {
    Interception t;
    t.placeCargo(0, 600.0, 290.0); // box A around the nose, 38 px ahead of the aircraft
    t.cargo(0).hitPoints = 0.0f;   // shot down and falling
    updateCargo(*t.game);
    EXPECT_FALSE(t->missionOver) << "a falling aircraft cannot be flown into";
    t.cargo(0).hitPoints = 50.0f;
    t.cargo(0).sector = -2;
    updateCargo(*t.game);
    EXPECT_FALSE(t->missionOver) << "an aircraft of another section is not there";
    t.cargo(0).sector = -1;
    updateCargo(*t.game);
    EXPECT_EQ(t.game->outcome, Outcome::Crashed);
}

TEST(CargoDamage, BombsHitTheFuselageWhereTheyAreAndTheTailWhereTheyWereReleased) {
    Interception t;
    t.placeCargo(0, 200.0, 100.0); // A: 200..600 x 100..158; C: 122..230 x 87..135
    t->bombsDropped = 2;
    t.bomb(0, 1000.0, 120.0, 400.0); // released far behind, now falling through the fuselage
    t.bomb(1, 1000.0, 110.0, 150.0); // now in the tail box, but released elsewhere
    updateCargo(*t.game);
    EXPECT_EQ(t.cargo(0).hitPoints, 80.0f);
    EXPECT_FALSE(t->bombs[0].active);
    EXPECT_TRUE(t->bombs[1].active);
    EXPECT_EQ(t->bombBlastCount, 1) << "one burst in the air";
    t.bomb(1, 150.0, 110.0, 1000.0); // in the tail by its release position
    updateCargo(*t.game);
    EXPECT_EQ(t.cargo(0).hitPoints, 60.0f);

    t.cargo(0).active = 0; // an inactive aircraft is not hit
    t.bomb(0, 300.0, 120.0, 300.0);
    updateCargo(*t.game);
    EXPECT_EQ(t.cargo(0).hitPoints, 60.0f);
}

TEST(CargoBase, TheFirstPastTwentyThousandInSectionZeroBombsItOnce) {
    Interception t;
    t.cargo(1).sector = -1;
    t.cargo(1).x = 39995.0;
    moveCargo(*t.game);
    EXPECT_EQ(t.cargo(1).sector, 0);
    EXPECT_EQ(t.cargo(1).x, -100.0);
    t.cargo(0).sector = 0;
    t.cargo(0).x = 20000.0 - t.cargo(0).speed;
    moveCargo(*t.game);
    EXPECT_FALSE(t->missionOver) << "exactly 20000 is not past it";
    moveCargo(*t.game);
    EXPECT_EQ(t.game->outcome, Outcome::Bombed);
    t->outcomeFresh = 0;
    moveCargo(*t.game);
    EXPECT_FALSE(t->outcomeFresh) << "raised once per aircraft";
}

TEST(Missiles, UnguidedReachesFiftyFivePixelsAFrameOnItsFortiethFrame) {
    Interception t;
    t->aircraft.pitchAtStep = 183.0; // heading 180 degrees: level, east
    t.keys[kVkSpace] = 1;
    releaseStores(*t.game);
    releaseStores(*t.game);
    ASSERT_EQ(t->missilesFired, 1) << "one per press";
    const Missile& m = t->missiles[0];
    double x = m.worldX;
    for (int frame = 1; frame <= 41; ++frame) {
        moveMissiles(*t.game);
        EXPECT_NEAR(m.worldX - x, frame < 40 ? frame + 15.0 : 55.0, 1e-9) << "frame " << frame;
        x = m.worldX;
    }
    EXPECT_NEAR(m.worldY, 7000.0, 1e-6);

    t->triggerLatch = 0;
    t->missilesFired = 4;
    releaseStores(*t.game);
    EXPECT_EQ(t->missilesFired, 4) << "none left: nothing launches";
    EXPECT_TRUE(t->triggerLatch) << "but the press is spent";
}

TEST(Missiles, LandingDestroysTheTruckUnderItAndLeavingTheSectionRetires) {
    Interception t;
    t->sector = 1;
    t->missilesFired = 2;
    Missile& down = t->missiles[0];
    down.active = 1;
    down.sector = 1;
    down.heading = std::atan2(-1.0, 0.0); // straight down
    down.worldX = t->trucks[1].x + 20;
    down.worldY = kMissileGroundY - 10;
    Missile& away = t->missiles[1];
    away.active = 1;
    away.sector = 1;
    away.heading = 0.0; // west
    away.worldX = 10.0;
    away.worldY = 9000.0;
    moveMissiles(*t.game);
    landProjectiles(*t.game);
    EXPECT_FALSE(down.active);
    EXPECT_FALSE(t->trucks[1].alive);
    EXPECT_TRUE(t->trucks[0].alive);
    EXPECT_EQ(t->trucksDestroyed, 1);
    EXPECT_FALSE(away.active);
    EXPECT_EQ(t->missileBlastCount, 1) << "leaving the section makes no blast";
}

TEST(LockOn, HeldFireKeyMarksTheNextSlotAndAMarkOutlivesRearmAndSortie) {
    Interception t;
    t.placeCargo(0, 900.0, 200.0);
    t->lockTarget = 0;
    t->triggerLatch = 1; // Space still down from an earlier press: nothing launches, yet the slot is marked
    t.keys[kVkSpace] = 1;
    updateLockOn(*t.game);
    releaseStores(*t.game);
    EXPECT_EQ(t->missilesFired, 0);
    EXPECT_TRUE(t->missiles[0].locked);
    EXPECT_EQ(t->missiles[0].target, 0);

    // A new sortie (and with it the re-arm's zeroed count): slot 0 homes on aircraft 0 again.
    t.launch(2);
    EXPECT_TRUE(t->missiles[0].locked);
    t->sector = t.cargo(0).sector = t.cargo(2).sector = -1;
    t->selectedWeapon = kWeaponMissiles;
    t->aircraft.gearUp = 1;
    t.fly(5000.0, 7000.0);
    t.placeCargo(0, 900.0, 200.0);
    t.placeCargo(2, 100.0, 600.0); // nearer, but slot 0 keeps its old target
    t->lockTarget = 2;
    t->triggerLatch = 0;
    releaseStores(*t.game);
    ASSERT_EQ(t->missilesFired, 1);
    const Missile& m = t->missiles[0];
    const double startX = m.worldX, startY = m.worldY;
    moveMissiles(*t.game);
    EXPECT_EQ(m.target, 0);
    EXPECT_GT(m.worldX, startX) << "toward aircraft 0, east and up";
    EXPECT_LT(m.worldY, startY);

    resetNewGame(*t.game);
    EXPECT_FALSE(t->missiles[0].locked) << "only a new game clears the marks";
}

TEST(LockOn, TonesStartOnceAndKeepPlaying) {
    Interception t;
    const SoundEffect& lock = t.assets->sounds[kSoundLockTone];
    const SoundEffect& search = t.assets->sounds[kSoundSearchTone];
    t.placeCargo(0, 900.0, 200.0);
    t->lockTarget = 0;
    updateLockOn(*t.game);
    ASSERT_TRUE(isPlaying(lock));
    ASSERT_TRUE(isPlaying(search));
    EXPECT_EQ(mixerVoiceVolume(lock.voice), -700);
    std::vector<int16_t> out(2 * 1000);
    mixAudio(out.data(), 1000);
    const uint32_t lockAt = mixerVoicePosition(lock.voice);
    ASSERT_GT(lockAt, 0u);
    for (int i = 0; i < 5; ++i) updateLockOn(*t.game);
    EXPECT_EQ(mixerVoicePosition(lock.voice), lockAt) << "not rewound every frame";

    t->selectedWeapon = kWeaponGun;
    updateLockOn(*t.game);
    EXPECT_FALSE(isPlaying(lock)) << "the gun drops the lock";
    EXPECT_TRUE(isPlaying(search)) << "the search tone keeps looping";
}
