// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where the game writes files for its player. A game run from its build folder keeps them in its
// data folder; an installed game follows the XDG base directories.

#include <cstddef>
#include <ctime>
#include <string>

// The folder for the player's files (the save; screenshots when there is no pictures folder):
// `dataFolder` itself when it is writable, otherwise $XDG_DATA_HOME/skarnwing, or
// ~/.local/share/skarnwing when XDG_DATA_HOME is unset, empty or not absolute. `xdgDataHome`
// and `home` are the environment's values, either may be null. Nothing is created; empty when
// there is no home to put it in.
std::string userDataFolder(const std::string& dataFolder, bool dataFolderWritable, const char* xdgDataHome,
                           const char* home);
// The same for the working folder (the data folder once enterDataFolder has run), as this
// process may write to it, and the environment of this process. An installed game's data folder
// never counts as writable.
std::string userDataFolder();

// The player's pictures folder: $XDG_PICTURES_DIR, else the one named in
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config/user-dirs.dirs), else ~/Pictures. Only an
// existing, writable folder counts; otherwise empty.
std::string picturesFolder(const char* xdgPicturesDir, const char* xdgConfigHome, const char* home);
std::string picturesFolder();

// Creates `path` and its missing parents. Returns false when it is not a folder afterwards, with
// errno saying why: the first mkdir that failed, or ENOTDIR when something else stands there.
bool makeFolders(const std::string& path);

// A file written whole or not at all: the text goes into `path`.tmp, created anew (nothing
// already standing there is opened or followed, so no write goes through a link or waits on a
// FIFO; a regular file of that name, left by a write that was killed, is removed first), which is
// synced and then renamed over `path`. The previous file stays as it was until the rename.
// Opens the temporary: its descriptor, or -1 with errno set.
int openReplacement(const std::string& path);
// Writes all of `size` bytes; false with errno set when a write fails (EFBIG past a size limit).
bool writeAll(int fd, const char* data, size_t size);
// Syncs and closes the temporary and renames it over `path`, then syncs the folder. Null on
// success; otherwise the name of the call that failed ("fsync", "close", "rename"), with errno
// set and the temporary removed.
const char* commitReplacement(int fd, const std::string& path);
// Closes and removes the temporary of a write given up, errno kept.
void abandonReplacement(int fd, const std::string& path);

// folder/name when no such file exists, otherwise folder/stem-2.ext, -3 and so on (two
// screenshots within one second keep both). Empty when a hundred are taken.
std::string unusedPath(const std::string& folder, const std::string& name);

// "skarnwing-YYYYMMDD-HHMMSS.png" for the local time `when`.
std::string screenshotName(std::time_t when);
