// Audio without a device: the headless frame drives the mixer with mixAudio, 735 sample frames
// per game frame, so voices and music advance exactly as game time does.

#include "platform/audio.h"
#include "platform/mixer.h"

bool audioOpen() {
    mixerReset();
    return true;
}

void audioClose() { mixerReset(); }
