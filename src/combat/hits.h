#pragma once
// Hits. Each target kind has one hit-box function; one strike loop runs over the projectile tables
// (rounds, bombs, missiles, each in slot order), asks the target's hit box and applies the hit, so
// the target struck first takes the projectile. Projectiles meet the ground and its trucks after
// this frame's moves and the cargo aircraft in the cargo step; blasts meet trucks in their step.

#include <cstdint>

struct CargoBoxes;
struct GameState;
struct Truck;

enum class Blow : uint8_t { Round, Bomb, Missile, Blast };

// The one place a truck dies (a dead one stays as it is): all but a blast count toward the
// reward; a bomb puts out a fire and records the side it landed on (x) for the wreck's throw.
void killTruck(GameState& game, Truck& truck, Blow by, double x);
// Every truck a blow at world x (let go in `sector`) meets, in index order: a round takes 10 hit
// points and any truck at 0 or below, hit or not, catches fire; anything else kills.
void strikeTrucks(GameState& game, Blow blow, double x, int32_t sector);

// Every projectile this frame's moves took to the ground lands: on the trucks, and a bomb or
// missile bursts there; a bomb may catch the aircraft ("Blew").
void landProjectiles(GameState& game);
// Every projectile against cargo aircraft `index`, its boxes at the camera's current position; a
// homing missile may strike its own target instead, wherever that is.
void strikeCargo(GameState& game, int32_t index, const CargoBoxes& boxes);
