#!/bin/sh
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
sox -D "$work.raw.wav" -r 44100 -c 2 -b 16 "$work.wav" trim 0 "$total" fade t 0 "$total" 0.1 gain -n -3
lame --quiet -b 160 "$work.wav" "$out"
