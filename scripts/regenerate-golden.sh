#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Rewrites every golden replay's expected output (tests/golden/NAME.expected) from the current
# build. Run it only when a change is meant to change what the game does, and commit the new
# files with that change so the difference is visible in review.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
for script in tests/golden/*.txt; do
  expected="${script%.txt}.expected"
  (cd "$build" && ./skarnwing-replay "../$script") > "$expected"
  echo "regenerated $expected"
done
