// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/user_folders.h"

#include "platform/paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isWritableDirectory(const std::string& path) {
    return isDirectory(path) && access(path.c_str(), W_OK | X_OK) == 0;
}

// XDG paths must be absolute; anything else in the variable is ignored.
bool usable(const char* value) { return value != nullptr && value[0] == '/'; }

const char* homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_dir : nullptr;
}

// The value of XDG_PICTURES_DIR in a user-dirs.dirs file ("$HOME/..." or an absolute path).
std::string picturesFromUserDirs(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const size_t end = line.find('"', key.size());
        if (end == std::string::npos) return {};
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        return value.empty() || value[0] != '/' ? std::string() : value;
    }
    return {};
}

} // namespace

std::string userDataFolder(const std::string& dataFolder, bool dataFolderWritable, const char* xdgDataHome,
                           const char* home) {
    if (dataFolderWritable) return dataFolder;
    if (usable(xdgDataHome)) return std::string(xdgDataHome) + "/skarnwing";
    if (home == nullptr || home[0] == '\0') return {};
    return std::string(home) + "/.local/share/skarnwing";
}

std::string userDataFolder() {
    const bool ours = !inInstalledDataFolder() && isWritableDirectory(".");
    return userDataFolder(".", ours, std::getenv("XDG_DATA_HOME"), homeFolder());
}

std::string picturesFolder(const char* xdgPicturesDir, const char* xdgConfigHome, const char* home) {
    std::string folder;
    const std::string homeText = home != nullptr ? home : "";
    if (usable(xdgPicturesDir)) {
        folder = xdgPicturesDir;
    } else {
        const std::string config = usable(xdgConfigHome) ? std::string(xdgConfigHome) : homeText + "/.config";
        if (!homeText.empty() || usable(xdgConfigHome))
            folder = picturesFromUserDirs(config + "/user-dirs.dirs", homeText);
        if (folder.empty() && !homeText.empty()) folder = homeText + "/Pictures";
    }
    return isWritableDirectory(folder) ? folder : std::string();
}

std::string picturesFolder() {
    return picturesFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("XDG_CONFIG_HOME"), homeFolder());
}

bool makeFolders(const std::string& path) {
    int error = 0; // the first mkdir that failed for a reason other than the folder being there
    const auto make = [&error](const std::string& folder) {
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST && error == 0) error = errno;
    };
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        make(path.substr(0, slash));
    }
    make(path);
    if (isDirectory(path)) return true;
    errno = error != 0 ? error : ENOTDIR;
    return false;
}

int openReplacement(const std::string& path) {
    const std::string temporary = path + ".tmp";
    struct stat info;
    if (lstat(temporary.c_str(), &info) == 0 && S_ISREG(info.st_mode)) unlink(temporary.c_str());
    return open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

bool writeAll(int fd, const char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

const char* commitReplacement(int fd, const std::string& path) {
    const std::string temporary = path + ".tmp";
    const char* call = fsync(fd) != 0 ? "fsync" : nullptr;
    int error = errno;
    if (close(fd) != 0 && call == nullptr) {
        call = "close";
        error = errno;
    }
    if (call == nullptr && std::rename(temporary.c_str(), path.c_str()) != 0) {
        call = "rename";
        error = errno;
    }
    if (call != nullptr) {
        unlink(temporary.c_str());
        errno = error;
        return call;
    }
    // Makes the rename itself survive a power cut; the file is already whole if this fails.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return nullptr;
}

void abandonReplacement(int fd, const std::string& path) {
    const int error = errno;
    close(fd);
    unlink((path + ".tmp").c_str());
    errno = error;
}

std::string unusedPath(const std::string& folder, const std::string& name) {
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 1; n <= 100; ++n) {
        const std::string path = folder + "/" + (n == 1 ? name : stem + "-" + std::to_string(n) + extension);
        struct stat info;
        if (lstat(path.c_str(), &info) != 0) return path;
    }
    return {};
}

std::string screenshotName(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char name[64];
    std::strftime(name, sizeof name, "skarnwing-%Y%m%d-%H%M%S.png", &local);
    return name;
}
