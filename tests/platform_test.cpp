// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The back-end-neutral parts of the platform layer that make the game a good Linux citizen: quick
// taps kept, the 60-a-second pacer on a simulated clock (its CPU use is measured in bench/), mute,
// the folders the game writes into, and the frame composed as the window shows it.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/composite.h"
#include "platform/frame_pacer.h"
#include "platform/key_taps.h"
#include "platform/mixer.h"
#include "platform/settings.h"
#include "platform/user_folders.h"
#include "temp_dir.h"

namespace {

std::deque<InputEvent> gSource;

bool takeFromSource(InputEvent* event) {
    if (gSource.empty()) return false;
    *event = gSource.front();
    gSource.pop_front();
    return true;
}

InputEvent key(InputEventType type, int32_t vk) { return InputEvent{type, vk, 0, 0, 0}; }

// Runs one batch (everything before a frame) through the keeper into a key table.
void runBatch(TapKeeper& keeper, uint8_t* keys, std::vector<InputEvent> events) {
    gSource.assign(events.begin(), events.end());
    InputEvent event;
    while (pollKeepingTaps(keeper, takeFromSource, &event)) {
        if (event.type == InputEventType::KeyDown) keys[event.virtualKey] = 1;
        if (event.type == InputEventType::KeyUp) keys[event.virtualKey] = 0;
    }
}

} // namespace

TEST(KeyTaps, ATapWithinOneFrameIsHeldForThatFrameAndReleasedAfterIt) {
    TapKeeper keeper;
    uint8_t keys[256] = {};
    runBatch(keeper, keys, {key(InputEventType::KeyDown, kVkSpace), key(InputEventType::KeyUp, kVkSpace)});
    EXPECT_EQ(keys[kVkSpace], 1) << "the frame after the tap sees the key held";
    runBatch(keeper, keys, {});
    EXPECT_EQ(keys[kVkSpace], 0) << "the release comes before the next frame";

    // A key held across frames is released at once; a press-release-press ends held.
    runBatch(keeper, keys, {key(InputEventType::KeyDown, kVkG)});
    runBatch(keeper, keys,
             {key(InputEventType::KeyUp, kVkG), key(InputEventType::KeyDown, kVkEsc),
              key(InputEventType::KeyUp, kVkEsc), key(InputEventType::KeyDown, kVkEsc)});
    EXPECT_EQ(keys[kVkG], 0);
    EXPECT_EQ(keys[kVkEsc], 1);
    runBatch(keeper, keys, {});
    EXPECT_EQ(keys[kVkEsc], 1) << "the cancelled release never arrives";

    // Two taps of the same key in successive frames give two held frames.
    int held = 0;
    for (int frame = 0; frame < 4; ++frame) {
        if (frame < 2) {
            runBatch(keeper, keys, {key(InputEventType::KeyDown, kVkCtrl), key(InputEventType::KeyUp, kVkCtrl)});
        } else {
            runBatch(keeper, keys, {});
        }
        held += keys[kVkCtrl];
    }
    EXPECT_EQ(held, 2);
    EXPECT_EQ(keys[kVkCtrl], 0);
}

// Frames of `work` seconds presented on a display of `refreshHz` (0: no vsync); returns steps
// per second over 10 simulated seconds and the seconds slept.
std::pair<double, double> simulatePacing(double refreshHz, double work) {
    constexpr int64_t kFrequency = 1000000000;
    FramePacer pacer;
    int64_t now = 0;
    int64_t slept = 0;
    int frames = 0;
    const auto toTicks = [](double seconds) { return static_cast<int64_t>(seconds * 1e9); };
    while (now < toTicks(10.0)) {
        now += toTicks(work);
        if (refreshHz > 0) { // the present waits for the next retrace
            const int64_t retrace = toTicks(1.0 / refreshHz);
            now = (now / retrace + 1) * retrace;
        }
        const int64_t until = paceFrame(pacer, now, kFrequency, 60);
        if (until > now) {
            slept += until - now;
            now = until + 50000; // the sleep wakes 50 microseconds late
        }
        ++frames;
    }
    return {frames / (static_cast<double>(now) / 1e9), static_cast<double>(slept) / 1e9};
}

TEST(FramePacer, HoldsSixtyOnFastDisplaysAndAddsNothingAtSixty) {
    EXPECT_NEAR(simulatePacing(144.0, 0.004).first, 60.0, 1.0);
    EXPECT_NEAR(simulatePacing(120.0, 0.004).first, 60.0, 1.0);
    EXPECT_NEAR(simulatePacing(0.0, 0.006).first, 60.0, 1.0) << "vsync refused";
    for (const double hz : {59.94, 60.0, 60.02}) {
        const auto [rate, slept] = simulatePacing(hz, 0.005);
        EXPECT_NEAR(rate, hz, 0.01) << hz;
        EXPECT_EQ(slept, 0.0) << hz << " Hz with vsync: the pacer never sleeps";
    }
    // A frame a little late is made up by the next ones; after a long stall the grid restarts,
    // without a burst of frames.
    FramePacer pacer;
    constexpr int64_t kMs = 1000000;
    constexpr int64_t kPeriod = 1000 * kMs / 60;
    paceFrame(pacer, 0, 1000 * kMs, 60);
    EXPECT_EQ(paceFrame(pacer, kPeriod + 5 * kMs, 1000 * kMs, 60), kPeriod + 5 * kMs);
    EXPECT_EQ(paceFrame(pacer, kPeriod + 8 * kMs, 1000 * kMs, 60), 2 * kPeriod) << "a shorter sleep";
    EXPECT_EQ(paceFrame(pacer, 200 * kMs, 1000 * kMs, 60), 200 * kMs);
    EXPECT_EQ(paceFrame(pacer, 201 * kMs, 1000 * kMs, 60), 200 * kMs + kPeriod);
    // Sleeps that wake 5 ms late do not lower the rate.
    FramePacer late;
    int64_t now = 0;
    for (int frame = 0; frame < 600; ++frame) now = paceFrame(late, now + 2 * kMs, 1000 * kMs, 60) + 5 * kMs;
    EXPECT_NEAR(600.0 / (static_cast<double>(now) / 1e9), 60.0, 0.5);
}

TEST(Mixer, MuteSilencesTheOutputWhileMusicKeepsItsPlace) {
    mixerReset();
    const int32_t stream = mixerCreateMusic(std::vector<int16_t>(2 * 44100, 1000));
    mixerPlayMusic(stream);
    std::vector<int16_t> out(2 * 735);
    mixerSetMuted(true);
    mixAudio(out.data(), 735);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), static_cast<long>(out.size()));
    EXPECT_EQ(mixerMusicPosition(stream), 735u);
    mixerReset();
    EXPECT_TRUE(mixerMuted()) << "the player's choice outlasts a device reset";
    mixerSetMuted(false);
    const int32_t again = mixerCreateMusic(std::vector<int16_t>(2 * 44100, 1000));
    mixerPlayMusic(again);
    mixAudio(out.data(), 735);
    EXPECT_EQ(out[0], 1000);
    mixerReset();
}

// The player's volumes scale music and effects; a hold freezes the effects where they are while
// the music plays on.
TEST(Mixer, VolumesScaleAndAHoldFreezesTheEffectsNotTheMusic) {
    mixerReset();
    const int32_t stream = mixerCreateMusic(std::vector<int16_t>(2 * 44100, 1000));
    const int32_t voice = mixerCreateVoice(std::vector<int16_t>(2 * 44100, 1000), false);
    mixerPlayMusic(stream);
    mixerPlayVoice(voice, false);
    std::vector<int16_t> out(2 * 735);
    mixerSetVolumes(50, 0);
    mixAudio(out.data(), 735);
    EXPECT_EQ(out[0], 250) << "half the slider is a quarter of the amplitude; effects at 0 are silent";
    mixerSetVolumes(100, 100);
    mixerHoldEffects(true);
    mixAudio(out.data(), 735);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(mixerVoicePosition(voice), 735u) << "held where it stood";
    EXPECT_TRUE(mixerVoicePlaying(voice));
    EXPECT_EQ(mixerMusicPosition(stream), 2 * 735u);
    mixerHoldEffects(false);
    mixAudio(out.data(), 735);
    EXPECT_EQ(out[0], 2000);
    EXPECT_EQ(mixerVoicePosition(voice), 2 * 735u);
    mixerReset();
}

// The settings file: what is written reads back the same; a damaged file keeps its good lines,
// reports each bad one once with its line number, and leaves those values at their defaults.
TEST(Settings, RoundTripAndAHostileFile) {
    Settings changed = defaultSettings();
    changed.musicVolume = 30;
    changed.effectsVolume = 0;
    changed.fullScreen = true;
    changed.vsync = false;
    changed.pauseOnFocusLoss = true;
    changed.colourBlindRadar = true;
    EXPECT_EQ(bindKey(changed, kActFire, 'F'), -1);
    EXPECT_EQ(bindKey(changed, kActSmoke, 'F'), kActFire) << "fire takes smoke's S in exchange";
    EXPECT_EQ(bindPadButton(changed, kActOverlay, 5), -1);
    EXPECT_EQ(bindKey(changed, kActPause, kVkEsc), -1) << "Esc cannot be bound";
    EXPECT_EQ(changed.keys[kActPause], 'P');
    const TempDir scratch;
    const char* folder = scratch.path.c_str();
    const std::string path = settingsPath(folder, "/home/nobody");
    EXPECT_EQ(path, scratch.path + "/skarnwing/settings.ini");
    EXPECT_EQ(settingsPath("relative", "/home/p"), "/home/p/.config/skarnwing/settings.ini");
    ASSERT_TRUE(saveSettings(changed, path));
    const Settings back = loadSettings(path);
    EXPECT_EQ(std::memcmp(&back, &changed, sizeof back), 0) << formatSettings(back);
    EXPECT_EQ(back.keys[kActFire], 'S');

    const std::string hostile = std::string("music_volume = 55\n") +   // 1: not a step of 10
                                "effects_volume=40\n" +                // 2: good, no spaces
                                "vsync = maybe\n" +                    // 3
                                "\x01\xff garbage\n" +                 // 4
                                "  # a comment\n" + "key.fire = F\n" + // 6: good
                                "key.gear = F\n" +                     // 7: taken by line 6
                                "key.smoke = Escape\n" +               // 8: not a key
                                "pad.fire = Y\n" +                     // 9: good; gear's default Y gives way
                                "key.fire = G\n" +                     // 10: fire twice
                                "key.nothing = A\n" +                  // 11
                                std::string(3000, 'x') + "\n" +        // 12
                                "colour_blind_radar = YES";            // 13: good, no newline
    testing::internal::CaptureStderr();
    const Settings read = parseSettings(hostile, "settings.ini");
    const std::string errors = testing::internal::GetCapturedStderr();
    for (const int line : {1, 3, 4, 7, 8, 10, 11, 12}) {
        EXPECT_NE(errors.find("settings.ini:" + std::to_string(line) + ":"), std::string::npos) << line << errors;
    }
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 8) << errors;
    const Settings defaults = defaultSettings();
    EXPECT_EQ(read.musicVolume, 100);
    EXPECT_EQ(read.effectsVolume, 40);
    EXPECT_TRUE(read.vsync);
    EXPECT_TRUE(read.colourBlindRadar);
    EXPECT_EQ(read.keys[kActFire], 'F');
    EXPECT_EQ(read.keys[kActGear], defaults.keys[kActGear]);
    EXPECT_EQ(read.keys[kActSmoke], defaults.keys[kActSmoke]);
    EXPECT_EQ(read.padButtons[kActFire], 3);
    EXPECT_EQ(read.padButtons[kActGear], kPadNone);

    // A file of junk: ten lines name their bad lines, one more counts the rest.
    std::string junk;
    for (int line = 0; line < 2000; ++line) junk += "junk\n";
    testing::internal::CaptureStderr();
    parseSettings(junk + "vsync = no\n", "junk.ini");
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 11) << told;
    EXPECT_NE(told.find("junk.ini:10:"), std::string::npos) << told;
    EXPECT_NE(told.find("junk.ini: 1990 more"), std::string::npos) << told;

    // Not a regular file (a FIFO is not waited on), or too large: the defaults, said once.
    const std::string fifo = scratch.path + "/fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& bad : {std::string(folder), fifo}) {
        testing::internal::CaptureStderr();
        const Settings fromBad = loadSettings(bad);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(bad), std::string::npos);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(std::memcmp(&fromBad, &defaults, sizeof defaults), 0);
    }
    const Settings none = loadSettings(scratch.path + "/none.ini");
    EXPECT_EQ(std::memcmp(&none, &defaults, sizeof defaults), 0);
}

// The file as a player edits it: every name a fresh file holds with the README's defaults; each
// line alone over the defaults taken silently or refused with one message, at every range's
// edge; every key name reads back as itself; 64 KiB is the largest file read.
TEST(Settings, EveryNameAndRangeOfTheFile) {
    const std::string fresh = formatSettings(defaultSettings());
    EXPECT_EQ(fresh.substr(fresh.find("music_volume")),
              "music_volume = 100\neffects_volume = 100\nfullscreen = no\nvsync = yes\npause_on_focus_loss = no\n"
              "colour_blind_radar = no\ncues = yes\ncaptions = no\nkey.turn_left = Left\nkey.turn_right = Right\n"
              "key.roll_up = Up\n"
              "key.roll_down = Down\nkey.throttle_up = A\nkey.throttle_down = Z\nkey.fire = Space\n"
              "key.next_weapon = Ctrl\nkey.gear = G\nkey.smoke = S\nkey.restart = Y\nkey.overlay = Tab\n"
              "key.pause = P\nkey.screenshot = F12\nkey.mute = M\npad.turn_left = DpadLeft\n"
              "pad.turn_right = DpadRight\npad.roll_up = DpadUp\npad.roll_down = DpadDown\n"
              "pad.throttle_up = RightShoulder\npad.throttle_down = LeftShoulder\npad.fire = A\npad.next_weapon = X\n"
              "pad.gear = Y\npad.smoke = B\npad.restart = Back\npad.overlay = none\npad.pause = Start\n"
              "pad.screenshot = none\npad.mute = none\n");
    const std::pair<const char*, bool> lines[] = {{"music_volume = 0", true},        {"music_volume = 100", true},
                                                  {"effects_volume = 110", false},   {"effects_volume = 95", false},
                                                  {"effects_volume = -10", false},   {"music_volume = 1000", false},
                                                  {"fullscreen = YES", true},        {"vsync = No", true},
                                                  {"colour_blind_radar = 1", false}, {"cues = no", true},
                                                  {"captions = on", false},          {"key.fire = F10", false},
                                                  {"key.fire = Enter", false},       {"key.fire = Backspace", false},
                                                  {"pad.mute = Guide", true},        {"pad.mute = LeftStick", true},
                                                  {"pad.mute = RightStick", true},   {"pad.mute = LeftTrigger", false},
                                                  {"pad.mute = 15", false},          {"keys.fire = F", false}};
    for (const auto& [line, taken] : lines) {
        testing::internal::CaptureStderr();
        parseSettings(line, "s.ini");
        EXPECT_EQ(testing::internal::GetCapturedStderr().empty(), taken) << line;
    }
    for (const char* name : {"0", "9", "A", "Z", "Shift", "Pause", "PageUp", "PageDown", "End", "Home", "Insert",
                             "Delete", "F1", "F9", "F11"}) {
        EXPECT_STREQ(keyName(keyFromName(name)), name);
    }
    Settings settings = defaultSettings();
    EXPECT_EQ(bindPadButton(settings, kActMute, kPadButtonCount), -1);
    EXPECT_EQ(settings.padButtons[kActMute], kPadNone);

    const TempDir scratch;
    const std::string path = scratch.path + "/settings.ini";
    const std::string largest = "vsync = no\n#" + std::string(65536 - 13, '#') + "\n";
    writeFile(path, largest);
    EXPECT_FALSE(loadSettings(path).vsync);
    writeFile(path, largest + "\n");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(loadSettings(path).vsync) << "one byte too many: the defaults";
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
}

TEST(UserFolders, DataFolderWhenWritableElseTheXdgDataHome) {
    EXPECT_EQ(userDataFolder(".", true, "/x/data", "/home/p"), ".") << "a build folder keeps its files";
    EXPECT_EQ(userDataFolder(".", false, "/x/data", "/home/p"), "/x/data/skarnwing");
    EXPECT_EQ(userDataFolder(".", false, nullptr, "/home/p"), "/home/p/.local/share/skarnwing");
    EXPECT_EQ(userDataFolder(".", false, "", "/home/p"), "/home/p/.local/share/skarnwing");
    EXPECT_EQ(userDataFolder(".", false, "relative/data", "/home/p"), "/home/p/.local/share/skarnwing");
    EXPECT_EQ(userDataFolder(".", false, nullptr, nullptr), "");

    TempDir scratch;
    ASSERT_EQ(chdir(scratch.path.c_str()), 0);
    EXPECT_EQ(userDataFolder(), ".") << "the working folder is writable";
    ASSERT_EQ(chdir(SKARNWING_BUILD_DIR), 0);
    const std::string deep = scratch.path + "/home/.local/share/skarnwing";
    EXPECT_TRUE(makeFolders(deep));
    EXPECT_TRUE(makeFolders(deep)) << "an existing folder is fine";
    std::ofstream(scratch.path + "/file") << "x";
    EXPECT_FALSE(makeFolders(scratch.path + "/file/inner"));
}

TEST(UserFolders, PicturesFromTheEnvironmentTheUserDirsFileOrHome) {
    TempDir scratch;
    const std::string home = scratch.path;
    const std::string shots = home + "/Shots";
    ASSERT_EQ(mkdir(shots.c_str(), 0755), 0);
    EXPECT_EQ(picturesFolder(shots.c_str(), nullptr, home.c_str()), shots);
    EXPECT_EQ(picturesFolder(nullptr, nullptr, home.c_str()), "") << "no ~/Pictures and no user-dirs.dirs";

    ASSERT_EQ(mkdir((home + "/.config").c_str(), 0755), 0);
    std::ofstream(home + "/.config/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                       "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                       "XDG_PICTURES_DIR=\"$HOME/Shots\"\n";
    EXPECT_EQ(picturesFolder(nullptr, nullptr, home.c_str()), shots);
    ASSERT_EQ(mkdir((home + "/Pictures").c_str(), 0755), 0);
    EXPECT_EQ(picturesFolder(nullptr, "/nonexistent", home.c_str()), home + "/Pictures");
    EXPECT_EQ(picturesFolder("relative", nullptr, home.c_str()), shots) << "a relative value is ignored";

    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    when.tm_isdst = -1;
    EXPECT_EQ(screenshotName(std::mktime(&when)), "skarnwing-20261207-090503.png");

    // Two screenshots within one second keep both.
    EXPECT_EQ(unusedPath(shots, "skarnwing-20261207-090503.png"), shots + "/skarnwing-20261207-090503.png");
    std::ofstream(shots + "/skarnwing-20261207-090503.png") << "x";
    std::ofstream(shots + "/skarnwing-20261207-090503-2.png") << "x";
    EXPECT_EQ(unusedPath(shots, "skarnwing-20261207-090503.png"), shots + "/skarnwing-20261207-090503-3.png");
}

namespace {

// The composition at its plainest: black, then every pixel of every draw and of the canvas
// blended in order.
uint32_t plainOver(uint32_t dst, uint32_t src) {
    const uint32_t a = src >> 24;
    if (a == 0) return dst;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

void plainComposite(const std::vector<SoftTexture>& textures, const std::vector<SoftDraw>& draws,
                    const uint32_t* canvas, uint32_t* out) {
    std::fill(out, out + kClientWidth * kClientHeight, 0xFF000000u);
    for (const SoftDraw& draw : draws) {
        if (draw.texture <= 0 || static_cast<size_t>(draw.texture) > textures.size()) continue;
        const SoftTexture& t = textures[static_cast<size_t>(draw.texture - 1)];
        for (int64_t row = 0; row < t.height; ++row) {
            for (int64_t col = 0; col < t.width; ++col) {
                const int64_t x = draw.x + col, y = draw.y + row;
                if (x < 0 || x >= kClientWidth || y < 0 || y >= kClientHeight) continue;
                out[y * kClientWidth + x] = plainOver(out[y * kClientWidth + x], t.pixels[row * t.width + col]);
            }
        }
    }
    for (int32_t i = 0; i < kClientWidth * kClientHeight; ++i) out[i] = plainOver(out[i], canvas[i]);
}

} // namespace

// Random pictures whose rows are clear, opaque, mixed or faint (pixels with alpha 0 but a
// colour included), drawn anywhere from far off the frame to a backdrop that covers it with a
// mixed row in view or none, under a canvas drawn in random bands: the fast composition equals
// the plain one.
TEST(Composite, EqualsThePlainComposition) {
    std::mt19937 rng(20261207);
    auto integer = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
    auto pixel = [&](int kind) {
        const uint32_t colour = static_cast<uint32_t>(rng()) & 0xFFFFFFu;
        const uint32_t alpha = kind == 0   ? 0
                               : kind == 1 ? 255
                               : kind == 2 ? static_cast<uint32_t>(integer(0, 255))
                                           : static_cast<uint32_t>(integer(0, 1)); // faint
        return alpha << 24 | colour;
    };
    std::vector<uint32_t> canvas(kClientWidth * kClientHeight), fast(canvas.size()), plain(canvas.size());
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<SoftTexture> textures;
        for (int i = 0; i < 6; ++i) {
            const bool backdrop = i == 0;
            const int32_t width = static_cast<int32_t>(backdrop ? integer(1280, 1500) : integer(1, 400));
            const int32_t height = static_cast<int32_t>(backdrop ? integer(720, 800) : integer(1, 300));
            std::vector<uint32_t> pixels(size_t(width) * size_t(height));
            for (int32_t row = 0; row < height; ++row) {
                const int kind = static_cast<int>(backdrop ? (integer(0, 200) == 0 ? 2 : 1) : integer(0, 3));
                for (int32_t col = 0; col < width; ++col)
                    pixels[size_t(row) * size_t(width) + size_t(col)] = pixel(kind);
            }
            textures.push_back(softTexture(pixels.data(), width, height));
        }
        std::vector<SoftDraw> draws;
        if (integer(0, 1) == 0) draws.push_back({1, int32_t(integer(-200, 0)), int32_t(integer(-80, 0))});
        for (int i = 0; i < 12; ++i) {
            const bool far = integer(0, 9) == 0;
            draws.push_back({int32_t(integer(-1, 7)),
                             int32_t(far ? integer(INT32_MIN, INT32_MAX) : integer(-500, 1400)),
                             int32_t(far ? integer(INT32_MIN, INT32_MAX) : integer(-400, 800))});
        }
        int16_t left[kDrawnBands], right[kDrawnBands];
        std::fill(canvas.begin(), canvas.end(), 0u);
        for (int band = 0; band < kDrawnBands; ++band) {
            left[band] = static_cast<int16_t>(integer(0, kClientWidth));
            right[band] = static_cast<int16_t>(integer(0, kClientWidth));
            for (int32_t row = band * kDrawnBandRows; row < (band + 1) * kDrawnBandRows; ++row)
                for (int32_t col = left[band]; col < right[band]; ++col)
                    if (integer(0, 3) == 0)
                        canvas[size_t(row) * kClientWidth + size_t(col)] = pixel(int(integer(0, 2)));
        }
        const bool banded = trial % 2 == 0;
        compositeFrame(textures, draws, canvas.data(), fast.data(), banded ? DrawnBands{left, right} : DrawnBands{});
        plainComposite(textures, draws, canvas.data(), plain.data());
        ASSERT_TRUE(fast == plain) << "trial " << trial;
    }
}
