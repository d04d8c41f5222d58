// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The loaders that take a path read the fuzzer's bytes from a file of this process's own, so the
// file checks before reading are fuzzed with them.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline const std::string& fuzzFilePath() {
    static const std::string path = "/tmp/skarnwing-fuzz-" + std::to_string(getpid()) + ".bin";
    return path;
}

// Writes the input to the process's file; false when it could not be written.
inline bool writeFuzzFile(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(fuzzFilePath().c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}
