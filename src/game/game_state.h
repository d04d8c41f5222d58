// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one record of the game's state. The entry point owns it for the whole run and passes it to
// every operation; it is value-initialised (every field zero) before start-up, and start-up and
// the resets give the fields their first values. It holds state only: what start-up loaded
// (pictures, sounds, music, fonts, the frame's canvas) lives in GameAssets, which the record
// points to. So the whole state is one trivially copyable block that can be copied, compared and
// replayed. Fields are grouped by the subsystem that owns them; each says its unit or range.

#include <cstdint>
#include <type_traits>

#include "game/stopwatch.h"
#include "platform/settings.h"
#include "raster/canvas.h"

struct GameAssets; // filled by start-up, see assets/game_assets.h

constexpr int kKeyTableSize = 256; // one byte per virtual-key code, 1 held, 0 up
constexpr int kTrickNameSize = 32;
constexpr int kTrickMessageSize = 100;

// The missions, numbered as the save, the dump and the replay scripts number them: 1 up to the
// count of the missions' table (missions/missions.h), which names the first three here.
enum Mission : int32_t { kMissionNone = 0, kMissionConvoy = 1, kMissionCargo = 2, kMissionAirshow = 3 };
constexpr int kMissionSlots = 8; // a table by Mission, with room for more; kMissionNone's slot stays unused

// Mission control's upgrade rows, top to bottom; they index the rows' fields.
enum Upgrade : int32_t { kUpgradeTurn, kUpgradeEngine, kUpgradeGun, kUpgradeBombs, kUpgradeMissiles, kUpgradeRows };

// The weapons, in the order the weapon key cycles them.
enum Weapon : int32_t { kWeaponNone = 0, kWeaponGun = 1, kWeaponBombs = 2, kWeaponMissiles = 3 };

// How the last sortie ended. The state dump prints it as the game names it (outcomeText).
enum class Outcome : uint8_t {
    Unset,   // "": before the first new game and after shut-down
    Flying,  // "NULL": a sortie is under way
    Won,     // "Won", also a new game's
    Crashed, // "Crashed"
    Blew,    // "Blew": caught in the aircraft's own blast
    Escaped, // "Escaped": a truck got away
    Bombed,  // "Bombed": a cargo aircraft reached the base
};

// Whether the lock-on found a cargo aircraft with hit points left in the aircraft's section.
enum class SectorTarget : uint8_t { NotLooked, Absent, Present }; // NotLooked until the first lock-on step

// The screen that is up. Control also stands through a sortie: it is where a won sortie returns.
// A load that succeeds with Y held leaves the title up over mission control, the game's own
// overlap; a screen's keys act only while it is still up, so they make none of their own.
enum class Screen : uint8_t {
    None,
    Title,
    Control,
    Map,
    Briefing,
    TitleOverControl, // load with Y held: leaving the title flies the sortie Y readied
};

// The screen as the four flags the state dump prints, each 0 or 1.
struct ScreenFlags {
    uint8_t title = 0;
    uint8_t control = 0;
    uint8_t map = 0;
    uint8_t briefing = 0;
};

// The airshow's tricks, indexing GameState::trickNames.
enum Trick : int {
    kTrickBuzzCrowd,
    kTrickNormalLoop,
    kTrickInvertedLoop,
    kTrickSpin,
    kTrickLowSpeedFlyby,
    kTrickCount
};

constexpr float kLargestFloat = 3.4028235e38f;

// Render time (unlock, composite, present) over windows of 20 frames.
struct RenderStats {
    Stopwatch watch;           // started on the first frame's dispatch, then around each present
    uint8_t started = 0;       // the watch has been made
    float sum = 0.0f;          // ms in the current window
    float min = kLargestFloat; // ms, smallest in the current window
    float max = 0.0f;          // ms, largest in the current window
    int32_t count = 0;         // frames in the current window
    float lastMin = 0.0f;      // ms, published every 20th frame
    float lastMax = 0.0f;
    float lastAverage = 0.0f;
};

// The mouse as the window messages leave it.
struct MouseState {
    int32_t x = 0;        // client column of the cursor
    int32_t y = 0;        // client row, growing downward
    uint8_t leftDown = 0; // left button held
    uint8_t captured = 0; // mouse capture taken (only the input handler reads it)
};

// The loaded frame sets (GameAssets::frameSets), by the id a sprite record holds.
enum FrameSetId : int32_t {
    kFramesNone, // plays nothing
    kFramesAircraft,
    kFramesGear,
    kFramesRoll,
    kFramesExhaustCruise,
    kFramesExhaustLow,
    kFramesExhaustAfterburner,
    kFramesCargo,
    kFramesBombBlast,
    kFramesMissileBlast,
    kFramesSmoke,
    kFrameSetCount
};

// One moving or animated picture. Owners give the remaining fields their meaning.
struct SpriteRecord {
    FrameSetId frames = kFramesNone; // the loaded images it plays
    int32_t imageIndex = 0;
    int32_t tick = 0; // frames the current image has been up
    double x = 0.0;   // draw position, screen pixels
    double y = 0.0;
    double scale = 0.0;
    double angle = 0.0;  // degrees
    uint8_t upright = 0; // passed to the blits; 0 mirrors top to bottom
    int32_t framesPerImage = 0;
};

// The player's aircraft: what the flight rules move and read. Angles in degrees (0 west, 90 up,
// 180 east, 270 down), velocities in pixels per frame.
struct Aircraft {
    double worldX = 0.0;  // world pixels, x growing east
    double worldY = 0.0;  // world pixels, y growing downward; the ground is near 19846
    double screenX = 0.0; // world position minus the camera
    double screenY = 0.0;
    double velX = 0.0;
    double velY = 0.0;
    double pitch = 0.0;        // nose angle, 0..360 inclusive
    double pitchAtStep = 0.0;  // pitch as read by the last flight-physics step
    int32_t physicsTimer = 0;  // frames to the next flight-physics step
    uint8_t flipped = 0;       // image mirrored about its long axis (rolled over)
    uint8_t rollActive = 0;    // a roll-over is under way
    uint8_t rollReturning = 0; // the roll-over is playing back toward the first image
    uint8_t rollDone = 0;      // the roll-over finished; cleared when Up and Down are up
    int32_t rollFrame = 0;     // image of the roll-over strip being shown, 0..2
    double airspeed = 0.0;     // throttle setting
    double lift = 0.0;         // vertical thrust term; follows airspeed, negated by the stall
    int32_t throttleStage = 0; // 1 at start, 3 afterburner lit, 2 after it went out
    uint8_t highEngineOn = 0;  // the cruise loop has been started
    uint8_t lowEngineOn = 0;   // the low engine loop has been started
    double fuel = 0.0;
    double fuelCapacity = 0.0;
    uint8_t stalled = 0;      // ceiling stall in progress
    double spriteScale = 0.0; // drawing scale of the aircraft and its overlays
    uint8_t gearUp = 0;       // landing gear retracted
    int32_t gearTravel = 0;   // gear animation, 0 fully down .. 18 fully up
    uint8_t onGround = 0;     // resting on the home runway
    uint8_t reloaded = 0;     // re-armed during the current stay on the runway

    // The upgradeable flight values, set on a new game.
    int32_t gearDownMinSpeed = 0; // lowest airspeed on the runway with the gear down
    int32_t minSpeed = 0;         // lowest airspeed otherwise
    int32_t maxSpeed = 0;         // top airspeed without afterburner
    int32_t boostSpeed = 0;       // airspeed with the afterburner lit
    double pitchUpRate = 0.0;     // degrees per frame the nose turns up
    double pitchDownRate = 0.0;   // degrees per frame the nose turns down
};

// The camera over the current section.
struct Camera {
    double cameraX = 0.0;      // world pixels of the screen's left edge
    double cameraY = 0.0;      // world pixels of the screen's top edge
    int32_t cameraLead = 0;    // pixels the camera looks ahead, cameraLeadMin..cameraLeadMax
    int32_t cameraLeadMin = 0; // set once at start-up: 0
    int32_t cameraLeadMax = 0; // set once at start-up: 300
};

constexpr int kBulletCapacity = 2000; // slot 0 is never used: the round making roundsFired n takes slot n
constexpr int kBombCapacity = 85;     // slot = bombsDropped at release
constexpr int kTruckCapacity = 20;
constexpr int kBombBlastCapacity = 85;
constexpr int kMissileBlastCapacity = 805;
constexpr int kSmokePuffCount = 50;   // the ring of smoke puffs
constexpr int kCargoCapacity = 10;    // one engine drone each
constexpr int kMissileCapacity = 805; // slot = missilesFired at launch

// One gun round. Positions are world pixels; the view position is the world position less the
// camera as it stood when the round was fired, moved with the round.
struct Bullet {
    double viewX = 0.0;
    double viewY = 0.0;
    double worldX = 0.0;
    double worldY = 0.0;
    double angle = 0.0; // radians: pitch at firing
    uint8_t active = 0; // in flight
    double scale = 0.0; // spriteScale at firing
    int32_t sector = 0; // section at firing
};

// One free-fall bomb.
struct Bomb {
    double viewX = 0.0; // as for Bullet
    double viewY = 0.0;
    double worldX = 0.0;
    double worldY = 0.0;
    double velX = 0.0; // pixels per frame
    double velY = 0.0;
    double drawDivisor = 0.0; // the picture's scale divisor, 4
    double drawAngle = 0.0;   // degrees; turns 1 per frame toward 270, nose down
    uint8_t active = 0;       // falling
    int32_t sector = 0;       // section at release
};

// One truck of the convoy (mission 1) or parked in section 1 (mission 2).
struct Truck {
    double x = 0.0;         // world pixels
    double y = 0.0;         // 19850 for every truck
    double speed = 0.0;     // pixels per frame toward growing x
    uint8_t alive = 0;      // intact: drives and can be hit
    float hitPoints = 0.0f; // a gun round removes 10
    int32_t sector = 0;
    uint8_t wreckLaunched = 0; // the wreck of a bombed truck has been thrown
    uint8_t burning = 0;       // gunfire brought it to 0 hit points; shown burning in place
    double wreckVelX = 0.0;    // pixels per frame, subtracted from the wreck's position
    double wreckVelY = 0.0;
    uint8_t wreckSoundPlayed = 0;
    double wreckX = 0.0; // world pixels
    double wreckY = 0.0;
    double wreckAngle = 0.0; // degrees, 180 at set-up
};

// One aircraft of the cargo formation. Its hit boxes span world x - 208 to x + 300.
struct CargoAircraft {
    double x = 0.0; // world pixels of the reference point
    double y = 0.0;
    double speed = 0.0;     // pixels per frame toward growing x
    double fallSpeed = 0.0; // pixels per frame downward while crashing, 0..10
    uint8_t active = 0;     // in the air, flying or crashing
    float hitPoints = 0.0f; // 100 at set-up; may go below 0
    int32_t sector = 0;
    double noseDX = 0.0; // screen pixels from the player's nose to box A's top-left corner
    double noseDY = 0.0;
    double distance = 0.0; // length of (noseDX, noseDY)
    double drawX = 0.0;    // drawing position, screen pixels
    double drawY = 0.0;
    double tilt = 0.0;      // degrees: 0 flying, up to 90 while crashing
    double drawScale = 0.0; // 0.69
    uint8_t upright = 0;    // 1: not mirrored
};

// A target of a kind whose whole state is a place, hit points and life (targets of richer kinds
// keep tables of their own, as the trucks and the cargo aircraft do). The kind's own file gives
// the fields their meaning and claims the slots at set-up; every take-off empties the table.
struct Site {
    int32_t kind = 0; // its TargetKind (combat/targets.h)
    double x = 0.0;   // world pixels
    double y = 0.0;
    int32_t sector = 0;
    float hitPoints = 0.0f; // as the kind sets them; 0 or less: destroyed
    uint8_t alive = 0;      // still standing
    uint8_t counted = 0;    // destroyed by the player: counts in the pay
};
constexpr int32_t kSiteCapacity = 16;

// One missile. The slot's mark (locked, aimX, aimY, target) belongs to the slot, not to one
// launch: the lock-on writes it before the launch that uses the slot, and it outlives re-arms
// and sorties until a new game.
struct Missile {
    double viewX = 0.0; // as for Bullet
    double viewY = 0.0;
    double worldX = 0.0;
    double worldY = 0.0;
    double heading = 0.0;     // radians: pitch at the last physics step less 3 degrees
    double drawDivisor = 0.0; // the picture's scale divisor, 3.5
    double drawAngle = 0.0;   // degrees
    uint8_t active = 0;       // in flight
    int32_t sector = 0;       // section at launch
    int32_t boost = 0;        // 0 at launch, counts up to 40
    uint8_t locked = 0;       // marked by the lock-on: the missile homes
    double aimX = 0.0;        // the target's screen position when marked; the aim vector while homing
    double aimY = 0.0;
    int32_t target = 0; // lock number (combat/targets.h) of the target to home on
};

// One explosion playing its strip once where a bomb or missile burst.
struct Blast {
    int32_t imageIndex = 0;
    int32_t tick = 0;           // frames the current image has been up
    int32_t framesPerImage = 0; // set by the resets
    double screenX = 0.0;       // top-left of the picture, screen pixels
    double screenY = 0.0;
    double worldX = 0.0;  // the impact point
    double worldY = 0.0;  // only for a burst in the air
    uint8_t finished = 0; // the last image has been reached
};

// One puff of the smoke trail, in screen pixels.
struct SmokePuff {
    double x = 0.0;
    double y = 0.0;
    double size = 0.0;   // the blit's scale: smaller draws larger
    double angle = 0.0;  // degrees
    double cutoff = 0.0; // alpha cut-off handed to the blit
    uint8_t active = 0;
};

constexpr int kCraterCapacity = kBombBlastCapacity;       // ground marks of bomb blasts
constexpr int kBlastMarkCapacity = kMissileBlastCapacity; // ground marks of missile blasts

// A mark an explosion left on the ground, scrolled with the terrain.
struct GroundMark {
    double x = 0.0;     // screen x less cameraLead when the mark was made
    double y = 0.0;     // recorded, not drawn from
    uint8_t active = 0; // the blast ended at ground level
};

// A screen rectangle in whole pixels, x growing right and y downward. Whether a point on its
// bounds lies in it is the rule's: withinRect counts the bounds in (the controls, the show box),
// strictlyWithinRect leaves them out (the cargo aircraft's hit boxes).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// left <= x <= right and top <= y <= bottom.
bool withinRect(const Rect& rect, double x, double y);
// left < x < right and top < y < bottom.
bool strictlyWithinRect(const Rect& rect, double x, double y);

// One best flight as mission control's logbook lists it.
enum class BestState : uint8_t { None, Kept, Damaged, OtherRules };
struct LogbookCell {
    BestState state = BestState::None;
    int32_t figure = 0; // milliseconds of mission time, or dollars of show money
    char date[11] = {}; // YYYY-MM-DD
};
constexpr int kLevelSlots = 4; // difficulty levels a mission may have, 0..3; its row says how many

// The record's way to what start-up loaded. Its constness follows the record's: through a const
// GameState the assets read only (drawing can neither play, stop nor retune a sound or the music,
// and draws into the canvas alone), through a GameState the steps may change, they are whole.
struct AssetsLink {
    GameAssets* to = nullptr;
    GameAssets* operator->() { return to; }
    const GameAssets* operator->() const { return to; }
    GameAssets& operator*() { return *to; }
    const GameAssets& operator*() const { return *to; }
};

struct GameState {
    // Shell and screens: the frame, the input state, the screens between sorties.
    AssetsLink assets;                // what start-up loaded, never part of the state; only
                                      // start-up, the frame and the music steps change it
    uint8_t keys[kKeyTableSize] = {}; // the key table, by virtual-key code, 1 held
    MouseState mouse;
    Stopwatch fpsStopwatch;       // window of the frame-rate count
    RenderStats renderStats;      // the frame's presentation times
    double dispatcherMs = 0.0;    // wall-clock ms the last frame's dispatch took, for profiling
    double dispatcherCpuMs = 0.0; // this thread's processor ms in the same span
    int32_t frameCount = 0;       // frames of world flying since the last rate publication
    int32_t framesPerSecond = 0;
    float versionNumber = 0.0f;   // shown in the title bar
    uint8_t fullScreen = 0;       // presentation is full screen
    uint8_t enterHeld = 0;        // Enter acted on, cleared when Enter is up
    uint8_t frozen = 0;           // Tab held: the motion steps skip their movement
    Screen screen = Screen::None; // the screen that is up
    uint8_t clickLatch = 0;       // a left click was acted on, cleared when the button is up
    uint8_t saveLoadLatch = 0;    // the button sound has played for this press of save or load
    int32_t savedNotice = 0;      // frames left of mission control's save or load notice
    int32_t saveNoticeKind = 0;   // which notice that is, a SaveNotice
    uint8_t gameLoaded = 0;       // the last load succeeded
    int32_t loadNotice = 0;       // frames left of "Game Loaded."
    Mission mission = kMissionNone;
    int32_t difficulty = 0;   // chosen level of the next sortie, below the mission's levels
    int32_t markerBlink = 0;  // frames left of the direction marker's blink cycle
    int32_t musicTrack = 0;   // the track that is on, 1 or 2 (0 before start-up)
    uint32_t randomState = 0; // the one random generator's state

    // The aircraft and the sprite records that draw it and its overlays.
    Aircraft aircraft;
    uint8_t keyLatchAG = 0; // A or G acted on, cleared when both are up
    uint8_t keyLatchZ = 0;  // Z acted on, cleared when Z is up
    uint8_t throttleUntouched = 0;
    int32_t reloadNotice = 0; // frames left of "Aircraft Reloaded."
    SpriteRecord aircraftSprite;
    SpriteRecord gearSprite;
    SpriteRecord rollSprite;
    SpriteRecord exhaustCruiseSprite;
    SpriteRecord exhaustLowSprite;
    SpriteRecord exhaustAfterburnerSprite;

    // Camera and scenery.
    Camera camera;
    double groundScreenY = 0.0; // screen row of the ground line
    int32_t sector = 0;         // world section the aircraft is in, 40000 pixels wide
    uint8_t edgeArmed = 0;      // a section edge crossing acts only while set
    double backdropX = 0.0;     // sky backdrop position, drawn at backdropY - 50
    double backdropY = 0.0;
    double terrainScrollX = 0.0; // screen x of terrain tile 0, before cameraLead is added
    double terrainScrollY = 0.0; // vertical scroll counter; the shadow's scale is it / 300
    double shadowScale = 0.0;    // scale of the ground shadow
    double baseX = 0.0;          // world x of the home base
    double runwayX = 0.0;        // world x where the 1560-pixel runway begins

    // Cockpit.
    int32_t altitude = 0;   // pixels above the ground: (int)(19846 - worldY); the runway rule reads it next frame
    uint32_t barColour = 0; // the throttle bar's colour, 0xAARRGGBB from the colour table

    // Weapons. Rounds, bombs and missiles left are the loads less the counts fired.
    Weapon selectedWeapon = kWeaponNone;
    uint8_t weaponKeyLatch = 0; // Ctrl acted on, cleared when Ctrl is up
    uint8_t triggerLatch = 0;   // Space has fired or released something since it was last up
    int32_t gunRounds = 0;      // rounds per sortie: 200, +50 per gun upgrade
    int32_t bombLoad = 0;       // bombs per sortie: 4, +3 per bomb upgrade
    int32_t missileLoad = 0;    // missiles per sortie
    int32_t roundsFired = 0;    // gun rounds fired since the last re-arm
    int32_t bombsDropped = 0;
    int32_t missilesFired = 0;    // launched since the last re-arm, 0..kMissileCapacity
    uint8_t bombRightOfTruck = 0; // the last bomb that destroyed a truck landed right of it
    uint8_t muzzleFlashLit = 0;   // the gun fired this frame: its flash is drawn
    int8_t muzzleScatter[9] = {}; // the flash's nine random spreads, 0..1 .. 0..9 pixels
    Bullet bullets[kBulletCapacity];
    Bomb bombs[kBombCapacity];
    int32_t lockTarget = 0;             // lock number (combat/targets.h) of the lock candidate
    double nearestTargetDistance = 0.0; // pixels to the lock candidate

    // Convoy.
    Truck trucks[kTruckCapacity]; // in use: truckCount
    int32_t truckCount = 0;
    int32_t trucksDestroyed = 0; // by a projectile, for the reward

    // Cargo aircraft.
    CargoAircraft cargoAircraft[kCargoCapacity]; // in use: cargoCount
    int32_t cargoCount = 0;                      // cargo aircraft slots in use: 3, 5, 7 or 10 in mission 2
    int32_t cargoDestroyed = 0;                  // crashed into the ground
    SpriteRecord cargoSprite;                    // the formation's picture

    // Targets of the simpler kinds, each kind's own file says which.
    Site sites[kSiteCapacity]; // in use: siteCount
    int32_t siteCount = 0;

    // Missiles.
    Missile missiles[kMissileCapacity];
    SectorTarget sectorTarget = SectorTarget::NotLooked; // what the last lock-on step found

    // Blasts and the marks they leave on the ground: blast i pairs with mark i of its kind.
    Blast bombBlasts[kBombBlastCapacity]; // in use: bombBlastCount
    GroundMark craters[kCraterCapacity];
    int32_t bombBlastCount = 0;
    Blast missileBlasts[kMissileBlastCapacity]; // in use: missileBlastCount
    GroundMark blastMarks[kBlastMarkCapacity];
    int32_t missileBlastCount = 0;

    // Smoke trail.
    int32_t smokeMode = 0;     // 0 off, or style 1, 2 or 3; cycled by S
    uint8_t smokeKeyLatch = 0; // S acted on, cleared when S is up
    double smokeTimer = 0.0;   // frames since the last emission, 0..2
    int32_t smokeIndex = 0;    // slot of the newest puff; -1 before the first of a game
    SmokePuff smokePuffs[kSmokePuffCount];

    // Airshow.
    char trickNames[kTrickCount][kTrickNameSize] = {}; // by Trick
    uint8_t spinLatchUp = 0;                           // this press of Up was paid as a Spin, cleared when Up is up
    uint8_t spinLatchDown = 0;                         // this press of Down was paid as a Spin, cleared when Down is up
    float showTimeRequired = 0.0f;                     // milliseconds to fly in the show box
    double showTimeElapsed = 0.0;                      // milliseconds flown in the box so far, all stays summed
    float showTimeBanked = 0.0f;                       // milliseconds of the earlier stays in the box
    uint8_t showClockStarted = 0;                      // the show clock has run in this airshow
    Stopwatch showClock;                               // runs while the aircraft is in the box
    Rect showBox;                                      // as computed at the end of the previous frame
    int32_t showEarnings = 0;                          // dollars earned by tricks in this airshow
    int32_t trickCount = 0;                            // tricks paid in this airshow
    double loopDegrees = 0.0;                          // degrees turned toward the loop in progress
    uint8_t normalLoopArmed = 0;                       // a loop was entered from upright level flight
    uint8_t invertedLoopArmed = 0;                     // a loop was entered from inverted level flight
    int32_t trickCooldown = 0;                         // frames before "Buzz Crowd" or "Low Speed Flyby" can pay again
    char trickMessage[kTrickMessageSize] = {};         // the last trick paid, with its amount
    int32_t trickMessageTimer = 0;                     // frames left to show trickMessage
    double crowdDistance = 0.0;                        // screen pixels from the show point to the crowd point

    // Progress: money, upgrades and the missions and levels opened.
    int32_t money = 0;                              // dollars the player has, 0..2147483647
    int32_t earned = 0;                             // dollars credited for the last won mission
    int32_t timeBonus = 0;                          // time bonus of the last won mission, computed every frame
    uint8_t rewardPaid = 0;                         // the last won mission has been credited
    int32_t upgradeSteps[kUpgradeRows] = {};        // by Upgrade: steps bought, 0..10 each
    int32_t upgradePrices[kUpgradeRows] = {};       // by Upgrade: dollars for the next step, from the steps
    int32_t missionsUnlocked = 0;                   // missions offered on the map, 1..the missions' count
    int32_t unlockedDifficulty[kMissionSlots] = {}; // by Mission: highest difficulty open, below its levels

    // Outcome.
    Stopwatch missionStopwatch;     // the mission clock, read for the time bonus
    uint8_t missionOver = 0;        // no sortie is being flown
    uint8_t outcomeFresh = 0;       // an outcome was just raised; its one-time effects are due
    uint8_t outcomeHandled = 0;     // the one-time effects have run
    uint8_t sortieClockStarted = 0; // missionStopwatch was started for this sortie
    int32_t reward = 0;             // dollars of mission bonus for the last won mission
    int32_t missionsWon = 0;        // missions won in this game
    uint8_t objectiveDone = 0;      // the mission's objective is met
    Outcome outcome = Outcome::Unset;

    // Pause, keyboard and pad focus, settings screen: the player's conveniences. Left alone they
    // change nothing, so the rules and every replay read as before.
    uint8_t paused = 0;                        // a sortie is paused: nothing of it moves, its sounds hold
    uint8_t pauseKeyLatch = 0;                 // P acted on, cleared when P is up
    uint8_t panelClickLatch = 0;               // the left button was down last frame on the pause panel or the settings
    int32_t pauseChoice = 0;                   // the pause panel's focused entry, 0..5
    int64_t pausedAtCount = 0;                 // counter reading when the pause began
    uint8_t navKeysHeld = 0;                   // the navigation keys down this frame, a NavKey mask
    uint8_t navFresh = 0;                      // those of them that went down this frame
    uint8_t focusShown = 0;                    // keys are in use on a screen that keeps a focus: the ring shows
    int32_t focusMouseX = 0;                   // where the mouse was last frame (the dumps and a best's
    int32_t focusMouseY = 0;                   // take-off name these, so they stay)
    int32_t focus = -1;                        // the focused control of the screen that is up, -1 not chosen yet
    int32_t focusScreen = 0;                   // the screen `focus` belongs to
    Mission mapFromMission = kMissionNone;     // mission, difficulty and trick money as mission control left
    int32_t mapFromDifficulty = 0;             // them for the map: Backspace back to it puts them back, so
    int32_t mapFromShowEarnings = 0;           // its results read (and open) no more than they did
    uint8_t settingsShown = 0;                 // the settings screen is up, over the title or the pause
    int32_t settingsRow = 0;                   // its focused row
    uint8_t settingsCapturing = 0;             // a binding waits for its key (1) or pad button (2)
    int32_t settingsMoved = -1;                // the action that gave up its key in the last binding, or -1
    Settings settings;                         // the player's settings as this frame reads them; only the
                                               // settings screen changes them, handing them to the platform
    Settings settingsOpenedWith;               // what the file says, to write it only when something changed
    uint8_t aboutShown = 0;                    // the About page is up, over the title or the pause
    uint8_t titleEntriesShown = 0;             // an arrow key showed the title's entries: they stay, clickable
    uint8_t keysLastFrame[kKeyTableSize] = {}; // the key table as the last frame left it
    uint8_t keysHeldOff[kKeyTableSize] = {};   // presses a panel or TAKE OFF took: up for the sortie until released
    uint8_t logbookShown = 0;                  // BEST FLIGHTS is up over mission control: 1 to read, 2 read
    int32_t watchRequest = -1;                 // the logbook's cell chosen to watch, taken after the frame
    LogbookCell logbook[kMissionSlots - 1][kLevelSlots]; // the bests, by mission - 1 and level
    int64_t watchFrame = 0;                              // in a best being watched: its frame, of watchLength
    int64_t watchLength = 0;                             // 0 in the player's own game

    // The controls page, the cues of the first sorties, the focus ring kept once keys are used.
    // Like the conveniences above they take no input the rules see and change nothing they read;
    // the cues' fields are never touched while the cues are off (a replay, a recording watched).
    uint8_t controlsShown = 0; // the controls page is up, over the title, the pause or the settings
    uint8_t keysUsed = 0;      // a key or pad press came on the title after the last click: rings show
    uint8_t cuesDone = 0;      // the player has landed and re-armed once, now or in an earlier run
    uint8_t cueAirborne = 0;   // the aircraft has left the runway in this sortie
    uint8_t cueGearRaised = 0; // the gear went up in this sortie
    uint8_t cueFired = 0;      // something was fired in this sortie
    uint8_t cueWeaponSeen = 0; // cueWeapon holds the weapon the sortie began with
    Weapon cueWeapon = kWeaponNone;
    uint8_t cueWeaponChanged = 0; // the weapon key was used in this sortie
    int32_t cueShown = 0;         // the cue on screen, a Cue
};

static_assert(std::is_trivially_copyable_v<GameState>, "the state is one block: copied, compared and replayed whole");

ScreenFlags screenFlags(Screen screen);

// Whether the title picture is up, alone or over another screen.
bool titleShown(const GameState& game);

// Closes every screen but the title, which stays up if it was.
void closeScreensBelowTitle(GameState& game);

// Whether the pointer lies in the rectangle, its bounds included.
bool mouseIn(const MouseState& mouse, const Rect& rect);

// The one random generator: state = state * 214013 + 2531011 (mod 2^32), result = bits 16..30.
int32_t gameRandom(GameState& game);
void seedRandom(GameState& game, uint32_t seed);

// The frame rate's counter, its one owner: a frame that flew the world counts, and once a second
// the count is published as framesPerSecond and starts again.
void countFrame(GameState& game, bool flown);
// Both figures 0, at a new game and a new sortie.
void resetFrameRate(GameState& game);

// The outcome as the game names it: "", "NULL", "Won", "Crashed", "Blew", "Escaped", "Bombed".
const char* outcomeText(Outcome outcome);

// Ends the sortie with the losing `outcome`: the sortie is over and its one-time effects are due.
// The last outcome raised in a frame stands.
void raiseOutcome(GameState& game, Outcome outcome);

// Ends the sortie with the losing `outcome` the way a crash does: the sortie is over, its
// one-time effects are due and no screen is up. Any subsystem may raise it.
void raiseCrash(GameState& game, Outcome outcome);
