#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders one ABC score to an MP3 track that loops on whole seconds.
# Usage: render-music.sh SCORE.abc SOUNDFONT.sf2 WORK_PREFIX OUTPUT
# The score names its loop length with a line "% loop-seconds N": the game restarts a
# track when it reaches its last whole second, so the track is cut to N seconds plus a
# fraction that holds the score's opening again, and the restart lands on the downbeat.
set -eu
score=$1 font=$2 work=$3 out=$4
seconds=$(sed -n 's/^% loop-seconds \([0-9.]*\).*/\1/p' "$score")
if [ -z "$seconds" ]; then
  echo "render-music: $score has no '% loop-seconds' line" >&2
  exit 1
fi
abc2midi "$score" -o "$work.mid" -silent >/dev/null
fluidsynth -ni -q -g 0.3 -r 44100 -F "$work.raw.wav" "$font" "$work.mid" >/dev/null
total=$(awk "BEGIN { print $seconds + 0.6 }")
sox -D "$work.raw.wav" -r 44100 -c 2 -b 16 "$work.cut.wav" trim 0 "$total" fade t 0 "$total" 0.1
# Every track is set to the same RMS level, under the engines: the game plays music at full
# volume and the cruise engine at -8 dB, and the engine must stay in front. Peaks above
# -17 dBFS are then held down, so that music, gun, engine and a detonation together still
# leave headroom in the mixer; the limiter starts quiet, so the opening is not held down.
rms=$(sox "$work.cut.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')
gain=$(awk "BEGIN { print -26 - 20 * log($rms) / log(10) }")
sox -D "$work.cut.wav" "$work.wav" gain "$gain" compand 0.002,0.15 3:-90,-90,-17,-17,0,-14 0 -90
lame --quiet -b 160 "$work.wav" "$out"
