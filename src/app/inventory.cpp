// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/inventory.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "assets/game_assets.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"
#include "combat/blasts.h"
#include "game/game_state.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/settings.h"

namespace {

// A texture read from a file under Files.
struct FileTexture {
    const char* path;
    int32_t width; // pixels, the size it is scaled to
    int32_t height;
    uint32_t key; // pixels of exactly this colour become transparent
};

// A texture made from a built-in picture.
struct ResourceTexture {
    int32_t id;
    int32_t width;
    int32_t height;
    uint32_t key;
};

#define SKARNWING_ROW(slot, source, width, height, key) {source, width, height, key},
const FileTexture kFileTextures[] = {SKARNWING_FILE_TEXTURES(SKARNWING_ROW)};
const ResourceTexture kResourceTextures[] = {SKARNWING_RESOURCE_TEXTURES(SKARNWING_ROW)};
#undef SKARNWING_ROW

constexpr int32_t kFileTextureCount = sizeof kFileTextures / sizeof kFileTextures[0];
constexpr int32_t kResourceTextureCount = sizeof kResourceTextures / sizeof kResourceTextures[0];
static_assert(kFileTextureCount + kResourceTextureCount == kTextureCount, "one table row per texture slot");

// A sound file with its first slot and its loader.
struct SoundRow {
    int32_t slot;
    const char* path;
    bool chunked;
};
#define SKARNWING_ROW(slot, file, loops, chunked) {slot, "Files\\Sound\\" file, chunked},
const SoundRow kSoundRows[] = {SKARNWING_SOUNDS(SKARNWING_ROW)};
#undef SKARNWING_ROW

// Hands a decoded (or failed) texture to the thread that uploads it.
void markDone(PreparedTexture& texture) {
    texture.done.store(true, std::memory_order_release);
    texture.done.notify_all();
}

// Runs the load's jobs one after another until none is left.
void takeJobs(InventoryLoad& load) {
    for (size_t i = load.next++; i < load.jobs.size(); i = load.next++) {
        if (i >= size_t(kTitleJobs)) load.heldBack.wait(true);
        load.jobs[i]();
    }
}

// Returns once every job the title needs is done, by whichever thread.
void awaitTitleJobs(InventoryLoad& load) {
    for (int32_t done = load.titleJobsDone.load(std::memory_order_acquire); done < kTitleJobs;
         done = load.titleJobsDone.load(std::memory_order_acquire)) {
        load.titleJobsDone.wait(done, std::memory_order_acquire);
    }
}

// A loading thread: the title's jobs at full priority, then the rest below the game's own
// thread, so that loading behind the title never delays a frame or the window opening. Only the
// first thread takes the title's jobs: the others would take the core the window opens on, and
// wait for the title before joining in.
void loadBehind(InventoryLoad& load, bool takesTitle) {
    if (!takesTitle) awaitTitleJobs(load);
    bool lowered = false;
    for (size_t i = load.next++; i < load.jobs.size(); i = load.next++) {
        if (i >= size_t(kTitleJobs)) {
            if (!lowered) setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10); // this thread only
            lowered = true;
            load.heldBack.wait(true);
            if (load.dropped) return; // the title's jobs always run: another thread may wait for them
        }
        load.jobs[i]();
    }
}

// Points a sprite record at its set with everything else zeroed.
void setUpSprite(SpriteRecord& sprite, FrameSetId set, int32_t framesPerImage) {
    sprite = SpriteRecord{};
    sprite.frames = set;
    sprite.framesPerImage = framesPerImage;
}

} // namespace

void loadFonts(GameState& game) {
    loadBmpSheet("Files\\Img\\Consolas13x24-2.bmp", game.assets->smallSheet, kSmallSheetWidth, kSmallSheetHeight);
    loadBmpSheet("Files\\Img\\Fixedsys16x28.bmp", game.assets->largeSheet, kLargeSheetWidth, kLargeSheetHeight);
    game.assets->smallFont = BitmapFont{13, 24, 32, game.assets->smallSheet};
    game.assets->largeFont = BitmapFont{16, 28, 32, game.assets->largeSheet};
}

InventoryLoad::~InventoryLoad() {
    dropped = true;
    heldBack = false;
    heldBack.notify_all();
    for (std::thread& thread : threads) {
        if (thread.joinable()) thread.join();
    }
}

// Each load decodes into slots of its own, so the loads run as parallel jobs (the sounds as one
// job, in their order); the textures are then handed to the platform in slot order on this
// thread, the one that draws. The slots end up exactly as loading one by one would leave them; only the
// messages about bad files may come in another order.
std::unique_ptr<InventoryLoad> startInventory(GameState& game, bool holdBack) {
    auto load = std::make_unique<InventoryLoad>();
    load->heldUntilFinished = holdBack;
    load->prepared = std::make_unique<PreparedTexture[]>(kTextureCount);
    PreparedTexture* out = load->prepared.get();
    std::vector<std::function<void()>>& jobs = load->jobs;
    std::atomic<int32_t>* titleDone = &load->titleJobsDone;
    auto forTitle = [titleDone](std::function<void()> job) {
        return [titleDone, job = std::move(job)]() {
            job();
            titleDone->fetch_add(1, std::memory_order_release);
            titleDone->notify_all();
        };
    };
    // What the title needs comes first: its picture, track 1 and the pad's buttons (its line).
    // The picture's pixels come prepared by the build; only when that file cannot be read is the
    // picture decoded here.
    jobs.push_back(forTitle([out]() {
        PreparedTexture& title = out[kTexTitle];
        const ResourceTexture& t = kResourceTextures[kTexTitle - kFileTextureCount];
        if (readPreparedPixels(kPreparedTitlePath, t.width, t.height, title.pixels)) {
            title.width = t.width;
            title.height = t.height;
            title.ready = true;
        } else {
            prepareResourceTexture(kTexTitle, title);
        }
        markDone(title);
    }));
    jobs.push_back(forTitle([&game]() { loadMusic(game.assets->track1, "Files\\Sound\\m1.z2"); }));
    jobs.push_back(forTitle([&game]() {
        GameAssets& assets = *game.assets;
        buildFrameSet(assets.padButtons, 42, kPadButtonCount, kPadPictureWidth, kPadPictureHeight);
        const ResourceData track = findResource(43);
        assets.captionCount = track.bytes == nullptr ? 0
                                                     : parseCaptions(reinterpret_cast<const char*>(track.bytes),
                                                                     track.size, assets.captions, kCaptionCapacity);
    }));
    // The longest jobs first, so that no core is left with one at the end: the largest picture
    // (resource 34, scaled from 3264x2448), then the other pictures.
    std::vector<int32_t> order;
    for (int32_t i = 0; i < kResourceTextureCount; ++i) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [](int32_t a, int32_t b) {
        return kResourceTextures[a].id == 34 && kResourceTextures[b].id != 34;
    });
    for (const int32_t i : order) {
        if (kFileTextureCount + i == kTexTitle) continue;
        jobs.push_back([out, i]() {
            prepareResourceTexture(kFileTextureCount + i, out[kFileTextureCount + i]);
            markDone(out[kFileTextureCount + i]);
        });
    }
    for (int32_t i = 0; i < kFileTextureCount; ++i) {
        jobs.push_back([out, i]() {
            const FileTexture& t = kFileTextures[i];
            PreparedTexture& texture = out[i];
            std::vector<uint8_t> file;
            if (readWholeFile(t.path, "texture", kMaxPictureFileBytes, file)) {
                texture.width = t.width;
                texture.height = t.height;
                texture.ready = prepareTexturePixels(file.data(), file.size(), t.width, t.height, t.key, t.path,
                                                     texture.pixels);
            }
            markDone(texture);
        });
    }
    jobs.push_back([&game]() {
        decodeResourceImage(game.assets->truckWreckImage, 41);
        decodeResourceImage(game.assets->shadowImage, 4);
        decodeResourceImage(game.assets->bombImage, 5);
        decodeResourceImage(game.assets->missileImage, 37);
    });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesBombBlast], 6, kBlastImages, 200, 120); });
    jobs.push_back(
        [&game]() { buildFrameSet(game.assets->frameSets[kFramesMissileBlast], 31, kBlastImages, 200, 150); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesExhaustAfterburner], 8, 3, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesRoll], 1, 3, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesAircraft], 15, 1, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesExhaustCruise], 7, 3, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesExhaustLow], 9, 3, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesGear], 16, 1, 204, 204); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesCargo], 10, 1, 610, 128); });
    jobs.push_back([&game]() { buildFrameSet(game.assets->frameSets[kFramesSmoke], 13, 1, 280, 280); });
    jobs.push_back([&game]() {
        SoundEffect* sounds = game.assets->sounds;
        for (const SoundRow& row : kSoundRows) {
            assignSound(sounds[row.slot], row.chunked ? loadWavChunked(row.path) : loadWavFixed(row.path));
            if (row.slot != kSoundEngineDrone0) continue;
            // One cargo aircraft's drone per slot: ten voices of one file's samples.
            for (int32_t i = 1; i < kDroneSlots; ++i) assignSound(sounds[row.slot + i], copySound(sounds[row.slot]));
        }
    });
    // Every core decodes while the caller opens the window; the caller joins in afterwards.
    const unsigned threads = std::min(std::max(1u, std::thread::hardware_concurrency()), 8u);
    for (unsigned i = 0; i < threads; ++i) load->threads.emplace_back(loadBehind, std::ref(*load), i == 0);
    return load;
}

bool prepareResourceTexture(int32_t slot, PreparedTexture& texture) {
    const ResourceTexture& t = kResourceTextures[slot - kFileTextureCount];
    const ResourceData data = findResource(t.id);
    const std::string name = "resource " + std::to_string(t.id);
    texture.width = t.width;
    texture.height = t.height;
    texture.ready = prepareTexturePixels(data.bytes, data.size, t.width, t.height, t.key, name.c_str(), texture.pixels);
    return texture.ready;
}

void releaseInventory(InventoryLoad& load) {
    if (load.heldUntilFinished || !load.heldBack) return;
    load.heldBack = false;
    load.heldBack.notify_all();
}

// Hands one decoded texture to the platform, once.
void uploadTexture(GameState& game, InventoryLoad& load, int32_t slot) {
    PreparedTexture& t = load.prepared[size_t(slot)];
    t.done.wait(false, std::memory_order_acquire);
    if (t.uploaded) return;
    game.assets->textures[slot] = t.ready ? platformCreateTexture(t.pixels.data(), t.width, t.height) : 0;
    t.pixels = {}; // handed over: the platform holds its own copy now
    t.uploaded = true;
}

void finishTitle(GameState& game, InventoryLoad& load) {
    awaitTitleJobs(load);
    uploadTexture(game, load, kTexTitle);
}

void finishInventory(GameState& game, std::shared_ptr<InventoryLoad> load) {
    load->heldBack = false;
    load->heldBack.notify_all();
    takeJobs(*load);
    // Every job has been taken: each texture is done or being decoded by another thread.
    for (int32_t i = 0; i < kTextureCount; ++i) uploadTexture(game, *load, i);
    for (std::thread& thread : load->threads) thread.join();
    load.reset();
    // Track 2 first plays at the airshow's take-off, so it loads while the first frames run
    // rather than before them; whatever uses it first waits for it.
    loadMusicInBackground(game.assets->track2, "Files\\Sound\\m2.z2");
    // The decoders' scratch memory, freed by now on several threads, goes back to the system
    // rather than staying resident for the whole run.
    malloc_trim(0);
}

void setUpSprites(GameState& game) {
    // The exhaust flames and the gear hold each image 10 / count frames.
    setUpSprite(game.aircraftSprite, kFramesAircraft, 0);
    setUpSprite(game.gearSprite, kFramesGear, 10 / 1);
    setUpSprite(game.rollSprite, kFramesRoll, 0);
    setUpSprite(game.exhaustCruiseSprite, kFramesExhaustCruise, 10 / 3);
    setUpSprite(game.exhaustLowSprite, kFramesExhaustLow, 10 / 3);
    setUpSprite(game.exhaustAfterburnerSprite, kFramesExhaustAfterburner, 10 / 3);
    setUpSprite(game.cargoSprite, kFramesCargo, 0);
}

void loadInventory(GameState& game) {
    finishInventory(game, startInventory(game));
    setUpSprites(game);
}
