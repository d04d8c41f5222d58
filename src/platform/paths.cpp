// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

// The data folder of an installed game, from the executable's folder (the build sets it from the
// install layout: ../share/games/skarnwing for Debian's package).
#ifndef SKARNWING_DATA_FROM_BIN
#define SKARNWING_DATA_FROM_BIN "../share/skarnwing"
#endif

namespace {

bool enteredInstalledData = false;

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name matches `name` ignoring case, preferring an exact match.
std::string matchEntry(const std::string& folder, const std::string& name) {
    const std::string exact = folder.empty() ? name : folder + "/" + name;
    if (exists(exact)) return name;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return name;
    std::string found = name;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

} // namespace

std::string resolvePath(const char* windowsPath) {
    std::string resolved;
    std::string component;
    const bool absolute = windowsPath[0] == '/';
    auto flush = [&]() {
        if (component.empty()) return;
        const std::string folder = resolved.empty() && absolute ? std::string("/") : resolved;
        const std::string name = component == "." || component == ".." ? component : matchEntry(folder, component);
        if (resolved.empty() ? absolute : resolved != "/") resolved.push_back('/');
        resolved.append(name);
        component.clear();
    };
    for (const char* p = windowsPath; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') {
            flush();
        } else {
            component += *p;
        }
    }
    flush();
    if (resolved.empty() && absolute) resolved.push_back('/');
    return resolved;
}

void enterDataFolder(const char* argv0) {
    if (isDirectory(resolvePath("Files"))) return;
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string exe = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv0 ? argv0 : "");
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return;
    const std::string folder = exe.substr(0, slash);
    // A copied build keeps its data beside the executable; an installed game has its own folder.
    if (isDirectory(folder + "/Files") && chdir(folder.c_str()) == 0) return;
    const std::string installed = folder + "/" SKARNWING_DATA_FROM_BIN;
    if (isDirectory(installed + "/Files") && chdir(installed.c_str()) == 0) enteredInstalledData = true;
}

bool inInstalledDataFolder() { return enteredInstalledData; }

namespace {
// Opens a regular file of at most maxBytes for reading, or prints one line naming it and gives -1.
int openRegularPath(const std::string& path, const char* what, size_t maxBytes, uint64_t& size) {
    size = 0;
    // Non-blocking, so that a FIFO in place of the file cannot hold start-up at the open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "skarnwing: %s \"%s\" is missing (%s)\n", what, path.c_str(), std::strerror(errno));
        return -1;
    }
    const char* problem = nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0) {
        problem = "cannot be examined";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "is not a regular file";
    } else if (uint64_t(info.st_size) > maxBytes) {
        problem = "is larger than its kind of file may be";
    }
    if (problem != nullptr) {
        close(fd);
        std::fprintf(stderr, "skarnwing: %s \"%s\" %s\n", what, path.c_str(), problem);
        return -1;
    }
    size = uint64_t(info.st_size);
    return fd;
}
} // namespace

int openRegularFile(const char* windowsPath, const char* what, size_t maxBytes, uint64_t& size) {
    return openRegularPath(resolvePath(windowsPath), what, maxBytes, size);
}

size_t readAt(int fd, uint64_t offset, void* out, size_t count) {
    size_t got = 0;
    while (got < count) {
        const ssize_t n = pread(fd, static_cast<uint8_t*>(out) + got, count - got, off_t(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    return got;
}

bool readRegularFile(const std::string& path, const char* what, size_t maxBytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    uint64_t size = 0;
    const int fd = openRegularPath(path, what, maxBytes, size);
    if (fd < 0) return false;
    const char* problem = nullptr;
    try {
        // One byte more than allowed is asked for, so a file that grows while read is caught.
        bytes.resize(size_t(size) + 1);
        size_t got = 0;
        while (got < bytes.size() && got <= maxBytes) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                problem = "could not be read";
                break;
            }
            if (n == 0) break;
            got += size_t(n);
            if (got == bytes.size() && got <= maxBytes) bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        if (problem == nullptr && got > maxBytes) problem = "is larger than its kind of file may be";
        bytes.resize(got);
    } catch (const std::bad_alloc&) {
        problem = "does not fit in memory";
    }
    close(fd);
    if (problem != nullptr) {
        std::fprintf(stderr, "skarnwing: %s \"%s\" %s\n", what, path.c_str(), problem);
        bytes = std::vector<uint8_t>();
        return false;
    }
    return true;
}

bool readWholeFile(const char* windowsPath, const char* what, size_t maxBytes, std::vector<uint8_t>& bytes) {
    return readRegularFile(resolvePath(windowsPath), what, maxBytes, bytes);
}
