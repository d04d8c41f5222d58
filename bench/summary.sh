#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The performance figures beside their goals, each a ratio taken in one run with its two sides
# alternated, RUNS times (5 by default), printed as median and spread (lowest..highest).
#   bench/summary.sh BUILD [BASE]
# BUILD is a build tree; BASE, optional, a build tree of an earlier commit for the headless
# start-up comparison. The windowed figures need Xvfb; without it they are skipped.
set -u
build=$(cd "${1:-build}" && pwd)
base=${2:-}
runs=${RUNS:-5}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null' EXIT

# median and spread of numbers on stdin
stats() { sort -g | awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2; printf "%.3f (%.3f..%.3f)", m, v[1], v[NR]}'; }
median() { sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
# field N of the replay tool's processor-time profile: 1 median, 2 p99 (processor time, since
# the wall clock counts whatever else the machine runs meanwhile)
profile() { "$build/skarnwing-replay" --profile "$1" 2>/dev/null | sed -nE 's/^dispatcher cpu ms.*median ([0-9.]+), p99 ([0-9.]+).*/\1 \2/p' | cut -d' ' -f"$2"; }
line() { printf '%-58s %-28s goal %s\n' "$1" "$2" "$3"; }

# The circuit with the trail and without it: S pressed three times before the first frame
# steps the smoke mode round to off.
cp "$here/../tests/golden/circuit.txt" "$work/trail-on.txt"
{ printf '1 down S\n2 up S\n3 down S\n4 up S\n5 down S\n6 up S\n'; grep -v '^[0-9]* \(down\|up\) S$' "$work/trail-on.txt"; } > "$work/trail-off.txt"
# The interception at difficulty 3: the whole formation of ten.
sed -E 's/^1 launch 2 0 /1 launch 2 3 /' "$here/../tests/golden/interception.txt" > "$work/interception-3.txt"

for i in $(seq "$runs"); do
  on=$(profile "$work/trail-on.txt" 1); off=$(profile "$work/trail-off.txt" 1)
  echo "$on $off" | awk '{print $1 / $2}' >> "$work/trail"
  profile "$here/convoy-pass.txt" 2 >> "$work/convoy"
  profile "$work/interception-3.txt" 2 >> "$work/interception"
done
line "circuit replay, trail on / trail off (dispatcher median)" "$(stats < "$work/trail")" "<= 1.3"
line "convoy pass p99, ms" "$(stats < "$work/convoy")" "<= 0.5"
line "interception at difficulty 3 p99, ms" "$(stats < "$work/interception")" "<= 0.5"

# Headless processor time to the first frame against the earlier build.
if [ -n "$base" ] && [ -x "$base/skarnwing-startup-timing" ]; then
  cpu() { "$1/skarnwing-startup-timing" --first-frame 2>/dev/null | sed -nE 's/^cpu: ([0-9.]+) ms.*/\1/p'; }
  for i in $(seq "$runs"); do
    now=$(cpu "$build"); before=$(cpu "$base")
    echo "$now $before" | awk '{print $1 / $2}' >> "$work/startcpu"
  done
  line "headless cpu to first frame, this / base" "$(stats < "$work/startcpu")" "<= 0.5"
fi

if ! command -v Xvfb > /dev/null; then echo "Xvfb not installed: windowed figures skipped"; exit 0; fi
Xvfb :91 -screen 0 1920x1080x24 > /dev/null 2>&1 & xvfb=$!
sleep 1
export DISPLAY=:91 SDL_AUDIODRIVER=dummy
# First frame with the window against the window and renderer alone, and against the bare
# present loop's first frame (a window, a renderer and one frame presented: the floor of any
# first frame), on the wall clock and, less touched by the machine's load, in processor time.
first() { "$build/skarnwing-startup-timing-sdl" --first-frame $1 2>/dev/null; }
for i in $(seq "$runs"); do
  game=$(first "")
  # --window-first loads nothing before the window: the platform share is the window alone.
  alone=$(first --window-first | sed -nE 's/.*\(([0-9.]+) ms of it opening the platform\).*/\1/p')
  bare=$("$build/bench/skarnwing-present-loop" --first 2>/dev/null)
  gameWall=$(echo "$game" | sed -nE 's/.* ([0-9.]+) ms main to first frame.*/\1/p')
  gameCpu=$(echo "$game" | sed -nE 's/^cpu: ([0-9.]+) ms.*/\1/p')
  bareWall=$(echo "$bare" | sed -nE 's/.*: ([0-9.]+) ms main to first frame.*/\1/p')
  bareCpu=$(echo "$bare" | sed -nE 's/.*, ([0-9.]+) ms cpu/\1/p')
  echo "$gameWall $alone" | awk '{print $1 / $2}' >> "$work/firstframe"
  echo "$gameWall $bareWall" | awk '{print $1 / $2}' >> "$work/firstbare"
  echo "$gameCpu $bareCpu" | awk '{print $1 / $2}' >> "$work/firstbarecpu"
done
line "first frame with window / window and renderer alone" "$(stats < "$work/firstframe")" "<= 1.3"
line "  / the bare present loop's first frame" "$(stats < "$work/firstbare")" ""
line "  the same in processor time" "$(stats < "$work/firstbarecpu")" ""
# Whole-process processor time over 20 s: the game playing a mission-1 sortie in its window (the
# campaign replay watched with --play: the title clicked through in the first frames, then the
# take-off and the flight east with the trail on) against the bare present loop.
seconds=${WINDOW_SECONDS:-20}
grep -Ev '^[0-9]+ (hash|dump|shot|end)' "$here/../tests/golden/campaign.txt" > "$work/sortie.txt"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
cputime() { /usr/bin/time -f '%U %S' timeout -s TERM "$seconds" "$@" 2>&1 > /dev/null | tail -1 | awk '{print $1 + $2}'; }
for i in $(seq "$runs"); do
  game=$(cd "$build" && cputime ./skarnwing --play "$work/sortie.txt"); bare=$(cputime "$build/bench/skarnwing-present-loop")
  echo "$game $bare" | awk '{print $1 / $2}' >> "$work/window"
  echo "$game $bare" >> "$work/window-cpu"
done
line "window, mission-1 sortie / bare present loop, cpu over ${seconds} s" "$(stats < "$work/window")" "<= 1.3"
line "  the sortie's cpu seconds" "$(cut -d' ' -f1 "$work/window-cpu" | stats)" ""
line "  the present loop's cpu seconds" "$(cut -d' ' -f2 "$work/window-cpu" | stats)" ""
