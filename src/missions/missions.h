// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The missions: one row per mission says everything the game needs to know about it (its
// sections, skies, set-up, objective, prompt, pay, briefing and map marker), and the steps and
// drawings that read the row. Each mission's file (convoy.cpp, interception.cpp, airshow.cpp)
// owns its row and the functions the row names; missions.cpp lists the rows by Mission.

#include <cstdint>
#include <span>

#include "assets/game_assets.h"
#include "flight/scenery.h"
#include "game/game_state.h"

// A line of a briefing's orders; a tab sets the directive's text at the indent.
struct BriefingLine {
    int32_t x, y;
    const char* text;
};

// A picture on the briefing, at its top-left corner.
struct BriefingPhoto {
    TextureSlot texture;
    int32_t x, y;
};

// A mission's marker on the map.
struct MapMarker {
    int32_t opensAt; // missionsUnlocked from which the marker is shown; winning it opens the next
    int32_t x, y;    // top-left; the hot area is 25x25 from here, bounds included
};

// The blinking marker that points the way home while the objective is open.
struct DirectionMarker {
    int32_t homeWest, homeEast; // the sections it blinks in (none when west > east)
    TextureSlot texture;
    int32_t x, y;
    bool (*shown)(const GameState& game); // whether a lit blink draws it; null: never
};

// When the objective's facts are final within a frame.
enum class ObjectiveCheck {
    // After the trucks' step: the trucks destroyed and the cargo aircraft down so far (what the
    // projectiles bring down later in the frame counts on the next).
    kAfterTargets,
    // After the mission's own step, which moves what its objective reads.
    kAfterOwnStep,
};

struct MissionRow {
    Mission mission = kMissionNone;
    SectionRow sections = {0, 1}; // the row of sections the aircraft may fly, its ends turning it back
    TextureSlot sky = kTexSkyMission23;
    TextureSlot terrain = kTexTerrainMission23;
    DirectionMarker marker = {1, 0, kTexArrow, 0, 0, nullptr};
    // The enemies and settings of a sortie at game.difficulty, before the aircraft is parked.
    void (*setUp)(GameState& game) = nullptr;
    // What the mission starts once the aircraft is parked and the clocks are cleared; may be null.
    void (*start)(GameState& game) = nullptr;
    // Picking the mission on the map clears the target counts and the trick money.
    bool clearsOnPick = false;
    // Whether the objective is met, and when in the frame that is decided; null: never.
    bool (*objectiveMet)(const GameState& game) = nullptr;
    ObjectiveCheck objectiveCheck = ObjectiveCheck::kAfterTargets;
    // The prompt once the objective is met, in large green letters on a plate.
    const char* prompt = "Return to Base.";
    int32_t promptX = 505, promptY = 250;
    // The sections, west to east, in which the weapons work; elsewhere every projectile stands
    // frozen: nothing fires, moves or lands.
    SectionRow weaponSections = {-2, 1};
    // What the mission adds to the scenery over the base (before the ground marks), and to the
    // radar inside its frame (before the dots); may be null.
    void (*drawScenery)(const GameState& game) = nullptr;
    void (*drawOnRadar)(const GameState& game) = nullptr;
    // The mission's own step at the end of a sortie frame, after the aircraft is drawn (its texts
    // write over it); may be null.
    void (*step)(GameState& game) = nullptr;
    // The mission bonus on landing with the objective met; null: none.
    int32_t (*reward)(const GameState& game) = nullptr;
    // Money the sortie earned besides the bonuses, paid with them and shown as `extraPayText`
    // when there is some; null: none. A mission that has it keeps
    // its best flights by the most of it, the others by the shortest time.
    int32_t (*extraPay)(const GameState& game) = nullptr;
    const char* extraPayText = "";
    // The mission bonus once there is extra pay, in place of `reward`'s, whatever was destroyed.
    int32_t extraPayBonus = 0;
    // The time bonus of a win in `missionMs` milliseconds; null: none.
    int32_t (*timeBonus)(const GameState& game, int32_t missionMs) = nullptr;
    // Difficulty levels offered, 1..kLevelSlots; winning at the highest open one opens the next.
    int32_t levels = kLevelSlots;
    // The mission's row in the logbook of best flights.
    const char* logbookName = "";
    // The briefing: its pictures, its orders, and the marker that opens it.
    std::span<const BriefingPhoto> photos = {};
    std::span<const BriefingLine> orders = {};
    MapMarker mapMarker = {0, 0, 0};
};

// The missions on the map, numbered 1..missionCount().
int32_t missionCount();
// The row of `mission`; any number that is not a mission gets a row with no enemies, objective
// or briefing, flown over mission 1's sections.
const MissionRow& missionRow(Mission mission);
// The row of the mission picked.
const MissionRow& currentMission(const GameState& game);

// The row of the `index`th marker on the map, from 0; the same as missionRow(Mission(index + 1)).
const MissionRow& mapMission(int32_t index);

// The extra pay of the mission picked (0 when it has none).
int32_t extraPayOf(const GameState& game);

// The highest open difficulty of the mission picked.
int32_t unlockedDifficulty(const GameState& game);

// Fills the sortie's enemies and settings for `mission` and `difficulty`.
void setUpMission(GameState& game);
// What the mission starts once the aircraft is parked and the clocks are cleared.
void startMission(GameState& game);

// Once per sortie frame: starts the mission clock on the sortie's first frame.
void startSortieClock(GameState& game);
// Once per sortie frame: once the objective is met, wins the mission when the aircraft stands
// still on the runway.
void winWhenParked(GameState& game);
// Sets objectiveDone when the mission decides its objective at `check` and it is met.
void markObjectiveIfMet(GameState& game, ObjectiveCheck check);
// The prompt to return once the objective is met.
void drawObjectivePrompt(const GameState& game);

// The mission's own step, then the objective it decides.
void runMissionStep(GameState& game);

// The direction marker: a blink cycle starts near home while the objective is open; it shows
// in the first half of the cycle.
void countMarkerBlink(GameState& game);
void drawDirectionMarker(const GameState& game);

// The time bonus of the last won mission, its time being `missionMs` milliseconds.
int32_t computeTimeBonus(const GameState& game, int32_t missionMs);

// The missions' rows, each defined in the mission's own file, and what the rows share.
extern const MissionRow kConvoyMission;       // convoy.cpp
extern const MissionRow kInterceptionMission; // interception.cpp
extern const MissionRow kAirshowMission;      // airshow.cpp

// The mission bonus by kills: every target kind's destroyed ones by their weight.
int32_t payForKills(const GameState& game);

inline bool always(const GameState&) { return true; }

// The east arrow at the screen's right edge, blinking in sections homeWest..homeEast.
constexpr DirectionMarker kEastArrow(int32_t homeWest, int32_t homeEast) {
    return {homeWest, homeEast, kTexArrow, 1170, 310, always};
}
