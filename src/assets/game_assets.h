// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Everything start-up loads: device textures, decoded pictures and the frame sets cut from them,
// the two bitmap fonts with their sheets, the sound-effect slots and the music tracks, and the
// frame's canvas; where this run keeps its save; and the shell's records of the run. Start-up fills it once in a fixed order;
// afterwards the game steps only read it (the frame points the canvas at each frame's pixels, the
// music steps keep the tracks playing, and the first frames start what start-up left behind the
// title). The GameState points at it; it is never part of the
// state.

#include <cstdint>
#include <memory>
#include <string>

#include "assets/asset_list.h"
#include "assets/captions.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "raster/pixel_image.h"

// Device textures, in load order: the file ones, then the built-in ones.
enum TextureSlot : int {
#define SKARNWING_SLOT(slot, ...) slot,
    // clang-format off
    SKARNWING_FILE_TEXTURES(SKARNWING_SLOT) SKARNWING_RESOURCE_TEXTURES(SKARNWING_SLOT)
    kTextureCount
    // clang-format on
};
#undef SKARNWING_SLOT

// Sound-effect slots, in load order (the rows of SKARNWING_SOUNDS; the drone takes ten slots).
enum SoundSlot : int {
    kSoundBombDrop,
    kSoundGroundHit,
    kSoundWheel,
    kSoundGearMotor,
    kSoundGunHit,
    kSoundDetonationClose,
    kSoundDetonationFar,
    kSoundEngineCruise,
    kSoundEngineLow,
    kSoundAfterburner,
    kSoundCargoBreakup,
    kSoundCrash,
    kSoundGunFire,
    kSoundMissileLaunch,
    kSoundNarration,
    kSoundTruckWrecked,
    kSoundEngineDrone0,
    kSoundSearchTone = kSoundEngineDrone0 + kDroneSlots,
    kSoundLockTone,
    kSoundSlotCount
};

// The enum and the list agree: each row's slot follows the one before.
namespace asset_list_check {
constexpr int kSoundRowSlots[] = {
#define SKARNWING_SOUND_SLOT(slot, file, loops, chunked) slot,
    SKARNWING_SOUNDS(SKARNWING_SOUND_SLOT)
#undef SKARNWING_SOUND_SLOT
};
constexpr bool rowsFollow() {
    int next = 0;
    for (const int slot : kSoundRowSlots) {
        if (slot != next) return false;
        next = slot + (slot == kSoundEngineDrone0 ? kDroneSlots : 1);
    }
    return next == kSoundSlotCount;
}
static_assert(rowsFollow(), "SoundSlot lists the rows of SKARNWING_SOUNDS in order");
} // namespace asset_list_check

constexpr int32_t kPadPictureWidth = 44; // one button's cell of resource 42
constexpr int32_t kPadPictureHeight = 32;

constexpr int kLargeSheetWidth = 512; // "Files\Img\Fixedsys16x28.bmp"
constexpr int kLargeSheetHeight = 84;
constexpr int kSmallSheetWidth = 416; // "Files\Img\Consolas13x24-2.bmp"
constexpr int kSmallSheetHeight = 72;

struct InventoryLoad; // the shell's loads in flight
struct SortieTape;    // the sortie being taped for the bests
struct BestWatch;     // the best being watched

struct GameAssets {
    // The frame buffer the software raster draws into, open during a frame.
    mutable Canvas canvas; // drawn into through the read-only assets a drawing sees

    // The folder the save goes under; empty for the folder of the player's files. Set by a tool
    // or test before start-up.
    std::string saveFolder;
    // A recorded game is being watched: a save writes nothing and reports success, so the
    // recorded game goes on as it went.
    bool savesHeldBack = false;
    // A game played live, neither a replay nor a recording watched: the first sorties' cues may
    // show. Set by the entry point, never by the tools' scripts.
    bool cuesAllowed = false;
    // The file whose presence says the player has landed once; empty: the landing is not kept.
    std::string landingMemoryPath;
    // Won sorties are kept as the player's bests (beside the save). The game keeps them; a tool
    // or test only when it asks.
    bool bestsKept = false;

    // The loads start-up left running behind the title, until the first screen that needs them
    // waits for them. Shared, so that this record can own the shell's loading record unseen.
    std::shared_ptr<InventoryLoad> loadBehindTitle;
    // Frames still to begin before the sound device and the loads behind the title start: a
    // title-first start-up leaves them until the first frame is on screen.
    int32_t framesBeforeStart = 0;
    // The shell's records of the run, made when first needed: the sortie on tape for the bests
    // and the best being watched. Shared for the same reason as the loads.
    std::shared_ptr<SortieTape> tape;
    std::shared_ptr<BestWatch> watch;

    // Sound effects, by SoundSlot, and the two music tracks.
    SoundEffect sounds[kSoundSlotCount];
    MusicTrack track1;
    MusicTrack track2;

    // Decoded pictures drawn by the software raster.
    PixelImage truckWreckImage; // resource 41
    PixelImage shadowImage;     // resource 4
    PixelImage bombImage;       // resource 5
    PixelImage missileImage;    // resource 37

    // Fonts and their sheets.
    BitmapFont largeFont;
    BitmapFont smallFont;
    uint32_t largeSheet[kLargeSheetWidth * kLargeSheetHeight] = {};
    uint32_t smallSheet[kSmallSheetWidth * kSmallSheetHeight] = {};

    // The pad's buttons, one picture each by button number (resource 42), for the controls
    // page and the cues; and the airshow's captions (resource 43).
    FrameSet padButtons;
    Caption captions[kCaptionCapacity];
    int32_t captionCount = 0;

    // Device textures, by TextureSlot; 0 is absent.
    TextureHandle textures[kTextureCount] = {};

    // Frame sets by FrameSetId, played by the sprite records of the GameState and by the blasts
    // and smoke; the kFramesNone set stays empty.
    FrameSet frameSets[kFrameSetCount];
};

struct GameState;

// The frame set a sprite record's id names, or null for kFramesNone or an id out of range.
const FrameSet* frameSetOf(const GameState& game, FrameSetId id);

// The texture in `slot` with its top-left at (x, y), truncated to whole pixels, beneath the canvas.
void drawTexture(const GameState& game, TextureSlot slot, double x, double y);
// One line in the small font, into the canvas.
void drawSmallText(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour);

// Readies the audio output and empties every sound slot (start-up, before anything loads); the
// output is heard from audioStart on.
void createSoundDevice(GameState& game);
// Releases the slots from the last to the first, then closes the audio output (shut-down).
void releaseSounds(GameState& game);
// Everything a sortie may have started: the engine loops, the gun's loop, both tones, the ten
// drones, the crowd, the blasts and the shorter effects. Its end silences them all at once, before
// a loss plays its own sound, so none goes on over the screens between sorties; `kept` (a sound
// slot, or -1) is a one-shot the ending itself started, which plays out.
void stopSortieSounds(GameState& game, int32_t kept = -1);

// Once per frame, track 1 then track 2: read the position and restart a track by the rule of
// musicShouldRestart. A track still loading in the background is skipped, and claimed once its
// load is done.
void loopMusic(GameState& game);

// Track switches: stop the track that plays and start the other from its beginning, updating
// musicTrack. Each does nothing unless the other track is the one on.
void switchToTrack1(GameState& game);
void switchToTrack2(GameState& game);
