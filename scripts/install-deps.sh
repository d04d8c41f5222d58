#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages Skarnwing needs to build, generate its content and run its tests.
# libpng and libjpeg-turbo decode the game's pictures (both made for untrusted files and fuzzed
# upstream); clang with its runtime gives libFuzzer for `make fuzz`; clang-format checks the
# house layout (the CodeFormat test, `make format`).
# Idempotent: packages already present are left alone, so a second run costs a few seconds.
# desktop-file-utils and appstream validate the desktop entry and metainfo in the install test.
# The window test reads the window's pixels back through Xlib (libx11-dev).
# fontconfig's fc-match finds the file of the house monospaced face the font sheets are cut from.
# debhelper and lintian build and check Debian's package (`make deb`; libjpeg-dev is the name its
# Build-Depends use for libjpeg62-turbo-dev); xdotool and file drive and
# check the installed game in its round trip (`make package-check`). reuse and licensecheck check
# every file's licence (the Licences test).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev libstb-dev libmpg123-dev libfreetype-dev
  libpng-dev libjpeg62-turbo-dev libjpeg-dev
  fonts-dejavu-core fonts-liberation2 fontconfig
  librsvg2-bin lame fluidsynth musescore-general-soundfont-small abcmidi sox flite
  xvfb xauth libx11-dev
  desktop-file-utils appstream
  debhelper lintian xdotool file
  reuse licensecheck
  clang libclang-rt-14-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
