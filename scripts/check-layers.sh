#!/usr/bin/env bash
# Fails when an include runs upward. Layers from the bottom: platform and raster, the game record
# (game), assets, flight, combat, missions, screens, then the shell (app). A file may include its own layer
# and the ones below; only src/platform sees SDL's headers.
set -u
cd "$(dirname "$0")/.."
status=0

sdl=$(grep -rlE '#include [<"]SDL' src | grep -v '^src/platform/')
if [ -n "$sdl" ]; then
  echo "SDL included outside src/platform/:"; echo "$sdl"; status=1
fi

rank() {
  case "$1" in
    platform|raster) echo 0 ;; game) echo 1 ;; assets) echo 2 ;; flight) echo 3 ;;
    combat) echo 4 ;; missions) echo 5 ;; screens) echo 6 ;; app) echo 7 ;; *) echo 99 ;;
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
# Drawing only reads the game: no function whose name starts with draw takes a GameState it may
# change (a step that changes the game runs from the sortie's list, not from a drawing).
drawing=$(grep -rnP '\bdraw\w*\((?:[^()]*[,(]\s*|\s*)(?<!const )GameState\s*&' src tools bench)
if [ -n "$drawing" ]; then
  echo "a draw function takes a non-const GameState&:"; echo "$drawing"; status=1
fi
exit $status
