// Whole sorties, flown by the replay tool from the scripts in tests/golden, checked through the
// state dumps those scripts ask for.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

namespace {

// Runs a script (of tests/golden unless the path is absolute) and returns its dump lines by frame.
std::map<int, std::string> runReplay(const char* script) {
    const std::string path = script[0] == '/' ? script : std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/" + script;
    const std::string command =
        std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay '" + path + "' 2>/dev/null";
    std::map<int, std::string> dumps;
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return dumps;
    char line[16384];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        int frame = 0;
        if (std::strstr(line, "\"shotHash\"") == nullptr && std::sscanf(line, "{\"frame\":%d", &frame) == 1) {
            dumps[frame] = line;
        }
    }
    EXPECT_EQ(pclose(out), 0) << script;
    return dumps;
}

// The number after "name": in a dump line.
double field(const std::string& dump, const char* name) {
    const std::string key = std::string("\"") + name + "\":";
    const size_t at = dump.find(key);
    EXPECT_NE(at, std::string::npos) << name;
    return at == std::string::npos ? -1e300 : std::stod(dump.substr(at + key.size()));
}

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
    return text;
}

} // namespace

// The campaign's mission-1 sortie paused for a minute (P down and up again) in the middle of a
// bombing run, with Space held: every dump and picture after the pause is the unpaused one's,
// the mission clock and the time bonus on mission control included, and the dumps during the
// pause equal the one before it.
TEST(ReplayScripts, APausedSortieEndsWhereTheUnpausedOneEnds) {
    constexpr int kPauseAt = 2042;
    constexpr int kPaused = 3600;
    const std::string source = std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/campaign";
    std::ifstream in(source + ".txt");
    char name[] = "/tmp/skarnwing-paused-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    std::ofstream out(name);
    for (std::string line; std::getline(in, line);) {
        int frame = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%d%n", &frame, &used) == 1 && frame >= kPauseAt) {
            line = std::to_string(frame + kPaused) + line.substr(static_cast<size_t>(used));
        }
        out << line << "\n";
    }
    out << kPauseAt - 1 << " dump\n" << kPauseAt << " down P\n" << kPauseAt << " dump\n" << kPauseAt + 1 << " up P\n";
    out << kPauseAt + kPaused - 1 << " dump\n" << kPauseAt + kPaused << " down P\n" << kPauseAt + kPaused + 1 << " up P\n";
    out.close();

    std::map<int, std::string> expected;
    std::ifstream golden(source + ".expected");
    for (std::string line; std::getline(golden, line);) {
        int frame = 0;
        if (std::sscanf(line.c_str(), "{\"frame\":%d", &frame) == 1) expected[frame] += line;
    }
    const std::string command = std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay '" + name + "' 2>/dev/null";
    std::map<int, std::string> got;
    FILE* replay = popen(command.c_str(), "r");
    ASSERT_NE(replay, nullptr);
    char buffer[16384];
    while (std::fgets(buffer, sizeof buffer, replay) != nullptr) {
        int frame = 0;
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (std::sscanf(buffer, "{\"frame\":%d", &frame) == 1) got[frame] += line;
    }
    EXPECT_EQ(pclose(replay), 0);
    std::remove(name);

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

TEST(ReplayScripts, CircuitTakesOffFliesToSectionOneAndLandsToReArm) {
    auto dumps = runReplay("circuit.txt");
    ASSERT_EQ(dumps.size(), 6u);
    const std::string& climb = dumps[300];
    EXPECT_EQ(field(climb, "gearUp"), 1);
    EXPECT_EQ(field(climb, "onGround"), 0);
    EXPECT_LT(field(climb, "worldY"), 19500) << "climbed out";

    EXPECT_EQ(field(dumps[1800], "sector"), 1);

    const std::string& parked = dumps[3860];
    EXPECT_EQ(field(parked, "sector"), 0);
    EXPECT_EQ(field(parked, "onGround"), 1);
    EXPECT_EQ(field(parked, "gearUp"), 0);
    EXPECT_EQ(field(parked, "airspeed"), 0);
    EXPECT_EQ(field(parked, "reloaded"), 1);
    EXPECT_GT(field(parked, "reloadNotice"), 0) << "\"Aircraft Reloaded.\" is on screen";
    EXPECT_EQ(field(parked, "fuel"), 400);
    EXPECT_NE(parked.find("\"outcome\":\"NULL\""), std::string::npos);
}

TEST(ReplayScripts, DivingIntoTheGroundCrashes) {
    auto dumps = runReplay("ground-crash.txt");
    ASSERT_EQ(dumps.size(), 3u);
    EXPECT_EQ(field(dumps[400], "missionOver"), 1);
    EXPECT_NE(dumps[400].find("\"outcome\":\"Crashed\""), std::string::npos);
}

namespace {

// Runs a script given as text, from a file in `folder`.
std::map<int, std::string> runReplayText(const std::string& folder, const std::string& name, const std::string& text) {
    const std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return {};
    std::fputs(text.c_str(), file);
    std::fclose(file);
    return runReplay(path.c_str());
}

std::string readText(const std::string& path) {
    std::string text;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return text;
    char buffer[512];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

} // namespace

// Progress saved in one run of the program comes back in the next; a run that finds no save
// changes nothing and says so.
TEST(ReplayScripts, ProgressSurvivesARestartOfTheProgram) {
    char name[] = "/tmp/skarnwing-replay-save-XXXXXX";
    const std::string folder = mkdtemp(name);
    const std::string saves = "savefolder " + folder + "/home\n";

    auto missing = runReplayText(folder, "missing.txt", saves + "3 load\n3 dump\n");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(field(missing[3], "saveNoticeKind"), 2) << "\"No Saved Game.\"";
    EXPECT_EQ(field(missing[3], "savedNotice"), 60);
    EXPECT_EQ(field(missing[3], "gameLoaded"), 0);
    EXPECT_EQ(field(missing[3], "loadNotice"), 0);

    // The smoke key is the one saved value a sortie changes: 1 to 2 to 3.
    auto first = runReplayText(folder, "first.txt",
                               saves + "5 launch 1 0\n20 down S\n22 up S\n24 down S\n26 up S\n30 save\n30 dump\n");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(field(first[30], "smokeMode"), 3);
    EXPECT_EQ(field(first[30], "saveNoticeKind"), 0) << "\"Game Saved.\"";
    EXPECT_EQ(readText(folder + "/home/files/img/bg/img.v"), "0\n1\n0.5\n0\n12\n8\n0\n200\n0\n4\n0\n0\n0\n0\n1\n3\n0\n0\n0\n");

    auto second = runReplayText(folder, "second.txt", saves + "1 dump\n2 load\n2 dump\n");
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(field(second[1], "smokeMode"), 1);
    EXPECT_EQ(field(second[2], "smokeMode"), 3);
    EXPECT_EQ(field(second[2], "gameLoaded"), 1);
    EXPECT_EQ(field(second[2], "titleShown"), 1);
    EXPECT_EQ(field(second[2], "loadNotice"), 59) << "\"Game Loaded.\" shown once already";
    std::system(("rm -rf '" + folder + "'").c_str());
}

// However a sortie ends, what it started stops with it: ten frames on, only the ending's own
// sound plays, and after Y nothing does. Read from the golden replays' expected dumps, which the
// golden test holds to what the replays print.
TEST(ReplayScripts, EveryEndingSilencesTheSortie) {
    struct Ending {
        const char* script;
        int frame;
        const char* playing; // the dump's list of playing sounds
    };
    const Ending endings[] = {
        {"interception", 9660, "[]"}, // won on the runway, missiles selected, the fire key held
        {"campaign", 4790, "[]"},     // won on the runway with the gun firing
        {"lost-crash", 5090, R"([{"sound":"crash.wav","volume":0}])"}, // into the formation, 3 drones on
        {"lost-crash", 5120, "[]"},
        {"lost-blew", 240, R"([{"sound":"detFr.wav","volume":0}])"},
        {"lost-blew", 310, "[]"},
        {"lost-escaped", 9520, R"([{"sound":"detFr.wav","volume":0}])"},
        {"lost-escaped", 9540, "[]"},
        {"formation-bombs-base", 10250, "[]"},
    };
    for (const Ending& e : endings) {
        const std::string dumps =
            readText(std::string(SKARNWING_SOURCE_DIR) + "/tests/golden/" + e.script + ".expected");
        const std::string start = "{\"frame\":" + std::to_string(e.frame) + ",";
        size_t at = dumps.find(start);
        while (at != std::string::npos && dumps.compare(at + start.size(), 10, "\"shotHash\"") == 0) {
            at = dumps.find(start, at + 1);
        }
        ASSERT_NE(at, std::string::npos) << e.script << " " << e.frame;
        const std::string line = dumps.substr(at, dumps.find('\n', at) - at);
        EXPECT_NE(line.find(std::string("\"playing\":") + e.playing + ","), std::string::npos)
            << e.script << " " << e.frame;
    }
}
