#pragma once
// Every asset the game uses, loaded once at start-up in a fixed order into its GameState slot.
// A missing or malformed file leaves its slot empty (a texture absent, a sound silent) with one
// line on stderr, and loading goes on.

struct GameState;

// The two font sheets and the fonts that use them.
void loadFonts(GameState& game);
// Pictures, textures, sounds, music, frame sets and sprite records, in load order.
void loadInventory(GameState& game);
