// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The first minute's aids: the cues' choice and their gate (never in a replay or a recording
// watched), and the captions' track against the script the voices were spoken from.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/captions.h"
#include "screens/cues.h"
#include "test_game.h"

namespace {

TEST(Cues, EachComesAtItsMomentAndGoesWhenDone) {
    CueFacts parked;
    parked.onGround = true;
    parked.liftSpeed = 10.0;
    EXPECT_EQ(cueFor(parked), kCueThrottle);
    CueFacts rolling = parked;
    rolling.airspeed = 10.0;
    EXPECT_EQ(cueFor(rolling), kCueLift);
    CueFacts climbing;
    climbing.airborneBefore = true;
    climbing.altitude = 41;
    EXPECT_EQ(cueFor(climbing), kCueGear);
    climbing.altitude = 40; // still close to the runway
    EXPECT_EQ(cueFor(climbing), kCueNone);
    CueFacts cruising = climbing;
    cruising.altitude = 300;
    cruising.gearUp = true;
    cruising.gearRaisedBefore = true;
    EXPECT_EQ(cueFor(cruising), kCueNone);
    cruising.gearUp = false; // lowered again for the landing: not asked up again
    EXPECT_EQ(cueFor(cruising), kCueNone);
    cruising.targetNear = true;
    EXPECT_EQ(cueFor(cruising), kCueFire);
    cruising.landingDue = true;
    EXPECT_EQ(cueFor(cruising), kCueFire); // the target first
    cruising.firedAndChanged = true;
    EXPECT_EQ(cueFor(cruising), kCueLand);
    CueFacts touchedDown = cruising;
    touchedDown.onGround = true;
    EXPECT_EQ(cueFor(touchedDown), kCueNone);
}

// A replay and a recording watched run with cues not allowed, and a best watched in the logbook
// shows none either: nothing is drawn and no field of the record moves, so their pictures and
// dumps stay as they were. A live first game draws the cue over the same frame, and its first
// landing is kept and ends the cues.
TEST(Cues, NeverInAReplayOrARecordingWatched) {
    // Not allowed; allowed but a best being watched; allowed.
    for (const int32_t run : {0, 1, 2}) {
        const bool allowed = run == 2;
        TestGame g;
        g.assets->cuesAllowed = run > 0;
        g.launch(kMissionConvoy);
        g->watchLength = run == 1 ? 600 : 0;
        const GameState before = *g.game;
        runCues(*g);
        int drawn = 0;
        for (const uint32_t p : g.pixels) drawn += p != 0 ? 1 : 0;
        if (!allowed) {
            EXPECT_EQ(drawn, 0);
            EXPECT_EQ(std::memcmp(&before, g.game.get(), sizeof before), 0);
        } else {
            EXPECT_GT(drawn, 1000);
            EXPECT_EQ(g->cueShown, kCueThrottle);
        }
    }
    const std::string memory = std::string(SKARNWING_BUILD_DIR) + "/tests/landed-once-test";
    std::remove(memory.c_str());
    TestGame g;
    g.assets->cuesAllowed = true;
    g.assets->landingMemoryPath = memory;
    g.launch(kMissionConvoy);
    runCues(*g);
    g->aircraft.onGround = 0; // flew
    runCues(*g);
    EXPECT_FALSE(landingRemembered(memory));
    g->aircraft.onGround = 1; // down again and stopped
    g->aircraft.airspeed = 0.0;
    g->throttleUntouched = 0;
    runCues(*g);
    EXPECT_TRUE(g->cuesDone);
    EXPECT_TRUE(landingRemembered(memory));
    std::remove(memory.c_str());
    // A FIFO where the mark should be is refused at once with one line, not waited on.
    ASSERT_EQ(mkfifo(memory.c_str(), 0644), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(landingRemembered(memory));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    std::remove(memory.c_str());
    EXPECT_FALSE(landingRemembered(memory));
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<int16_t> samples(const std::string& path, size_t skip) {
    const std::string bytes = readText(path);
    std::vector<int16_t> out;
    for (size_t i = skip; i + 1 < bytes.size(); i += 2)
        out.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return out;
}

// Seconds from `from` to the first sample of a voice (above a twentieth of full scale).
double onset(const std::vector<int16_t>& voice, double from) {
    for (size_t i = size_t(from * 44100); i < voice.size(); ++i) {
        if (std::abs(voice[i]) > 1600) return double(i) / 44100;
    }
    return 1e9;
}

// The words of every spoken line, in order, and when each line's voice starts.
struct SpokenLine {
    std::string words;
    double start = 0.0;
};

// The pieces of one line, joined, and where the first begins.
SpokenLine captioned(const std::vector<Caption>& track, bool announcer, int32_t line) {
    SpokenLine out;
    out.start = -1.0;
    for (const Caption& c : track) {
        if (c.announcer != announcer || c.line != line) continue;
        if (out.start < 0.0) out.start = c.start;
        if (!out.words.empty()) out.words.push_back(' ');
        out.words.append(c.text);
    }
    return out;
}

TEST(Captions, EverySpokenLineHasItsWordsInOrderWithinHalfASecondOfItsVoice) {
    const std::string text = readText(generated("resources/43.txt"));
    std::vector<Caption> track(kCaptionCapacity);
    track.resize(size_t(parseCaptions(text.data(), text.size(), track.data(), kCaptionCapacity)));
    ASSERT_GT(track.size(), 10u);
    const std::string sounds = std::string(SKARNWING_BUILD_DIR) + "/content/sounds/";
    const std::string script = std::string(SKARNWING_SOURCE_DIR) + "/content/sounds/";

    // The announcer: each call at the second its line names, its voice found in the PA track.
    const std::vector<int16_t> announcer = samples(generated("content/sounds/announcer.raw"), 0);
    std::istringstream calls(readText(script + "announcer.txt"));
    std::string line;
    int32_t k = 0;
    double heardUntil = 0.0;
    while (std::getline(calls, line)) {
        if (line.empty()) continue;
        const double planned = std::atof(line.c_str());
        const std::string words = line.substr(line.find(' ') + 1);
        const SpokenLine got = captioned(track, true, k);
        EXPECT_EQ(got.words, words) << "call " << k;
        EXPECT_NEAR(got.start, planned, 0.5) << "call " << k;
        EXPECT_NEAR(onset(announcer, heardUntil), got.start, 0.5) << "call " << k;
        for (const Caption& c : track) {
            if (c.announcer && c.line == k) heardUntil = c.end;
        }
        ++k;
    }
    EXPECT_EQ(k, 5);

    // The crowd's shouts (a star before the voice): each found in its speaker's own track.
    std::istringstream crowd(readText(script + "crowd.txt"));
    int32_t i = 0;
    int32_t shouts = 0;
    while (std::getline(crowd, line)) {
        if (line.empty()) continue;
        const SpokenLine got = captioned(track, false, i);
        if (line[0] == '*') {
            ++shouts;
            std::istringstream fields(line);
            std::string voice, pitch, pace;
            fields >> voice >> pitch >> pace;
            std::string words;
            std::getline(fields, words);
            EXPECT_EQ(got.words, words.substr(1)) << "crowd line " << i;
            const std::vector<int16_t> speaker = samples(sounds + "speaker" + std::to_string(i) + ".wav", 44);
            EXPECT_NEAR(onset(speaker, 0.0), got.start, 0.5) << "crowd line " << i;
        } else {
            EXPECT_LT(got.start, 0.0) << "crowd line " << i << " is not a shout and has no caption";
        }
        ++i;
    }
    EXPECT_GE(shouts, 4);
    // Pieces follow one another: a line's next piece starts where the last ended.
    for (size_t p = 1; p < track.size(); ++p) {
        EXPECT_LT(track[p].start, track[p].end);
        if (track[p].announcer == track[p - 1].announcer && track[p].line == track[p - 1].line) {
            EXPECT_NEAR(track[p].start, track[p - 1].end, 0.01);
        }
    }
}

TEST(Captions, AHostileTrackIsReadSafely) {
    const char text[] = "1 2 A0 fine\n5 4 A1 ends first\n130 140 A2 starts past two loops\nx y A3 no times\n"
                        "1 2 Q4 nobody\n3 9 C5 \x01 control\n3 4 A6\n";
    Caption out[3];
    const int32_t n = parseCaptions(text, sizeof text - 1, out, 3);
    ASSERT_EQ(n, 2);
    EXPECT_STREQ(out[0].text, "fine");
    EXPECT_STREQ(out[1].text, "  control");
    EXPECT_TRUE(captionSounds(out[0], 1.5));
    Caption wraps;
    wraps.start = 63.0f;
    wraps.end = 66.0f;
    EXPECT_TRUE(captionSounds(wraps, 1.0));
    EXPECT_FALSE(captionSounds(wraps, 3.0));
}

} // namespace
