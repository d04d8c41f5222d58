#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Plays every golden replay and every screenshot script on two builds, with the frame's hash
# after every frame and the full state dump after every fifth, and prints per script "same" or
# the first difference. A dump of the second build may hold keys the first build's lacks (fields
# added to the dump); every key of the first must be there with the same value.
#   scripts/compare-replays.sh OLD_BUILD NEW_BUILD [SCRIPT...]
set -euo pipefail
cd "$(dirname "$0")/.."
old="$(realpath "$1")"
new="$(realpath "$2")"
shift 2
scripts=("$@")
[ ${#scripts[@]} -gt 0 ] || scripts=(tests/golden/*.txt dist/screenshots/*.txt)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The script with its shots left out and a hash every frame, a dump every fifth, to its end.
every_frame() {
  awk '
    /^[ \t]*(#|$)/ { next }
    $1 !~ /^[0-9]+$/ { print; next }
    $2 == "shot" || $2 == "hash" || $2 == "dump" { next }
    { lines[++n] = $0; frame[n] = $1 + 0; if ($1 + 0 > last) last = $1 + 0 }
    END {
      i = 1
      for (f = 0; f <= last; ++f) {
        for (; i <= n && frame[i] == f; ++i) print lines[i]
        if (f >= 1) { print f " hash"; if (f % 5 == 0) print f " dump" }
      }
    }' "$1"
}

# Runs one build on a script; the player's folders point into the work folder.
play() {
  local build="$1" script="$2" out="$3" home="$work/home-$RANDOM"
  mkdir -p "$home"
  (cd "$build" && HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    ./skarnwing-replay "$script") > "$out" 2> "$out.err" || echo "exit $?" >> "$out"
}

for script in "${scripts[@]}"; do
  name="$(basename "$script" .txt)"
  every_frame "$script" > "$work/$name.txt"
  # A script with a save folder of its own gets one per build, so the two runs cannot meet there.
  sed "s|^savefolder .*|savefolder $work/saves-old|" "$work/$name.txt" > "$work/$name.old.txt"
  sed "s|^savefolder .*|savefolder $work/saves-new|" "$work/$name.txt" > "$work/$name.new.txt"
  rm -rf "$work/saves-old" "$work/saves-new"
  mkdir -p "$work/saves-old" "$work/saves-new"
  folder="$(awk '$1 == "savefolder" { print $2 }' "$script")"
  case "$folder" in "" | /*) ;; *) folder="$(dirname "$script")/$folder" ;; esac
  if [ -n "$folder" ] && [ -d "$folder" ]; then
    cp -r "$folder/." "$work/saves-old/"
    cp -r "$folder/." "$work/saves-new/"
  fi
  play "$old" "$work/$name.old.txt" "$work/$name.old" &
  play "$new" "$work/$name.new.txt" "$work/$name.new" &
  wait
  printf '%s: ' "$script"
  python3 - "$work/$name.old" "$work/$name.new" <<'EOF'
import json, sys
old = open(sys.argv[1]).read().splitlines()
new = open(sys.argv[2]).read().splitlines()

def first_difference(a, b, path):
    if isinstance(a, dict) and isinstance(b, dict):
        for key, value in a.items():
            if key not in b:
                return f"{path}{key} missing"
            found = first_difference(value, b[key], f"{path}{key}.")
            if found:
                return found
        return None
    if isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            return f"{path[:-1]} has {len(a)} against {len(b)} entries"
        for i, (x, y) in enumerate(zip(a, b)):
            found = first_difference(x, y, f"{path}{i}.")
            if found:
                return found
        return None
    return None if a == b else f"{path[:-1]} {a!r} against {b!r}"

added = set()
for number, (a, b) in enumerate(zip(old, new), 1):
    try:
        x, y = json.loads(a), json.loads(b)
    except ValueError:
        x, y = a, b
    found = first_difference(x, y, "")
    if found:
        frame = x.get("frame") if isinstance(x, dict) else None
        print(f"differs at output line {number} (frame {frame}): {found}")
        sys.exit(0)
    if isinstance(x, dict) and isinstance(y, dict):
        added |= set(y) - set(x)
if len(old) != len(new):
    print(f"differs: {len(old)} against {len(new)} output lines")
else:
    print(f"same ({len(old)} lines" + (f"; keys added: {len(added)}" if added else "") + ")")
EOF
done
