// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A temporary folder for one test, removed with everything in it when the test ends, and the
// two file helpers the tests write and read fixtures with.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct TempDir {
    std::string path;

    TempDir() {
        char pattern[] = "/tmp/skarnwing-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr) ADD_FAILURE() << "mkdtemp failed: no temporary folder";
        path = made != nullptr ? made : "/nonexistent/skarnwing-test";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    EXPECT_TRUE(out) << "cannot write " << path;
    out << bytes;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// The whole file, empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
