// The golden replays: each script in tests/golden is flown by the replay tool and every line it
// prints (state dumps and screenshot hashes) must match the committed NAME.expected field by
// field. A failure names the frame and the first field that differs. `make golden` rewrites the
// expected files when a change is meant to change behaviour.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

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
    const std::string command = std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay " + options + " '" +
                                script + "' 2>/dev/null";
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
                             for (const char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// However a sortie ends, what it started stops with it: ten frames on, only the ending's own
// sound plays, and after Y nothing does. Read from the expected dumps, which the test above holds
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
        {"lost-blew", "240", R"([{"sound":"detFr.wav","volume":0}])"},
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
    EXPECT_EQ(firstDifference(R"({"frame":5,"a":1})", R"({"frame":5,"a":1,"z":0})"),
              "frame 5: unexpected field \"z\"");
}

} // namespace
