#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The layer check on small made-up trees: files of one folder that include each other in a
# circle, through their headers or their sources, fail it; a tree that only includes downward
# passes.
set -u
check="$(cd "$(dirname "$0")/.." && pwd)/scripts/check-layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
status=0

# Writes the file, including each header named after it.
put() {
  mkdir -p "$tree/src/$(dirname "$1")"
  local file="$tree/src/$1"; shift
  : >"$file"
  for header in "$@"; do echo "#include \"$header\"" >>"$file"; done
}
expect() { # expect pass|fail name
  if "$check" "$tree" >"$tree.out" 2>&1; then result=pass; else result=fail; fi
  if [ "$result" != "$1" ]; then echo "$2: the check gave $result"; cat "$tree.out"; status=1; fi
}

put game/a.h; put game/a.cpp game/a.h game/b.h
put game/b.h; put game/b.cpp game/b.h game/c.h
put game/c.h; put game/c.cpp game/c.h
expect pass "a tree including downward"

put game/c.cpp game/c.h game/a.h
expect fail "a ring of three through the sources"
grep -q 'game/c' "$tree.out" || { echo "the ring is not named"; status=1; }

put game/c.cpp game/c.h
put game/b.h game/a.h
expect fail "two headers' files using each other"
rm -f "$tree.out"
exit $status
