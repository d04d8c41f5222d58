// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one list of what start-up loads, in load order. Each row feeds the slot enums of
// GameAssets, the inventory's load tables and the content tools' list of sound files, so a new
// asset is added here once. Paths are the game's own Windows-style names, resolved by
// platform/paths.h; sizes are the size a texture is drawn at, which its file is scaled to.

// Textures from files under Files: X(slot, path, width, height, key).
#define SKARNWING_FILE_TEXTURES(X)                                                               \
    X(kTexArrow, "Files\\Img\\bg\\arr50.png", 50, 50, kKeyWhite) /* also the direction marker */ \
    X(kTexArrowLit, "Files\\Img\\bg\\arr50R.png", 50, 50, kKeyWhite)                             \
    X(kTexMapMarker, "Files\\Img\\bg\\MissSel.png", 25, 25, kKeyWhite)                           \
    X(kTexMapMarkerLit, "Files\\Img\\bg\\MissSel2.png", 25, 25, kKeyWhite)                       \
    X(kTexClose, "Files\\Img\\bg\\close.png", 30, 30, kKeyMagenta)                               \
    X(kTexLevelPip, "Files\\Img\\bg\\3.jpg", 27, 27, kKeyMagenta)                                \
    X(kTexResultsBanner, "Files\\Img\\bg\\4.jpg", 539, 67, kKeyWhite)                            \
    X(kTexBuyIcon, "Files\\Img\\bg\\5.jpg", 30, 30, kKeyMagenta)                                 \
    X(kTexBuyIconPressed, "Files\\Img\\bg\\5c.jpg", 30, 30, kKeyMagenta)                         \
    X(kTexTruck, "Files\\Img\\12b.PNG", 98, 42, kKeyBlack)                                       \
    X(kTexBuildingWide, "Files\\Img\\13.PNG", 303, 87, kKeyBlack)                                \
    X(kTexBuildingSmall, "Files\\Img\\14.PNG", 59, 123, kKeyBlack)                               \
    X(kTexRunway, "Files\\Img\\3.PNG", 1600, 35, kKeyBlack)                                      \
    X(kTexLargeGroundMark, "Files\\Img\\10.PNG", 170, 170, kKeyBlack)                            \
    X(kTexSmallGroundMark, "Files\\Img\\11.PNG", 105, 60, kKeyBlack)                             \
    X(kTexSaveButton, "Files\\Img\\bg\\Save.PNG", 120, 50, kKeyBlack)                            \
    X(kTexLoadButton, "Files\\Img\\bg\\Load.PNG", 120, 50, kKeyBlack)

// Textures from pictures built into the program, after the file ones:
// X(slot, resource id, width, height, key).
#define SKARNWING_RESOURCE_TEXTURES(X)                 \
    X(kTexTruckBurning, 14, 98, 42, kKeyBlack)         \
    X(kTexStar, 17, 55, 50, kKeyBlack)                 \
    X(kTexStarLit, 18, 55, 50, kKeyBlack)              \
    X(kTexTerrainMission1, 3, 1194, 383, kKeyBlack)    \
    X(kTexSkyMission1, 20, 1920, 1080, kKeyWhite)      \
    X(kTexSkyMission23, 34, 1920, 1080, kKeyMagenta)   \
    X(kTexBriefingPicture, 22, 1280, 720, kKeyMagenta) \
    X(kTexUpgradePicture, 21, 1280, 720, kKeyMagenta)  \
    X(kTexMapPicture, 28, 1280, 720, kKeyMagenta)      \
    X(kTexTitle, 24, 1280, 720, kKeyMagenta)           \
    X(kTexPhotoConvoy, 11, 292, 232, kKeyWhite)        \
    X(kTexPhotoCargo, 25, 292, 232, kKeyWhite)         \
    X(kTexCrowdStand, 40, 3582, 370, kKeyWhite)        \
    X(kTexPhotoAirshow, 26, 292, 232, kKeyWhite)       \
    X(kTexPhotoLarge, 27, 436, 268, kKeyMagenta)       \
    X(kTexTerrainMission23, 2, 1194, 383, kKeyWhite)   \
    X(kTexMission2Marker, 12, 50, 50, kKeyWhite)

// Sound effects under Files\Sound: X(slot, file, loops, chunked). `loops`: played looping, so
// its end must lead into its start; `chunked`: read by the chunk-walking loader (any PCM layout)
// instead of the fixed 44100 Hz stereo one. The drone fills ten slots from one file.
#define SKARNWING_SOUNDS(X)                                                        \
    X(kSoundBombDrop, "Bombdrop.wav", false, false)                                \
    X(kSoundGroundHit, "GndHit.wav", false, false) /* also the button click */     \
    X(kSoundWheel, "wheel.wav", false, false)                                      \
    X(kSoundGearMotor, "tt2.wav", false, false)                                    \
    X(kSoundGunHit, "GUNHIT.wav", false, false)                                    \
    X(kSoundDetonationClose, "detCl.wav", false, false)                            \
    X(kSoundDetonationFar, "detFr.wav", false, false)                              \
    X(kSoundEngineCruise, "B1.wav", true, false)                                   \
    X(kSoundEngineLow, "A2.wav", true, false)                                      \
    X(kSoundAfterburner, "23.wav", true, false)                                    \
    X(kSoundCargoBreakup, "dest.wav", false, false)                                \
    X(kSoundCrash, "crash.wav", false, false)                                      \
    X(kSoundGunFire, "vulcv.wav", true, true)                                      \
    X(kSoundMissileLaunch, "ML.wav", false, false)                                 \
    X(kSoundNarration, "Narr.wav", true, false)                                    \
    X(kSoundTruckWrecked, "Trk.wav", false, false)                                 \
    X(kSoundEngineDrone0, "Antonov.wav", true, false) /* one per cargo aircraft */ \
    X(kSoundSearchTone, "search.wav", true, false)                                 \
    X(kSoundLockTone, "Lock.wav", true, false)

constexpr int kDroneSlots = 10; // kSoundEngineDrone0 and the nine slots after it
