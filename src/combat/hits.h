#pragma once
// Hits: where a projectile or a blast meets something it can hit, and what the hit does. Each
// target kind has one hit-box function in hits.cpp, and one strike loop runs over the projectile
// tables (rounds, then bombs, then missiles, each in slot order), asks the target's hit box and
// applies the hit, so of two targets sharing a frame the one struck first takes the projectile.
// Projectiles meet the ground and the trucks on it once this frame's moves are done, and the
// cargo aircraft in the cargo step; blasts meet trucks in the blast step. A truck dies only
// through killTruck (convoy.h).

#include <cstdint>

struct CargoBoxes;
struct GameState;

// What strikes.
enum class Blow : uint8_t { Round, Bomb, Missile, Blast };

// Every truck a blow at world x (let go in `sector`) meets, in index order: a round takes 10 hit
// points and any truck at 0 or below, hit or not, catches fire; anything else kills.
void strikeTrucks(GameState& game, Blow blow, double x, int32_t sector);

// Every projectile this frame's moves took to the ground lands there: a round on the trucks in its
// window, a bomb or missile killing the trucks in its window and bursting in a ground blast; a
// bomb may catch the aircraft ("Blew").
void landProjectiles(GameState& game);

// Every projectile against cargo aircraft `index`, whose boxes are at the camera's current
// position; a homing missile may strike its own target instead, wherever that is.
void strikeCargo(GameState& game, int32_t index, const CargoBoxes& boxes);
