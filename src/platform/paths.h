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

// If ./Files is missing, changes to the data folder installed beside the executable.
void enterDataFolder(const char* argv0);

// Reads a whole regular file of at most maxBytes. Returns false, with bytes empty and one line on
// stderr naming the file, when it is missing, unreadable, not a regular file (a FIFO, device or
// folder is refused without reading from it), larger than maxBytes or too large for memory;
// `what` says what the file is for ("sound", "font sheet").
bool readWholeFile(const char* windowsPath, const char* what, size_t maxBytes, std::vector<uint8_t>& bytes);
