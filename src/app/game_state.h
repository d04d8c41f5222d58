#pragma once
// The one record of the whole game. The entry point owns it for the whole run and passes it to
// every operation; it is value-initialised (every field zero) before start-up, and start-up and
// the resets give the fields their first values. Areas follow the record's order; each field
// says its unit or range.

#include <cstdint>
#include <string>

#include "app/stopwatch.h"
#include "assets/images.h"
#include "assets/music.h"
#include "assets/sound.h"
#include "platform/platform.h"
#include "raster/canvas.h"
#include "raster/pixel_image.h"

// The input state the window messages produce. Static for the whole process; the GameState
// points at it.
struct MouseState {
    int32_t x = 0;        // client column of the cursor
    int32_t y = 0;        // client row, growing downward
    uint8_t leftDown = 0; // left button held
    uint8_t captured = 0; // mouse capture taken (only the input handler reads it)
};

constexpr int kKeyTableSize = 256;   // one byte per virtual-key code, 1 held, 0 up
constexpr int kTrickCount = 5;
constexpr int kTrickNameSize = 32;

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

constexpr int kCraterCapacity = 85;     // ground marks of bomb blasts
constexpr int kBlastMarkCapacity = 805; // ground marks of missile blasts

// A mark an explosion left on the ground, scrolled with the terrain.
struct GroundMark {
    double x = 0.0;     // screen x less cameraLead when the mark was made
    double y = 0.0;     // recorded, not drawn from
    uint8_t active = 0; // the blast ended at ground level
};

constexpr int kLargeSheetWidth = 512;  // "Files\Img\Fixedsys16x28.bmp"
constexpr int kLargeSheetHeight = 84;
constexpr int kSmallSheetWidth = 416;  // "Files\Img\Consolas13x24-2.bmp"
constexpr int kSmallSheetHeight = 72;

struct GameState {
    // 1. The mission clock: started when a sortie begins, read for the time bonus.
    Stopwatch missionStopwatch;

    // 2. The airshow's trick names.
    char trickNames[kTrickCount][kTrickNameSize] = {};

    // 3. Scratch space for one formatted line.
    char textBuffer[kTextBufferSize] = {};

    // 4. One-byte flags, latches and notice countdowns.
    uint8_t rollActive = 0;      // a roll-over is under way
    uint8_t rollReturning = 0;   // the roll-over is playing back toward the first image
    uint8_t rollDone = 0;        // the roll-over finished; cleared when Up and Down are up
    int32_t rollFrame = 0;       // image of the roll-over strip being shown, 0..2
    uint8_t showUpLatch = 0;     // airshow: Up acted on, cleared when Up is up
    uint8_t showDownLatch = 0;   // airshow: Down acted on, cleared when Down is up
    uint8_t keyLatchAG = 0;      // A or G acted on, cleared when both are up
    uint8_t keyLatchZ = 0;       // Z acted on, cleared when Z is up
    uint8_t weaponKeyLatch = 0;  // Ctrl acted on, cleared when Ctrl is up
    uint8_t throttleUntouched = 0;
    uint8_t enterHeld = 0;       // Enter acted on, cleared when Enter is up
    uint8_t gameLoaded = 0;      // the last load succeeded
    uint8_t missionOver = 0;     // no sortie is being flown
    uint8_t outcomeFresh = 0;    // an outcome was just raised; its one-time effects are due
    uint8_t clickLatch = 0;      // a left click was acted on, cleared when the button is up
    uint8_t saveLoadLatch = 0;   // mission control's save and load buttons
    int32_t loadNotice = 0;      // frames left of "Game Loaded."

    // 5. Mission selection, progress, the camera.
    int32_t mission = 0;                 // 1 convoy, 2 cargo aircraft, 3 airshow
    int32_t lockTarget = 0;              // index of the lock candidate among the cargo aircraft
    int32_t markerBlink = 0;             // frames left of the direction marker's blink cycle
    int32_t physicsTimer = 0;            // frames to the next flight-physics step
    float versionNumber = 0.0f;          // shown in the title bar
    double nearestTargetDistance = 0.0;  // pixels to the lock candidate
    double cameraX = 0.0;                // world pixels of the screen's left edge
    double cameraY = 0.0;                // world pixels of the screen's top edge
    double groundScreenY = 0.0;          // screen row of the ground line

    // 6. The frame buffer.
    Canvas canvas;

    // 7. The mouse.
    MouseState* mouse = nullptr;

    // 9. Sound effects.
    SoundEffect sounds[kSoundSlotCount];

    // 10. Music.
    MusicTrack track1;
    MusicTrack track2;

    // 11. Decoded pictures drawn by the software raster.
    PixelImage truckWreckImage; // resource 41
    PixelImage shadowImage;     // resource 4
    PixelImage bombImage;       // resource 5
    PixelImage missileImage;    // resource 37

    // 12. Fonts and their sheets.
    BitmapFont largeFont;
    BitmapFont smallFont;
    uint32_t largeSheet[kLargeSheetWidth * kLargeSheetHeight] = {};
    uint32_t smallSheet[kSmallSheetWidth * kSmallSheetHeight] = {};

    // 13. The world's object tables.
    GroundMark craters[kCraterCapacity];       // in use: bombBlastCount
    GroundMark blastMarks[kBlastMarkCapacity]; // in use: missileBlastCount
    int32_t bombBlastCount = 0;
    int32_t missileBlastCount = 0;

    // 14. Device textures, by TextureSlot; 0 is absent.
    TextureHandle textures[kTextureCount] = {};

    // 15. Frame sets and the sprite records that play them.
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
    SpriteRecord aircraftSprite;
    SpriteRecord gearSprite;
    SpriteRecord rollSprite;
    SpriteRecord exhaustCruiseSprite;
    SpriteRecord exhaustLowSprite;
    SpriteRecord exhaustAfterburnerSprite;

    // 16. Screen and game flags and counters.
    uint8_t titleShown = 0;     // the title picture is up
    uint8_t controlShown = 0;   // mission control is up
    uint8_t mapShown = 0;       // the mission-select map is up
    uint8_t briefingShown = 0;  // the briefing is up
    uint8_t fullScreen = 0;     // presentation is full screen
    uint8_t objectiveDone = 0;  // the mission's objective is met
    int32_t selectedWeapon = 0; // 1 gun, 2 bombs, 3 missiles
    int32_t frameCount = 0;     // frames of world flying since the last rate publication
    int32_t framesPerSecond = 0;
    int32_t sector = 0;         // world section the aircraft is in, 40000 pixels wide
    int32_t cargoCount = 0;     // cargo aircraft slots in use
    int32_t cargoDestroyed = 0;
    int32_t missionsUnlocked = 0;     // 1..3 missions offered on the map
    int32_t unlockedDifficulty1 = 0;  // highest difficulty open for mission 1, 0..3
    int32_t unlockedDifficulty2 = 0;
    int32_t unlockedDifficulty3 = 0;
    int32_t difficulty = 0;           // chosen level of the next sortie, 0..3
    uint8_t musicTrack1On = 0;  // track 1 is the one playing
    uint8_t musicTrack2On = 0;  // track 2 is the one playing

    int32_t cameraLead = 0;     // pixels the camera looks ahead, cameraLeadMin..cameraLeadMax
    int32_t cameraLeadMin = 0;  // set once at start-up: 0
    int32_t cameraLeadMax = 0;  // set once at start-up: 300
    uint8_t edgeArmed = 0;      // a section edge crossing acts only while set
    uint8_t frozen = 0;         // Tab held: the motion steps skip their movement

    // 17. The player's aircraft. Angles in degrees (0 west, 90 up, 180 east, 270 down),
    // velocities in pixels per frame.
    double worldX = 0.0;        // world pixels, x growing east
    double worldY = 0.0;        // world pixels, y growing downward; the ground is near 19846
    double screenX = 0.0;       // world position minus the camera
    double screenY = 0.0;
    double velX = 0.0;
    double velY = 0.0;
    double pitch = 0.0;         // nose angle, 0..360 inclusive
    double pitchAtStep = 0.0;   // pitch as read by the last flight-physics step
    uint8_t flipped = 0;        // image mirrored about its long axis (rolled over)
    double airspeed = 0.0;      // throttle setting
    double lift = 0.0;          // vertical thrust term; follows airspeed, negated by the stall
    int32_t gearDownMinSpeed = 0; // lowest airspeed on the runway with the gear down
    int32_t minSpeed = 0;       // lowest airspeed otherwise
    int32_t maxSpeed = 0;       // top airspeed without afterburner
    int32_t boostSpeed = 0;     // airspeed with the afterburner lit
    int32_t throttleStage = 0;  // 1 at start, 3 afterburner lit, 2 after it went out
    double pitchUpRate = 0.0;   // degrees per frame the nose turns up
    double pitchDownRate = 0.0; // degrees per frame the nose turns down
    double fuel = 0.0;
    double fuelCapacity = 0.0;
    uint8_t stalled = 0;        // ceiling stall in progress
    double spriteScale = 0.0;   // drawing scale of the aircraft and its overlays
    uint8_t highEngineOn = 0;   // the cruise loop has been started
    uint8_t lowEngineOn = 0;    // the low engine loop has been started
    uint8_t gearUp = 0;         // landing gear retracted
    int32_t gearTravel = 0;     // gear animation, 0 fully down .. 18 fully up
    uint8_t onGround = 0;       // resting on the home runway
    uint8_t reloaded = 0;       // re-armed during the current stay on the runway
    int32_t altitude = 0;       // pixels above the ground: (int)(19846 - worldY), written by the cockpit
    double baseX = 0.0;         // world x of the home base
    double runwayX = 0.0;       // world x where the 1560-pixel runway begins
    int32_t reloadNotice = 0;   // frames left of "Aircraft Reloaded."
    int32_t roundsFired = 0;    // gun rounds fired since the last re-arm
    int32_t bombsDropped = 0;
    int32_t missilesFired = 0;
    double backdropX = 0.0;     // sky backdrop position, drawn at backdropY - 50
    double backdropY = 0.0;
    double terrainScrollX = 0.0; // screen x of terrain tile 0, before cameraLead is added
    double terrainScrollY = 0.0; // vertical scroll counter; the shadow's scale is it / 300
    double shadowScale = 0.0;   // scale of the ground shadow
    int32_t barColourR = 0;     // the throttle bar's colour, written by the cockpit
    int32_t barColourG = 0;
    int32_t barColourB = 0;

    // 18.
    Stopwatch fpsStopwatch;     // window of the frame-rate count
    std::string outcome;        // "NULL" while flying; "Won", "Crashed", "Blew", "Escaped", "Bombed"
    uint8_t* keys = nullptr;    // the key table, kKeyTableSize entries

    uint32_t randomState = 0;   // the one random generator's state
};

// The one random generator: state = state * 214013 + 2531011 (mod 2^32), result = bits 16..30.
int32_t gameRandom(GameState& game);
void seedRandom(GameState& game, uint32_t seed);
