// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The save file: its exact text, what a load takes from good, damaged and hostile files, that a
// save never destroys the previous one, that failures are reported as failures, and where the
// file goes.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/inventory.h"
#include "missions/missions.h"
#include "platform/platform.h"
#include "save/save_file.h"
#include "temp_dir.h"
#include "test_game.h"

namespace {

constexpr const char* kNewGameSave = "0\n1\n0.5\n0\n12\n8\n0\n200\n0\n4\n0\n0\n0\n0\n1\n1\n0\n0\n0\n";

// A game as a new game leaves it, with the start-up values the save holds, saving under `folder`
// (empty: the folder of the player's files).
struct SaveGame : TestGame {
    explicit SaveGame(const std::string& folder = "") : TestGame(false) {
        game->smokeMode = 1;
        assets->saveFolder = folder;
    }
};

// The values a loaded field may hold: what the game itself produces.
void expectInRange(const GameState& g) {
    EXPECT_GE(g.money, 0);
    EXPECT_GE(g.missionsWon, 0);
    for (const int32_t steps : g.upgradeSteps) {
        EXPECT_GE(steps, 0);
        EXPECT_LE(steps, 10);
    }
    EXPECT_TRUE(g.aircraft.pitchUpRate >= 1.0 && g.aircraft.pitchUpRate <= 3.0) << g.aircraft.pitchUpRate;
    EXPECT_TRUE(g.aircraft.pitchDownRate >= 0.5 && g.aircraft.pitchDownRate <= 2.5) << g.aircraft.pitchDownRate;
    EXPECT_TRUE(g.aircraft.maxSpeed >= 8 && g.aircraft.maxSpeed <= 28);
    EXPECT_TRUE(g.aircraft.boostSpeed >= 12 && g.aircraft.boostSpeed <= 32);
    EXPECT_TRUE(g.gunRounds >= 200 && g.gunRounds <= 700);
    EXPECT_TRUE(g.bombLoad >= 4 && g.bombLoad <= 34);
    EXPECT_TRUE(g.missileLoad >= 0 && g.missileLoad <= 58);
    EXPECT_TRUE(g.missionsUnlocked >= 1 && g.missionsUnlocked <= missionCount());
    EXPECT_TRUE(g.smokeMode >= 0 && g.smokeMode <= 3);
    for (const int32_t level : g.unlockedDifficulty) {
        EXPECT_TRUE(level >= 0 && level <= 3);
    }
}

// The saves here are the first three missions' files: each later mission adds its level, 0 in
// these games, and a file without it still loads whole.
std::string withLaterMissions(const char* text) {
    std::string whole = text;
    for (int32_t mission = 4; mission <= missionCount(); ++mission) whole += "0\n";
    return whole;
}

// A game with every upgrade bought to the end and much won: the most the game can reach.
constexpr const char* kEverythingSave =
    "2147483647\n3\n2.5\n10\n32\n28\n10\n700\n10\n34\n10\n12\n58\n10\n3\n3\n3\n2\n1\n";

void buyEverything(GameState& g) {
    EXPECT_EQ(parseSave(g, kEverythingSave, std::strlen(kEverythingSave)), saveValueCount());
}

} // namespace

TEST(SaveFile, TextAfterANewGameAndAfterSixTurnSteps) {
    SaveGame game;
    EXPECT_EQ(formatSave(*game), withLaterMissions(kNewGameSave));

    for (int i = 0; i < 6; ++i) {
        game->aircraft.pitchUpRate += double(0.2f);
        game->aircraft.pitchDownRate += double(0.2f);
    }
    EXPECT_EQ(game->aircraft.pitchUpRate, 2.2000000178813934);
    EXPECT_EQ(game->aircraft.pitchDownRate, 1.7000000178813934);
    EXPECT_EQ(formatSave(*game), withLaterMissions("0\n2.2\n1.7\n0\n12\n8\n0\n200\n0\n4\n0\n0\n0\n0\n1\n1\n0\n0\n0\n"));

    // A load brings back the decimal values written, not the sums.
    SaveGame loaded;
    const std::string text = formatSave(*game);
    EXPECT_EQ(parseSave(*loaded, text.data(), text.size()), saveValueCount());
    EXPECT_EQ(loaded->aircraft.pitchUpRate, 2.2);
    EXPECT_EQ(loaded->aircraft.pitchDownRate, 1.7);
}

TEST(SaveFile, EverythingTheGameCanReachComesBackAndSavesTheSame) {
    SaveGame game;
    buyEverything(*game);
    EXPECT_EQ(formatSave(*game), withLaterMissions(kEverythingSave));
    // The last lines are the missions' open levels in mission order.
    EXPECT_EQ(game->unlockedDifficulty[kMissionConvoy] * 100 + game->unlockedDifficulty[kMissionCargo] * 10 +
                  game->unlockedDifficulty[kMissionAirshow],
              321);
    expectInRange(*game);
}

TEST(SaveFile, DamagedFilesLoadTheirReadableLeadingValues) {
    SaveGame reference;
    buyEverything(*reference);
    const std::string full = formatSave(*reference);

    // Carriage returns and other whitespace are skipped like line feeds.
    std::string crlf;
    for (const char c : full) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    SaveGame fromCrlf;
    EXPECT_EQ(parseSave(*fromCrlf, crlf.data(), crlf.size()), saveValueCount());
    EXPECT_EQ(formatSave(*fromCrlf), full);

    SaveGame only;
    EXPECT_EQ(parseSave(*only, "5000", 4), 1);
    EXPECT_EQ(only->money, 5000);
    EXPECT_EQ(formatSave(*only).substr(5), withLaterMissions(kNewGameSave).substr(2)) << "everything after money kept";

    SaveGame junk;
    const std::string notANumber = "lots\n" + full.substr(full.find('\n') + 1);
    EXPECT_EQ(parseSave(*junk, notANumber.data(), notANumber.size()), 0);
    EXPECT_EQ(formatSave(*junk), withLaterMissions(kNewGameSave));

    // A file cut in the middle of a line: the cut number is read as far as it goes.
    SaveGame cut;
    const std::string head = full.substr(0, full.find("700") + 1);
    EXPECT_EQ(parseSave(*cut, head.data(), head.size()), 7) << "gunRounds 7 is outside its range";
    EXPECT_EQ(cut->upgradeSteps[kUpgradeEngine], 10);
    EXPECT_EQ(cut->gunRounds, 200);
}

// A value the game cannot produce stops the load at its line, like text that is not a number:
// the fields before it are taken, it and every later one keep their values.
TEST(SaveFile, HostileValuesStopTheLoadAtTheirLine) {
    struct Case {
        int line; // from 1
        const char* value;
    };
    // Every bound missed by the least step, and values far off.
    const std::string pastLastMission = std::to_string(missionCount() + 1);
    // clang-format off
    const Case cases[] = {
        {1, "-1"},   {1, "2147483648"}, {1, "99999999999999999999"}, {2, "nan"},  {2, "inf"},  {2, "1e308"},
        {2, "0.99"}, {2, "3.01"},  {3, "0.49"}, {3, "2.51"}, {4, "-1"},  {4, "11"},  {5, "11"},  {5, "33"},
        {6, "7"},    {6, "29"},    {7, "-1"},   {7, "11"},   {8, "199"}, {8, "701"}, {9, "-1"},  {9, "11"},
        {10, "3"},   {10, "35"},   {11, "-1"},  {11, "11"},  {11, "-2147483648"},    {12, "-1"}, {13, "-1"},
        {13, "59"},  {14, "-1"},   {14, "11"},  {15, "0"},   {15, pastLastMission.c_str()},  {16, "-1"}, {16, "4"},  {17, "-1"},
        {17, "4"},   {18, "-1"},   {18, "4"},   {19, "-1"},  {19, "4"},  {19, "x"}};
    // clang-format on
    SaveGame reference;
    buyEverything(*reference);
    std::vector<std::string> lines;
    std::istringstream in(formatSave(*reference));
    for (std::string line; std::getline(in, line);) lines.push_back(line);

    for (const Case& c : cases) {
        std::string text;
        for (int i = 0; i < saveValueCount(); ++i)
            text += (i + 1 == c.line ? std::string(c.value) : lines[size_t(i)]) + "\n";
        SaveGame game;
        const std::string before = formatSave(*game);
        const int taken = parseSave(*game, text.data(), text.size());
        const std::string after = formatSave(*game);
        const int expected = c.line - 1;
        EXPECT_EQ(taken, expected) << "line " << c.line << " = " << c.value;
        // Lines before the bad one come from the file, the rest from the game as it was.
        size_t cut = 0;
        for (int i = 0; i < expected; ++i) cut = text.find('\n', cut) + 1;
        EXPECT_EQ(after.substr(0, cut), text.substr(0, cut)) << c.value;
        size_t kept = 0;
        for (int i = 0; i < expected; ++i) kept = before.find('\n', kept) + 1;
        EXPECT_EQ(after.substr(cut), before.substr(kept)) << c.value;
        expectInRange(*game);
    }
}

TEST(SaveFile, SavingTwiceGivesTheSameFileAndALoadTakesItBack) {
    TempDir folder;
    SaveGame game(folder.path);
    buyEverything(*game);
    ASSERT_TRUE(saveGame(*game));
    const std::string path = saveFilePath(*game);
    EXPECT_EQ(path, folder.path + "/files/img/bg/img.v") << "the folders are made when missing";
    const std::string first = readFile(path);
    ASSERT_TRUE(saveGame(*game));
    EXPECT_EQ(readFile(path), first);
    EXPECT_EQ(first, formatSave(*game));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    SaveGame loaded(folder.path);
    loaded->mission = kMissionCargo;
    loaded->difficulty = 3;
    loaded->screen = Screen::Map;
    loaded->reward = 800;
    ASSERT_TRUE(loadGame(*loaded));
    EXPECT_EQ(formatSave(*loaded), first);
    EXPECT_EQ(loaded->mission, 2);
    EXPECT_EQ(loaded->difficulty, 3);
    EXPECT_EQ(loaded->screen, Screen::None);
    EXPECT_EQ(loaded->gameLoaded, 1);
    EXPECT_EQ(loaded->reward, 0);

    SaveGame pressed(folder.path); // the load button: back to the title, which says so
    pressed->screen = Screen::Control;
    pressLoadButton(*pressed);
    EXPECT_EQ(formatSave(*pressed), first);
    EXPECT_EQ(pressed->screen, Screen::Title);
    EXPECT_EQ(pressed->gameLoaded, 1);
    EXPECT_EQ(pressed->loadNotice, 60);
}

// The save goes where the game finds its other files: existing folders matched ignoring case
// (a game run from its data folder), made when missing (the XDG data folder of an installed game).
TEST(SaveFile, PathFollowsTheFoldersOnDisk) {
    TempDir data;
    std::filesystem::create_directories(data.path + "/Files/Img/BG");
    SaveGame game(data.path);
    EXPECT_EQ(saveFilePath(*game), data.path + "/Files/Img/BG/img.v");
    ASSERT_TRUE(saveGame(*game));
    EXPECT_EQ(readFile(data.path + "/Files/Img/BG/img.v"), withLaterMissions(kNewGameSave));
    EXPECT_FALSE(std::filesystem::exists(data.path + "/files")) << "no second, lower-case tree";

    TempDir xdg;
    game.assets->saveFolder = xdg.path + "/skarnwing";
    ASSERT_TRUE(saveGame(*game));
    EXPECT_EQ(readFile(xdg.path + "/skarnwing/files/img/bg/img.v"), withLaterMissions(kNewGameSave));

    game.assets->saveFolder.clear();
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Img/bg")));
    EXPECT_EQ(saveFilePath(*game), "./Files/Img/bg/img.v") << "a game run from its build folder";
}

// What can stand in a save's or a load's way, each in a child process (the size limit and the
// dropped rights stay there; a hang ends at the alarm as a failure). Each leaves the old save and
// whatever stood in the way as they were, tells the player, and says on stderr which call failed
// and why.
TEST(SaveFile, WhatStandsInTheWayKeepsTheOldSaveAndTellsThePlayer) {
    enum Obstacle {
        kFifoSave,
        kHugeSave,
        kFifoTemporary,
        kLinkTemporary,
        kLeftoverTemporary,
        kSizeLimit,
        kReadOnlyFolder,
        kReadOnlyParent
    };
    struct Case {
        Obstacle obstacle;
        bool load;
        int told;           // SaveNotice, or kLoaded for "Game Loaded."
        const char* call;   // what stderr names
        const char* reason; // and why
    };
    constexpr int kLoaded = 3;
    const Case cases[] = {
        {kFifoSave, true, kNoticeNoSavedGame, "save file \"", "is not a regular file"},
        {kHugeSave, true, kNoticeNoSavedGame, "save file \"", "is larger than"},
        {kFifoTemporary, false, kNoticeSaveFailed, "open \"", "(File exists)"},
        {kLinkTemporary, false, kNoticeSaveFailed, "open \"", "(File exists)"},
        {kLeftoverTemporary, false, kNoticeGameSaved, "", ""},
        {kSizeLimit, false, kNoticeSaveFailed, "write \"", "(File too large)"},
        {kReadOnlyFolder, false, kNoticeSaveFailed, "open \"", "(Permission denied)"},
        {kReadOnlyParent, false, kNoticeSaveFailed, "mkdir \"", "(Permission denied)"},
    };
    SaveGame game;
    buyEverything(*game);
    const std::string newSave = formatSave(*game);
    for (const Case& c : cases) {
        TempDir root;
        chmod(root.path.c_str(), 0755); // so the child without rights can reach the folders
        const std::string top = root.path + "/p";
        const std::string folder = top + "/files/img/bg";
        const std::string save = folder + "/img.v";
        const std::string temporary = save + ".tmp";
        const std::string victim = root.path + "/victim";
        std::filesystem::create_directories(folder);
        writeFile(victim, "the player's own file\n");
        const std::string oldSave = c.obstacle == kHugeSave ? std::string(70000, '7') + "\n" : kNewGameSave;
        if (c.obstacle == kFifoSave) mkfifo(save.c_str(), 0644);
        if (c.obstacle != kFifoSave) writeFile(save, oldSave);
        if (c.obstacle == kFifoTemporary) mkfifo(temporary.c_str(), 0644);
        if (c.obstacle == kLinkTemporary) symlink(victim.c_str(), temporary.c_str());
        if (c.obstacle == kLeftoverTemporary) writeFile(temporary, "0\n1\n0.5\n0\n1");
        if (c.obstacle == kReadOnlyFolder) chmod(folder.c_str(), 0555);
        if (c.obstacle == kReadOnlyParent) {
            std::filesystem::remove_all(top + "/files");
            chmod(top.c_str(), 0555);
        }
        game.assets->saveFolder = top;

        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            dup2(pipeEnds[1], 2); // a pipe, which no size limit stops
            alarm(5);
            std::signal(SIGXFSZ, SIG_IGN); // as start-up does
            if (c.obstacle == kSizeLimit) {
                const rlimit small{8, RLIM_INFINITY};
                setrlimit(RLIMIT_FSIZE, &small);
            }
            // Root writes into any folder, so the read-only cases run as nobody.
            if ((c.obstacle == kReadOnlyFolder || c.obstacle == kReadOnlyParent) && geteuid() == 0 &&
                (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(99);
            }
            const std::string before = formatSave(*game);
            if (c.load) {
                pressLoadButton(*game);
            } else {
                pressSaveButton(*game);
            }
            const bool changed = formatSave(*game) != before;
            _exit((game->loadNotice > 0 ? kLoaded : int(game->saveNoticeKind)) + (changed ? 8 : 0));
        }
        close(pipeEnds[1]);
        std::string said;
        char chunk[512];
        for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) said.append(chunk, size_t(n));
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        chmod(folder.c_str(), 0755);
        chmod(top.c_str(), 0755);

        const std::string name = "case " + std::to_string(c.obstacle) + ": " + said;
        EXPECT_TRUE(WIFEXITED(status)) << name << " ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), c.told) << name;
        EXPECT_NE(said.find(c.call), std::string::npos) << name;
        EXPECT_NE(said.find(c.reason), std::string::npos) << name;
        EXPECT_EQ(readFile(victim), "the player's own file\n") << name;
        struct stat info {};
        if (c.obstacle == kFifoSave) {
            EXPECT_TRUE(lstat(save.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) << name;
        } else if (c.obstacle == kReadOnlyParent) {
            EXPECT_FALSE(std::filesystem::exists(top + "/files")) << name;
        } else {
            EXPECT_EQ(readFile(save), c.told == kNoticeGameSaved ? newSave : oldSave) << name;
        }
        const bool keptInTheWay = c.obstacle == kFifoTemporary || c.obstacle == kLinkTemporary;
        EXPECT_EQ(lstat(temporary.c_str(), &info) == 0, keptInTheWay) << name;
        EXPECT_TRUE(!keptInTheWay || !S_ISREG(info.st_mode)) << name;
    }
}

// With no save the load changes nothing at all: no value, no flag, no screen; only the notice.
TEST(SaveFile, AMissingSaveChangesNothingButTheNotice) {
    TempDir folder;
    SaveGame game(folder.path);
    buyEverything(*game);
    game->screen = Screen::Control;
    game->missionOver = 1;
    game->reward = 300;
    std::vector<unsigned char> before(sizeof(GameState));
    std::memcpy(before.data(), game.game.get(), sizeof(GameState));
    const auto unchanged = [&]() { return std::memcmp(before.data(), game.game.get(), sizeof(GameState)) == 0; };
    EXPECT_FALSE(loadGame(*game));
    EXPECT_TRUE(unchanged());

    pressLoadButton(*game);
    EXPECT_EQ(game->saveNoticeKind, kNoticeNoSavedGame);
    EXPECT_EQ(game->savedNotice, 60);
    game->saveNoticeKind = 0;
    game->savedNotice = 0;
    EXPECT_TRUE(unchanged());

    // A folder where the file should be cannot be read either.
    std::filesystem::create_directories(saveFilePath(*game));
    EXPECT_FALSE(loadGame(*game));
    EXPECT_TRUE(unchanged());
}

TEST(SaveFile, NoticesShowForSixtyFramesInTheirColours) {
    ASSERT_TRUE(std::filesystem::exists(generated("Files/Img/Consolas13x24-2.bmp")));
    SaveGame game;
    loadFonts(*game);
    const std::pair<SaveNotice, uint32_t> notices[] = {
        {kNoticeGameSaved, 0xFF00FF00u}, {kNoticeSaveFailed, 0xFFFF0000u}, {kNoticeNoSavedGame, 0xFFFF0000u}};
    for (const auto& [kind, colour] : notices) {
        game->saveNoticeKind = kind;
        game->savedNotice = kSaveNoticeFrames;
        int shown = 0;
        for (int frame = 0; frame < 80; ++frame) {
            game.wipe();
            drawSaveNotice(*game);
            countDownSaveNotice(*game);
            shown += game.count(colour) > 40 ? 1 : 0;
        }
        EXPECT_EQ(shown, 60) << kind;
    }
}
