#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Regenerates the pictures in dist/screenshots/ (the metainfo's screenshots, the README's first
# picture) with the replay tool of a build folder: each NAME.txt there is a replay script whose
# `F shot FILE.png` lines name pictures written beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:?usage: make-screenshots.sh BUILD_DIR}" && pwd)
dir=$(pwd)/dist/screenshots
script=$(mktemp)
trap 'rm -f "$script"' EXIT
for source in "$dir"/*.txt; do
  # Shot paths made absolute: the replay tool runs in its data folder.
  sed -E "s|^([0-9]+) shot ([^/][^ ]*)$|\1 shot $dir/\2|" "$source" > "$script"
  "$build/skarnwing-replay" "$script" > /dev/null
  sed -nE 's|^[0-9]+ shot (.*)$|\1|p' "$source" | while read -r shot; do echo "make-screenshots: dist/screenshots/$shot"; done
done
