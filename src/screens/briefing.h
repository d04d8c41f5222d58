// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The mission map, the briefing and the briefing's hand-over to flight.

struct GameState;

// The mission map: its shown markers, the one under the pointer lit; a click on a shown marker
// opens that mission's briefing at difficulty 0.
void drawMissionMap(const GameState& game);
void handleMissionMap(GameState& game);

// The briefing: the mission's pictures and texts, the open difficulty stars, the close button
// back to the map and TAKE OFF. Its input picks a star, closes, or takes off. The picture is
// drawn before the input, as the frame began (a star held on is lit as its pick takes it), and
// the focus ring after it, where the keys left it.
void drawBriefing(const GameState& game);
void handleBriefing(GameState& game);
void drawBriefingFocus(const GameState& game);

// What TAKE OFF does: set the mission up, park the aircraft on the runway, close the screens,
// so the next frame is a sortie frame.
void takeOff(GameState& game);
