// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/captions.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Reads a number at `at` and the blanks after it; false when there is none.
bool readNumber(const std::string& line, size_t& at, double& value) {
    const char* start = line.c_str() + at;
    char* end = nullptr;
    value = std::strtod(start, &end);
    if (end == start) return false;
    at += size_t(end - start);
    while (at < line.size() && line[at] == ' ') ++at;
    return true;
}

} // namespace

int32_t parseCaptions(const char* text, size_t size, Caption* out, int32_t capacity) {
    int32_t count = 0;
    size_t at = 0;
    while (at < size && count < capacity) {
        size_t stop = at;
        while (stop < size && text[stop] != '\n') ++stop;
        const std::string line(text + at, stop - at);
        at = stop + 1;
        size_t pos = 0;
        double start = 0.0;
        double end = 0.0;
        if (!readNumber(line, pos, start) || !readNumber(line, pos, end)) continue;
        if (!(start >= 0.0 && end > start && end < 2 * kCaptionLoopSeconds)) continue;
        if (pos + 2 > line.size() || (line[pos] != 'A' && line[pos] != 'C')) continue;
        Caption& c = out[count];
        c = Caption{};
        c.start = float(start);
        c.end = float(end);
        c.announcer = line[pos] == 'A';
        c.line = std::atoi(line.c_str() + pos + 1);
        const size_t words = line.find(' ', pos);
        if (words == std::string::npos) continue;
        std::string said = line.substr(words + 1);
        if (said.size() >= size_t(kCaptionTextSize)) {
            said.resize(size_t(kCaptionTextSize) - 1);
            const size_t space = said.rfind(' ');
            if (space != std::string::npos) said.resize(space);
        }
        for (char& ch : said) {
            if (ch < 0x20 || ch > 0x7E) ch = ' ';
        }
        std::memcpy(c.text, said.c_str(), said.size() + 1);
        ++count;
    }
    return count;
}

bool captionSounds(const Caption& caption, double seconds) {
    return (seconds >= caption.start && seconds < caption.end) ||
           (seconds + kCaptionLoopSeconds >= caption.start && seconds + kCaptionLoopSeconds < caption.end);
}
