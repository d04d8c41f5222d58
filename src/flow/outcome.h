// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How a sortie ends, and the two resets that prepare a new game and a new sortie.

#include <cstdint>

struct GameState;

// A new game: the title picture comes back, money, upgrades and the missions start over; the
// difficulty levels opened so far stay open.
void resetNewGame(GameState& game);

// Gives the sortie up from the pause panel: its sounds stop, track 1 plays, and the new-game
// reset brings the title back, as Y does after a loss.
void quitSortie(GameState& game);

// A new sortie: the aircraft parked on the home runway, the counters of the last sortie cleared.
void resetMission(GameState& game);

// Once per frame between sorties: the one-time sounds of a lost sortie and Y to start again (a
// new game after a loss, a new sortie after a win).
void handleOutcome(GameState& game);
// The message of a lost sortie.
void drawOutcomeMessage(const GameState& game);
