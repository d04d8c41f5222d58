#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Voices the airshow: the announcer's calls over a public-address system, and a crowd of
# chattering spectators mixed at a distance. Writes announcer.raw and crowd.raw (16-bit
# mono, 44100 Hz, no header) into OUT_DIR for the synthesiser's file layers, and the captions
# of what is said into CAPTIONS, one piece a line: its start and end in seconds of the loop,
# who says it (A3 the fourth call, C7 the eighth crowd line), then the words.
# Usage: voices.sh ANNOUNCER.txt CROWD.txt OUT_DIR CAPTIONS
set -eu
announcer=$1 crowd=$2 out=$3 captions=$4
: > "$captions.tmp"

# Captions for one spoken line: WHO, the second of the loop where its clip starts, the clip's
# length and its text. A line is cut into pieces at the end of a sentence once a piece has 12
# characters, at a comma once it has 24, and before it would pass 60; each piece is timed by its share of the characters,
# as flite speaks at an even pace.
caption() {
  awk -v who="$1" -v start="$2" -v dur="$3" -v text="$4" 'BEGIN {
    n = split(text, words, " "); total = length(text); piece = ""; done = 0
    for (i = 1; i <= n; i++) {
      piece = piece == "" ? words[i] : piece " " words[i]
      last = substr(words[i], length(words[i]))
      longer = i < n ? length(piece) + 1 + length(words[i + 1]) : 0
      if (i == n || (last ~ /[.!?]/ && length(piece) >= 12) || (last == "," && length(piece) >= 24) \
          || longer > 60) {
        from = start + dur * done / total
        done += length(piece) + 1
        to = start + dur * (done > total ? total : done) / total
        printf "%.2f %.2f %s %s\n", from, to, who, piece
        piece = ""
      }
    }
  }' >> "$captions.tmp"
}
# The crowd loop's length in seconds: over a minute, so that no call or line comes round
# again within a minute; every call and line below is spoken once in it.
loop=64

# Each announcer line: the second in the loop where the call starts, then its text. The calls
# are laid end to end with silence between them.
calls="" at=0 k=0
while read -r start text; do
  [ -n "$start" ] || continue
  flite -voice rms --setf duration_stretch=1.1 --setf int_f0_target_mean=95 -t "$text" -o "$out/call$k.wav"
  sox -D "$out/call$k.wav" -r 44100 "$out/call${k}_pa.wav" \
    highpass 350 lowpass 3200 overdrive 4 echo 0.8 0.7 90 0.35 190 0.2
  gap=$(awk "BEGIN { g = $start - $at; print (g > 0 ? g : 0) }")
  sox -D "$out/call${k}_pa.wav" "$out/call${k}_at.wav" pad "$gap" 0
  caption "A$k" "$(awk "BEGIN { print $at + $gap }")" "$(soxi -D "$out/call${k}.wav")" "$text"
  at=$(awk "BEGIN { print $at + $(soxi -D "$out/call${k}_at.wav") }")
  calls="$calls $out/call${k}_at.wav"
  k=$((k + 1))
done < "$announcer"
if [ "$k" -eq 0 ]; then
  echo "voices.sh: $announcer has no calls" >&2
  exit 1
fi
# shellcheck disable=SC2086
sox -D $calls -t raw -r 44100 -e signed -b 16 -c 1 "$out/announcer.raw"

# Each crowd line: flite voice, pitch (Hz), pace (duration stretch), text; a voice marked with
# a star is a shout worth a caption (the star is not part of the voice's name). The speakers start
# spread over the loop; what runs past its end is folded back onto its start, so the chatter
# is as dense across the seam as anywhere else and no voice stops short there.
n=0 shouts=" "
while read -r voice pitch pace text; do
  [ -n "$voice" ] || continue
  case $voice in \**) shouts="$shouts$n " ;; esac
  voice=${voice#\*}
  printf '%s\n' "$text" > "$out/crowd$n.txt"
  flite -voice "$voice" --setf int_f0_target_mean="$pitch" --setf duration_stretch="$pace" \
    -t "$text" -o "$out/crowd$n.wav"
  n=$((n + 1))
done < "$crowd"
if [ "$n" -eq 0 ]; then
  echo "voices.sh: $crowd has no voices" >&2
  exit 1
fi
inputs="" i=0
while [ "$i" -lt "$n" ]; do
  delay=$(awk "BEGIN { print ($i + 0.5) * $loop / $n + ($i % 3) * 0.37 }")
  sox -D "$out/crowd$i.wav" -r 44100 "$out/speaker$i.wav" pad "$delay" 0
  case $shouts in
    *" $i "*) caption "C$i" "$delay" "$(soxi -D "$out/crowd$i.wav")" "$(cat "$out/crowd$i.txt")" ;;
  esac
  inputs="$inputs $out/speaker$i.wav"
  i=$((i + 1))
done
# shellcheck disable=SC2086
sox -D -m $inputs "$out/chatter.wav" lowpass 2600 highpass 150 reverb 50 50 80
sox -D "$out/chatter.wav" "$out/chatter_head.wav" trim 0 "$loop"
sox -D "$out/chatter.wav" "$out/chatter_tail.wav" trim "$loop"
sox -D -m "$out/chatter_head.wav" "$out/chatter_tail.wav" -t raw -r 44100 -e signed -b 16 -c 1 \
  "$out/crowd.raw" norm -3
mv "$captions.tmp" "$captions"
