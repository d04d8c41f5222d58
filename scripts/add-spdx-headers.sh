#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every tracked file we write by hand that can hold a comment the two-line REUSE header
# (the copyright holder and the SPDX licence identifier), in that file's own comment syntax,
# after a #! line or an XML declaration. The licence is the one .reuse/dep5 gives the file's
# group: CC-BY-SA-4.0 for the art, sound and music sources in content/, CC0-1.0 for the
# metainfo, GPL-3.0-or-later for everything else. Files that cannot hold a comment (pictures,
# golden outputs, the voice scripts read line by line, Debian's changelog) keep their licence in
# .reuse/dep5 alone. A file that has a header already is left alone, so running it again changes
# nothing. Prints the files it changed.
set -euo pipefail
cd "$(dirname "$0")/.."
holder="2026 The Skarnwing developers"
# Split, so that this script's own text is not read as a licence header.
copyright_tag="SPDX-FileCopyright""Text:"
licence_tag="SPDX-License""-Identifier:"

licence_of() {
  case $1 in
    content/CMakeLists.txt | content/*/CMakeLists.txt | content/*.sh | content/*/*.sh) echo GPL-3.0-or-later ;;
    content/*) echo CC-BY-SA-4.0 ;;
    dist/*.metainfo.xml.in) echo CC0-1.0 ;;
    *) echo GPL-3.0-or-later ;;
  esac
}

# The comment's opening and closing text for a file, or nothing for a file left to dep5.
comment_of() {
  case $1 in
    LICENSES/* | .reuse/* | debian/copyright | debian/changelog | debian/source/format) ;;
    *.expected | *.png | content/sounds/*.txt) ;;
    *.cpp | *.h | *.S) echo '// |' ;;
    *.svg | *.xml.in | *.md) echo '<!-- | -->' ;;
    *.css) echo '/* | */' ;;
    *.abc) echo '% |' ;;
    *.6.in) echo '.\" |' ;;
    *.sh | *.txt | *.snd | *.desktop | *.install | *.lintian-overrides | Makefile | .ci/run | debian/rules | \
      debian/control | .gitignore | .clang-format | .git-blame-ignore-revs) echo '# |' ;;
  esac
}

git ls-files -z | while IFS= read -r -d '' file; do
  style=$(comment_of "$file")
  [ -n "$style" ] || continue
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  head -n 6 "$file" | grep -q "$licence_tag" && continue
  open=${style%%|*} close=${style#*|}
  licence=$(licence_of "$file")
  header="$open$copyright_tag $holder$close"$'\n'"$open$licence_tag $licence$close"
  tmp="$file.spdx-tmp"
  first=$(head -n 1 "$file")
  case $file in
    *.svg | *.xml.in | *.6.in) blank="" ;;
    *) blank=$'\n' ;;
  esac
  if [[ $first == '#!'* || $first == '<?xml '* ]]; then
    { printf '%s\n%s\n%s' "$first" "$header" "$blank"; tail -n +2 "$file"; } > "$tmp"
  else
    { printf '%s\n%s' "$header" "$blank"; cat "$file"; } > "$tmp"
  fi
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
  echo "$file"
done
