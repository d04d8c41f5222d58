#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Stages an install of a build folder into a temporary DESTDIR with prefix /usr, checks that the
# game, its data, the desktop entry, icons, metainfo and man page are there and valid, that the
# staged game starts from / far enough to tell its version, and that the manifest removes it all
# again. BINDIR and DATADIR are the build's install folders under the prefix (bin and
# share/skarnwing unless configured otherwise), VERSION the version the game must report.
set -u
build=$(cd "${1:?usage: check-install.sh BUILD_DIR [BINDIR DATADIR VERSION]}" && pwd)
bindir=${2:-bin}
datadir=${3:-share/skarnwing}
want=${4:-}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
status=0
fail() { echo "check-install: $*"; status=1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null || { echo "check-install: install failed"; exit 1; }
for file in "$bindir/skarnwing" share/applications/invalid.skarnwing.skarnwing.desktop \
    share/metainfo/invalid.skarnwing.skarnwing.metainfo.xml share/man/man6/skarnwing.6 \
    share/icons/hicolor/48x48/apps/skarnwing.png share/icons/hicolor/128x128/apps/skarnwing.png \
    share/icons/hicolor/256x256/apps/skarnwing.png; do
  [ -s "$stage/usr/$file" ] || fail "missing $file"
done
expected=$(cd "$build" && find Files -type f ! -iname img.v | sort)
staged=$(cd "$stage/usr/$datadir" 2>/dev/null && find Files -type f | sort)
[ -n "$expected" ] && [ "$expected" = "$staged" ] || fail "$datadir/Files differs from the build's Files"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage/usr/share/applications/invalid.skarnwing.skarnwing.desktop" || fail "desktop entry invalid"
fi
metainfo="$stage/usr/share/metainfo/invalid.skarnwing.skarnwing.metainfo.xml"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --pedantic --no-net "$metainfo" >/dev/null || fail "metainfo invalid"
fi
man="$stage/usr/share/man/man6/skarnwing.6"
version=$(cd / && "$stage/usr/$bindir/skarnwing" --version) || fail "the staged game does not run"
version=${version%%$'\n'*} # its first line
if [ -n "$want" ]; then
  [ "$version" = "skarnwing $want" ] || fail "the staged game says \"$version\", not skarnwing $want"
  grep -q "<release version=\"$want\" date=" "$metainfo" || fail "the metainfo lists no release $want"
  grep -q "^\.TH SKARNWING 6 .* \"Skarnwing $want\"" "$man" || fail "the man page's heading does not name $want"
  grep -qF "/$datadir/Files/" "$man" || fail "the man page does not name the data folder $datadir/Files/"
fi

sed "s|^|$stage|" "$build/install_manifest.txt" | xargs -d '\n' rm -f --
left=$(find "$stage" -type f)
[ -z "$left" ] || fail "left after removing the manifest's files: $left"
exit $status
