#!/bin/sh
# Voices the airshow: the announcer line over a public-address system, and a crowd of
# chattering spectators mixed at a distance. Writes announcer.raw and crowd.raw (16-bit
# mono, 44100 Hz, no header) into OUT_DIR for the synthesiser's file layers.
# Usage: voices.sh ANNOUNCER.txt CROWD.txt OUT_DIR
set -eu
announcer=$1 crowd=$2 out=$3
espeak-ng -v en-us+m3 -s 145 -p 35 -f "$announcer" -w "$out/announcer.wav"
sox -D "$out/announcer.wav" -t raw -r 44100 -e signed -b 16 -c 1 "$out/announcer.raw" \
  highpass 350 lowpass 3200 overdrive 4 echo 0.8 0.7 90 0.35 190 0.2 rate 44100

# Each crowd line: espeak voice, pitch, words per minute, text. Every voice starts a little
# later than the one before, so the chatter overlaps from the first second.
n=0 inputs=""
while read -r voice pitch speed text; do
  [ -n "$voice" ] || continue
  espeak-ng -v "$voice" -p "$pitch" -s "$speed" -w "$out/crowd$n.wav" "$text"
  sox -D "$out/crowd$n.wav" -r 44100 "$out/crowd$n.pad.wav" gain -3 pad "$(awk "BEGIN { print $n * 0.7 }")" 0
  inputs="$inputs $out/crowd$n.pad.wav"
  n=$((n + 1))
done < "$crowd"
if [ "$n" -eq 0 ]; then
  echo "voices.sh: $crowd has no voices" >&2
  exit 1
fi
# shellcheck disable=SC2086
sox -D -m $inputs -t raw -r 44100 -e signed -b 16 -c 1 "$out/crowd.raw" \
  lowpass 2400 highpass 150 reverb 60 50 80 norm -3
