// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/watch.h"

#include <cstring>
#include <memory>
#include <string>

#include "app/frame.h"
#include "app/input.h"
#include "assets/game_assets.h"
#include "game/game_state.h"
#include "missions/missions.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "replay/bests.h"
#include "screens/logbook.h"

// The best being watched, flown on its own copy of the record.
struct BestWatch {
    std::unique_ptr<GameState> watched; // null while none is watched
    BestFlight best;
    std::string path;
    Script script;
    size_t next = 0;      // the script's next command
    uint32_t buttons = 0; // the recorded mouse buttons
    int64_t frame = 0;    // frames of it flown
    bool held = false;    // P paused it
    bool ended = false;   // its last frame has flown; the picture holds
    bool same = true;     // it ended as it ended when it was won
    Settings settings;    // the player's, put back if the flight's own pause changed them
};

void startWatching(GameState& player) {
    const int32_t index = player.watchRequest;
    player.watchRequest = -1;
    if (index < 0 || index >= missionCount() * kLevelSlots) return;
    const int32_t mission = index / kLevelSlots + 1;
    const int32_t level = index % kLevelSlots;
    BestWatch w;
    w.path = bestFilePath(player, mission, level);
    if (!readBestFile("skarnwing", w.path, w.best) || !rulesMatch("skarnwing", w.path, w.best)) {
        player.logbook[mission - 1][level] = readLogbookCell(player, mission, level);
        return;
    }
    w.watched = std::make_unique<GameState>(player);
    w.watched->logbookShown = 0;
    w.watched->focus = -1;
    applyTakeOff(*w.watched, w.best);
    w.watched->watchLength = w.best.frames;
    w.script = scriptOf(w.best);
    w.settings = activeSettings();
    platformUseRecordedClock(w.best.frequency);
    if (player.assets->watch == nullptr) player.assets->watch = std::make_shared<BestWatch>();
    *player.assets->watch = std::move(w);
}

bool watching(const GameState& player) {
    return player.assets.to != nullptr && player.assets->watch != nullptr && player.assets->watch->watched != nullptr;
}

bool watchFrame(GameState& player) {
    BestWatch& w = *player.assets->watch;
    GameState& watched = *w.watched;
    // The player's own input: only what the watch answers reaches it, and what the player lets
    // go of (or where the mouse goes) reaches the player's game, so nothing stays held there.
    InputEvent event;
    bool quit = false;
    bool back = false;
    while (platformPollEvent(&event)) {
        if (event.type == InputEventType::Quit) quit = true;
        if (event.type == InputEventType::KeyDown && event.virtualKey == kVkEsc) quit = true;
        if (event.type == InputEventType::KeyDown && event.virtualKey == kVkBackspace) back = true;
        if (event.type == InputEventType::KeyDown && event.virtualKey == kVkPauseKey && !w.ended) {
            w.held = !w.held;
            mixerHoldEffects(w.held);
            if (w.held) platformHoldLastFrame();
        }
        if (event.type == InputEventType::KeyUp || event.type == InputEventType::LeftUp ||
            event.type == InputEventType::MouseMove) {
            handleInputEvent(player.keys, player.mouse, event);
        }
    }
    if (quit || back) {
        // Nothing of the watched flight stays: its sounds stop, the music and the window are the
        // player's again, the counter runs on from the real clock.
        stopSortieSounds(watched);
        mixerHoldEffects(false);
        if (player.musicTrack == 1) switchToTrack1(watched);
        if (player.musicTrack == 2) switchToTrack2(watched);
        if (watched.fullScreen != player.fullScreen) platformSetFullScreen(player.fullScreen != 0);
        platformUseLiveClock();
        if (std::memcmp(&w.settings, &activeSettings(), sizeof w.settings) != 0) {
            activeSettings() = w.settings;
            saveSettings(w.settings, settingsPath());
            platformApplySettings();
        }
        w = BestWatch{};
        return !quit;
    }
    if (w.held || w.ended) {
        Canvas& canvas = player.assets->canvas;
        canvas.pixels = platformBeginFrame(&canvas.rowPitch);
        platformDrawHeldFrame();
        markDrawn(canvas, 0, 0, kCanvasWidth, kCanvasHeight); // the next wipe clears it all
        const char* line = w.held   ? "PAUSED: P goes on, Backspace returns."
                           : w.same ? "THE END: Backspace returns."
                                    : "THIS FLIGHT NO LONGER PLAYS BACK THE SAME.";
        const int32_t x = 640 - static_cast<int32_t>(std::strlen(line)) * player.assets->smallFont.cellWidth / 2;
        drawTextPlate(canvas, line, x, 330, player.assets->smallFont);
        drawText(canvas, line, x, 330, player.assets->smallFont, w.ended && !w.same ? kRed : kGreen);
        drawWatchTimeline(watched);
        platformPresentFrame();
        return true;
    }
    w.frame += 1;
    for (; w.next < w.script.commands.size() && w.script.commands[w.next].frame <= w.frame; ++w.next) {
        const Command& c = w.script.commands[w.next];
        for (const int64_t reading : c.readings) platformPushCounterReading(reading);
        if (inputEventOf(c, w.buttons, event)) handleInputEvent(watched.keys, watched.mouse, event);
    }
    watched.watchFrame = w.frame;
    runFrame(watched);
    if (w.frame >= w.best.frames) {
        w.ended = true;
        w.same = playedTheSame("skarnwing", w.path, w.best, watched);
        platformHoldLastFrame();
    }
    return true;
}
