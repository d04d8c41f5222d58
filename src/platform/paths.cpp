#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

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
    // Installed layouts: the data beside the executable, or in ../share/skarnwing.
    for (const std::string& candidate : {folder, folder + "/../share/skarnwing"}) {
        if (isDirectory(candidate + "/Files") && chdir(candidate.c_str()) == 0) return;
    }
}

bool readWholeFile(const char* windowsPath, const char* what, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const std::string path = resolvePath(windowsPath);
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "skarnwing: %s \"%s\" is missing (%s)\n", what, path.c_str(), std::strerror(errno));
        return false;
    }
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "skarnwing: %s \"%s\" could not be read\n", what, path.c_str());
        bytes.clear();
        return false;
    }
    return true;
}
