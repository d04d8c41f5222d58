#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# soak.sh BUILD FRAMES [SEED]: the monkey soak. Plays FRAMES frames of random input through
# BUILD's skarnwing-replay (the sanitizer build, as `make soak` passes it), in runs of
# SOAK_CHUNK frames (default 25000), each a fresh game on a script of its own: keys held and
# tapped, the mouse moved and clicked anywhere and on every screen's buttons, saves and loads
# into a temporary folder, take-offs into every mission at every difficulty. A dump every
# thousand frames and at each run's end. Fails on a sanitizer report or any other unclean exit,
# a value in a dump that is not finite, a run that stops before its end, or a hang (a run that
# takes more than SOAK_SECONDS, default 600). SEED (default: from the clock) makes a failing
# soak repeatable; the failing run's script is kept and named.
set -uo pipefail
build=$1
frames=$2
seed=${3:-$(date +%s)}
chunk=${SOAK_CHUNK:-25000}
limit=${SOAK_SECONDS:-600}
replay=$build/skarnwing-replay
if [ ! -x "$replay" ]; then
  echo "soak: $replay is not built"; exit 2
fi
work=$(mktemp -d /tmp/skarnwing-soak-XXXXXX)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Writes one run's script. Clicks go half the time to a screen's button (save, load, the
# arrow, the five buy icons, the three map markers, the four stars, the briefing's close box),
# otherwise anywhere in the window or a little outside it.
make_script() { # SEED FRAMES SAVEFOLDER
  awk -v seed="$1" -v frames="$2" -v folder="$3" 'BEGIN {
    srand(seed);
    split("Left Right Up Down Left Right Up Down A Z Space Space Ctrl G S Tab Y Y Y Enter M", keys, " ");
    nkeys = 21;
    split("137,140 137,210 1245,660 1190,94 1190,156 1190,220 1190,283 1190,341 947,642 837,612 " \
          "762,557 787,573 847,573 907,573 967,573 1262,14", spots, " ");
    nspots = 16;
    split("947,642 837,612 762,557", markers, " ");
    split("787,573 847,573 907,573 967,573", stars, " ");
    printf "seed %d\nsavefolder %s\n", seed, folder;
    f = 1;
    nextDump = 1000;
    while (f < frames) {
      r = rand();
      if (r < 0.40) {            # a key held for a few frames to a few seconds
        k = keys[1 + int(rand() * nkeys)];
        printf "%d down %s\n%d up %s\n", f, k, f + 1 + int(rand() * (rand() < 0.7 ? 20 : 300)), k;
      } else if (r < 0.75) {     # the pointer moved, then maybe a click
        if (rand() < 0.5) { split(spots[1 + int(rand() * nspots)], xy, ","); x = xy[1] + int(rand() * 9) - 4; y = xy[2] + int(rand() * 9) - 4 }
        else { x = int(rand() * 1340) - 30; y = int(rand() * 780) - 30 }
        printf "%d mouse %d %d\n", f, x, y;
        if (rand() < 0.6) printf "%d press\n%d release\n", f + 1, f + 2 + int(rand() * 4);
      } else if (r < 0.90) {     # through the screens as a player clicks: from the title to the
        # save or load button and a buy icon, or to the map, a marker, a star and take-off
        if (rand() < 0.4) walkTo = "640,360 " (rand() < 0.5 ? "137,140" : "137,210") " " spots[4 + int(rand() * 5)];
        else walkTo = "640,360 1245,660 " markers[1 + int(rand() * 3)] " " stars[1 + int(rand() * 4)] " 1245,660";
        steps = split(walkTo, walk, " ");
        depth = 1 + int(rand() * steps);
        for (i = 1; i <= depth; ++i) {
          split(walk[i], xy, ",");
          printf "%d mouse %d %d\n%d press\n%d release\n", f, xy[1] + int(rand() * 9) - 4, xy[2] + int(rand() * 9) - 4, f + 1, f + 3;
          f += 20 + int(rand() * 40);
        }
      } else if (r < 0.91) {
        printf "%d launch %d %d %d\n", f, 1 + int(rand() * 3), int(rand() * 4), int(rand() * 59);
      }
      if (f >= nextDump) { printf "%d dump\n", f; nextDump = f + 1000 }
      f += 1 + int(rand() * (rand() < 0.9 ? 40 : 400));
    }
    printf "%d dump\n%d end\n", frames, frames;
  }'
}

run=0
played=0
while [ "$played" -lt "$frames" ]; do
  n=$((frames - played < chunk ? frames - played : chunk))
  script=$work/run-$run.txt
  mkdir -p "$work/save-$run"
  make_script $((seed + run)) "$n" "$work/save-$run" > "$script"
  timeout -s KILL "$limit" "$replay" "$script" > "$work/dumps" 2> "$work/stderr"
  status=$?
  problem=
  if [ $status -eq 137 ]; then
    problem="hung (no end within $limit s)"
  elif grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/stderr"; then
    problem="sanitizer report"
  elif [ $status -ne 0 ]; then
    problem="exit status $status"
  elif grep -qE '[:,[]-?(nan|inf)' "$work/dumps"; then
    problem="a value that is not finite in a dump"
  elif ! tail -n 1 "$work/dumps" | grep -q "^{\"frame\":$n,"; then
    problem="stopped before frame $n"
  fi
  if [ -n "$problem" ]; then
    kept=$(mktemp /tmp/skarnwing-soak-failed-XXXXXX.txt)
    cp "$script" "$kept"
    grep -nE '[:,[]-?(nan|inf)' "$work/dumps" | head -n 2 | cut -c1-400
    grep -vE '^skarnwing: ' "$work/stderr" | head -n 60
    echo "soak: FAILED in run $run (seed $((seed + run)), frames $played..$((played + n))): $problem; script kept in $kept"
    exit 1
  fi
  played=$((played + n))
  run=$((run + 1))
done
echo "soak: $played frames in $run runs (seed $seed) with no sanitizer report, non-finite value or hang"
