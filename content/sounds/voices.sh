#!/bin/sh
# Voices the airshow: the announcer line over a public-address system, and a crowd of
# chattering spectators mixed at a distance. Writes announcer.raw and crowd.raw (16-bit
# mono, 44100 Hz, no header) into OUT_DIR for the synthesiser's file layers.
# Usage: voices.sh ANNOUNCER.txt CROWD.txt OUT_DIR
set -eu
announcer=$1 crowd=$2 out=$3
flite -voice rms --setf duration_stretch=1.1 --setf int_f0_target_mean=95 -f "$announcer" -o "$out/announcer.wav"
sox -D "$out/announcer.wav" -t raw -r 44100 -e signed -b 16 -c 1 "$out/announcer.raw" \
  highpass 350 lowpass 3200 overdrive 4 echo 0.8 0.7 90 0.35 190 0.2 rate 44100

# Each crowd line: flite voice, pitch (Hz), pace (duration stretch), text. Every line is
# spoken twice, the second time a little higher or lower and later, and the speakers start
# spread over the 20 s loop; what runs past its end is folded back onto its start, so the
# chatter is as dense across the seam as anywhere else and no voice stops short there.
loop=20
n=0
while read -r voice pitch pace text; do
  [ -n "$voice" ] || continue
  flite -voice "$voice" --setf int_f0_target_mean="$pitch" --setf duration_stretch="$pace" \
    -t "$text" -o "$out/crowd$n.wav"
  n=$((n + 1))
done < "$crowd"
if [ "$n" -eq 0 ]; then
  echo "voices.sh: $crowd has no voices" >&2
  exit 1
fi
inputs="" i=0 speakers=$((n * 2))
while [ "$i" -lt "$speakers" ]; do
  line=$((i % n)) cents=0
  if [ "$i" -ge "$n" ]; then cents=$(( line % 2 == 0 ? 250 : -250 )); fi
  delay=$(awk "BEGIN { print $i * $loop / $speakers + ($i % 3) * 0.37 }")
  sox -D "$out/crowd$line.wav" -r 44100 "$out/speaker$i.wav" pitch "$cents" pad "$delay" 0
  inputs="$inputs $out/speaker$i.wav"
  i=$((i + 1))
done
# shellcheck disable=SC2086
sox -D -m $inputs "$out/chatter.wav" lowpass 2600 highpass 150 reverb 50 50 80
sox -D "$out/chatter.wav" "$out/chatter_head.wav" trim 0 "$loop"
sox -D "$out/chatter.wav" "$out/chatter_tail.wav" trim "$loop"
sox -D -m "$out/chatter_head.wav" "$out/chatter_tail.wav" -t raw -r 44100 -e signed -b 16 -c 1 \
  "$out/crowd.raw" norm -3
