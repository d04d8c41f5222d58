#pragma once
// Mission control: the last mission's results credited once, the five upgrades, save and load,
// and the way on to the mission map.

#include <cstdint>

struct GameState;

constexpr int32_t kMaxUpgradeSteps = 10;

// The screen's mouse input: the results credited once, save and load, the upgrades bought, the
// way on to the map.
void handleMissionControl(GameState& game);
// The screen as the input left it.
void drawMissionControl(const GameState& game);

// Corner marks around the 120x50 save or load button whose top edge is at y.
void drawButtonFrame(const GameState& game, int32_t y);

// What the next step of upgrade row `row` (an Upgrade) costs after `steps` bought.
int32_t upgradePrice(int row, int32_t steps);
// Missiles one missile upgrade adds after `missileUpgrades` bought: 3 for the first three steps,
// then one more than the steps bought.
int32_t missileStep(int32_t missileUpgrades);
