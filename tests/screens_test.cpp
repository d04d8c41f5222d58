// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Between sorties, where the campaign replay does not go: mission control's prices, effects,
// one step per press, full rows, hot-area edges, the time bonus table and the airshow's pay;
// the map's closed markers and the briefing's stars; the end of a sortie on the runway and a
// lost sortie's one-time sounds and Y; and the briefing text drawn by the platform. Each screen
// runs as the frame runs it.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>
#include <vector>

#include "app/dispatcher.h"
#include "app/inventory.h"
#include "missions/missions.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "raster/colours.h"
#include "save/save_file.h"
#include "screens/focus.h"
#include "screens/mission_control.h"
#include "temp_dir.h"
#include "test_game.h"

namespace {

// A new game on mission control.
struct Screens : TestGame {
    Screens() { game->screen = Screen::Control; }
    // A frame with the button held (or up) at (x, y).
    void click(int32_t x, int32_t y, bool down) {
        game->mouse.x = x;
        game->mouse.y = y;
        game->mouse.leftDown = down ? 1 : 0;
        runDispatcher(*game);
    }
    // A press and release at (x, y).
    void press(int32_t x, int32_t y) {
        click(x, y, true);
        click(x, y, false);
    }
    // A won mission as the runway leaves it: stopped on the ground, the clock stopped at `ms`.
    void won(int32_t mission, int32_t difficulty, int32_t ms) {
        game->mission = static_cast<Mission>(mission);
        game->difficulty = difficulty;
        game->missionsWon += 1;
        game->rewardPaid = 0;
        game->missionStopwatch = Stopwatch{};
        game->missionStopwatch.msPerTick = 1.0f;
        game->missionStopwatch.stopped = 1;
        game->missionStopwatch.stopCount = ms;
        game->screen = Screen::Control;
    }
};

constexpr int32_t kBuyX = 1190;
constexpr int32_t kRowY[kUpgradeRows] = {95, 156, 220, 283, 341};

// Every slot looping, as in a sortie with the gun, the tones, the drones and the crowd going.
void playEverySound(TestGame& s) {
    for (SoundEffect& sound : s.assets->sounds) playLooping(sound, 0);
}
int soundsPlayingBut(const TestGame& s, int except) {
    int count = 0;
    for (int slot = 0; slot < int(std::size(s.assets->sounds)); ++slot) count += slot != except && s.playing(slot);
    return count;
}

} // namespace

// One rectangle, two rules: every corner is in a control's area and the show box (withinRect) and
// out of a hit box (strictlyWithinRect); a field order or a comparison slipped shows here.
TEST(Rect, BoundsCountInForControlsAndOutForHitBoxes) {
    const Rect r{10, 20, 30, 40};
    for (const auto& [x, y] : {std::pair{10.0, 20.0}, {30.0, 40.0}, {10.0, 40.0}, {30.0, 20.0}}) {
        EXPECT_TRUE(withinRect(r, x, y)) << x << "," << y;
        EXPECT_FALSE(strictlyWithinRect(r, x, y)) << x << "," << y;
    }
    EXPECT_TRUE(strictlyWithinRect(r, 10.5, 39.5));
    for (const auto& [x, y] : {std::pair{9.9, 30.0}, {30.1, 30.0}, {20.0, 19.9}, {20.0, 40.1}}) {
        EXPECT_FALSE(withinRect(r, x, y)) << x << "," << y;
    }
    EXPECT_TRUE(mouseIn(MouseState{30, 40, 0, 0}, r));
    EXPECT_FALSE(mouseIn(MouseState{31, 40, 0, 0}, r));
}

TEST(MissionControl, EachRowHasItsPricesAndEffects) {
    EXPECT_EQ(upgradePrice(0, 1), 1100);
    EXPECT_EQ(upgradePrice(2, 9), 3500);
    EXPECT_EQ(upgradePrice(3, 9), 4800);
    EXPECT_EQ(upgradePrice(4, 9), 4600);
    const int32_t steps[] = {3, 3, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int32_t bought = 0; bought < 10; ++bought) EXPECT_EQ(missileStep(bought), steps[bought]) << bought;

    // One step of every row, bought with just enough money, each with its own press.
    Screens s;
    s->money = 800 + 800 + 800 + 1200 + 1000 + 200;
    for (int row = 0; row < kUpgradeRows; ++row) s.press(kBuyX, kRowY[row]);
    EXPECT_EQ(s->money, 200);
    EXPECT_EQ(s->aircraft.pitchUpRate, 1.0 + 0.20000000298023224);
    EXPECT_EQ(s->aircraft.pitchDownRate, 0.5 + 0.20000000298023224);
    EXPECT_EQ(s->aircraft.maxSpeed, 10);
    EXPECT_EQ(s->aircraft.boostSpeed, 14);
    EXPECT_EQ(s->gunRounds, 250);
    EXPECT_EQ(s->bombLoad, 7);
    EXPECT_EQ(s->missileLoad, 3);
    EXPECT_EQ(s->upgradePrices[kUpgradeTurn], 1100);
    EXPECT_EQ(s->upgradePrices[kUpgradeBombs], 1600);
    EXPECT_EQ(s->upgradePrices[kUpgradeMissiles], 1400);

    // The missile step is read before the purchase: 2 -> 3 adds 3, 3 -> 4 adds 4.
    s->upgradeSteps[kUpgradeMissiles] = 2;
    s->missileLoad = 0;
    s->money = 100000;
    s.press(kBuyX, kRowY[4]);
    EXPECT_EQ(s->missileLoad, 3);
    s.press(kBuyX, kRowY[4]);
    EXPECT_EQ(s->missileLoad, 7);
}

TEST(MissionControl, OnePressBuysOneStepWithinTheHotAreaAndOnlyWhatIsAffordable) {
    Screens s;
    s->money = 1000;
    s->clickLatch = 1; // the title's click, still held
    s.click(kBuyX, kRowY[0], true);
    EXPECT_EQ(s->upgradeSteps[kUpgradeTurn], 0);
    s.press(kBuyX, kRowY[0]);
    s.press(kBuyX, kRowY[0]);
    EXPECT_EQ(s->money, 200);
    EXPECT_EQ(s->upgradeSteps[kUpgradeTurn], 1);
    s.press(kBuyX, kRowY[1]); // 799 short
    EXPECT_EQ(s->upgradeSteps[kUpgradeEngine], 0);
    EXPECT_EQ(s->money, 200);

    s->money = 100000;
    for (int frame = 0; frame < 10; ++frame) s.click(kBuyX, kRowY[2], true);
    s.click(kBuyX, kRowY[2], false);
    EXPECT_EQ(s->upgradeSteps[kUpgradeGun], 1) << "held for ten frames";
    s->upgradeSteps[kUpgradeTurn] = kMaxUpgradeSteps;
    s.press(kBuyX, kRowY[0]);
    EXPECT_EQ(s->upgradeSteps[kUpgradeTurn], kMaxUpgradeSteps);
    // The hot area's edges: 1178..1202 by 83..106.
    s.press(1177, 95);
    s.press(1203, 156);
    EXPECT_EQ(s->money, 100000 - 800);
    s.press(1202, 168);
    EXPECT_EQ(s->upgradeSteps[kUpgradeEngine], 1);
}

TEST(MissionControl, TimeBonusByMissionAndTime) {
    Screens s;
    GameState& g = *s;
    g.mission = kMissionConvoy;
    g.missionsWon = 1;
    EXPECT_EQ(computeTimeBonus(g, 35000), 110);
    EXPECT_EQ(computeTimeBonus(g, 75000), 220); // 1:15, seconds within the minute
    EXPECT_EQ(computeTimeBonus(g, 125000), 0);
    EXPECT_EQ(computeTimeBonus(g, 45000), 0);
    EXPECT_EQ(computeTimeBonus(g, 20999), 220);
    EXPECT_EQ(computeTimeBonus(g, 21000), 110);
    EXPECT_EQ(computeTimeBonus(g, 40999), 110);
    EXPECT_EQ(computeTimeBonus(g, 41000), 0);
    g.missionsWon = 2;
    EXPECT_EQ(computeTimeBonus(g, 45999), 420);
    EXPECT_EQ(computeTimeBonus(g, 46000), 210);
    g.mission = kMissionCargo;
    EXPECT_EQ(computeTimeBonus(g, 160000), 500); // 2:40
    EXPECT_EQ(computeTimeBonus(g, 170000), 0);   // 2:50
    EXPECT_EQ(computeTimeBonus(g, 145000), 1000);
    EXPECT_EQ(computeTimeBonus(g, 119000), 1500);
    EXPECT_EQ(computeTimeBonus(g, 135000), 1500);
    EXPECT_EQ(computeTimeBonus(g, 150999), 1000); // 2:30
    EXPECT_EQ(computeTimeBonus(g, 151000), 500);
    EXPECT_EQ(computeTimeBonus(g, 165999), 500); // 2:45
    EXPECT_EQ(computeTimeBonus(g, 166000), 0);
    g.mission = kMissionAirshow;
    const std::pair<double, int32_t> shows[] = {{99999.5, 0},     {100000.0, 500},  {199999.5, 500},
                                                {200000.0, 1000}, {299999.5, 1000}, {300000.0, 1500},
                                                {399999.5, 1500}, {400000.0, 2000}, {500000.0, 2000}};
    for (const auto& [shown, bonus] : shows) {
        g.showTimeElapsed = shown;
        EXPECT_EQ(computeTimeBonus(g, 0), bonus) << shown;
    }
}

TEST(MissionControl, TheAirshowPaysItsTricksOnceAndALoadedGamePaysNothing) {
    Screens s;
    s.won(3, 0, 0);
    s->showEarnings = 120;
    s->showTimeElapsed = 200000.0;
    s.click(0, 0, false);
    s.click(0, 0, false);
    EXPECT_EQ(s->money, 1620);
    EXPECT_EQ(s->earned, 1620);
    EXPECT_EQ(s->reward, 500);

    s.won(1, 0, 35000);
    s->reward = 800;
    s->gameLoaded = 1;
    s.click(0, 0, false);
    EXPECT_EQ(s->money, 1620) << "after a load the results stay hidden and pay nothing";
}

TEST(MissionControl, AWinOpensTheNextLevelOnceAndTheArrowAndSaveButtonsAnswer) {
    Screens s;
    for (int i = 0; i < 2; ++i) {
        s.won(1, 0, 10000);
        s.click(0, 0, false);
    }
    EXPECT_EQ(s->missionsUnlocked, 2);
    EXPECT_EQ(s->unlockedDifficulty[kMissionConvoy], 1);
    s.won(1, 1, 10000);
    s.click(0, 0, false);
    EXPECT_EQ(s->unlockedDifficulty[kMissionConvoy], 2);
    s.won(2, 0, 10000);
    s.click(0, 0, false);
    EXPECT_EQ(s->missionsUnlocked, 3);
    EXPECT_EQ(s->unlockedDifficulty[kMissionCargo], 1);

    TempDir folder;
    s.assets->saveFolder = folder.path;
    s.press(100, 130);
    EXPECT_GT(s->savedNotice, 0);
    EXPECT_EQ(s->saveNoticeKind, kNoticeGameSaved);
    s.press(1271, 640);
    s.press(1220, 634);
    EXPECT_EQ(s->screen, Screen::Control) << "just outside the arrow";
    s.click(1270, 685, true);
    EXPECT_EQ(s->screen, Screen::Map);
}

// Each boundary of mission control met exactly and missed by one: the price and a dollar less,
// the tenth step and no eleventh, every control's hot area at its edges, the levels and missions
// a win opens, and money and wins held at the most an int32 holds.
TEST(MissionControl, EveryBoundaryMetExactlyAndMissedByOne) {
    TempDir folder; // no save in it
    Screens s;
    s.assets->saveFolder = folder.path;
    s.assets->savesHeldBack = true;
    const int32_t tenthPrices[kUpgradeRows] = {3500, 3500, 3500, 4800, 4600};
    for (int row = 0; row < kUpgradeRows; ++row) {
        s->upgradeSteps[row] = 9;
        s->money = tenthPrices[row] - 1;
        s.press(kBuyX, kRowY[row]);
        EXPECT_EQ(s->upgradeSteps[row], 9) << "a dollar short, row " << row;
        s->money += 1;
        s.press(kBuyX, kRowY[row]);
        EXPECT_EQ(s->money, 0) << "exactly the price, row " << row;
        s->money = 100000;
        s.press(kBuyX, kRowY[row]);
        s->keys[kVkSpace] = 1; // Space on the same icon
        s->focus = 2 + row;    // the buy icons follow save and load in the keys' order
        readNavigation(*s);
        s.click(0, 0, false);
        s->keys[kVkSpace] = 0;
        readNavigation(*s);
        EXPECT_EQ(s->upgradeSteps[row], 10) << "ten steps at most, row " << row;
        EXPECT_EQ(s->money, 100000) << row;
    }
    loadFonts(*s); // a full row's price is gone from the screen
    for (const int32_t steps : {9, 10}) {
        s->upgradeSteps[kUpgradeGun] = steps;
        s.wipe();
        s.click(0, 0, false);
        EXPECT_EQ(s.count(kBlack, 1205, 208, 1280, 232) > 0, steps < 10) << steps;
    }

    // A press at (x, y) buys a step, shows a notice or opens the map, or does nothing.
    const auto acts = [&s](int32_t x, int32_t y) {
        s->screen = Screen::Control;
        s->money = 100000;
        std::fill(std::begin(s->upgradeSteps), std::end(s->upgradeSteps), 0);
        s->savedNotice = 0;
        s.press(x, y);
        const int32_t steps = std::accumulate(std::begin(s->upgradeSteps), std::end(s->upgradeSteps), 0);
        return steps > 0 || s->savedNotice > 0 || s->screen != Screen::Control;
    };
    const Rect areas[] = {{1178, 83, 1202, 106},  {1178, 145, 1202, 168}, {1178, 209, 1202, 232},
                          {1178, 272, 1202, 295}, {1178, 330, 1202, 353}, {80, 115, 195, 165},
                          {80, 185, 195, 235},    {1220, 635, 1270, 685}};
    testing::internal::CaptureStderr(); // the load finds no save
    for (const Rect& a : areas) {
        for (const int32_t x : {a.left, a.right}) {
            for (const int32_t y : {a.top, a.bottom}) EXPECT_TRUE(acts(x, y)) << x << ", " << y;
        }
        EXPECT_FALSE(acts(a.left - 1, a.top) || acts(a.right + 1, a.bottom) || acts(a.left, a.top - 1) ||
                     acts(a.right, a.bottom + 1))
            << a.left << ", " << a.top;
    }
    testing::internal::GetCapturedStderr();

    // A win at the open level opens the next, up to 3, and a mission's first win the next mission
    // (the airshow's a fourth, when there is one); a win below or above the open level, or of an
    // earlier mission, opens nothing.
    struct Win {
        int32_t mission, difficulty, levelBefore, missionsBefore, levelAfter, missionsAfter;
    };
    const Win wins[] = {{1, 2, 2, 1, 3, 2}, {1, 3, 3, 2, 3, 2}, {3, 3, 3, 3, 3, 4}, {3, 0, 0, 3, 1, 4},
                        {1, 1, 2, 3, 2, 3}, {2, 2, 1, 3, 1, 3}, {1, 0, 0, 3, 1, 3}, {2, 0, 0, 2, 1, 3}};
    for (const Win& w : wins) {
        Screens g;
        g->unlockedDifficulty[w.mission] = w.levelBefore;
        g->missionsUnlocked = w.missionsBefore;
        g.won(w.mission, w.difficulty, 10000);
        g.click(0, 0, false);
        EXPECT_EQ(g->unlockedDifficulty[w.mission], w.levelAfter) << w.mission << " at " << w.difficulty;
        EXPECT_EQ(g->missionsUnlocked, std::min(w.missionsAfter, missionCount()))
            << w.mission << " at " << w.difficulty;
    }

    // A save may hold the most money and wins there are: a win adds to neither, and a clock that
    // ran longer than an int32 of milliseconds holds reads as the longest time, which pays nothing.
    Screens rich;
    rich.launch(1);
    rich->money = 2147483000;
    rich->missionsWon = 2147483647;
    rich->objectiveDone = 1;
    rich->trucksDestroyed = 4;
    rich->aircraft.airspeed = 0.0;
    startSortieClock(*rich);
    winWhenParked(*rich);
    rich->missionStopwatch.stopCount = rich->missionStopwatch.startCount + 4000000000000000000ll;
    rich.click(0, 0, false);
    EXPECT_EQ(rich->missionsWon, 2147483647);
    EXPECT_EQ(rich->money, 2147483647);
    EXPECT_EQ(rich->timeBonus, 0);
    EXPECT_EQ(rich->earned, 800);
}

TEST(MissionMap, OnlyOpenMarkersAnswerAndStarsOnlyUpToTheOpenLevel) {
    Screens s;
    s->screen = Screen::Map;
    s.press(760, 555); // mission 3's marker, not yet there
    s.press(830, 610); // mission 2's
    EXPECT_EQ(s->screen, Screen::Map);
    s->missionsUnlocked = 2;
    s->difficulty = 2;
    s.press(830, 610);
    EXPECT_EQ(s->mission, 2);
    EXPECT_EQ(s->difficulty, 0) << "picking a mission resets the level";
    EXPECT_EQ(s->screen, Screen::Briefing);

    s->mission = kMissionConvoy;
    s->unlockedDifficulty[kMissionConvoy] = 1;
    s.press(950, 560);
    EXPECT_EQ(s->difficulty, 0);
    s.press(830, 560);
    EXPECT_EQ(s->difficulty, 1);
    s.press(1260, 10); // close leads back to the map
    EXPECT_EQ(s->screen, Screen::Map);
}

TEST(Outcome, AWinNeedsTheAircraftStoppedAndCountsOnlyProjectileKills) {
    TestGame s;
    s.launch(1);
    startSortieClock(*s);
    EXPECT_EQ(s->sortieClockStarted, 1);
    s->objectiveDone = 1;
    s->trucksDestroyed = 3; // the fourth truck went to a blast
    s->cargoDestroyed = 1;
    s->aircraft.airspeed = 0.5;
    winWhenParked(*s);
    EXPECT_EQ(s->outcome, Outcome::Flying);
    s->aircraft.airspeed = 0.0;
    playEverySound(s);
    winWhenParked(*s);
    EXPECT_EQ(s->outcome, Outcome::Won);
    EXPECT_EQ(soundsPlayingBut(s, -1), 0) << "the sortie's sounds end with it";
    EXPECT_EQ(s->reward, 1000);
    EXPECT_EQ(s->missionStopwatch.stopped, 1);
    s->keys[kVkY] = 1;
    handleOutcome(*s);
    EXPECT_EQ(s->missionsWon, 1) << "Y does nothing while mission control is up";
    EXPECT_EQ(s->screen, Screen::Control);
}

// The rest of the win's frame still runs: a fresh Space there fires a round, but nothing it
// starts plays on over mission control.
TEST(Outcome, NothingTheWinsFrameStartsPlaysOn) {
    TestGame s;
    s.launch(1);
    s->objectiveDone = 1; // parked and stopped on the runway
    s.keys[kVkSpace] = 1;
    runDispatcher(*s);
    EXPECT_EQ(s->outcome, Outcome::Won);
    EXPECT_EQ(s->roundsFired, 1);
    EXPECT_EQ(soundsPlayingBut(s, -1), 0);
}

// The lost replays pin each loss's sounds and Y from an empty screen; here Y over a screen.
TEST(Outcome, AfterALossYStartsANewGameOnlyWithNoScreenUp) {
    TestGame s;
    s.launch(1);
    s->upgradeSteps[kUpgradeTurn] = 2;
    playEverySound(s);
    raiseCrash(*s, Outcome::Blew);
    handleOutcome(*s);
    EXPECT_TRUE(s.playing(kSoundDetonationFar));
    EXPECT_TRUE(s.playing(kSoundDetonationClose)) << "the blast that blew it up plays out";
    EXPECT_EQ(soundsPlayingBut(s, kSoundDetonationFar), 1) << "only the loss's own sounds";
    s.keys[kVkY] = 1;
    s->screen = Screen::Map;
    handleOutcome(*s);
    EXPECT_EQ(s->outcome, Outcome::Blew);
    s->screen = Screen::None;
    playEverySound(s);
    handleOutcome(*s);
    EXPECT_EQ(soundsPlayingBut(s, -1), 0);
    EXPECT_EQ(s->screen, Screen::Title);
    EXPECT_EQ(s->upgradeSteps[kUpgradeTurn], 0);
}

namespace {

// Ink (what is not white) of one platformDrawText over a white texture, as composited.
std::vector<bool> inkOfText(const char* text, int32_t left, int32_t top, int32_t right) {
    static const std::vector<uint32_t> white(size_t(kClientWidth) * kClientHeight, 0xFFFFFFFFu);
    static const TextureHandle backing = platformCreateTexture(white.data(), kClientWidth, kClientHeight);
    int32_t pitch = 0;
    uint32_t* canvas = platformBeginFrame(&pitch);
    std::fill(canvas, canvas + kClientWidth * kClientHeight, 0u);
    platformDrawTexture(backing, 0, 0);
    platformDrawText(text, left, top, right, top + 600);
    platformPresentFrame();
    std::vector<uint32_t> frame(size_t(kClientWidth) * kClientHeight);
    headlessCompositeLastFrame(frame.data());
    std::vector<bool> ink(frame.size());
    for (size_t i = 0; i < frame.size(); ++i) ink[i] = (frame[i] & 0xFFFFFFu) != 0xFFFFFFu;
    return ink;
}

int inkIn(const std::vector<bool>& ink, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += ink[size_t(y) * kClientWidth + size_t(x)] ? 1 : 0;
    }
    return count;
}

int firstInkColumn(const std::vector<bool>& ink, int from, int top, int bottom) {
    for (int x = from; x < kClientWidth; ++x) {
        if (inkIn(ink, x, top, x + 1, bottom) > 0) return x;
    }
    return -1;
}

} // namespace

TEST(BriefingText, WrapsWithinItsBoxAndTabsLineUp) {
    const std::vector<bool> wrapped = inkOfText(
        "A convoy of transport trucks loaded with stolen weapons and secrets is driving east toward a "
        "neighbouring town. Destroy it before it crosses the border.",
        640, 200, 900);
    EXPECT_EQ(inkIn(wrapped, 900, 0, kClientWidth, kClientHeight), 0);
    EXPECT_EQ(inkIn(wrapped, 0, 0, 640, kClientHeight), 0);
    EXPECT_EQ(inkIn(wrapped, 0, 0, kClientWidth, 200), 0);
    EXPECT_GT(inkIn(wrapped, 640, 280, 900, 400), 0) << "several lines";

    // "3.\t" and "  \t" put the text after the tab at the same indent, with no box for the tab.
    const std::vector<bool> numbered = inkOfText("3.\tReturn", 680, 300, 1250);
    const std::vector<bool> indented = inkOfText("  \tReturn", 680, 300, 1250);
    const int start = firstInkColumn(indented, 680, 300, 320);
    ASSERT_GT(start, 700);
    EXPECT_EQ(firstInkColumn(numbered, 698, 300, 320), start);
    EXPECT_EQ(inkIn(indented, 680, 300, start, 320), 0);
}
