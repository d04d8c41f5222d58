// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's best flights: every sortie is taped from its take-off (the state it starts from,
// then every input and clock reading), and a won one is kept when it beats the best of its
// mission and level, one file each beside the save. A best file is a replay script's body under
// a header that holds the take-off state, so skarnwing --play and skarnwing-replay read it too.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "replay/script.h"

// The version of the rules a best is flown under. A change to the rules that changes how a
// recorded flight plays raises it; a best of another version is not played.
constexpr int32_t kRulesVersion = 1;

constexpr int32_t kBestLevels = 4;                    // difficulties 0..3
constexpr size_t kLargestBestFile = 32u << 20;        // bytes; larger files are refused unread
constexpr size_t kMostBestCommands = 1u << 20;        // input and clock lines of one best
constexpr int64_t kLongestBestFrames = 60 * 3600 * 4; // frames; a longer sortie is not kept

// One best flight as its file holds it.
struct BestFlight {
    int32_t mission = 0;    // 1..3
    int32_t level = 0;      // 0..3
    int64_t figure = 0;     // milliseconds of mission time (missions 1, 2), or dollars of show money (3)
    std::string date;       // YYYY-MM-DD, the day it was flown
    int32_t rules = 0;      // kRulesVersion it was flown under
    uint64_t finalHash = 0; // stateHash after its last frame
    int64_t frames = 0;     // sortie frames, the landing's the last
    int64_t frequency = 0;  // counter ticks per second
    std::map<std::string, std::string> takeOff; // the take-off state, field name to value
    std::vector<Command> commands;              // input and clock lines, frames 1..frames, in order
};

// Whether `figure` beats `kept` for `mission`: more extra pay for a mission that has it (the
// airshow's trick money), less time for the others.
bool beats(int32_t mission, int64_t figure, int64_t kept);

// The sortie's figure as the record stands after its winning frame.
int64_t sortieFigure(const GameState& game);

// A short name for the game's state as the state dump shows it, sounds and music left out.
uint64_t stateHash(const GameState& game);

// The best file's text and back. parseBest takes any bytes; false, with `why` set, when they are
// not a whole, well-formed best (every take-off value inside what the game itself can hold).
std::string formatBest(const BestFlight& best);
bool parseBest(const char* text, size_t length, BestFlight& best, std::string& why);

// Reads a best file. False, with one line on stderr naming it as `program` says it, when it is
// missing, not a regular file, larger than kLargestBestFile or damaged.
bool readBestFile(const char* program, const std::string& path, BestFlight& best);
// Whether the file at `path` begins as a best file does (a FIFO or a missing file does not).
bool looksLikeBest(const std::string& path);

// Where the best of `mission` at `level` lives: beside the save; empty when there is no folder.
std::string bestFilePath(const GameState& game, int32_t mission, int32_t level);

// The take-off state of `game`, a sortie before its first frame, into `best`.
void takeOffOf(const GameState& game, BestFlight& best);

// Puts the best's take-off state into `game` (as a new sortie of it stands before its first
// frame) and returns the script of its inputs and clock, with a dump and the end after its last
// frame. Everything else in `game` is left as it was.
void applyTakeOff(GameState& game, const BestFlight& best);
Script scriptOf(const BestFlight& best);

// Whether the best was flown under these rules; one line on stderr, as `program` says it, when
// not (it is then not played: it would not fly as it flew).
bool rulesMatch(const char* program, const std::string& path, const BestFlight& best);
// After its last frame: whether the game stands as it stood when the best was won; one line on
// stderr when not.
bool playedTheSame(const char* program, const std::string& path, const BestFlight& best, const GameState& game);

// The sortie being taped. The app calls these around every frame; they are no-ops while no
// sortie is under way.
// Before the frame's events: a sortie that has just taken off starts its tape.
void tapeFrameBegins(GameState& game);
// An input event the game is taking in this frame.
void tapeEvent(GameState& game, const InputEvent& event);
// After the frame: a won sortie that beats the kept best is written (one line on stderr when it
// cannot be); any ended sortie drops its tape.
void tapeFrameEnds(GameState& game);
