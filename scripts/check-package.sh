#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian packages' round trip on this machine, as root: apt-get installs skarnwing and
# skarnwing-data from OUT (default out/, where `make deb` leaves them); /usr/games/skarnwing runs
# under Xvfb for a player with a fresh home folder, shows its title bar and the title picture
# (F12's screenshot), and saves from mission control into the player's data folder; Esc quits.
# Then apt-get remove must leave no file of the packages behind, and the player's files in place.
set -u
here=$(cd "$(dirname "$0")" && pwd)

# Second stage, inside the private display that run-under-xvfb.sh opened: play as the player.
if [ "${1:-}" = --play ]; then
  home=$2 game_path=$3
  fail() { echo "check-package: $*"; kill "$game" 2>/dev/null; exit 1; }
  cd "$home" && HOME="$home" "$game_path" --windowed > "$home/game.log" 2>&1 &
  game=$!
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Skarnwing ' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || fail "no game window after 20 s: $(cat "$home/game.log")"
  sleep 2
  title=$(xdotool getwindowname "$window")
  echo "check-package: window title \"$title\""
  [[ $title =~ ^Skarnwing\ 0\.61\ -\ [0-9]+\ fps$ ]] || fail "the title bar reads \"$title\""
  # No window manager: the keys go where the pointer is, and to the focus.
  xdotool mousemove --window "$window" 640 360 windowfocus "$window" 2>/dev/null
  press() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.5; }
  click() { xdotool mousemove --window "$window" "$1" "$2"; sleep 0.2; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.5; }
  press F12                     # the title picture
  click 640 360                 # into mission control
  click 137 140                 # its save button
  press Escape
  for _ in $(seq 1 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game" 2>/dev/null && fail "the game did not quit on Esc"
  wait "$game" || fail "the game exited with status $?: $(cat "$home/game.log")"
  exit 0
fi

out=${1:-out}
[ "$(id -u)" -eq 0 ] || { echo "check-package: apt-get needs root"; exit 1; }
deb=$(ls "$out"/skarnwing_*_amd64.deb 2>/dev/null | tail -1)
data=$(ls "$out"/skarnwing-data_*_all.deb 2>/dev/null | tail -1)
[ -n "$deb" ] && [ -n "$data" ] || { echo "check-package: no skarnwing and skarnwing-data .deb in $out (make deb)"; exit 1; }
export DEBIAN_FRONTEND=noninteractive
if dpkg-query -W -f='${Status}' skarnwing skarnwing-data 2>/dev/null | grep -q 'ok installed'; then
  echo "check-package: skarnwing is installed already: remove it first"; exit 1
fi
work=$(mktemp -d)
# A run that stops half way still takes the packages off the machine.
cleanup() {
  if dpkg-query -W -f='${Status}' skarnwing skarnwing-data 2>/dev/null | grep -q 'ok installed'; then
    apt-get remove -y -q skarnwing skarnwing-data > /dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() { echo "check-package: $*"; status=1; }

apt-get install -y -q --no-install-recommends "$(realpath "$deb")" "$(realpath "$data")" > "$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "check-package: apt-get install failed"; exit 1; }
dpkg-query -L skarnwing skarnwing-data | sort -u > "$work/owned"
echo "check-package: installed $(basename "$deb") and $(basename "$data"): $(grep -c . "$work/owned") paths"

home="$work/home"
mkdir -p "$home/Pictures"
"$here/../tests/window/run-under-xvfb.sh" "$here/check-package.sh" --play "$home" /usr/games/skarnwing || fail "the installed game failed"
shots=("$home"/Pictures/skarnwing-*.png)
# The title picture is a full painting: its PNG runs to hundreds of kB, a blank frame to a few.
if [ -s "${shots[0]}" ] && file "${shots[0]}" | grep -q 'PNG image data, 1280 x 720' &&
    [ "$(stat -c %s "${shots[0]}")" -gt 100000 ]; then
  echo "check-package: screenshot ${shots[0]#$home/} ($(stat -c %s "${shots[0]}") bytes)"
  [ -n "${KEEP_SHOT:-}" ] && cp "${shots[0]}" "$KEEP_SHOT"
else
  fail "no 1280x720 screenshot of the title picture in ~/Pictures"
fi
save="$home/.local/share/skarnwing/files/img/bg/img.v"
if [ -f "$save" ] && [ "$(grep -c . "$save")" -eq 19 ]; then
  echo "check-package: saved to ~/.local/share/skarnwing/files/img/bg/img.v (19 lines)"
else
  fail "no save of 19 lines at ~/.local/share/skarnwing/files/img/bg/img.v"
fi
written=$(find /usr/share/games/skarnwing -newer "$work/owned" -type f 2>/dev/null)
[ -z "$written" ] || fail "the game wrote into its installed folder: $written"

apt-get remove -y -q skarnwing skarnwing-data > "$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "apt-get remove failed"; }
left=$(while read -r path; do [ -f "$path" ] || [ -L "$path" ] && echo "$path"; done < "$work/owned")
[ -z "$left" ] || fail "left after apt-get remove: $left"
for folder in /usr/share/games/skarnwing /usr/share/doc/skarnwing /usr/share/doc/skarnwing-data; do
  [ ! -e "$folder" ] || fail "$folder is left after apt-get remove"
done
dpkg-query -W -f='${Status}\n' skarnwing skarnwing-data 2>/dev/null | grep -q 'ok installed' &&
  fail "dpkg still lists a package as installed"
[ -f "$save" ] && [ -n "$(ls "$home"/Pictures)" ] || fail "the player's save or screenshot went with the package"
[ $status -eq 0 ] && echo "check-package: removed; nothing of the packages left, the player's save and screenshot kept"
exit $status
