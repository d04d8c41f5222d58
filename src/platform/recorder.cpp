// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/recorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/user_folders.h"

namespace {

struct Recorder {
    int fd = -1;             // the temporary, renamed over `path` at the close
    std::string path;        // absolute, since start-up changes the working folder
    std::string pending;     // text not yet written: written as each frame begins
    int writeError = 0;      // errno of the first write that failed; the recording is then given up
    int64_t framesBegun = 0; // frames started so far; events belong to the next one
    int64_t clockFrame = 0;  // the frame whose readings `clockLine` holds
    std::string clockLine;   // readings not yet written
};

Recorder gRecorder;
std::vector<int64_t>* gCounterTape = nullptr;

void flushPending(Recorder& r) {
    if (r.writeError == 0 && !writeAll(r.fd, r.pending.data(), r.pending.size())) r.writeError = errno;
    r.pending.clear();
}

// Appends one formatted line (every line the recorder writes is short).
__attribute__((format(printf, 1, 2))) void put(const char* format, ...) {
    Recorder& r = gRecorder;
    char line[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    r.pending.append(line, n > 0 ? std::min(size_t(n), sizeof line - 1) : 0);
}

void writeClockLine() {
    Recorder& r = gRecorder;
    if (r.clockLine.empty()) return;
    r.pending += std::to_string(r.clockFrame) + " clock" + r.clockLine + "\n";
    r.clockLine.clear();
}

// The replay tool's name for a key: a word for the keys it names, the letter or digit, or hex.
std::string keyName(int32_t key) {
    switch (key) {
    case kVkTab: return "Tab";
    case kVkEnter: return "Enter";
    case kVkCtrl: return "Ctrl";
    case kVkEsc: return "Esc";
    case kVkSpace: return "Space";
    case kVkLeft: return "Left";
    case kVkUp: return "Up";
    case kVkRight: return "Right";
    case kVkDown: return "Down";
    default: break;
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(key & 0xFF));
    return text;
}

} // namespace

bool recorderOpen(const char* path, uint32_t seed, int64_t counterFrequency, bool fullScreen) {
    recorderClose();
    std::string full = path;
    if (!full.empty() && full[0] != '/') {
        char* here = getcwd(nullptr, 0);
        full = std::string(here != nullptr ? here : ".") + "/" + full;
        std::free(here);
    }
    // A new file or a regular one replaced whole: never a FIFO, device or link written through.
    struct stat info;
    const bool other = lstat(full.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
    const int fd = other ? -1 : openReplacement(full);
    if (fd < 0) {
        std::fprintf(stderr, "skarnwing: cannot write the recording \"%s\" (%s)\n", path,
                     other ? "not a regular file" : std::strerror(errno));
        return false;
    }
    gRecorder = Recorder{};
    gRecorder.fd = fd;
    gRecorder.path = full;
    put("# A game of Skarnwing as played; skarnwing-replay plays it back.\nseed %u\nfrequency %lld\n", seed,
        static_cast<long long>(counterFrequency));
    if (fullScreen) put("fullscreen\n");
    return true;
}

void recordEvent(const InputEvent& event) {
    Recorder& r = gRecorder;
    if (r.fd < 0) return;
    const long long frame = r.framesBegun + 1;
    switch (event.type) {
    case InputEventType::KeyDown: put("%lld down %s\n", frame, keyName(event.virtualKey).c_str()); break;
    case InputEventType::KeyUp: put("%lld up %s\n", frame, keyName(event.virtualKey).c_str()); break;
    case InputEventType::MouseMove: put("%lld mouse %d %d %u\n", frame, event.x, event.y, event.buttons); break;
    case InputEventType::LeftDown: put("%lld press\n", frame); break;
    case InputEventType::LeftUp: put("%lld release\n", frame); break;
    case InputEventType::Quit: break;
    }
}

void recorderTapeCounter(std::vector<int64_t>* tape) { gCounterTape = tape; }

void recordCounter(int64_t value) {
    if (gCounterTape != nullptr) gCounterTape->push_back(value);
    Recorder& r = gRecorder;
    if (r.fd < 0) return;
    if (r.clockFrame != r.framesBegun) writeClockLine();
    r.clockFrame = r.framesBegun;
    r.clockLine += ' ';
    r.clockLine += std::to_string(value);
}

// What came before the frame is written as it begins, so a game that dies leaves its recording
// up to its last frame in the temporary.
void recordFrameBegun() {
    Recorder& r = gRecorder;
    if (r.fd < 0) return;
    ++r.framesBegun;
    if (!r.pending.empty()) flushPending(r);
}

void recorderClose() {
    Recorder& r = gRecorder;
    if (r.fd < 0) return;
    writeClockLine();
    if (r.framesBegun > 0) {
        put("%lld dump\n%lld end\n", static_cast<long long>(r.framesBegun), static_cast<long long>(r.framesBegun));
    }
    flushPending(r);
    const char* call = "write";
    if (r.writeError != 0) {
        errno = r.writeError;
        abandonReplacement(r.fd, r.path);
    } else {
        call = commitReplacement(r.fd, r.path);
    }
    if (call != nullptr) {
        std::fprintf(stderr, "skarnwing: the recording \"%s\" could not be written: %s failed (%s)\n", r.path.c_str(),
                     call, std::strerror(errno));
    }
    gRecorder = Recorder{};
}
