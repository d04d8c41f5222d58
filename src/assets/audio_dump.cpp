// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/audio_dump.h"

#include <cstdio>

#include "assets/game_assets.h"
#include "game/game_state.h"
#include "platform/audio.h"
#include "platform/mixer.h"

void dumpAudioState(const GameState& game, std::string& out) {
    out += ",\"playing\":[";
    bool first = true;
    for (const SoundEffect& sound : game.assets->sounds) {
        if (!isPlaying(sound)) continue;
        if (!first) out += ',';
        first = false;
        out += "{\"sound\":\"";
        for (const char* c = sound.name; *c != '\0'; ++c) {
            if (*c == '"' || *c == '\\') out += '\\';
            if (static_cast<unsigned char>(*c) >= 0x20) out += *c;
        }
        out += "\",\"volume\":" + std::to_string(mixerVoiceVolume(sound.voice)) + '}';
    }
    out += "],\"music\":{";
    int32_t track = 0;
    uint32_t position = 0;
    if (mixerMusicPlaying(game.assets->track1.stream)) {
        track = 1;
        position = mixerMusicPosition(game.assets->track1.stream);
    } else if (mixerMusicPlaying(game.assets->track2.stream)) {
        track = 2;
        position = mixerMusicPosition(game.assets->track2.stream);
    }
    char text[64];
    std::snprintf(text, sizeof text, "\"track\":%d,\"seconds\":%.3f}", track, position / double(kAudioRate));
    out += text;
}
