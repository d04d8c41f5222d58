// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/game_assets.h"

#include <chrono>

#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/mixer.h"

const FrameSet* frameSetOf(const GameState& game, FrameSetId id) {
    if (id <= kFramesNone || id >= kFrameSetCount) return nullptr;
    return &game.assets->frameSets[id];
}

void drawTexture(const GameState& game, TextureSlot slot, double x, double y) {
    platformDrawTexture(game.assets->textures[slot], static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void drawSmallText(const GameState& game, const char* text, int32_t x, int32_t y, uint32_t colour) {
    drawText(game.assets->canvas, text, x, y, game.assets->smallFont, colour);
}

void createSoundDevice(GameState& game) {
    audioOpen();
    for (SoundEffect& slot : game.assets->sounds) slot = SoundEffect{};
}

void releaseSounds(GameState& game) {
    for (int32_t i = kSoundSlotCount - 1; i >= 0; --i) releaseSound(game.assets->sounds[i]);
    audioClose();
}

void stopSortieSounds(GameState& game, int32_t kept) {
    for (int32_t slot = 0; slot < kSoundSlotCount; ++slot) {
        if (slot != kept) stopSound(game.assets->sounds[slot]);
    }
}

void loopMusic(GameState& game) {
    for (MusicTrack* track : {&game.assets->track1, &game.assets->track2}) {
        if (track->decoding.valid()) {
            if (track->decoding.wait_for(std::chrono::seconds(0)) != std::future_status::ready) continue;
            finishMusic(*track);
        }
        if (track->stream == 0) continue;
        track->positionSamples = mixerMusicPosition(track->stream);
        if (musicShouldRestart(track->positionSamples, mixerMusicLength(track->stream),
                               mixerMusicPlaying(track->stream), track->durationSeconds)) {
            resetMusic(*track);
            playMusic(*track);
        }
    }
}

void switchToTrack1(GameState& game) {
    if (game.musicTrack != 2) return;
    resetMusic(game.assets->track2);
    playMusic(game.assets->track1);
    game.musicTrack = 1;
}

void switchToTrack2(GameState& game) {
    if (game.musicTrack != 1) return;
    resetMusic(game.assets->track1);
    playMusic(game.assets->track2);
    game.musicTrack = 2;
}
