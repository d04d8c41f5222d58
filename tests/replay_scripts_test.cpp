// Whole sorties, flown by the replay tool from the scripts in tests/golden, checked through the
// state dumps those scripts ask for.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

// Runs a script and returns its dump lines by frame.
std::map<int, std::string> runReplay(const char* script) {
    const std::string command = std::string("cd '") + SKARNWING_BUILD_DIR + "' && ./skarnwing-replay '" +
                                SKARNWING_SOURCE_DIR + "/tests/golden/" + script + "' 2>/dev/null";
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

} // namespace

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
