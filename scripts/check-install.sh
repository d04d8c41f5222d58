#!/usr/bin/env bash
# Stages an install of a build folder into a temporary DESTDIR with prefix /usr, checks that the
# game, its data, the desktop entry, icons, metainfo and man page are there and valid, that the
# staged game starts from / far enough to answer, and that the manifest removes it all again.
set -u
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
status=0
fail() { echo "check-install: $*"; status=1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null || { echo "check-install: install failed"; exit 1; }
for file in bin/skarnwing share/applications/org.skarnwing.Skarnwing.desktop \
    share/metainfo/org.skarnwing.Skarnwing.metainfo.xml share/man/man6/skarnwing.6 \
    share/icons/hicolor/48x48/apps/skarnwing.png share/icons/hicolor/128x128/apps/skarnwing.png \
    share/icons/hicolor/256x256/apps/skarnwing.png; do
  [ -s "$stage/usr/$file" ] || fail "missing $file"
done
expected=$(cd "$build" && find Files -type f ! -iname img.v | sort)
staged=$(cd "$stage/usr/share/skarnwing" && find Files -type f | sort)
[ -n "$expected" ] && [ "$expected" = "$staged" ] || fail "share/skarnwing/Files differs from the build's Files"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage/usr/share/applications/org.skarnwing.Skarnwing.desktop" || fail "desktop entry invalid"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$stage/usr/share/metainfo/org.skarnwing.Skarnwing.metainfo.xml" >/dev/null ||
    fail "metainfo invalid"
fi
version=$(cd / && "$stage/usr/bin/skarnwing" --version) || fail "the staged game does not run"
[ "$version" = "skarnwing 0.61" ] || fail "the staged game says \"$version\""

sed "s|^|$stage|" "$build/install_manifest.txt" | xargs -d '\n' rm -f --
left=$(find "$stage" -type f)
[ -z "$left" ] || fail "left after removing the manifest's files: $left"
exit $status
