#pragma once
// Everything start-up loads: device textures, decoded pictures and the frame sets cut from them,
// the two bitmap fonts with their sheets, the sound-effect slots and the music tracks, and the
// frame's canvas. Start-up fills it once in a fixed order; afterwards the game steps only read
// it (the frame points the canvas at each frame's pixels, and the music steps keep the tracks
// playing). The GameState points at it; it is never part of the state.

#include <cstdint>

#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "raster/pixel_image.h"

// Device textures, in load order (the first 17 from files, the rest from program resources).
enum TextureSlot : int {
    kTexArrow,             // "Files\Img\bg\arr50.png", also the direction marker
    kTexArrowLit,          // "Files\Img\bg\arr50R.png"
    kTexMapMarker,         // "Files\Img\bg\MissSel.png"
    kTexMapMarkerLit,      // "Files\Img\bg\MissSel2.png"
    kTexClose,             // "Files\Img\bg\close.png"
    kTexLevelPip,          // "Files\Img\bg\3.jpg"
    kTexResultsBanner,     // "Files\Img\bg\4.jpg"
    kTexBuyIcon,           // "Files\Img\bg\5.jpg"
    kTexBuyIconPressed,    // "Files\Img\bg\5c.jpg"
    kTexTruck,             // "Files\Img\12b.PNG"
    kTexBuildingWide,      // "Files\Img\13.PNG"
    kTexBuildingSmall,     // "Files\Img\14.PNG"
    kTexRunway,            // "Files\Img\3.PNG"
    kTexLargeGroundMark,   // "Files\Img\10.PNG"
    kTexSmallGroundMark,   // "Files\Img\11.PNG"
    kTexSaveButton,        // "Files\Img\bg\Save.PNG"
    kTexLoadButton,        // "Files\Img\bg\Load.PNG"
    kTexTruckBurning,      // resource 14
    kTexStar,              // resource 17
    kTexStarLit,           // resource 18
    kTexTerrainMission1,   // resource 3
    kTexSkyMission1,       // resource 20
    kTexSkyMission23,      // resource 34
    kTexBriefingPicture,   // resource 22
    kTexUpgradePicture,    // resource 21
    kTexMapPicture,        // resource 28
    kTexTitle,             // resource 24
    kTexPhotoConvoy,       // resource 11
    kTexPhotoCargo,        // resource 25
    kTexCrowdStand,        // resource 40
    kTexPhotoAirshow,      // resource 26
    kTexPhotoLarge,        // resource 27
    kTexTerrainMission23,  // resource 2
    kTexMission2Marker,    // resource 12
    kTextureCount
};

// Sound-effect slots, in load order.
enum SoundSlot : int {
    kSoundBombDrop,        // "Files\Sound\Bombdrop.wav"
    kSoundGroundHit,       // "Files\Sound\GndHit.wav", also the button click
    kSoundWheel,           // "Files\Sound\wheel.wav"
    kSoundGearMotor,       // "Files\Sound\tt2.wav"
    kSoundGunHit,          // "Files\Sound\GUNHIT.wav"
    kSoundDetonationClose, // "Files\Sound\detCl.wav"
    kSoundDetonationFar,   // "Files\Sound\detFr.wav"
    kSoundEngineCruise,    // "Files\Sound\B1.wav"
    kSoundEngineLow,       // "Files\Sound\A2.wav"
    kSoundAfterburner,     // "Files\Sound\23.wav"
    kSoundCargoBreakup,    // "Files\Sound\dest.wav"
    kSoundCrash,           // "Files\Sound\crash.wav"
    kSoundGunFire,         // "Files\Sound\vulcv.wav"
    kSoundMissileLaunch,   // "Files\Sound\ML.wav"
    kSoundNarration,       // "Files\Sound\Narr.wav"
    kSoundTruckWrecked,    // "Files\Sound\Trk.wav"
    kSoundEngineDrone0,    // "Files\Sound\Antonov.wav", ten slots, one per cargo aircraft
    kSoundSearchTone = kSoundEngineDrone0 + 10, // "Files\Sound\search.wav"
    kSoundLockTone,        // "Files\Sound\Lock.wav"
    kSoundSlotCount
};

constexpr int kLargeSheetWidth = 512;  // "Files\Img\Fixedsys16x28.bmp"
constexpr int kLargeSheetHeight = 84;
constexpr int kSmallSheetWidth = 416;  // "Files\Img\Consolas13x24-2.bmp"
constexpr int kSmallSheetHeight = 72;

struct GameAssets {
    // The frame buffer the software raster draws into, open during a frame.
    Canvas canvas;

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

    // Device textures, by TextureSlot; 0 is absent.
    TextureHandle textures[kTextureCount] = {};

    // Frame sets, played by the sprite records of the GameState.
    FrameSet exhaustAfterburnerFrames; // resource 8, 3 images of 204x204
    FrameSet rollFrames;               // resource 1, 3 images of 204x204
    FrameSet aircraftFrames;           // resource 15, 1 image of 204x204
    FrameSet exhaustCruiseFrames;      // resource 7, 3 images of 204x204
    FrameSet exhaustLowFrames;         // resource 9, 3 images of 204x204
    FrameSet gearFrames;               // resource 16, 1 image of 204x204
    FrameSet bombBlastFrames;          // resource 6, 12 images of 200x120
    FrameSet missileBlastFrames;       // resource 31, 12 images of 200x150
    FrameSet cargoFrames;              // resource 10, 1 image of 610x128
    FrameSet smokeFrames;              // resource 13, 1 image of 280x280
};
