#include "platform/recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Recorder {
    FILE* file = nullptr;
    std::string path;
    int64_t framesBegun = 0; // frames started so far; events belong to the next one
    int64_t clockFrame = 0;  // the frame whose readings `clockLine` holds
    std::string clockLine;   // readings not yet written
};

Recorder gRecorder;
std::vector<int64_t>* gCounterTape = nullptr;

void writeClockLine() {
    Recorder& r = gRecorder;
    if (r.clockLine.empty()) return;
    std::fprintf(r.file, "%lld clock%s\n", static_cast<long long>(r.clockFrame), r.clockLine.c_str());
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
    FILE* file = std::fopen(path, "w");
    if (file == nullptr) {
        std::fprintf(stderr, "skarnwing: cannot write the recording \"%s\" (%s)\n", path, std::strerror(errno));
        return false;
    }
    gRecorder = Recorder{file, path, 0, 0, {}};
    std::fprintf(file, "# A game of Skarnwing as played; skarnwing-replay plays it back.\nseed %u\nfrequency %lld\n",
                 seed, static_cast<long long>(counterFrequency));
    if (fullScreen) std::fputs("fullscreen\n", file);
    return true;
}

void recordEvent(const InputEvent& event) {
    Recorder& r = gRecorder;
    if (r.file == nullptr) return;
    const long long frame = r.framesBegun + 1;
    switch (event.type) {
    case InputEventType::KeyDown:
        std::fprintf(r.file, "%lld down %s\n", frame, keyName(event.virtualKey).c_str());
        break;
    case InputEventType::KeyUp: std::fprintf(r.file, "%lld up %s\n", frame, keyName(event.virtualKey).c_str()); break;
    case InputEventType::MouseMove:
        std::fprintf(r.file, "%lld mouse %d %d %u\n", frame, event.x, event.y, event.buttons);
        break;
    case InputEventType::LeftDown: std::fprintf(r.file, "%lld press\n", frame); break;
    case InputEventType::LeftUp: std::fprintf(r.file, "%lld release\n", frame); break;
    case InputEventType::Quit: break;
    }
}

void recorderTapeCounter(std::vector<int64_t>* tape) { gCounterTape = tape; }

void recordCounter(int64_t value) {
    if (gCounterTape != nullptr) gCounterTape->push_back(value);
    Recorder& r = gRecorder;
    if (r.file == nullptr) return;
    if (r.clockFrame != r.framesBegun) writeClockLine();
    r.clockFrame = r.framesBegun;
    r.clockLine += ' ';
    r.clockLine += std::to_string(value);
}

void recordFrameBegun() {
    if (gRecorder.file != nullptr) ++gRecorder.framesBegun;
}

void recorderClose() {
    Recorder& r = gRecorder;
    if (r.file == nullptr) return;
    writeClockLine();
    if (r.framesBegun > 0) {
        std::fprintf(r.file, "%lld dump\n%lld end\n", static_cast<long long>(r.framesBegun),
                     static_cast<long long>(r.framesBegun));
    }
    const bool failed = std::ferror(r.file) != 0;
    if (std::fclose(r.file) != 0 || failed) {
        std::fprintf(stderr, "skarnwing: the recording \"%s\" could not be written completely\n", r.path.c_str());
    }
    gRecorder = Recorder{};
}
