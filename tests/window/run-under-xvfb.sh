#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a program in a private Xvfb display with the dummy audio driver, so the real SDL window
# can be tested on a machine without a screen or sound card.
set -u
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
for _ in $(seq 1 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
DISPLAY="$display" SDL_AUDIODRIVER=dummy "$@"
