#pragma once
// The missions' rows, each defined in the mission's own file, and what the rows share. Only the
// missions' files and the table in missions.cpp include this.

#include "missions/missions.h"

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
