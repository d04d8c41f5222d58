#pragma once
// The per-frame game step: picks the title picture, a screen between sorties or a sortie from
// the GameState's flags and runs every subsystem's step in its fixed order. The sortie's order
// is written once, in dispatcher.cpp.

struct GameState;

// Runs one frame's steps and drawing; true when it flew the world (a sortie frame).
bool runDispatcher(GameState& game);
