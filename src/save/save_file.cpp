// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "save/save_file.h"
#include "raster/colours.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/game_assets.h"
#include "combat/weapons.h"
#include "flight/flight.h"
#include "game/game_state.h"
#include "game/upgrades.h"
#include "missions/missions.h"
#include "platform/paths.h"
#include "platform/user_folders.h"
#include "raster/canvas.h"

namespace {

constexpr int kProgressValues = 16;     // the lines before the missions' open difficulties
constexpr int kMissionsInEverySave = 3; // the missions the first saves knew

// The mission whose open difficulty is on line `index`, from kProgressValues.
Mission missionOnLine(int index) { return static_cast<Mission>(index - kProgressValues + 1); }

constexpr int32_t kLargestInt = 2147483647;
constexpr size_t kLargestSave = 65536; // larger files are refused; the values need a few hundred bytes

// What the game itself can produce for each value, in file order: a new game's values up to
// every upgrade bought. Upgrade counts bound the prices and pips drawn from them; the loads bound
// the projectile tables.
struct Range {
    double low;
    double high;
};
constexpr int32_t kAllSteps = kMaxUpgradeSteps;
constexpr Range kProgressRanges[kProgressValues] = {
    {0, kLargestInt}, // money
    {kNewGamePitchUpRate, turnRateAfter(kNewGamePitchUpRate, kAllSteps)},
    {kNewGamePitchDownRate, turnRateAfter(kNewGamePitchDownRate, kAllSteps)},
    {0, kAllSteps}, // turnUpgrades
    {kNewGameBoostSpeed, kNewGameBoostSpeed + kAllSteps* kEngineStep},
    {kNewGameMaxSpeed, kNewGameMaxSpeed + kAllSteps* kEngineStep},
    {0, kAllSteps}, // engineUpgrades
    {kNewGameGunRounds, kNewGameGunRounds + kAllSteps* kGunStep},
    {0, kAllSteps}, // gunUpgrades
    {kNewGameBombLoad, kNewGameBombLoad + kAllSteps* kBombStep},
    {0, kAllSteps},   // bombUpgrades
    {0, kLargestInt}, // missionsWon
    {kNewGameMissileLoad, double(missileLoadAfter(kNewGameMissileLoad, kAllSteps))},
    {0, kAllSteps}, // missileUpgrades
    {1, 0},         // missionsUnlocked: 1..the missions' count
    {0, 3},         // smokeMode
};
constexpr int kMissionsUnlockedLine = 14;

// Line `index`'s range: the progress, then each mission's open difficulty below its levels.
Range rangeOf(int index) {
    if (index >= kProgressValues) return {0, double(missionRow(missionOnLine(index)).levels - 1)};
    if (index == kMissionsUnlockedLine) return {1, double(missionCount())};
    return kProgressRanges[index];
}

// The integer field of file line `index` (from 0), or null for the two rates.
template <typename Game>
auto* wholeField(Game& game, int index) {
    if (index >= kProgressValues) return &game.unlockedDifficulty[missionOnLine(index)];
    // clang-format off
    decltype(&game.money) fields[kProgressValues] = {
        &game.money, nullptr, nullptr, &game.upgradeSteps[kUpgradeTurn], &game.aircraft.boostSpeed,
        &game.aircraft.maxSpeed, &game.upgradeSteps[kUpgradeEngine], &game.gunRounds, &game.upgradeSteps[kUpgradeGun],
        &game.bombLoad, &game.upgradeSteps[kUpgradeBombs], &game.missionsWon, &game.missileLoad,
        &game.upgradeSteps[kUpgradeMissiles], &game.missionsUnlocked, &game.smokeMode};
    // clang-format on
    return fields[index];
}

template <typename Game>
auto* rateField(Game& game, int index) {
    return index == 1 ? &game.aircraft.pitchUpRate : index == 2 ? &game.aircraft.pitchDownRate : nullptr;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads text the way formatted stream input does: skips whitespace, then takes the longest
// number at `at`. Fails on anything else, and on an integer beyond 32 bits.
struct Reader {
    const char* text;
    size_t length;
    size_t at = 0;

    void skipSpace() {
        while (at < length && isSpace(text[at])) ++at;
    }
    bool atEnd() {
        skipSpace();
        return at >= length;
    }
    // Skips an optional sign; true for a minus.
    bool sign() {
        const bool negative = at < length && text[at] == '-';
        if (at < length && (text[at] == '-' || text[at] == '+')) ++at;
        return negative;
    }
    size_t digits() {
        const size_t start = at;
        while (at < length && isDigit(text[at])) ++at;
        return at - start;
    }

    bool whole(int64_t& value) {
        skipSpace();
        const bool negative = sign();
        value = 0;
        const size_t start = at;
        while (at < length && isDigit(text[at])) {
            value = value * 10 + (text[at] - '0');
            if (value > int64_t(kLargestInt) + 1) return false;
            ++at;
        }
        if (at == start) return false;
        if (negative) value = -value;
        return value >= -int64_t(kLargestInt) - 1 && value <= kLargestInt;
    }

    bool decimal(double& value) {
        skipSpace();
        const size_t start = at;
        sign();
        size_t count = digits();
        if (at < length && text[at] == '.') {
            ++at;
            count += digits();
        }
        if (count == 0) return false;
        if (at < length && (text[at] == 'e' || text[at] == 'E')) {
            ++at;
            sign();
            if (digits() == 0) return false;
        }
        char numeral[64];
        if (at - start >= sizeof numeral) return false; // no number the game writes is this long
        std::memcpy(numeral, text + start, at - start);
        numeral[at - start] = '\0';
        value = std::strtod(numeral, nullptr);
        return true;
    }
};

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// One line on stderr for a write of `what` that failed at `call` on `file`; always false.
bool writeFailed(const char* what, const char* call, const std::string& file, int error) {
    std::fprintf(stderr, "skarnwing: could not save %s: %s \"%s\" failed (%s); the previous %s is kept\n", what, call,
                 file.c_str(), std::strerror(error), std::strcmp(what, "the game") == 0 ? "save" : "one");
    return false;
}

} // namespace

int saveValueCount() { return kProgressValues + missionCount(); }

std::string formatSave(const GameState& game) {
    std::string text;
    char line[32];
    for (int i = 0; i < saveValueCount(); ++i) {
        if (const double* rate = rateField(game, i)) {
            std::snprintf(line, sizeof line, "%g\n", *rate);
        } else {
            std::snprintf(line, sizeof line, "%d\n", *wholeField(game, i));
        }
        text += line;
    }
    return text;
}

int parseSave(GameState& game, const char* text, size_t length) {
    Reader reader{text, length};
    for (int i = 0; i < saveValueCount(); ++i) {
        // A save from before the later missions ends after the first three's levels: it is whole,
        // and the missions it does not know keep their levels.
        if (i >= kProgressValues + kMissionsInEverySave && reader.atEnd()) break;
        const Range range = rangeOf(i);
        if (double* rate = rateField(game, i)) {
            double value = 0.0;
            if (!reader.decimal(value) || !std::isfinite(value) || value < range.low || value > range.high) return i;
            *rate = value;
        } else {
            int64_t value = 0;
            if (!reader.whole(value) || double(value) < range.low || double(value) > range.high) return i;
            *wholeField(game, i) = static_cast<int32_t>(value);
        }
    }
    return saveValueCount();
}

bool writeWholeFile(const std::string& path, const std::string& text, const char* what) {
    const std::string folder = folderOf(path);
    const std::string temporary = path + ".tmp";
    if (!makeFolders(folder)) return writeFailed(what, "mkdir", folder, errno);
    const int fd = openReplacement(path);
    if (fd < 0) return writeFailed(what, "open", temporary, errno);
    if (!writeAll(fd, text.data(), text.size())) {
        const int error = errno;
        abandonReplacement(fd, path);
        return writeFailed(what, "write", temporary, error);
    }
    if (const char* call = commitReplacement(fd, path)) return writeFailed(what, call, temporary, errno);
    return true;
}

bool writeSaveFile(const GameState& game, const std::string& path) {
    return writeWholeFile(path, formatSave(game), "the game");
}

bool readSaveFile(GameState& game, const std::string& path) {
    if (path.empty()) {
        std::fprintf(stderr, "skarnwing: no saved game (no folder for the player's files)\n");
        return false;
    }
    // Opened like every asset: a FIFO, device or folder is refused without waiting on it.
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path.c_str(), "save file", kLargestSave, bytes)) return false;
    const int taken = parseSave(game, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (taken < saveValueCount()) {
        std::fprintf(stderr, "skarnwing: the save file \"%s\" is damaged at line %d; later values are kept\n",
                     path.c_str(), taken + 1);
    }
    closeScreensBelowTitle(game);
    game.gameLoaded = 1;
    game.reward = 0;
    return true;
}

std::string saveFilePath(const GameState& game) {
    const std::string& chosen = game.assets->saveFolder;
    const std::string folder = chosen.empty() ? userDataFolder() : chosen;
    if (folder.empty()) return {};
    return resolvePath((folder + "/files//img//bg//img.v").c_str());
}

bool saveGame(GameState& game) {
    if (game.assets->savesHeldBack) return true;
    const std::string path = saveFilePath(game);
    if (path.empty()) {
        std::fprintf(stderr, "skarnwing: no folder for the player's files to save the game into\n");
        return false;
    }
    return writeSaveFile(game, path);
}

bool loadGame(GameState& game) { return readSaveFile(game, saveFilePath(game)); }

void pressSaveButton(GameState& game) {
    game.saveNoticeKind = saveGame(game) ? kNoticeGameSaved : kNoticeSaveFailed;
    game.savedNotice = kSaveNoticeFrames;
}

void pressLoadButton(GameState& game) {
    if (loadGame(game)) {
        game.screen = Screen::Title;
        game.loadNotice = kSaveNoticeFrames;
    } else {
        game.saveNoticeKind = kNoticeNoSavedGame;
        game.savedNotice = kSaveNoticeFrames;
    }
}

void drawSaveNotice(const GameState& game) {
    if (game.savedNotice <= 0) return;
    const char* text = "Game Saved.";
    uint32_t colour = kGreen;
    if (game.saveNoticeKind == kNoticeSaveFailed) {
        text = "Save Failed.";
        colour = kRed;
    } else if (game.saveNoticeKind == kNoticeNoSavedGame) {
        text = "No Saved Game.";
        colour = kRed;
    }
    drawSmallText(game, text, 570, 630, colour);
}

void countDownSaveNotice(GameState& game) {
    if (game.savedNotice > 0) game.savedNotice -= 1;
}
