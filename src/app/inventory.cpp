#include "app/inventory.h"

#include "app/game_state.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "assets/textures.h"

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

void loadInventory(GameState& game) {
    decodeResourceImage(game.truckWreckImage, 41);

    for (int32_t i = 0; i < kFileTextureCount; ++i) {
        const FileTexture& t = kFileTextures[i];
        game.textures[i] = loadTextureFile(t.path, t.width, t.height, t.key);
    }
    for (int32_t i = 0; i < kResourceTextureCount; ++i) {
        const ResourceTexture& t = kResourceTextures[i];
        game.textures[kFileTextureCount + i] = loadTextureResource(t.id, t.width, t.height, t.key);
    }

    decodeResourceImage(game.shadowImage, 4);

    for (int32_t i = 0; i < kSoundGunFire; ++i) assignSound(game.sounds[i], loadWavFixed(kSoundsBeforeMusic[i]));
    assignSound(game.sounds[kSoundGunFire], loadWavChunked("Files\\Sound\\vulcv.wav"));

    loadMusic(game.track1, "Files\\Sound\\m1.z2");
    loadMusic(game.track2, "Files\\Sound\\m2.z2");

    for (int32_t i = 0; i < 3; ++i) {
        assignSound(game.sounds[kSoundMissileLaunch + i], loadWavFixed(kSoundsAfterMusic[i]));
    }
    for (int32_t i = 0; i < kDroneCount; ++i) assignSound(game.sounds[kSoundEngineDrone0 + i], loadWavFixed(kDroneSound));
    assignSound(game.sounds[kSoundSearchTone], loadWavFixed("Files\\Sound\\search.wav"));
    assignSound(game.sounds[kSoundLockTone], loadWavFixed("Files\\Sound\\Lock.wav"));

    buildFrameSet(game.exhaustAfterburnerFrames, 8, 3, 204, 204, 3);
    buildFrameSet(game.rollFrames, 1, 3, 204, 204, 3);
    buildFrameSet(game.aircraftFrames, 15, 1, 204, 204, 3);
    buildFrameSet(game.exhaustCruiseFrames, 7, 3, 204, 204, 3);
    buildFrameSet(game.exhaustLowFrames, 9, 3, 204, 204, 3);
    buildFrameSet(game.gearFrames, 16, 1, 204, 204, 3);
    buildFrameSet(game.bombBlastFrames, 6, 12, 200, 120, 3);
    buildFrameSet(game.missileBlastFrames, 31, 12, 200, 150, 4);
    buildFrameSet(game.cargoFrames, 10, 1, 610, 128, 3);
    buildFrameSet(game.smokeFrames, 13, 1, 280, 280, 1);

    decodeResourceImage(game.bombImage, 5);
    decodeResourceImage(game.missileImage, 37);

    // The exhaust flames and the gear hold each image 10 / count frames.
    setUpSprite(game.aircraftSprite, game.aircraftFrames, 0);
    setUpSprite(game.gearSprite, game.gearFrames, 10 / 1);
    setUpSprite(game.rollSprite, game.rollFrames, 0);
    setUpSprite(game.exhaustCruiseSprite, game.exhaustCruiseFrames, 10 / 3);
    setUpSprite(game.exhaustLowSprite, game.exhaustLowFrames, 10 / 3);
    setUpSprite(game.exhaustAfterburnerSprite, game.exhaustAfterburnerFrames, 10 / 3);
}
