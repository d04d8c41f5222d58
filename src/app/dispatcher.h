#pragma once
// The per-frame game step: picks the title picture, a screen between sorties or a sortie from
// the GameState's flags and runs every subsystem's step in its fixed order.

struct GameState;

void runDispatcher(GameState& game);
