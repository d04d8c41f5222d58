#include "app/inventory.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/game_state.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {

// A texture read from a file under Files.
struct FileTexture {
    const char* path;
    int32_t width;  // pixels, the size it is scaled to
    int32_t height;
    uint32_t key;   // pixels of exactly this colour become transparent
};

// A texture made from a built-in picture.
struct ResourceTexture {
    int32_t id;
    int32_t width;
    int32_t height;
    uint32_t key;
};

// Textures 1 to 17, in TextureSlot order.
const FileTexture kFileTextures[] = {
    {"Files\\Img\\bg\\arr50.png", 50, 50, kKeyWhite},
    {"Files\\Img\\bg\\arr50R.png", 50, 50, kKeyWhite},
    {"Files\\Img\\bg\\MissSel.png", 25, 25, kKeyWhite},
    {"Files\\Img\\bg\\MissSel2.png", 25, 25, kKeyWhite},
    {"Files\\Img\\bg\\close.png", 30, 30, kKeyMagenta},
    {"Files\\Img\\bg\\3.jpg", 27, 27, kKeyMagenta},
    {"Files\\Img\\bg\\4.jpg", 539, 67, kKeyWhite},
    {"Files\\Img\\bg\\5.jpg", 30, 30, kKeyMagenta},
    {"Files\\Img\\bg\\5c.jpg", 30, 30, kKeyMagenta},
    {"Files\\Img\\12b.PNG", 98, 42, kKeyBlack},
    {"Files\\Img\\13.PNG", 303, 87, kKeyBlack},
    {"Files\\Img\\14.PNG", 59, 123, kKeyBlack},
    {"Files\\Img\\3.PNG", 1600, 35, kKeyBlack},
    {"Files\\Img\\10.PNG", 170, 170, kKeyBlack},
    {"Files\\Img\\11.PNG", 105, 60, kKeyBlack},
    {"Files\\Img\\bg\\Save.PNG", 120, 50, kKeyBlack},
    {"Files\\Img\\bg\\Load.PNG", 120, 50, kKeyBlack},
};

// Textures 18 to 34, continuing the TextureSlot order.
const ResourceTexture kResourceTextures[] = {
    {14, 98, 42, kKeyBlack},      {17, 55, 50, kKeyBlack},      {18, 55, 50, kKeyBlack},
    {3, 1194, 383, kKeyBlack},    {20, 1920, 1080, kKeyWhite},  {34, 1920, 1080, kKeyMagenta},
    {22, 1280, 720, kKeyMagenta}, {21, 1280, 720, kKeyMagenta}, {28, 1280, 720, kKeyMagenta},
    {24, 1280, 720, kKeyMagenta}, {11, 292, 232, kKeyWhite},    {25, 292, 232, kKeyWhite},
    {40, 3582, 370, kKeyWhite},   {26, 292, 232, kKeyWhite},    {27, 436, 268, kKeyMagenta},
    {2, 1194, 383, kKeyWhite},    {12, 50, 50, kKeyWhite},
};

constexpr int32_t kFileTextureCount = sizeof kFileTextures / sizeof kFileTextures[0];
constexpr int32_t kResourceTextureCount = sizeof kResourceTextures / sizeof kResourceTextures[0];
static_assert(kFileTextureCount + kResourceTextureCount == kTextureCount, "one table row per texture slot");

// Sounds 1 to 12, in SoundSlot order. Sound 13, the gun, has a loader of its own.
const char* const kSoundsBeforeMusic[] = {
    "Files\\Sound\\Bombdrop.wav", "Files\\Sound\\GndHit.wav", "Files\\Sound\\wheel.wav",
    "Files\\Sound\\tt2.wav",      "Files\\Sound\\GUNHIT.wav", "Files\\Sound\\detCl.wav",
    "Files\\Sound\\detFr.wav",    "Files\\Sound\\B1.wav",     "Files\\Sound\\A2.wav",
    "Files\\Sound\\23.wav",       "Files\\Sound\\dest.wav",   "Files\\Sound\\crash.wav",
};
static_assert(sizeof kSoundsBeforeMusic / sizeof kSoundsBeforeMusic[0] == kSoundGunFire, "sounds 1 to 12");

// Sounds 14 to 16 and 27 to 28; the ten cargo-aircraft drones lie between them.
const char* const kSoundsAfterMusic[] = {"Files\\Sound\\ML.wav", "Files\\Sound\\Narr.wav", "Files\\Sound\\Trk.wav"};
constexpr const char* kDroneSound = "Files\\Sound\\Antonov.wav";
constexpr int32_t kDroneCount = kSoundSearchTone - kSoundEngineDrone0;

// Runs every job, on as many threads as the machine has cores (this one included), and returns
// when all have finished. Jobs must touch disjoint data.
void runJobs(const std::vector<std::function<void()>>& jobs) {
    std::atomic<size_t> next{0};
    auto work = [&]() {
        for (size_t i = next++; i < jobs.size(); i = next++) jobs[i]();
    };
    const unsigned helpers = std::min<unsigned>(std::max(1u, std::thread::hardware_concurrency()) - 1, 7);
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
}

// Pixels of one texture, decoded and keyed by a job, uploaded afterwards on the loading thread.
struct PreparedTexture {
    std::vector<uint32_t> pixels; // width * height, 0xAARRGGBB
    int32_t width = 0;
    int32_t height = 0;
    bool ready = false;
};

// Points a sprite record at its set with everything else zeroed.
void setUpSprite(SpriteRecord& sprite, FrameSet& set, int32_t framesPerImage) {
    sprite = SpriteRecord{};
    sprite.frames = &set;
    sprite.framesPerImage = framesPerImage;
}

} // namespace

void loadFonts(GameState& game) {
    loadBmpSheet("Files\\Img\\Consolas13x24-2.bmp", game.smallSheet, kSmallSheetWidth, kSmallSheetHeight);
    loadBmpSheet("Files\\Img\\Fixedsys16x28.bmp", game.largeSheet, kLargeSheetWidth, kLargeSheetHeight);
    game.smallFont = BitmapFont{13, 24, 32, game.smallSheet};
    game.largeFont = BitmapFont{16, 28, 32, game.largeSheet};
}

// Each load decodes into slots of its own, so the loads run as parallel jobs (the sounds as one
// job, in their order); the textures are then uploaded in slot order on this thread, which owns
// the graphics device. The slots end up exactly as loading one by one would leave them; only the
// messages about bad files may come in another order.
void loadInventory(GameState& game) {
    std::vector<PreparedTexture> prepared(kTextureCount);
    std::vector<std::function<void()>> jobs;
    // The longest jobs first, so that no core is left with one at the end: the largest picture
    // (resource 34, scaled from 3264x2448), track 1, then the other pictures.
    std::vector<int32_t> order;
    for (int32_t i = 0; i < kResourceTextureCount; ++i) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [](int32_t a, int32_t b) {
        return kResourceTextures[a].id == 34 && kResourceTextures[b].id != 34;
    });
    auto resourceJob = [&prepared](int32_t i) {
        return [&prepared, i]() {
            const ResourceTexture& t = kResourceTextures[i];
            const ResourceData data = findResource(t.id);
            const std::string name = "resource " + std::to_string(t.id);
            PreparedTexture& out = prepared[size_t(kFileTextureCount + i)];
            out.width = t.width;
            out.height = t.height;
            out.ready = prepareTexturePixels(data.bytes, data.size, t.width, t.height, t.key, name.c_str(), out.pixels);
        };
    };
    jobs.push_back(resourceJob(order[0]));
    jobs.push_back([&game]() { loadMusic(game.track1, "Files\\Sound\\m1.z2"); });
    for (size_t k = 1; k < order.size(); ++k) jobs.push_back(resourceJob(order[k]));
    for (int32_t i = 0; i < kFileTextureCount; ++i) {
        jobs.push_back([&prepared, i]() {
            const FileTexture& t = kFileTextures[i];
            std::vector<uint8_t> file;
            if (!readWholeFile(t.path, "texture", kMaxPictureFileBytes, file)) return;
            PreparedTexture& out = prepared[size_t(i)];
            out.width = t.width;
            out.height = t.height;
            out.ready = prepareTexturePixels(file.data(), file.size(), t.width, t.height, t.key, t.path, out.pixels);
        });
    }
    jobs.push_back([&game]() {
        decodeResourceImage(game.truckWreckImage, 41);
        decodeResourceImage(game.shadowImage, 4);
        decodeResourceImage(game.bombImage, 5);
        decodeResourceImage(game.missileImage, 37);
    });
    jobs.push_back([&game]() { buildFrameSet(game.exhaustAfterburnerFrames, 8, 3, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.rollFrames, 1, 3, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.aircraftFrames, 15, 1, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.exhaustCruiseFrames, 7, 3, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.exhaustLowFrames, 9, 3, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.gearFrames, 16, 1, 204, 204, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.bombBlastFrames, 6, 12, 200, 120, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.missileBlastFrames, 31, 12, 200, 150, 4); });
    jobs.push_back([&game]() { buildFrameSet(game.cargoFrames, 10, 1, 610, 128, 3); });
    jobs.push_back([&game]() { buildFrameSet(game.smokeFrames, 13, 1, 280, 280, 1); });
    jobs.push_back([&game]() {
        for (int32_t i = 0; i < kSoundGunFire; ++i) {
            assignSound(game.sounds[i], loadWavFixed(kSoundsBeforeMusic[i]));
        }
        assignSound(game.sounds[kSoundGunFire], loadWavChunked("Files\\Sound\\vulcv.wav"));
        for (int32_t i = 0; i < 3; ++i) {
            assignSound(game.sounds[kSoundMissileLaunch + i], loadWavFixed(kSoundsAfterMusic[i]));
        }
        // One cargo aircraft's drone per slot: ten voices of one file's samples.
        assignSound(game.sounds[kSoundEngineDrone0], loadWavFixed(kDroneSound));
        for (int32_t i = 1; i < kDroneCount; ++i) {
            assignSound(game.sounds[kSoundEngineDrone0 + i], copySound(game.sounds[kSoundEngineDrone0]));
        }
        assignSound(game.sounds[kSoundSearchTone], loadWavFixed("Files\\Sound\\search.wav"));
        assignSound(game.sounds[kSoundLockTone], loadWavFixed("Files\\Sound\\Lock.wav"));
    });
    runJobs(jobs);

    for (int32_t i = 0; i < kTextureCount; ++i) {
        const PreparedTexture& t = prepared[size_t(i)];
        game.textures[i] = t.ready ? platformCreateTexture(t.pixels.data(), t.width, t.height) : 0;
    }
    prepared.clear();
    // Track 2 first plays at the airshow's take-off, so it decodes while the first frames run
    // rather than before them; whatever uses it first waits for it.
    loadMusicInBackground(game.track2, "Files\\Sound\\m2.z2");
    // The decoders' scratch memory, freed by now on several threads, goes back to the system
    // rather than staying resident for the whole run.
    malloc_trim(0);

    // The exhaust flames and the gear hold each image 10 / count frames.
    setUpSprite(game.aircraftSprite, game.aircraftFrames, 0);
    setUpSprite(game.gearSprite, game.gearFrames, 10 / 1);
    setUpSprite(game.rollSprite, game.rollFrames, 0);
    setUpSprite(game.exhaustCruiseSprite, game.exhaustCruiseFrames, 10 / 3);
    setUpSprite(game.exhaustLowSprite, game.exhaustLowFrames, 10 / 3);
    setUpSprite(game.exhaustAfterburnerSprite, game.exhaustAfterburnerFrames, 10 / 3);
}
