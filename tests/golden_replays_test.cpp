// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The golden replays: each script in tests/golden is flown by the replay tool and every line it
// prints (state dumps and screenshot hashes) must match the committed NAME.expected field by
// field. A failure names the frame and the first field that differs. `make golden` rewrites the
// expected files when a change is meant to change behaviour.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// Splits one flat JSON object into its top-level "name":value pairs, values as raw text (arrays
// and objects kept whole).
Fields splitFields(const std::string& line) {
    Fields fields;
    size_t at = line.find('{');
    if (at == std::string::npos) return fields;
    ++at;
    while (at < line.size() && line[at] == '"') {
        const size_t nameEnd = line.find('"', at + 1);
        if (nameEnd == std::string::npos || nameEnd + 1 >= line.size() || line[nameEnd + 1] != ':') break;
        std::string name = line.substr(at + 1, nameEnd - at - 1);
        size_t end = nameEnd + 2;
        int depth = 0;
        bool quoted = false;
        for (; end < line.size(); ++end) {
            const char c = line[end];
            if (quoted) {
                if (c == '\\') ++end;
                else if (c == '"') quoted = false;
            } else if (c == '"') {
                quoted = true;
            } else if (c == '[' || c == '{') {
                ++depth;
            } else if (c == ']' || c == '}') {
                if (depth == 0) break;
                --depth;
            } else if (c == ',' && depth == 0) {
                break;
            }
        }
        fields.emplace_back(std::move(name), line.substr(nameEnd + 2, end - nameEnd - 2));
        at = end + 1;
    }
    return fields;
}

std::vector<std::string> replayLines(const std::string& script, const std::string& options = "") {
    const std::string command = std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay " + options +
                                " '" + script + "' 2>/dev/null";
    std::vector<std::string> lines;
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return lines;
    char buffer[16384];
    while (std::fgets(buffer, sizeof buffer, out) != nullptr) lines.emplace_back(buffer);
    EXPECT_EQ(pclose(out), 0) << script;
    return lines;
}

// Empty when equal, else what differs first.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    const Fields want = splitFields(expected);
    const Fields got = splitFields(actual);
    const std::string frame = want.empty() ? "?" : want[0].second;
    for (size_t i = 0; i < want.size() || i < got.size(); ++i) {
        if (i >= got.size()) return "frame " + frame + ": field \"" + want[i].first + "\" is missing";
        if (i >= want.size()) return "frame " + frame + ": unexpected field \"" + got[i].first + "\"";
        if (want[i].first != got[i].first) {
            return "frame " + frame + ": field \"" + want[i].first + "\" expected, \"" + got[i].first + "\" found";
        }
        if (want[i].second != got[i].second) {
            return "frame " + frame + ": field \"" + want[i].first + "\" is " + got[i].second + ", expected " +
                   want[i].second;
        }
    }
    return {};
}

void expectGolden(const std::string& name, const std::string& options) {
    const std::string base = std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/" + name;
    std::ifstream in(base + ".expected");
    ASSERT_TRUE(in) << "no " << base << ".expected: run `make golden`";
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);) expected.push_back(line + "\n");
    const std::vector<std::string> actual = replayLines(base + ".txt", options);
    ASSERT_FALSE(expected.empty());
    for (size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        const std::string difference = firstDifference(expected[i], actual[i]);
        ASSERT_TRUE(difference.empty()) << name << " " << options << ", line " << i + 1 << ": " << difference;
    }
    EXPECT_EQ(actual.size(), expected.size()) << name << ": lines printed";
}

class GoldenReplay : public testing::TestWithParam<std::string> {};

TEST_P(GoldenReplay, MatchesItsExpectedDumpsFieldByField) { expectGolden(GetParam(), ""); }

// The game shows its title while the rest loads: with every other load held back until a frame
// needs it, the dumps and the frames are those of a game that loaded everything first.
TEST(GoldenReplayHeldBack, TitleFirstLoadingChangesNothing) {
    for (const char* name : {"campaign", "lost-crash"}) expectGolden(name, "--hold-back-loading");
}

std::vector<std::string> goldenScripts() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(SKARNWING_SOURCE_DIR) + "/tests/golden")) {
        if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenReplay, testing::ValuesIn(goldenScripts()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (const char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// A dump without the fields a pause may change: the frame number, the music, which plays on,
// and the pause's own field.
std::string withoutPauseFields(const std::string& dump) {
    std::string text = dump;
    for (size_t frame = text.find("\"frame\":"); frame != std::string::npos; frame = text.find("\"frame\":")) {
        text.erase(frame, text.find(',', frame) + 1 - frame);
    }
    for (size_t music = text.find(",\"music\":"); music != std::string::npos; music = text.find(",\"music\":")) {
        text.erase(music, text.find('}', music) + 1 - music);
    }
    if (const size_t paused = text.find(",\"paused\":1"); paused != std::string::npos) text.erase(paused, 11);
    // The keys held, and the pause's own latches, held-off press and counter reading.
    for (const char* key : {",\"keysHeld\":", ",\"keysLastFrame\":", ",\"keysHeldOff\":", ",\"navFresh\":",
                            ",\"pauseKeyLatch\":", ",\"pausedAtCount\":"}) {
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
            size_t value = at + std::strlen(key);
            if (text[value] == '[') value = text.find(']', value);
            text.erase(at, text.find_first_of(",}", value) - at);
        }
    }
    return text;
}

// Each frame's printed lines joined, by frame.
std::map<int, std::string> byFrame(const std::vector<std::string>& lines) {
    std::map<int, std::string> frames;
    for (std::string line : lines) {
        int frame = 0;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (std::sscanf(line.c_str(), "{\"frame\":%d", &frame) == 1) frames[frame] += line;
    }
    return frames;
}

// The campaign's mission-1 sortie paused for a minute (P down and up again) in the middle of a
// bombing run, with Space held: every dump and picture after the pause is the unpaused one's,
// the mission clock and the time bonus on mission control included, and the dumps during the
// pause equal the one before it.
TEST(GoldenReplayPaused, APausedSortieEndsWhereTheUnpausedOneEnds) {
    constexpr int kPauseAt = 2042;
    constexpr int kPaused = 3600;
    const std::string source = std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/campaign";
    std::ifstream in(source + ".txt");
    std::string script;
    for (std::string line; std::getline(in, line);) {
        int frame = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%d%n", &frame, &used) == 1 && frame >= kPauseAt) {
            line = std::to_string(frame + kPaused) + line.substr(static_cast<size_t>(used));
        }
        script += line + "\n";
    }
    for (const auto& [frame, what] : {std::pair{kPauseAt - 1, "dump"},
                                      {kPauseAt, "down P"},
                                      {kPauseAt, "dump"},
                                      {kPauseAt + 1, "up P"},
                                      {kPauseAt + kPaused - 1, "dump"},
                                      {kPauseAt + kPaused, "down P"},
                                      {kPauseAt + kPaused + 1, "up P"}}) {
        script += std::to_string(frame) + " " + what + "\n";
    }
    const TempDir folder;
    writeFile(folder.file("paused.txt"), script);

    std::vector<std::string> expectedLines;
    std::ifstream golden(source + ".expected");
    for (std::string line; std::getline(golden, line);) expectedLines.push_back(line);
    const std::map<int, std::string> expected = byFrame(expectedLines);
    std::map<int, std::string> got = byFrame(replayLines(folder.file("paused.txt")));

    const std::string before = withoutPauseFields(got[kPauseAt - 1]);
    EXPECT_NE(got[kPauseAt].find("\"paused\":1"), std::string::npos);
    EXPECT_EQ(withoutPauseFields(got[kPauseAt]), before);
    EXPECT_EQ(withoutPauseFields(got[kPauseAt + kPaused - 1]), before);
    size_t compared = 0;
    for (const auto& [frame, lines] : expected) {
        const int at = frame >= kPauseAt ? frame + kPaused : frame;
        ASSERT_EQ(got.count(at), 1u) << frame;
        // Each frame's lines in order: dumps compared without the music, hashes whole.
        EXPECT_EQ(withoutPauseFields(got[at]), withoutPauseFields(lines)) << "frame " << frame;
        compared += frame >= kPauseAt;
    }
    EXPECT_GE(compared, 10u);
    EXPECT_NE(expected.rbegin()->second.find("\"timeBonus\":"), std::string::npos);
}

// However a sortie ends, what it started stops with it: ten frames on, only the ending's own
// sounds play (the loss's, and the blast that blew the aircraft up), and after Y nothing does. Read from the expected dumps, which the test above holds
// to what the replays print.
TEST(GoldenReplayEndings, EveryEndingSilencesTheSortie) {
    const struct {
        const char* script;
        const char* frame;
        const char* playing; // the dump's list of playing sounds
    } endings[] = {
        {"interception", "9660", "[]"}, // won on the runway, missiles selected, the fire key held
        {"campaign", "4790", "[]"},     // won on the runway with the gun firing
        {"lost-crash", "5090", R"([{"sound":"crash.wav","volume":0}])"}, // into the formation, 3 drones on
        {"lost-crash", "5120", "[]"},
        {"lost-blew", "240", R"([{"sound":"detCl.wav","volume":0},{"sound":"detFr.wav","volume":0}])"},
        {"lost-blew", "310", "[]"},
        {"lost-escaped", "9520", R"([{"sound":"detFr.wav","volume":0}])"},
        {"lost-escaped", "9540", "[]"},
        {"formation-bombs-base", "10250", "[]"},
    };
    for (const auto& e : endings) {
        std::ifstream in(std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/" + e.script + ".expected");
        std::string playing = "(no dump)";
        for (std::string line; std::getline(in, line);) {
            const Fields fields = splitFields(line);
            if (fields.size() < 2 || fields[0] != Fields::value_type("frame", e.frame)) continue;
            for (const auto& [name, value] : fields) {
                if (name == "playing") playing = value;
            }
        }
        EXPECT_EQ(playing, e.playing) << e.script << " frame " << e.frame;
    }
}

TEST(GoldenReplayCompare, NamesTheFirstDifferingFieldAndKeepsArraysWhole) {
    EXPECT_EQ(firstDifference(R"({"frame":5,"a":1,"playing":["x","y"],"b":2})",
                              R"({"frame":5,"a":1,"playing":["x","y"],"b":2})"),
              "");
    EXPECT_EQ(firstDifference(R"({"frame":5,"a":1,"b":2,"c":3})", R"({"frame":5,"a":1,"b":7,"c":9})"),
              "frame 5: field \"b\" is 7, expected 2");
    EXPECT_EQ(firstDifference(R"({"frame":5,"playing":["x,y"],"music":{"track":1}})",
                              R"({"frame":5,"playing":["x,y"],"music":{"track":2}})"),
              "frame 5: field \"music\" is {\"track\":2}, expected {\"track\":1}");
    EXPECT_EQ(firstDifference(R"({"frame":5,"a":1})", R"({"frame":5,"a":1,"z":0})"), "frame 5: unexpected field \"z\"");
}

} // namespace
