// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/captions.h"

#include <cmath>

#include "assets/captions.h"
#include "assets/game_assets.h"
#include "assets/sound.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/settings.h"
#include "raster/canvas.h"
#include "raster/colours.h"
#include "screens/plates.h"

namespace {

constexpr int32_t kLineStep = 28;  // pixels per caption line
constexpr int32_t kBottom = 598;   // the plate's lowest row, above the radar and the readouts
constexpr int32_t kTagWidth = 130; // pixels for the speaker's name

} // namespace

int32_t captionsAt(const GameState& game, double seconds, int32_t* out) {
    int32_t count = 0;
    for (const bool announcer : {true, false}) {
        for (int32_t i = 0; i < game.assets->captionCount && count < kCaptionsShown; ++i) {
            const Caption& c = game.assets->captions[i];
            if (c.announcer == announcer && captionSounds(c, seconds)) out[count++] = i;
        }
    }
    return count;
}

void drawCaptions(const GameState& game) {
    if (!game.settings.captions) return;
    const SoundEffect& crowd = game.assets->sounds[kSoundNarration];
    if (!isPlaying(crowd)) return;
    const double seconds = std::fmod(double(soundPosition(crowd)) / kAudioRate, kCaptionLoopSeconds);
    int32_t shown[kCaptionsShown];
    const int32_t count = captionsAt(game, seconds, shown);
    if (count == 0) return;
    int32_t widest = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t w = labelWidth(game, game.assets->captions[shown[i]].text);
        if (w > widest) widest = w;
    }
    const int32_t width = kTagWidth + widest;
    const int32_t left = 640 - width / 2;
    const int32_t top = kBottom - count * kLineStep - 8;
    drawPlate(game, left - 14, top, left + width + 14, kBottom, false);
    for (int32_t i = 0; i < count; ++i) {
        const Caption& c = game.assets->captions[shown[i]];
        const int32_t y = top + 6 + i * kLineStep;
        drawLabel(game, c.announcer ? "Announcer" : "Crowd", left, y, kHouseAmber);
        drawLabel(game, c.text, left + kTagWidth, y, kHouseCream);
    }
}
