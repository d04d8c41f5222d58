// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Asset and save-file paths are written the Windows way ("Files\Img\bg\arr50.png"); these turn
// them into paths that exist here, matching every component case-insensitively.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// `\` and runs of `/` become one `/`; each component that exists under another case is
// replaced by the name on disk. Components that do not exist are kept as written.
std::string resolvePath(const char* windowsPath);

// If ./Files is missing, changes to the data folder beside the executable or, for an installed
// game, to the one the install put it in.
void enterDataFolder(const char* argv0);
// True once enterDataFolder has entered an installed game's data folder: the package's files,
// never the player's, even for a player (root) who may write there.
bool inInstalledDataFolder();

// Reads a whole regular file of at most maxBytes. Returns false, with bytes empty and one line on
// stderr naming the file, when it is missing, unreadable, not a regular file (a FIFO, device or
// folder is refused without reading from it), larger than maxBytes or too large for memory;
// `what` says what the file is for ("sound", "font sheet"). `path` is taken as written: a file
// the player names (a recording, the settings).
bool readRegularFile(const std::string& path, const char* what, size_t maxBytes, std::vector<uint8_t>& bytes);
// The same for a path written the Windows way, resolved first (resolvePath): the game's own files.
bool readWholeFile(const char* windowsPath, const char* what, size_t maxBytes, std::vector<uint8_t>& bytes);
// Opens a regular file of at most maxBytes for reading, refused as readWholeFile refuses one.
// Returns the descriptor, for the caller to close, and sets `size` to the file's bytes; -1 after
// the line on stderr.
int openRegularFile(const char* windowsPath, const char* what, size_t maxBytes, uint64_t& size);
// Reads up to `count` bytes from `offset` of an open file; returns how many it read, fewer at the
// file's end or on an error.
size_t readAt(int fd, uint64_t offset, void* out, size_t count);
