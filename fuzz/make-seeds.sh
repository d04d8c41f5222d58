#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# make-seeds.sh CONTENT_BUILD SEEDS PICTURE_SEEDS SHEET_SEEDS: one folder of seed inputs per fuzz
# target under SEEDS, made from the sounds, font sheets, pictures and music that CONTENT_BUILD
# generated; PICTURE_SEEDS writes a picture again as JPEGs of other kinds, SHEET_SEEDS the corners
# of a font sheet as small BMPs.
set -euo pipefail
content=$1
seeds=$2
picture_seeds=$3
sheet_seeds=$4
rm -rf "$seeds"
mkdir -p "$seeds"/{wav,font_sheet,picture,mp3}

find "$content/Files" -type f -iname '*.wav' -size -1000k -exec cp {} "$seeds/wav/" \;
# The sheets themselves are some 100 KB, which would slow every execution; their corners reach
# the same code.
find "$content/Files" -type f -iname '*.bmp' -print0 |
  while IFS= read -r -d '' sheet; do "$sheet_seeds" "$sheet" "$seeds/font_sheet/$(basename "$sheet" .bmp)"; done

# Pictures under 4 KB (the larger ones only slow the search down), each after the four bytes
# that choose the texture size, frame width and key: 30x30 from a 64-wide frame, black key.
n=0
while IFS= read -r -d '' picture; do
  n=$((n + 1))
  { printf '\035\035\077\002'; cat "$picture"; } > "$seeds/picture/$n-$(basename "$picture")"
done < <(find "$content/Files" "$content/resources" -type f \( -iname '*.png' -o -iname '*.jpg' \) -size -4k -print0)

# Three small pictures (odd sizes among them, for the partial blocks at the edges) as grey, RGB,
# subsampled, progressive, arithmetic-coded and restart-marked JPEGs.
find "$content/Files" -type f \( -iname '*.png' -o -iname '*.jpg' \) -size -4k | sort | head -n 3 |
  while IFS= read -r picture; do
    "$picture_seeds" "$picture" "$seeds/picture/kinds-$(basename "$picture")"
  done

# The first 16 KB of each tune: a few seconds of frames are enough to reach every decoder path.
for tune in "$content"/Files/Sound/*.z2; do
  head -c 16384 "$tune" > "$seeds/mp3/$(basename "$tune").mp3"
done
# Save files: a fresh game's, one of a played game, and one with Windows line ends.
mkdir -p "$seeds/save"
printf '0\n0\n0\n0\n0\n0\n1\n0\n0\n0\n200\n4\n0\n1\n1\n1\n0.5\n4\n8\n' > "$seeds/save/fresh.v"
printf '5300\n3\n2\n1\n4\n1\n3\n2\n1\n0\n250\n10\n4\n3\n1.2\n0.7\n4\n9\n13\n' > "$seeds/save/played.v"
printf '5300\r\n3\r\n2\r\n' > "$seeds/save/crlf.v"

# Settings files: every value at its default, every kind of value changed, and a hand-edited
# one with comments, odd spacing, a bad line and Windows line ends.
mkdir -p "$seeds/settings"
{
  printf '# Skarnwing settings.\nmusic_volume = 100\neffects_volume = 100\nfullscreen = no\nvsync = yes\n'
  printf 'pause_on_focus_loss = no\ncolour_blind_radar = no\n'
  for a in turn_left:Left:DpadLeft turn_right:Right:DpadRight roll_up:Up:DpadUp roll_down:Down:DpadDown \
    throttle_up:A:RightShoulder throttle_down:Z:LeftShoulder fire:Space:A next_weapon:Ctrl:X gear:G:Y \
    smoke:S:B restart:Y:Back overlay:Tab:none pause:P:Start screenshot:F12:none mute:M:none; do
    IFS=: read -r action key pad <<< "$a"
    printf 'key.%s = %s\npad.%s = %s\n' "$action" "$key" "$action" "$pad"
  done
} > "$seeds/settings/defaults.ini"
printf 'music_volume = 30\neffects_volume = 0\nfullscreen = yes\nvsync = no\npause_on_focus_loss = yes\ncolour_blind_radar = yes\nkey.fire = F\nkey.smoke = none\npad.fire = Y\npad.pause = none\nkey.pause = F5\n' \
  > "$seeds/settings/changed.ini"
printf '# mine\r\n  MUSIC_volume=70\r\nkey.gear = g\r\nkey.fire = G\r\nvsync = maybe\r\npad.mute = DpadUp\r\n' > "$seeds/settings/edited.ini"

# Replay scripts: the short golden replays, and a recording with its clock lines.
mkdir -p "$seeds/script"
source_root=$(cd "$(dirname "$0")/.." && pwd)
find "$source_root/tests/golden" -name '*.txt' -size -2k -exec cp {} "$seeds/script/" \;
printf '# A game as played.\nseed 4242\nfrequency 1000000000\nfullscreen\n0 clock 9000 9100\n1 mouse 640 400 0\n1 clock 9200 9300 9300\n2 press\n2 down Enter\n3 release\n3 up 0x0D\n3 clock 9400\n4 launch 2 1 12\n5 shot a.png\n5 dump\n5 hash\n5 end\nsavefolder /tmp/x\n' \
  > "$seeds/script/recorded.txt"

# Best flights: a small one written by hand, and the start of one the replay tool keeps from the
# golden campaign (its take-off and first frames).
mkdir -p "$seeds/best"
printf '# A best flight of Skarnwing\nbest 1 0\nfigure 61000\ndate 2026-01-02\nrules 1\nfinal 0123456789abcdef 3\nfrequency 60000\ntakeoff mission 1\ntakeoff missionsUnlocked 1\ntakeoff musicTrack 1\ntakeoff outcome 1\ntakeoff smokeIndex -1\ntakeoff aircraft.fuel 0x1.9p+8\n1 down 0x41\n1 clock 1000 1000\n2 mouse 5 6 1\n2 press\n3 up 0x41\n3 release\n' > "$seeds/best/small.flight"
if [ -x "$content/skarnwing-replay" ]; then
  work=$(mktemp -d)
  { echo "savefolder $work"; echo keepbests; cat "$(dirname "$0")/../tests/golden/campaign.txt"; } > "$work/campaign.txt"
  (cd "$content" && ./skarnwing-replay "$work/campaign.txt" > /dev/null 2>&1) || true
  for kept in "$work"/files/img/bg/best-*.flight; do
    [ -e "$kept" ] && head -n 300 "$kept" > "$seeds/best/$(basename "$kept")"
  done
  rm -rf "$work"
fi

echo "seeds: $(ls "$seeds/wav" | wc -l) wav, $(ls "$seeds/font_sheet" | wc -l) font_sheet," \
  "$(ls "$seeds/picture" | wc -l) picture, $(ls "$seeds/mp3" | wc -l) mp3, $(ls "$seeds/save" | wc -l) save," \
  "$(ls "$seeds/settings" | wc -l) settings, $(ls "$seeds/script" | wc -l) script, $(ls "$seeds/best" | wc -l) best"
