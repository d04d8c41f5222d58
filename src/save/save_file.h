// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's progress in one small text file: the money, the upgrades with the flight and
// weapon values they bought, and how far the missions and their levels are open. Nothing of a
// sortie is kept. The file is decimal values, one per line, each ending in a bare line feed: 16 of
// progress, then each mission's highest open difficulty (19 with the first three missions).

#include <cstddef>
#include <cstdint>
#include <string>

struct GameState;

// The values of a whole save.
int saveValueCount();
constexpr int32_t kSaveNoticeFrames = 60;

// Mission control's notice after the save or load button, in GameState::saveNoticeKind.
enum SaveNotice : int32_t { kNoticeGameSaved, kNoticeSaveFailed, kNoticeNoSavedGame };

// The file's text for the game's progress: integers plain, the two rates with %g.
std::string formatSave(const GameState& game);

// Takes the values of `text` into the game in file order and returns how many it took. Reading
// stops at the first value that is not a number or lies outside what the game itself can
// produce: that field and every later one keep their values. Text that ends after the first three
// missions' levels is whole (a save from before later missions), and those missions keep theirs.
// Leading whitespace of any kind, carriage returns included, is skipped. `text` need not end in a
// NUL.
int parseSave(GameState& game, const char* text, size_t length);

// Writes the save to `path` without ever leaving a damaged one: the text goes into a temporary
// file the game creates anew beside it (path + ".tmp"; nothing already there is opened or
// followed, a leftover regular file of that name is removed first), which is synced and then
// renamed over the old save. False, with one line on stderr naming the call that failed and
// why, when any step fails; the previous save is then untouched and no temporary file is left.
// A file-size limit fails the write only where SIGXFSZ is ignored, as start-up does.
bool writeSaveFile(const GameState& game, const std::string& path);
// The same for any `text` the game keeps whole (a best flight); `what` names it in the message.
bool writeWholeFile(const std::string& path, const std::string& text, const char* what);

// Loads the save at `path`. False, changing nothing at all, when it is missing, unreadable, not
// a regular file (a FIFO is refused without waiting on it) or larger than 64 KiB.
// Otherwise takes what parseSave takes and closes the screens for the return to the title
// picture (gameLoaded set, the reward cleared), even when not one value could be read.
bool readSaveFile(GameState& game, const std::string& path);

// Where the save lives: files/img/bg/img.v under the folder of the player's files (the data
// folder when it is writable, otherwise the XDG data folder) or under GameAssets::saveFolder
// when a tool or test named one, each existing part matched ignoring case.
std::string saveFilePath(const GameState& game);

// The save and load of mission control's buttons. True on success. While saves are held back
// (GameAssets::savesHeldBack) a save writes nothing and reports success.
bool saveGame(GameState& game);
bool loadGame(GameState& game);

// The buttons' whole effect: the save or load and the notice it leaves. A load that succeeds
// raises the title picture with "Game Loaded."; one that finds no save changes nothing but
// the notice.
void pressSaveButton(GameState& game);
void pressLoadButton(GameState& game);

// Mission control's notice, "Game Saved." in green or "Save Failed." / "No Saved Game." in
// red, for its 60 frames: drawn, then counted down.
void drawSaveNotice(const GameState& game);
void countDownSaveNotice(GameState& game);
