// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The shell: input recording, the frame's statistics and latches, the dispatcher's states and
// rules, path resolution, start-up, and the developer's overlay. Runs on the headless back end.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/dispatcher.h"
#include "app/frame.h"
#include "app/input.h"
#include "app/inventory.h"
#include "app/startup.h"
#include "assets/game_assets.h"
#include "combat/blasts.h"
#include "flow/outcome.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/mixer.h"
#include "platform/paths.h"
#include "platform/recorder.h"
#include "platform/settings.h"
#include "replay/script.h"
#include "replay/state_dump.h"
#include "screens/briefing.h"
#include "temp_dir.h"
#include "test_game.h"

namespace {

// A new game on the title with the frame's stopwatches running, as start-up leaves it.
struct App : TestGame {
    App() {
        game->versionNumber = kVersionNumber;
        game->fpsStopwatch = makeStopwatch();
        game->missionStopwatch = makeStopwatch();
    }
    // A frame of the dispatcher on a clean canvas.
    void frame() {
        wipe();
        runDispatcher(*game);
    }
};

// True when a Quit event waits; drains the queue.
bool quitQueued() {
    bool quit = false;
    InputEvent event;
    while (platformPollEvent(&event)) quit = quit || event.type == InputEventType::Quit;
    return quit;
}

InputEvent move(int32_t x, int32_t y, uint32_t buttons = 0) {
    return InputEvent{InputEventType::MouseMove, 0, x, y, buttons};
}

} // namespace

TEST(Input, KeysFollowDownAndUpAndRepeatsKeepTheEntry) {
    uint8_t keys[kKeyTableSize] = {};
    MouseState mouse;
    handleInputEvent(keys, mouse, {InputEventType::KeyDown, 0x141, 0, 0, 0}); // low 8 bits index
    EXPECT_EQ(keys[0x41], 1);
    handleInputEvent(keys, mouse, {InputEventType::KeyDown, 0x41, 0, 0, 0});
    EXPECT_EQ(keys[0x41], 1);
    handleInputEvent(keys, mouse, {InputEventType::KeyUp, 0x41, 0, 0, 0});
    EXPECT_EQ(keys[0x41], 0);
}

TEST(Input, MouseCaptureRule) {
    uint8_t keys[kKeyTableSize] = {};
    MouseState mouse;
    handleInputEvent(keys, mouse, move(100, 200));
    EXPECT_EQ(mouse.x, 100);
    EXPECT_EQ(mouse.y, 200);
    EXPECT_EQ(mouse.captured, 1);

    // Dragging out to the left and above clamps to 0; far below to 19999; right is unclamped.
    handleInputEvent(keys, mouse, {InputEventType::LeftDown, 0, 0, 0, 0});
    handleInputEvent(keys, mouse, move(-50, -7, kMouseButtonLeft));
    EXPECT_EQ(mouse.x, 0);
    EXPECT_EQ(mouse.y, 0);
    handleInputEvent(keys, mouse, move(5000, 25000, kMouseButtonRight));
    EXPECT_EQ(mouse.x, 5000);
    EXPECT_EQ(mouse.y, 19999);
    EXPECT_EQ(mouse.leftDown, 1);

    // A release outside is still seen while captured.
    handleInputEvent(keys, mouse, {InputEventType::LeftUp, 0, 0, 0, 0});
    EXPECT_EQ(mouse.leftDown, 0);

    // The left column with no button counts as outside: capture goes, leftDown clears, the
    // position keeps its last value.
    handleInputEvent(keys, mouse, move(300, 300));
    handleInputEvent(keys, mouse, {InputEventType::LeftDown, 0, 0, 0, 0});
    handleInputEvent(keys, mouse, move(0, 300));
    EXPECT_EQ(mouse.captured, 0);
    EXPECT_EQ(mouse.leftDown, 0);
    EXPECT_EQ(mouse.x, 300);
}

TEST(Frame, RenderStatsPublishOnTheTwentiethFrame) {
    RenderStats stats;
    for (int i = 1; i <= 19; ++i) recordRenderTime(stats, static_cast<float>(i));
    EXPECT_EQ(stats.lastAverage, 0.0f);
    EXPECT_EQ(stats.lastMax, 0.0f);
    recordRenderTime(stats, 20.0f);
    EXPECT_FLOAT_EQ(stats.lastAverage, 10.5f);
    EXPECT_EQ(stats.lastMin, 1.0f);
    EXPECT_EQ(stats.lastMax, 20.0f);
    EXPECT_EQ(stats.count, 0);
    EXPECT_EQ(stats.min, kLargestFloat);
}

TEST(Frame, EnterSwitchesOncePerPressAndFullScreenKeepsTheTitle) {
    App game;
    game->keys[kVkEnter] = 1;
    runFrame(*game);
    runFrame(*game);
    EXPECT_EQ(game->fullScreen, 1);
    EXPECT_EQ(game->enterHeld, 1);
    platformSetTitle("untouched");
    runFrame(*game);
    EXPECT_STREQ(headlessTitle(), "untouched") << "no title is set in full screen";
    game->keys[kVkEnter] = 0;
    runFrame(*game);
    EXPECT_EQ(game->enterHeld, 0);
    game->keys[kVkEnter] = 1;
    runFrame(*game);
    EXPECT_EQ(game->fullScreen, 0);
}

TEST(Frame, AnEmptyFrameIsTransparentOverBlack) {
    App game;
    game->screen = Screen::None; // between sorties with "Won" and no screen: nothing is drawn
    runFrame(*game);
    for (int32_t i = 0; i < kClientWidth * kClientHeight; i += 997) ASSERT_EQ(game->assets->canvas.pixels[i], 0u);
    std::vector<uint32_t> frame(kClientWidth * kClientHeight);
    headlessCompositeLastFrame(frame.data());
    EXPECT_EQ(frame[0], 0xFF000000u);
    EXPECT_EQ(frame[640 * 360], 0xFF000000u);
}

TEST(Dispatcher, EscQuitsAfterTheFrameOnAnyScreen) {
    App game;
    quitQueued();
    game->keys[kVkEsc] = 1;
    runFrame(*game);
    EXPECT_TRUE(quitQueued());
    game.launch(1);
    runFrame(*game);
    EXPECT_TRUE(quitQueued());
}

TEST(Dispatcher, LoadNoticeShowsOnSixtyOneFrames) {
    App game;
    game->gameLoaded = 1;
    game->loadNotice = 60;
    int shown = 0;
    for (int i = 0; i < 100; ++i) {
        const int32_t before = game->loadNotice;
        runDispatcher(*game);
        if (game->loadNotice != before) ++shown;
    }
    EXPECT_EQ(shown, 61);
}

TEST(Dispatcher, CrashLineAndTheRestOfTheFrame) {
    App game;
    game.launch(1);
    game->aircraft.worldY = 19842.0;
    game->aircraft.physicsTimer = 3;
    EXPECT_TRUE(runDispatcher(*game)) << "the crash frame still flies the world";
    EXPECT_EQ(game->missionOver, 1);
    EXPECT_EQ(game->outcome, Outcome::Crashed);
    EXPECT_EQ(game->outcomeFresh, 1);
    EXPECT_EQ(game->screen, Screen::None);
    EXPECT_EQ(game->aircraft.physicsTimer, 2) << "the crash frame still runs the sortie steps";
}

TEST(Dispatcher, KeyReleaseLatches) {
    App game;
    game.launch(1);
    game->keyLatchAG = game->keyLatchZ = game->spinLatchUp = game->spinLatchDown = 1;
    game->keys[kVkG] = 1;
    game->keys[kVkUp] = 1;
    runDispatcher(*game);
    EXPECT_EQ(game->keyLatchAG, 1);
    EXPECT_EQ(game->keyLatchZ, 0);
    EXPECT_EQ(game->spinLatchUp, 1);
    EXPECT_EQ(game->spinLatchDown, 0);
    game->keys[kVkG] = 0;
    runDispatcher(*game);
    EXPECT_EQ(game->keyLatchAG, 0);

    // The roll-over latches clear only when it has returned to its first image.
    game->keys[kVkUp] = 0;
    game->aircraft.rollActive = game->aircraft.rollReturning = game->aircraft.rollDone = 1;
    game->aircraft.rollFrame = 1;
    runDispatcher(*game);
    EXPECT_EQ(game->aircraft.rollActive, 1);
    game->aircraft.rollFrame = 0;
    runDispatcher(*game);
    EXPECT_EQ(game->aircraft.rollActive, 0);
    EXPECT_EQ(game->aircraft.rollDone, 0);
}

// The About page: by keys from the title and the pause panel, by a click once the title's entries
// show; nothing on it but Back answers, and the press or click that closes it (or the settings or
// the controls page) reaches nothing beneath.
TEST(Dispatcher, TheAboutPageOpensAndClosesWithoutReachingTheScreensBeneath) {
    App game;
    const auto tap = [&game](int32_t key) {
        game->keys[key] = 1;
        runFrame(*game);
        game->keys[key] = 0;
        runFrame(*game);
    };
    const auto click = [&game](int32_t x, int32_t y) {
        game->mouse = MouseState{x, y, 1, 0};
        runFrame(*game);
        game->mouse.leftDown = 0;
        runFrame(*game);
    };
    tap(kVkDown); // PLAY to SETTINGS
    tap(kVkDown); // to CONTROLS
    tap(kVkDown); // to ABOUT
    tap(kVkSpace);
    ASSERT_EQ(game->aboutShown, 1);
    click(300, 300);
    tap(kVkDown);
    EXPECT_EQ(game->aboutShown, 1) << "nothing but Back answers";
    click(640, 668); // Back
    EXPECT_EQ(game->aboutShown, 0);
    EXPECT_TRUE(titleShown(*game)) << "the click on Back is not the title's";
    click(640, 519); // SETTINGS: the entries stay after the mouse moved
    ASSERT_EQ(game->settingsShown, 1);
    click(790, 652); // its Back
    EXPECT_EQ(game->settingsShown, 0);
    EXPECT_TRUE(titleShown(*game));
    click(640, 591); // ABOUT
    ASSERT_EQ(game->aboutShown, 1);
    tap(kVkBackspace);
    EXPECT_EQ(game->aboutShown, 0);
    EXPECT_TRUE(titleShown(*game));
    click(640, 555); // CONTROLS, and its Back: neither click is the title's
    ASSERT_EQ(game->controlsShown, 1);
    click(640, 655);
    EXPECT_EQ(game->controlsShown, 0);
    EXPECT_TRUE(titleShown(*game));
    tap(kVkUp); // from ABOUT to CONTROLS: Space opens it, and Space closes it without going on
    tap(kVkSpace);
    ASSERT_EQ(game->controlsShown, 1);
    tap(kVkSpace);
    EXPECT_EQ(game->controlsShown, 0);
    EXPECT_TRUE(titleShown(*game));
    click(100, 100); // anywhere else goes on, as always
    EXPECT_FALSE(titleShown(*game));

    game.launch(1);
    runFrame(*game);
    tap(kVkPauseKey);
    tap(kVkDown); // Resume to Settings
    tap(kVkDown); // to Controls
    tap(kVkDown); // to About
    tap(kVkSpace);
    ASSERT_EQ(game->aboutShown, 1);
    tap(kVkSpace);
    EXPECT_EQ(game->aboutShown, 0);
    EXPECT_EQ(game->paused, 1) << "back on the panel";
    tap(kVkSpace);
    tap(kVkPauseKey);
    EXPECT_EQ(game->paused, 0) << "P resumes from the page at once";
    EXPECT_EQ(game->aboutShown, 0);
    tap(kVkPauseKey); // the controls page goes with the pause as well
    tap(kVkDown);
    tap(kVkDown);
    tap(kVkSpace);
    ASSERT_EQ(game->controlsShown, 1);
    tap(kVkPauseKey);
    EXPECT_EQ(game->paused, 0);
    EXPECT_EQ(game->controlsShown, 0);
}

TEST(Paths, WindowsNamesFindFilesIgnoringCase) {
    TempDir dir;
    const std::string& root = dir.path;
    std::filesystem::create_directories(root + "/Files/Img/bg");
    writeFile(root + "/Files/Img/bg/arr50.png", "");

    EXPECT_EQ(resolvePath((root + "\\files\\IMG\\BG\\ARR50.png").c_str()), root + "/Files/Img/bg/arr50.png");
    EXPECT_EQ(resolvePath((root + "//files//img//bg//img.v").c_str()), root + "/Files/Img/bg/img.v")
        << "a file that does not exist yet keeps its name in the folder that does";
    EXPECT_EQ(resolvePath("a\\\\b//c"), "a/b/c");

    std::vector<uint8_t> bytes;
    EXPECT_FALSE(readWholeFile((root + "/missing.wav").c_str(), "sound", 100, bytes));
    EXPECT_TRUE(readWholeFile((root + "/FILES/img/bg/arr50.PNG").c_str(), "picture", 100, bytes));
}

// Recordings are files from and for the player: --play and the replay tool read only a regular
// file within its size, --record writes only a new or regular file, whole at the close, and what
// it writes reads back.
TEST(Recordings, OnlyRegularFilesAreReadOrWrittenAndWhatIsWrittenReadsBack) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    const std::string big = dir.file("big.txt");
    const std::string link = dir.file("link.txt");
    const std::string victim = dir.file("victim.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    writeFile(big, "");
    ASSERT_EQ(truncate(big.c_str(), 64 * 1024 * 1024 + 1), 0); // sparse, so quick to make
    writeFile(victim, "the player's own\n");
    ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
    const auto oneLineNaming = [](const std::string& said, const std::string& path) {
        return std::count(said.begin(), said.end(), '\n') == 1 && said.find(path) != std::string::npos;
    };
    for (const std::string& path : {fifo, big, std::string("/dev/zero"), dir.path}) {
        Script script;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(readScript("skarnwing", path.c_str(), script)) << path;
        EXPECT_TRUE(oneLineNaming(testing::internal::GetCapturedStderr(), path)) << path;
    }
    for (const std::string& path : {fifo, std::string("/dev/null"), link, dir.path}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(recorderOpen(path.c_str(), 1, 1000, false)) << path;
        EXPECT_TRUE(oneLineNaming(testing::internal::GetCapturedStderr(), path)) << path;
    }
    EXPECT_EQ(readFile(victim), "the player's own\n");
    EXPECT_FALSE(std::filesystem::exists(link + ".tmp"));

    // The old recording stays whole until the new one is.
    const std::string game = dir.file("game.txt");
    writeFile(game, "old\n");
    ASSERT_TRUE(recorderOpen(game.c_str(), 77, 1000, true));
    recordCounter(5); // during start-up
    recordEvent(InputEvent{InputEventType::KeyDown, kVkSpace, 0, 0, 0});
    recordFrameBegun();
    recordCounter(9);
    recordCounter(9);
    recordEvent(InputEvent{InputEventType::MouseMove, 0, -3, 900, 1});
    recordFrameBegun();
    EXPECT_EQ(readFile(game), "old\n");
    EXPECT_NE(readFile(game + ".tmp").find("\n2 mouse -3 900 1\n"), std::string::npos) << "kept should it die";
    recorderClose();
    EXPECT_FALSE(std::filesystem::exists(game + ".tmp"));
    Script back;
    ASSERT_TRUE(readScript("skarnwing", game.c_str(), back)) << readFile(game);
    EXPECT_EQ(back.seed, 77u);
    EXPECT_EQ(back.frequency, 1000);
    EXPECT_TRUE(back.fullScreen);
    ASSERT_EQ(back.commands.size(), 6u) << readFile(game);
    EXPECT_EQ(back.commands[0].readings, std::vector<int64_t>{5});
    EXPECT_EQ(back.commands[1].action, Action::Down);
    EXPECT_EQ(back.commands[1].frame, 1);
    EXPECT_EQ(back.commands[2].readings, (std::vector<int64_t>{9, 9}));
    EXPECT_EQ(back.commands[3].b, 900);
    EXPECT_EQ(back.commands[5].action, Action::End);
    EXPECT_EQ(back.commands[5].frame, 2);

    // Readings are a counter's: none below 0 or below the one before, none beyond 64 bits.
    for (const char* bad : {"0 clock -1", "1 clock 5\n2 clock 4", "2 clock 5\n1 clock 6",
                            "1 clock 99999999999999999999", "99999999999999999999 end"}) {
        Script script;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(parseScript("skarnwing", "s.txt", bad, script)) << bad;
        EXPECT_TRUE(oneLineNaming(testing::internal::GetCapturedStderr(), "s.txt:")) << bad;
    }
}

namespace {

// What one start-up brings up: the first frame's picture and state, and the texture handles.
struct FirstFrame {
    std::vector<uint32_t> picture = std::vector<uint32_t>(size_t(kClientWidth) * kClientHeight);
    std::string state;
    TextureHandle textures[kTextureCount] = {};
    bool musicPlaying = false;
};

FirstFrame startAndRunOneFrame(bool loadBeforeTheWindow) {
    FirstFrame out;
    auto assets = std::make_unique<GameAssets>();
    auto game = std::make_unique<GameState>();
    std::unique_ptr<InventoryLoad> loading;
    if (loadBeforeTheWindow) loading = beginStartUp(*game, *assets);
    platformOpen();
    runStartUp(*game, *assets, 5, std::move(loading));
    runFrame(*game);
    headlessCompositeLastFrame(out.picture.data());
    out.state = dumpState(*game, 1);
    std::copy(std::begin(assets->textures), std::end(assets->textures), out.textures);
    out.musicPlaying = mixerMusicPlaying(assets->track1.stream);
    runShutDown(*game);
    return out;
}

} // namespace

// The entry starts decoding before it opens the window; the game must come up exactly as when
// everything loads after the window: every texture present with its handle in slot order, and
// the same first frame, state and music.
TEST(StartUp, LoadingBegunBeforeTheWindowBringsUpTheSameGame) {
    const std::string build = SKARNWING_BUILD_DIR;
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Sound/m1.z2")));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(build);
    const FirstFrame after = startAndRunOneFrame(false);
    const FirstFrame early = startAndRunOneFrame(true);
    struct sigaction fileSize {};
    sigaction(SIGXFSZ, nullptr, &fileSize);
    EXPECT_EQ(fileSize.sa_handler, SIG_IGN) << "a size limit must fail a save's write, not end the game";
    std::filesystem::current_path(before);
    for (int i = 0; i < kTextureCount; ++i) {
        EXPECT_NE(early.textures[i], 0) << "texture " << i;
        EXPECT_EQ(early.textures[i] - early.textures[0], i) << "texture " << i;
        EXPECT_EQ(after.textures[i] - after.textures[0], i) << "texture " << i;
    }
    EXPECT_EQ(early.state, after.state);
    EXPECT_TRUE(early.picture == after.picture);
    EXPECT_TRUE(early.musicPlaying);
    EXPECT_TRUE(after.musicPlaying);
}

// The developer's overlay: Tab freezes the world from the next frame to one frame after it is
// released, and the readouts are drawn over every kind of frame.

namespace {

// Everything that moves in a convoy sortie with the aircraft in flight.
struct Positions {
    double worldX, worldY, cameraX, truckX, blastX, blastY;
    bool operator==(const Positions&) const = default;
};

Positions positions(const GameState& g) {
    return {g.aircraft.worldX, g.aircraft.worldY,       g.camera.cameraX,
            g.trucks[0].x,     g.bombBlasts[0].screenX, g.bombBlasts[0].screenY};
}

} // namespace

TEST(Overlay, TabFreezesTheWorldFromTheNextFrameUntilOneFrameAfterItsRelease) {
    App game;
    game.launch(1);
    game->aircraft.onGround = 0;
    game->aircraft.worldY = 15000;
    game->aircraft.velX = 9;
    game->aircraft.velY = -2;
    startAirBlast(*game, BlastKind::Bomb, game->aircraft.worldX + 300, game->aircraft.worldY);
    game.frame();
    ASSERT_EQ(game->frozen, 0);

    game->keys[kVkTab] = 1;
    Positions before = positions(*game);
    game.frame();
    EXPECT_EQ(game->frozen, 1) << "set by the frame's last step";
    EXPECT_NE(positions(*game).worldX, before.worldX) << "the frame Tab went down still moved";
    EXPECT_NE(positions(*game).truckX, before.truckX);

    // The camera still follows: on the first frozen frame it catches up with the last move.
    before = positions(*game);
    game.frame();
    EXPECT_EQ(game->aircraft.worldX, before.worldX);
    EXPECT_EQ(game->trucks[0].x, before.truckX);
    before = positions(*game);
    for (int i = 0; i < 5; ++i) game.frame();
    EXPECT_TRUE(positions(*game) == before) << "aircraft, camera, trucks and blasts stand still";

    game->keys[kVkTab] = 0;
    game.frame();
    EXPECT_EQ(game->frozen, 0);
    EXPECT_TRUE(positions(*game) == before) << "the release frame is still frozen";

    game.frame();
    const Positions after = positions(*game);
    EXPECT_NE(after.worldX, before.worldX);
    EXPECT_NE(after.truckX, before.truckX);
    EXPECT_NE(after.blastX, before.blastX);
}

// Line 1 in red at the top left and line 11 in white near the bottom: over the title picture, a
// screen between sorties and a sortie; none of it without Tab.
TEST(Overlay, ReadoutsShowOverEveryKindOfFrame) {
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Img/Consolas13x24-2.bmp")));
    App game;
    loadFonts(*game);
    const auto readouts = [&game]() {
        return game.count(0xFFFF0000u, 0, 0, 360, 24) > 50 && game.count(0xFFFFFFFFu, 10, 590, 280, 614) > 50;
    };
    const auto check = [&](const char* where) {
        game->keys[kVkTab] = 0;
        game.frame();
        EXPECT_FALSE(readouts()) << where;
        game->keys[kVkTab] = 1;
        game.frame();
        EXPECT_TRUE(readouts()) << where;
        EXPECT_EQ(game->frozen, 1) << where;
    };
    ASSERT_EQ(game->screen, Screen::Title);
    check("title");

    game->screen = Screen::None;
    game->outcome = Outcome::Crashed;
    check("failure message");

    game->keys[kVkTab] = 0;
    game.launch(1);
    check("sortie");
}

namespace {

// Where the game is, as far as a way on goes: the screen, whether a sortie flies or is lost,
// and the panels over them (the best flights over mission control among them).
int placeOf(const GameState& g) {
    const int lost = g.missionOver && g.outcome != Outcome::Won;
    return int(g.screen) | g.missionOver << 4 | lost << 5 | g.paused << 6 | g.settingsShown << 7 |
           (g.logbookShown != 0) << 8 | g.controlsShown << 9 | g.aboutShown << 10;
}

// Every control of every screen, the pause panel, the settings, the controls and About pages
// (their Back), and a point off them all.
constexpr int32_t kSpots[][2] = {{640, 360},  {130, 140}, {130, 210}, {1190, 95}, {1190, 341}, {1240, 650},
                                 {945, 640},  {835, 610}, {760, 555}, {785, 570}, {845, 570},  {1262, 14},
                                 {640, 276},  {640, 356}, {640, 396}, {640, 436}, {495, 125},  {900, 251},
                                 {1050, 251}, {400, 652}, {645, 652}, {790, 652}, {20, 700}};
// The keys the game reads (the pad sends the keys its buttons are bound to), Esc and Enter aside;
// the pause key last, pressed less often in the mix (a paused frame dims the whole picture).
constexpr int32_t kMixKeys[] = {kVkSpace, kVkBackspace, kVkLeft, kVkRight, kVkUp, kVkDown,    kVkY,
                                kVkA,     kVkZ,         kVkG,    kVkCtrl,  kVkS,  kVkPauseKey};

} // namespace

// Random mixes of clicks, keys and pad presses over every screen: from every place they reach,
// some single press (after a frame with everything up) leads on, to another screen, a sortie or a
// loss's message; no mix leaves two screens up that no press answers.
TEST(Frame, EveryPlaceAMixOfPressesReachesHasAWayOn) {
// The sanitizers' run is a fifth as long and wanders less far: the release run holds the full floor.
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kFrames = 20000;
    constexpr size_t kPlacesAtLeast = 7;
#else
    constexpr int kFrames = 100000;
    constexpr size_t kPlacesAtLeast = 9;
#endif
    const TempDir folder;
    setenv("XDG_CONFIG_HOME", folder.path.c_str(), 1); // the settings screen may write its file
    App game;
    game.assets->saveFolder = folder.path;
    uint32_t random = 12345;
    const auto next = [&](uint32_t n) { return (random = random * 1103515245u + 12345u) / 65536u % n; };
    std::vector<int> checked;
    for (int frame = 0; frame < kFrames; ++frame) {
        const int place = placeOf(*game);
        const bool flying = !game->missionOver && !titleShown(*game) && !game->paused;
        if (!flying && std::find(checked.begin(), checked.end(), place) == checked.end()) {
            checked.push_back(place);
            bool leadsOn = false;
            for (size_t press = 0; press < std::size(kSpots) + std::size(kMixKeys) && !leadsOn; ++press) {
                const auto copy = std::make_unique<GameState>(*game.game);
                std::fill(std::begin(copy->keys), std::end(copy->keys), 0);
                copy->mouse.leftDown = 0;
                runFrame(*copy);
                if (press < std::size(kSpots)) {
                    copy->mouse = MouseState{kSpots[press][0], kSpots[press][1], 1, 1};
                } else {
                    copy->keys[kMixKeys[press - std::size(kSpots)]] = 1;
                }
                runFrame(*copy);
                leadsOn = placeOf(*copy) != place;
            }
            EXPECT_TRUE(leadsOn) << "no press leads on from place " << place << ", frame " << frame;
        }
        if (next(4) == 0) game->mouse.leftDown ^= 1;
        if (next(8) == 0) {
            const uint32_t spot = next(std::size(kSpots));
            game->mouse.x = kSpots[spot][0];
            game->mouse.y = kSpots[spot][1];
        }
        if (next(3) == 0) game->keys[kMixKeys[next(std::size(kMixKeys) - 1)]] ^= 1;
        if (next(game->paused ? 8 : 600) == 0) game->keys[kVkPauseKey] ^= 1;
        runFrame(*game);
    }
    quitQueued();
    EXPECT_GE(checked.size(), kPlacesAtLeast) << "the mix reached too few places";
}
