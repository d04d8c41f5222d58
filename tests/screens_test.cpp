// Between sorties: the end of a sortie (the win on the runway, the lost sorties' one-time sounds
// and Y), mission control's results, credit, progress and upgrades, the map's markers, the
// briefing's stars and buttons, and the briefing text drawn by the platform.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/sound.h"
#include "combat/outcome.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "screens/briefing.h"
#include "screens/mission_control.h"
#include "assets_fixtures.h"
#include "screens/save_file.h"
#include "test_game.h"

namespace {

// A new game on mission control, with real mixer voices in the slots the outcome acts on.
struct Screens {
    std::unique_ptr<GameAssets> assets = std::make_unique<GameAssets>();
    std::unique_ptr<GameState> game = newGameState(*assets);
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kCanvasWidth * kCanvasHeight, 0);
    static constexpr int kVoiced[] = {kSoundEngineCruise, kSoundEngineLow, kSoundAfterburner, kSoundGunFire,
                                      kSoundCrash, kSoundDetonationFar, kSoundNarration, kSoundSearchTone,
                                      kSoundLockTone, kSoundEngineDrone0, kSoundEngineDrone0 + 1,
                                      kSoundEngineDrone0 + 9};

    Screens() {
        assets->canvas = Canvas{kCanvasWidth, kCanvasHeight, kCanvasWidth * 4, pixels.data()};
        for (const int slot : kVoiced) assets->sounds[slot].voice = mixerCreateVoice(std::vector<int16_t>(20000, 1), false);
        resetNewGame(*game);
        game->titleShown = 0;
        game->controlShown = 1;
    }
    ~Screens() {
        for (const int slot : kVoiced) mixerReleaseVoice(assets->sounds[slot].voice);
    }
    SoundEffect& sound(int slot) { return assets->sounds[slot]; }
    // Every voiced slot loops, as in a sortie with the gun, the tones, drones and crowd going.
    void playAll() {
        for (const int slot : kVoiced) playLooping(sound(slot), 0);
    }
    // The voiced slots playing, but `except`.
    int playingBut(int except) {
        int count = 0;
        for (const int slot : kVoiced) count += slot != except && isPlaying(sound(slot));
        return count;
    }
    void mouse(int32_t x, int32_t y, bool down) {
        game->mouse.x = x;
        game->mouse.y = y;
        game->mouse.leftDown = down ? 1 : 0;
    }
    // A frame of mission control with the button held (or up) at (x, y).
    void control(int32_t x, int32_t y, bool down) {
        mouse(x, y, down);
        handleMissionControl(*game);
        drawMissionControl(*game);
    }
    // A won mission as the runway leaves it: stopped on the ground, the clock stopped at `ms`.
    void won(int32_t mission, int32_t difficulty, int32_t ms) {
        GameState& g = *game;
        g.mission = mission;
        g.difficulty = difficulty;
        g.missionsWon += 1;
        g.rewardPaid = 0;
        g.missionStopwatch = Stopwatch{};
        g.missionStopwatch.msPerTick = 1.0f;
        g.missionStopwatch.stopped = 1;
        g.missionStopwatch.stopCount = ms;
    }
};

constexpr int32_t kBuyX = 1190;
constexpr int32_t kRowY[kUpgradeRows] = {95, 156, 220, 283, 341};

TEST(MissionControl, EachRowHasItsPricesAndEffects) {
    EXPECT_EQ(upgradePrice(0, 0), 800);
    EXPECT_EQ(upgradePrice(0, 1), 1100);
    EXPECT_EQ(upgradePrice(2, 9), 3500);
    EXPECT_EQ(upgradePrice(3, 0), 1200);
    EXPECT_EQ(upgradePrice(3, 9), 4800);
    EXPECT_EQ(upgradePrice(4, 0), 1000);
    EXPECT_EQ(upgradePrice(4, 9), 4600);
    const int32_t steps[] = {3, 3, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int32_t bought = 0; bought < 10; ++bought) EXPECT_EQ(missileStep(bought), steps[bought]) << bought;

    // One step of every row, bought with just enough money, each with its own press.
    Screens s;
    GameState& g = *s.game;
    g.money = 800 + 800 + 800 + 1200 + 1000 + 200;
    for (int row = 0; row < kUpgradeRows; ++row) {
        s.control(kBuyX, kRowY[row], true);
        s.control(kBuyX, kRowY[row], false);
    }
    EXPECT_EQ(g.money, 200);
    EXPECT_EQ(g.aircraft.pitchUpRate, 1.0 + 0.20000000298023224);
    EXPECT_EQ(g.aircraft.pitchDownRate, 0.5 + 0.20000000298023224);
    EXPECT_EQ(g.aircraft.maxSpeed, 10);
    EXPECT_EQ(g.aircraft.boostSpeed, 14);
    EXPECT_EQ(g.gunRounds, 250);
    EXPECT_EQ(g.bombLoad, 7);
    EXPECT_EQ(g.missileLoad, 3);
    EXPECT_EQ(g.turnPrice, 1100);
    EXPECT_EQ(g.bombPrice, 1600);
    EXPECT_EQ(g.missilePrice, 1400);

    // The missile step is read before the purchase: 2 -> 3 adds 3, 3 -> 4 adds 4.
    g.missileUpgrades = 2;
    g.missileLoad = 0;
    g.money = 100000;
    s.control(kBuyX, kRowY[4], true);
    s.control(kBuyX, kRowY[4], false);
    EXPECT_EQ(g.missileLoad, 3);
    s.control(kBuyX, kRowY[4], true);
    EXPECT_EQ(g.missileLoad, 7);
}

TEST(MissionControl, OnePressBuysOneStepAndNotTheOneThatOpenedTheScreen) {
    Screens s;
    GameState& g = *s.game;
    g.money = 1000;
    g.clickLatch = 1; // the title's click, still held
    s.control(kBuyX, kRowY[0], true);
    EXPECT_EQ(g.turnUpgrades, 0);
    s.control(kBuyX, kRowY[0], false);
    s.control(kBuyX, kRowY[0], true);
    EXPECT_EQ(g.money, 200);
    EXPECT_EQ(g.turnUpgrades, 1);
    s.control(kBuyX, kRowY[0], false);
    EXPECT_EQ(g.turnPrice, 1100);

    g.money = 5000;
    for (int frame = 0; frame < 10; ++frame) s.control(kBuyX, kRowY[2], true);
    EXPECT_EQ(g.gunUpgrades, 1);
    EXPECT_EQ(g.money, 4200);
    // Too little money buys nothing.
    g.money = 799;
    s.control(kBuyX, kRowY[1], false);
    s.control(kBuyX, kRowY[1], true);
    EXPECT_EQ(g.engineUpgrades, 0);
    EXPECT_EQ(g.money, 799);
}

TEST(MissionControl, ARowAtTenStepsBuysNothing) {
    Screens s;
    GameState& g = *s.game;
    g.turnUpgrades = kMaxUpgradeSteps;
    g.money = 100000;
    s.control(kBuyX, kRowY[0], true);
    EXPECT_EQ(g.turnUpgrades, kMaxUpgradeSteps);
    EXPECT_EQ(g.money, 100000);
    // The hot area's edges: 1178..1202 by 83..106.
    s.control(1177, 95, false);
    s.control(1177, 95, true);
    s.control(1177, 95, false);
    s.control(1203, 156, true);
    s.control(1203, 156, false);
    EXPECT_EQ(g.money, 100000);
    s.control(1202, 168, true);
    EXPECT_EQ(g.engineUpgrades, 1);
}

TEST(MissionControl, TimeBonusByMissionAndTime) {
    Screens s;
    GameState& g = *s.game;
    g.mission = 1;
    g.missionsWon = 1;
    EXPECT_EQ(computeTimeBonus(g, 35000), 110);
    EXPECT_EQ(computeTimeBonus(g, 75000), 220);  // 1:15, seconds within the minute
    EXPECT_EQ(computeTimeBonus(g, 125000), 0);
    EXPECT_EQ(computeTimeBonus(g, 45000), 0);
    g.missionsWon = 2;
    EXPECT_EQ(computeTimeBonus(g, 45999), 420);
    EXPECT_EQ(computeTimeBonus(g, 46000), 210);
    g.mission = 2;
    EXPECT_EQ(computeTimeBonus(g, 160000), 500); // 2:40
    EXPECT_EQ(computeTimeBonus(g, 170000), 0);   // 2:50
    EXPECT_EQ(computeTimeBonus(g, 145000), 1000);
    EXPECT_EQ(computeTimeBonus(g, 119000), 1500);
    EXPECT_EQ(computeTimeBonus(g, 135000), 1500);
    EXPECT_EQ(computeTimeBonus(g, 180000), 0);
    g.mission = 3;
    g.showTimeElapsed = 99999.0;
    EXPECT_EQ(computeTimeBonus(g, 0), 0);
    g.showTimeElapsed = 200000.0;
    EXPECT_EQ(computeTimeBonus(g, 0), 1000);
    g.showTimeElapsed = 500000.0;
    EXPECT_EQ(computeTimeBonus(g, 0), 2000);
}

TEST(MissionControl, TheRewardIsCreditedOnceAndTheAirshowPaysItsTricks) {
    Screens s;
    GameState& g = *s.game;
    s.won(1, 0, 35000);
    g.reward = 800;
    s.control(0, 0, false);
    EXPECT_EQ(g.timeBonus, 110);
    EXPECT_EQ(g.earned, 910);
    EXPECT_EQ(g.money, 910);
    s.control(0, 0, false);
    EXPECT_EQ(g.money, 910);
    // After a load the results stay hidden and pay nothing.
    g.rewardPaid = 0;
    g.gameLoaded = 1;
    s.control(0, 0, false);
    EXPECT_EQ(g.money, 910);

    Screens show;
    GameState& a = *show.game;
    show.won(3, 0, 0);
    a.showEarnings = 120;
    a.showTimeElapsed = 200000.0;
    show.control(0, 0, false);
    EXPECT_EQ(a.money, 1620);
    EXPECT_EQ(a.earned, 1620);
    EXPECT_EQ(a.reward, 500);
    show.control(0, 0, false);
    EXPECT_EQ(a.money, 1620);
}

TEST(MissionControl, AWinOpensTheNextLevelAndMissionOnce) {
    Screens s;
    GameState& g = *s.game;
    s.won(1, 0, 10000);
    s.control(0, 0, false);
    s.control(0, 0, false);
    EXPECT_EQ(g.missionsUnlocked, 2);
    EXPECT_EQ(g.unlockedDifficulty1, 1);
    s.won(1, 0, 10000);
    s.control(0, 0, false);
    EXPECT_EQ(g.missionsUnlocked, 2);
    EXPECT_EQ(g.unlockedDifficulty1, 1);
    s.won(1, 1, 10000);
    s.control(0, 0, false);
    s.control(0, 0, false);
    EXPECT_EQ(g.unlockedDifficulty1, 2);
    s.won(2, 0, 10000);
    s.control(0, 0, false);
    EXPECT_EQ(g.missionsUnlocked, 3);
    EXPECT_EQ(g.unlockedDifficulty2, 1);
    EXPECT_EQ(g.unlockedDifficulty1, 2);
}

TEST(MissionControl, TheGoOnArrowsHotAreaIncludesItsEdges) {
    Screens s;
    GameState& g = *s.game;
    s.control(1271, 640, true);
    EXPECT_EQ(g.controlShown, 1);
    s.control(1220, 634, true);
    EXPECT_EQ(g.controlShown, 1);
    s.control(1270, 685, true);
    EXPECT_EQ(g.controlShown, 0);
    EXPECT_EQ(g.mapShown, 1);
    // The save button saves (into a folder of the test's own) and says so.
    TempDir folder;
    useSaveFolder(folder.path);
    s.control(100, 130, true);
    useSaveFolder("");
    EXPECT_GT(g.savedNotice, 0);
    EXPECT_EQ(g.saveNoticeKind, kNoticeGameSaved);
}

TEST(MissionMap, OnlyOpenMarkersAnswerAndPickingResetsTheDifficulty) {
    Screens s;
    GameState& g = *s.game;
    g.controlShown = 0;
    g.mapShown = 1;
    g.difficulty = 2;
    s.mouse(830, 610, true);
    drawMissionMap(g);
    handleMissionMap(g);
    EXPECT_EQ(g.mapShown, 1);
    EXPECT_EQ(g.briefingShown, 0);
    g.missionsUnlocked = 2;
    drawMissionMap(g);
    handleMissionMap(g);
    EXPECT_EQ(g.mission, 2);
    EXPECT_EQ(g.difficulty, 0);
    EXPECT_EQ(g.briefingShown, 1);
    EXPECT_EQ(g.mapShown, 0);

    // The press that picked the mission does nothing on the briefing; close leads back.
    g.difficulty = 0;
    s.mouse(1260, 10, true);
    handleBriefing(g);
    drawBriefing(g);
    EXPECT_EQ(g.briefingShown, 1);
    s.mouse(1260, 10, false);
    g.clickLatch = 0;
    handleBriefing(g);
    drawBriefing(g);
    s.mouse(1260, 10, true);
    handleBriefing(g);
    drawBriefing(g);
    EXPECT_EQ(g.briefingShown, 0);
    EXPECT_EQ(g.mapShown, 1);
    EXPECT_EQ(g.mission, 2);

    // Mission 3's marker is not there before it opens.
    g.clickLatch = 0;
    s.mouse(760, 555, true);
    drawMissionMap(g);
    handleMissionMap(g);
    EXPECT_EQ(g.mapShown, 1);
    g.missionsUnlocked = 3;
    drawMissionMap(g);
    handleMissionMap(g);
    EXPECT_EQ(g.mission, 3);
}

TEST(Briefing, StarsAnswerOnlyUpToTheOpenLevelAndTheLastTouchedWins) {
    Screens s;
    GameState& g = *s.game;
    g.controlShown = 0;
    g.briefingShown = 1;
    g.mission = 1;
    g.unlockedDifficulty1 = 1;
    s.mouse(950, 560, true);
    handleBriefing(g);
    drawBriefing(g);
    EXPECT_EQ(g.difficulty, 0);
    s.mouse(830, 560, true);
    handleBriefing(g);
    drawBriefing(g);
    EXPECT_EQ(g.difficulty, 1);
    g.unlockedDifficulty1 = 2;
    for (const int32_t x : {770, 830, 890}) {
        s.mouse(x, 570, true);
        handleBriefing(g);
        drawBriefing(g);
    }
    EXPECT_EQ(g.difficulty, 2);

    // TAKE OFF: a sortie from the next frame, with the level chosen.
    g.clickLatch = 0;
    s.mouse(1220, 635, true);
    handleBriefing(g);
    drawBriefing(g);
    EXPECT_EQ(g.missionOver, 0);
    EXPECT_EQ(g.briefingShown, 0);
    EXPECT_EQ(g.truckCount, 15);
    EXPECT_TRUE(outcomeIs(g, "NULL"));
}

TEST(Outcome, AWinOnTheRunwayCountsOnlyProjectileKills) {
    Screens s;
    GameState& g = *s.game;
    g.mission = 1;
    takeOff(g);
    checkObjective(g);
    EXPECT_EQ(g.sortieClockStarted, 1);
    EXPECT_EQ(g.missionStopwatch.stopped, 0);
    g.objectiveDone = 1;
    g.trucksDestroyed = 3; // the fourth truck went to a blast
    g.cargoDestroyed = 1;
    g.aircraft.onGround = 1;
    g.aircraft.airspeed = 0.5;
    checkObjective(g);
    EXPECT_TRUE(outcomeIs(g, "NULL"));
    g.aircraft.airspeed = 0.0;
    s.playAll();
    checkObjective(g);
    EXPECT_TRUE(outcomeIs(g, "Won"));
    EXPECT_EQ(s.playingBut(-1), 0) << "the sortie's sounds end with it";
    EXPECT_EQ(g.reward, 1000);
    EXPECT_EQ(g.missionsWon, 1);
    EXPECT_EQ(g.missionOver, 1);
    EXPECT_EQ(g.controlShown, 1);
    EXPECT_EQ(g.missionStopwatch.stopped, 1);
    // Y does nothing while mission control is up.
    g.keys[kVkY] = 1;
    handleOutcome(g);
    EXPECT_TRUE(outcomeIs(g, "Won"));
    EXPECT_EQ(g.missionsWon, 1);
}

TEST(Outcome, EachLossHasItsOneTimeSoundsAndYStartsANewGame) {
    for (const char* outcome : {"Crashed", "Blew", "Escaped", "Bombed"}) {
        SCOPED_TRACE(outcome);
        Screens s;
        GameState& g = *s.game;
        g.mission = 1;
        takeOff(g);
        g.money = 5000;
        g.turnUpgrades = 2;
        g.missionsUnlocked = 2;
        g.unlockedDifficulty1 = 1;
        s.playAll();
        raiseCrash(g, outcome);
        g.controlShown = 1; // as the take-off's reset left it: the loss closes it
        handleOutcome(g);
        const int ending = std::string(outcome) == "Crashed" ? kSoundCrash : kSoundDetonationFar;
        EXPECT_TRUE(isPlaying(s.sound(ending)));
        EXPECT_EQ(s.playingBut(ending), 0) << "only the loss's own sound";
        EXPECT_EQ(g.outcomeHandled, 1);
        EXPECT_EQ(g.outcomeFresh, 0);
        EXPECT_EQ(g.controlShown, 0);
        // Once only: a stopped sound is not started again on the next frames.
        stopSound(s.sound(kSoundCrash));
        stopSound(s.sound(kSoundDetonationFar));
        handleOutcome(g);
        EXPECT_FALSE(isPlaying(s.sound(kSoundCrash)));
        EXPECT_FALSE(isPlaying(s.sound(kSoundDetonationFar)));
        // Other keys do nothing; Y with a screen up does nothing; Y alone starts over.
        g.keys[kVkEnter] = 1;
        g.mapShown = 1;
        g.keys[kVkY] = 1;
        handleOutcome(g);
        EXPECT_TRUE(outcomeIs(g, outcome));
        g.mapShown = 0;
        s.playAll();
        handleOutcome(g);
        EXPECT_TRUE(outcomeIs(g, "Won"));
        EXPECT_EQ(s.playingBut(-1), 0);
        EXPECT_EQ(g.titleShown, 1);
        EXPECT_EQ(g.money, 0);
        EXPECT_EQ(g.turnUpgrades, 0);
        EXPECT_EQ(g.aircraft.pitchUpRate, 1.0);
        EXPECT_EQ(g.missionsUnlocked, 1);
        EXPECT_EQ(g.unlockedDifficulty1, 0);
        EXPECT_EQ(g.turnPrice, 100);
        EXPECT_EQ(g.bombPrice, 200);
    }
}

// Black pixels of the last composited frame within a box.
int darkPixelsIn(const std::vector<uint32_t>& frame, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += (frame[size_t(y) * kClientWidth + size_t(x)] & 0xFFFFFFu) != 0;
    }
    return count;
}

// The composited frame of one platformDrawText over a white texture.
std::vector<uint32_t> frameWithText(const char* text, int32_t left, int32_t top, int32_t right) {
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
    // Ink is what is not white.
    for (uint32_t& p : frame) p = (p & 0xFFFFFFu) == 0xFFFFFFu ? 0u : 0xFF000000u | 1u;
    return frame;
}

// The first column with ink in rows top..bottom from column `from`.
int firstInkColumn(const std::vector<uint32_t>& frame, int from, int top, int bottom) {
    for (int x = from; x < kClientWidth; ++x) {
        if (darkPixelsIn(frame, x, top, x + 1, bottom) > 0) return x;
    }
    return -1;
}

TEST(BriefingText, WrapsWithinItsBoxAndTabsLineUp) {
    const char* paragraph =
        "A convoy of transport trucks loaded with stolen weapons and secrets is driving east toward a "
        "neighbouring town. Destroy it before it crosses the border.";
    const std::vector<uint32_t> wrapped = frameWithText(paragraph, 640, 200, 900);
    EXPECT_EQ(darkPixelsIn(wrapped, 900, 0, kClientWidth, kClientHeight), 0);
    EXPECT_EQ(darkPixelsIn(wrapped, 0, 0, 640, kClientHeight), 0);
    EXPECT_EQ(darkPixelsIn(wrapped, 0, 0, kClientWidth, 200), 0);
    // Several lines: ink well below the first line's 20 pixels.
    EXPECT_GT(darkPixelsIn(wrapped, 640, 280, 900, 400), 0);

    // "3.\t" and "  \t" put the text after the tab at the same indent, and no box is drawn for
    // the tab itself.
    const std::vector<uint32_t> numbered = frameWithText("3.\tReturn", 680, 300, 1250);
    const std::vector<uint32_t> indented = frameWithText("  \tReturn", 680, 300, 1250);
    const int start = firstInkColumn(indented, 680, 300, 320);
    ASSERT_GT(start, 700);
    EXPECT_EQ(firstInkColumn(numbered, 698, 300, 320), start);
    EXPECT_EQ(darkPixelsIn(indented, 680, 300, start, 320), 0);
}

} // namespace
