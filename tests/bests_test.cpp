// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's best flights: a won sortie is kept when it beats the kept one, plays back from its
// own take-off to the same landing, and a best file that is missing, damaged or hostile is refused
// with one line.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/pump.h"
#include "app/startup.h"
#include "app/watch.h"
#include "assets/game_assets.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "replay/bests.h"
#include "replay/script.h"
#include "replay/state_dump.h"
#include "save/save_file.h"
#include "screens/briefing.h"
#include "screens/focus.h"
#include "screens/logbook.h"
#include "temp_dir.h"
#include "test_game.h"

namespace {

// The golden campaign's mission-1 flight up to just after its landing (take-off in frame 11),
// under a clock of `ticksPerFrame` at 60000 ticks a second: the same flight, flown slower or
// faster by the mission clock. Dumps from `dumpFrom` on.
std::string campaignFlight(const std::string& saveFolder, int ticksPerFrame, int dumpFrom) {
    std::ifstream in(std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/campaign.txt");
    std::string script = "savefolder " + saveFolder + "\nkeepbests\nfrequency 60000\n";
    for (std::string line; std::getline(in, line);) {
        // Command lines up to the landing, without the golden file's own dumps and hashes.
        const size_t space = line.find(' ');
        if (line.empty() || line[0] < '0' || line[0] > '9' || space == std::string::npos) continue;
        const std::string verb = line.substr(space + 1);
        if (verb != "dump" && verb != "hash" && std::stoi(line) <= 4800) script += line + "\n";
    }
    for (int frame = 0; frame <= 4800; ++frame) {
        script += std::to_string(frame) + " clock " + std::to_string(int64_t(frame) * ticksPerFrame) + "\n";
        if (frame >= dumpFrom && frame > 0) script += std::to_string(frame) + " dump\n";
    }
    return script + "4800 end\n";
}

// `text` with the first `from` made `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The replay tool's output lines for `script` and its exit status.
std::vector<std::string> replay(const std::string& script, int* status) {
    const std::string command = std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay '" + script +
                                "' 2>/dev/null";
    std::vector<std::string> lines;
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return lines;
    char buffer[1 << 16];
    while (std::fgets(buffer, sizeof buffer, out) != nullptr) lines.emplace_back(buffer);
    *status = pclose(out);
    return lines;
}

BestFlight kept(const std::string& path) {
    BestFlight best;
    EXPECT_TRUE(readBestFile("test", path, best)) << path;
    return best;
}

// A dump without its frame number and the sounds (the music plays on from wherever it was).
std::string stateOf(const std::string& dump) {
    const size_t frameEnd = dump.find(',');
    const size_t sounds = dump.find(",\"playing\":");
    return dump.substr(frameEnd, sounds - frameEnd);
}

} // namespace

TEST(Bests, TheFasterWinIsKeptAndPlaysBackToTheSameLanding) {
    TempDir dir;
    const std::string save = dir.file("save");
    const std::string path = save + "/files/img/bg/best-1-0.flight";
    int status = 0;
    writeFile(dir.file("slow.txt"), campaignFlight(save, 1100, 99999));
    writeFile(dir.file("fast.txt"), campaignFlight(save, 1000, 4700));

    replay(dir.file("slow.txt"), &status);
    const BestFlight slow = kept(path);
    EXPECT_EQ(slow.mission, 1);
    EXPECT_EQ(slow.level, 0);
    EXPECT_EQ(slow.rules, kRulesVersion);

    const std::vector<std::string> fastDumps = replay(dir.file("fast.txt"), &status);
    const BestFlight fast = kept(path);
    EXPECT_LT(fast.figure, slow.figure);
    EXPECT_NEAR(double(slow.figure) / double(fast.figure), 1.1, 0.01);
    // A slower win would not replace it; the airshow's best is the one that earned more.
    EXPECT_FALSE(beats(1, slow.figure, fast.figure));
    EXPECT_TRUE(beats(3, 600, 500));
    EXPECT_FALSE(beats(3, 500, 500));

    // The win's own frame: the first dump of the landing, frames counted from start-up.
    std::string win;
    for (const std::string& dump : fastDumps) {
        if (dump.rfind("{\"frame\":" + std::to_string(11 + fast.frames) + ",", 0) == 0) win = dump;
    }
    ASSERT_NE(win, "");
    EXPECT_NE(win.find("\"missionsWon\":1"), std::string::npos);
    const std::vector<std::string> played = replay(path, &status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(stateOf(played[0]), stateOf(win));

    // Another version of the rules is not played; a flight that ends elsewhere says so.
    std::string text = readFile(path);
    writeFile(dir.file("other-rules.flight"), replaced(text, "\nrules 1\n", "\nrules 99\n"));
    EXPECT_TRUE(replay(dir.file("other-rules.flight"), &status).empty());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    writeFile(dir.file("elsewhere.flight"),
              replaced(text, "\nfinal " + text.substr(text.find("\nfinal ") + 7, 16), "\nfinal 0000000000000000"));
    replay(dir.file("elsewhere.flight"), &status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(Bests, HostileBestFilesAreRefusedWithOneLine) {
    TempDir dir;
    BestFlight good;
    good.mission = 2;
    good.level = 3;
    good.figure = 61234;
    good.date = "2026-05-04";
    good.rules = kRulesVersion;
    good.frames = 2;
    good.frequency = 60000;
    good.takeOff = {
        {"mission", "2"}, {"missionsUnlocked", "2"}, {"musicTrack", "1"}, {"smokeIndex", "-1"}, {"outcome", "1"}};
    Command clock;
    clock.frame = 2;
    clock.action = Action::Clock;
    clock.readings = {5, 6};
    good.commands = {clock};
    const std::string text = formatBest(good);
    writeFile(dir.file("good"), text);
    BestFlight read;
    ASSERT_TRUE(readBestFile("test", dir.file("good"), read));
    EXPECT_EQ(formatBest(read), text);

    // Each beside the save where a best of its own mission and level would be.
    TestGame game;
    game.assets->saveFolder = dir.path;
    const auto at = [&](int32_t mission, int32_t level) { return bestFilePath(*game, mission, level); };
    std::filesystem::create_directories(std::filesystem::path(at(1, 0)).parent_path());
    writeFile(at(1, 0), "");
    writeFile(at(1, 1), text.substr(0, text.find("rules")));
    writeFile(at(1, 2), std::string("\x7f"
                                    "ELF\0\1\2\xff",
                                    8) +
                            text);
    writeFile(at(1, 3), replaced(text, "smokeIndex -1", "smokeIndex 50"));
    writeFile(at(2, 0), text + "takeoff assets 1\n");
    writeFile(at(2, 1), text + "3 press\n");
    writeFile(at(2, 2), "");
    ASSERT_EQ(truncate(at(2, 2).c_str(), off_t(kLargestBestFile) + 1), 0);
    ASSERT_EQ(mkfifo(at(3, 0).c_str(), 0600), 0);
    ASSERT_EQ(symlink(dir.file("good").c_str(), at(3, 1).c_str()), 0);
    writeFile(at(2, 3), text); // the one good best, and (3, 2) and (3, 3) none at all
    writeFile(dir.file("before-take-off"), replaced(text, "2 clock 5 6", "0 clock 1\n2 clock 5 6"));
    for (const std::string& path : {at(1, 0), at(1, 1), at(1, 2), at(1, 3), at(2, 0), at(2, 1), at(2, 2), at(3, 0),
                                    at(3, 1), dir.file("before-take-off"), dir.file("missing")}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(readBestFile("test", path, read)) << path;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << path << ": " << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
    }

    // The logbook lists them as damaged, one line each, and goes on: the good one is chosen,
    // Backspace closes it.
    game->screen = Screen::Control;
    game->logbookShown = 1;
    testing::internal::CaptureStderr();
    runLogbook(*game);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 9) << said;
    for (int32_t cell = 0; cell < 12; ++cell) {
        const BestState want = cell == 7 ? BestState::Kept : cell >= 10 ? BestState::None : BestState::Damaged;
        EXPECT_EQ(game->logbook[cell / 4][cell % 4].state, want) << cell;
    }
    game->keys[kVkSpace] = 1;
    game->focus = 7;
    readNavigation(*game);
    runLogbook(*game);
    EXPECT_EQ(game->watchRequest, 7);
    game->keys[kVkSpace] = 0;
    game->keys[kVkBackspace] = 1;
    readNavigation(*game);
    runLogbook(*game);
    EXPECT_EQ(game->logbookShown, 0);
}

// A best watched from mission control's logbook flies its own copy of the record: the player's
// record afterwards equals the one before, field for field, and none of its sounds plays on.
TEST(Bests, WatchingABestLeavesThePlayersGameAsItWas) {
    TempDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(SKARNWING_BUILD_DIR);
    auto assets = std::make_unique<GameAssets>();
    auto game = std::make_unique<GameState>();
    assets->saveFolder = dir.path;
    platformOpen();
    runStartUp(*game, *assets, 5);
    std::filesystem::current_path(before);

    // A short sortie of mission 1 as a best: full throttle, the gun fired on the runway.
    auto flown = std::make_unique<GameState>(*game);
    flown->screen = Screen::Briefing;
    flown->mission = kMissionConvoy;
    takeOff(*flown);
    BestFlight best;
    best.mission = 1;
    best.date = "2026-12-07";
    best.rules = kRulesVersion;
    best.frames = 90;
    best.frequency = platformCounterFrequency();
    takeOffOf(*flown, best);
    for (const auto& [frame, line] : {std::pair{1, "down A"}, {60, "down Space"}, {61, "up Space"}, {62, "up A"}}) {
        Command c;
        ASSERT_EQ(parseCommand(std::to_string(frame) + " " + line, 0, c), nullptr);
        best.commands.push_back(c);
    }
    ASSERT_TRUE(writeWholeFile(bestFilePath(*game, 1, 0), formatBest(best), "best"));

    const auto frame = [&](std::initializer_list<InputEvent> events) {
        for (const InputEvent& e : events) headlessPushEvent(e);
        EXPECT_TRUE(pumpOnce(*game));
    };
    const InputEvent spaceDown{InputEventType::KeyDown, kVkSpace, 0, 0, 0};
    const InputEvent spaceUp{InputEventType::KeyUp, kVkSpace, 0, 0, 0};
    game->screen = Screen::Control;
    game->logbookShown = 1; // as the BEST FLIGHTS button leaves it
    frame({});
    frame({});
    ASSERT_EQ(game->logbook[0][0].state, BestState::Kept);
    const auto kept = std::make_unique<GameState>(*game);

    frame({spaceDown});
    ASSERT_TRUE(watching(*game));
    bool gunHeard = false;
    for (int i = 0; i < 120; ++i) {
        frame(i == 0 ? std::initializer_list<InputEvent>{spaceUp} : std::initializer_list<InputEvent>{});
        gunHeard = gunHeard || isPlaying(assets->sounds[kSoundGunHit]) || isPlaying(assets->sounds[kSoundEngineCruise]);
    }
    EXPECT_TRUE(gunHeard);
    frame({{InputEventType::KeyDown, kVkBackspace, 0, 0, 0}});
    EXPECT_FALSE(watching(*game));
    frame({{InputEventType::KeyUp, kVkBackspace, 0, 0, 0}});

    // The frame's own timings aside, the record is the one from before the watch.
    game->renderStats = kept->renderStats;
    game->fpsStopwatch = kept->fpsStopwatch;
    game->dispatcherMs = kept->dispatcherMs;
    game->dispatcherCpuMs = kept->dispatcherCpuMs;
    const auto* a = reinterpret_cast<const unsigned char*>(kept.get());
    const auto* b = reinterpret_cast<const unsigned char*>(game.get());
    size_t differs = 0;
    while (differs < sizeof(GameState) && a[differs] == b[differs]) ++differs;
    EXPECT_EQ(differs, sizeof(GameState)) << "the record differs at byte " << differs;
    EXPECT_EQ(dumpState(*game, 0), dumpState(*kept, 0));
    for (const SoundEffect& sound : assets->sounds) EXPECT_FALSE(isPlaying(sound)) << sound.name;
    runShutDown(*game);
}
