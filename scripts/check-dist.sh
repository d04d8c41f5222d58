#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the release tarball of the source tree's HEAD, checks that it holds exactly the files of
# HEAD (so no build output), unpacks it in a temporary folder outside any git checkout and
# configures it there. Exits 77 (skipped) for a tree that is not a git checkout, such as an
# unpacked tarball.
set -u
src=$(cd "${1:?usage: check-dist.sh SOURCE_DIR}" && pwd)
[ -e "$src/.git" ] || { echo "check-dist: $src is not a git checkout: nothing to check"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tarball=$("$src/scripts/make-dist.sh" "$work" 2>/dev/null) || { echo "check-dist: make-dist.sh failed"; exit 1; }
top=$(basename "$tarball" .tar.gz)

tracked=$(git -C "$src" ls-tree -r --name-only HEAD | sort)
packed=$(tar -tzf "$tarball" | grep -v '/$' | sed "s|^$top/||" | sort)
if [ "$tracked" != "$packed" ]; then
  echo "check-dist: $tarball differs from the files of HEAD:"
  diff <(echo "$tracked") <(echo "$packed") | head -20
  exit 1
fi
mkdir "$work/unpacked"
tar -xzf "$tarball" -C "$work/unpacked"
# GIT_CEILING_DIRECTORIES keeps any git command in the configure from finding a repository.
GIT_CEILING_DIRECTORIES="$work" cmake -S "$work/unpacked/$top" -B "$work/unpacked/$top/build" \
  -DCMAKE_BUILD_TYPE=Release > "$work/configure.log" 2>&1 ||
  { echo "check-dist: the unpacked tarball does not configure:"; tail -20 "$work/configure.log"; exit 1; }
echo "check-dist: $top.tar.gz holds the $(echo "$tracked" | wc -l) tracked files and configures"
