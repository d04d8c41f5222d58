#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when an include runs upward or files use each other in a circle. Layers from the bottom:
# platform and raster, the game record (game), assets, flight, combat (weapons and targets), the
# cockpit, missions, the game flow (flow: outcomes and resets), the save, replay (scripts, state
# dumps, bests), screens, then the shell (app). A file may include its own layer and the ones
# below; only src/platform sees SDL's headers. Within a layer a file's header and source count as
# one, and what they include of their layer must never lead back to them. Checks the tree it sits
# in, or the one given.
set -u
cd "${1:-$(dirname "$0")/..}"
status=0

sdl=$(grep -rlE '#include [<"]SDL' src | grep -v '^src/platform/')
if [ -n "$sdl" ]; then
  echo "SDL included outside src/platform/:"; echo "$sdl"; status=1
fi

rank() {
  case "$1" in
    platform|raster) echo 0 ;; game) echo 1 ;; assets) echo 2 ;; flight) echo 3 ;;
    combat) echo 4 ;; cockpit) echo 5 ;; missions) echo 6 ;; flow) echo 7 ;; save) echo 8 ;;
    replay) echo 9 ;; screens) echo 10 ;; app) echo 11 ;; *) echo 99 ;;
  esac
}

for file in $(find src -name '*.h' -o -name '*.cpp'); do
  layer=$(echo "$file" | cut -d/ -f2)
  own=$(rank "$layer")
  for included in $(sed -nE 's/^#include "([a-z_]+)\/.*"/\1/p' "$file" | sort -u); do
    theirs=$(rank "$included")
    # platform and raster sit side by side at the bottom and do not use each other.
    if [ "$theirs" -gt "$own" ] || { [ "$own" -eq 0 ] && [ "$included" != "$layer" ]; }; then
      echo "$file includes $included/, a layer above it"; status=1
    fi
  done
done
# A header and its source are one file here: a.cpp including b.h and b.cpp including a.h is a
# circle as much as two headers including each other.
edges=$(for file in $(find src -name '*.h' -o -name '*.cpp'); do
  sed -nE 's/^#include "(.*)\.h"/\1/p' "$file" | while read -r included; do
    [ -e "src/$included.h" ] && echo "${file#src/} $included"
  done
done | sed -E 's/\.(h|cpp) / /' | awk '$1 != $2 { print }' | sort -u)
if ! loops=$(echo "$edges" | tsort 2>&1 >/dev/null); then
  echo "files that include each other in a circle (each group is one circle):"
  echo "$loops" | sed -e 's/^tsort: -: input contains a loop:$/--/' -e 's/^tsort: /  /'
  status=1
fi

# Drawing only reads the game: no function whose name starts with draw takes a GameState it may
# change (a step that changes the game runs from the sortie's list, not from a drawing).
drawing=$(grep -rsnP '\bdraw\w*\((?:[^()]*[,(]\s*|\s*)(?<!const )GameState\s*&' src tools bench)
if [ -n "$drawing" ]; then
  echo "a draw function takes a non-const GameState&:"; echo "$drawing"; status=1
fi
exit $status
