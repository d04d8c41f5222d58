// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Audio without a device: the headless frame drives the mixer with mixAudio, 735 sample frames
// per game frame, so voices and music advance exactly as game time does.

#include "platform/audio.h"
#include "platform/mixer.h"

void audioOpen() { mixerReset(); }

void audioStart() {} // no device: the frame mixes

void audioClose() { mixerReset(); }
