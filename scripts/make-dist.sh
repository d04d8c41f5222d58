#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes OUT/skarnwing-VERSION.tar.gz (OUT defaults to out/) from the committed tree: every file
# git tracks at HEAD, under skarnwing-VERSION/, and nothing a build made. The version is the one
# in CMakeLists.txt's project(). Prints the tarball's path; with --version, prints the version only.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-out}
version=$(sed -n 's/^project(Skarnwing VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "make-dist: CMakeLists.txt's project() names no version" >&2; exit 1; }
if [ "$out" = --version ]; then echo "$version"; exit 0; fi
git rev-parse --verify -q HEAD >/dev/null || { echo "make-dist: $(pwd) is not a git checkout with a commit" >&2; exit 1; }
if ! git diff --quiet HEAD --; then
  echo "make-dist: uncommitted changes are left out: the tarball holds HEAD" >&2
fi
mkdir -p "$out"
tarball="$out/skarnwing-$version.tar.gz"
# git archive's own gzip stores no time stamp, so the same commit gives the same bytes.
git archive --format=tar.gz --prefix="skarnwing-$version/" -o "$tarball" HEAD
echo "$tarball"
