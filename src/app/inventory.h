// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Every asset the game uses, loaded once at start-up in a fixed order into its GameState slot.
// A missing or malformed file leaves its slot empty (a texture absent, a sound silent) with one
// line on stderr, and loading goes on.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

struct GameState;

// Pixels of one texture, decoded and keyed by a job, uploaded afterwards on the loading thread.
struct PreparedTexture {
    std::vector<uint32_t> pixels; // width * height, 0xAARRGGBB
    int32_t width = 0;
    int32_t height = 0;
    bool ready = false;            // the pixels decoded
    bool uploaded = false;         // handed to the platform already (the title picture)
    std::atomic<bool> done{false}; // the job has finished with it, decoded or not
};

// The jobs the title needs, queued first: the title picture, track 1 and the pad's buttons (the
// title's line names one).
constexpr int32_t kTitleJobs = 3;

// Loading in flight: decoding jobs that touch disjoint slots, taken in turn by the threads.
struct InventoryLoad {
    std::vector<std::function<void()>> jobs;
    std::atomic<size_t> next{0}; // the first job nobody has taken
    std::vector<std::thread> threads;
    std::unique_ptr<PreparedTexture[]> prepared; // by TextureSlot
    std::atomic<int32_t> titleJobsDone{0};
    // While set, the jobs after the title's wait: until the title is on screen, so that they take
    // no processor time from the window's opening and the first frame, or until finishInventory.
    std::atomic<bool> heldBack{true};
    bool heldUntilFinished = false;   // the loads wait for finishInventory, as on a slow disk
    std::atomic<bool> dropped{false}; // never finished (the window did not open): held jobs are not run
    ~InventoryLoad();                 // drops the jobs still held back and waits for the threads
};

// The two font sheets and the fonts that use them.
void loadFonts(GameState& game);
// Pictures, textures, sounds, music, frame sets and sprite records, in load order.
void loadInventory(GameState& game);

// loadInventory in two halves, so that the window can open while the assets decode. The first
// starts every decoding job on threads of its own and returns at once; the sound device must be
// open already (opening it empties the mixer). The second takes the jobs still waiting on this
// thread too, then uploads the textures in slot order as each is done (this thread is the
// one that draws) while the other threads finish theirs, waits for them, starts track 2's load
// and sets up the sprite records.
// The jobs after the title's wait until releaseInventory, or with holdBack until finishInventory.
std::unique_ptr<InventoryLoad> startInventory(GameState& game, bool holdBack = false);
// Lets the jobs after the title's go on, unless the load holds them until finishInventory.
void releaseInventory(InventoryLoad& load);
void finishInventory(GameState& game, std::shared_ptr<InventoryLoad> load);
// Waits for the title's jobs only and uploads the title picture; the rest goes on loading.
void finishTitle(GameState& game, InventoryLoad& load);
// Decodes the built-in picture of a texture slot past the file textures and prepares its pixels
// as start-up does (the build prepares the title's so); false, with one line, when it does not
// decode.
bool prepareResourceTexture(int32_t slot, PreparedTexture& texture);
// Points the sprite records at their frame sets (which may still be loading).
void setUpSprites(GameState& game);
