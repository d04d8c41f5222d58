#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Every file's licence, checked three ways: `reuse lint` passes; debian/copyright has exactly the
# paragraphs of .reuse/dep5 (files, copyright, licence) and gives each tracked file the licence
# its SPDX header or dep5 gives it; and licensecheck, where it finds a licence in a file, finds
# that one. Exits 77 (skipped) without reuse and licensecheck, or outside a git checkout (an
# unpacked tarball with a build folder inside is not the tree the licences describe).
set -u
src=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$src" || exit 1
[ -e .git ] || { echo "check-licences: $src is not a git checkout: nothing to check"; exit 77; }
for tool in reuse licensecheck; do
  command -v $tool >/dev/null || { echo "check-licences: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
status=0
if ! out=$(reuse lint 2>&1); then
  echo "$out" | tail -30
  echo "check-licences: reuse lint fails"
  status=1
fi
# licensecheck's names ("GPL-3" for GPL-3.0-or-later: it does not read "or later" from an SPDX
# identifier), file by file; the licence texts and the two licence lists quote many licences.
found=$(git ls-files -z -- . ':!LICENSES' ':!.reuse/dep5' ':!debian/copyright' |
  xargs -0 licensecheck --shortname-scheme=spdx -c '.*' 2>/dev/null)
# Debian's python, which has python-debian (a dependency of reuse); -I: that module, not the
# debian/ folder here.
/usr/bin/python3 -I - "$found" <<'EOF' || status=1
import re, subprocess, sys
from debian.copyright import Copyright

def paragraphs(path):
    with open(path, encoding='utf-8') as f:
        c = Copyright(f, strict=True)
    return c, [(tuple(p.files), p.copyright.strip(), p.license.synopsis) for p in c.all_files_paragraphs()]

dep5, dep5_paragraphs = paragraphs('.reuse/dep5')
debian, debian_paragraphs = paragraphs('debian/copyright')
failed = False
def fail(message):
    global failed
    failed = True
    print('check-licences: ' + message)

if dep5_paragraphs != debian_paragraphs:
    fail('debian/copyright and .reuse/dep5 differ in their Files paragraphs:')
    for p in set(dep5_paragraphs) ^ set(debian_paragraphs):
        print('  only in ' + ('.reuse/dep5' if p in dep5_paragraphs else 'debian/copyright') + ': ' + ' '.join(p[0]) + ': ' + p[2])
texts = {p.license.synopsis for p in debian.all_license_paragraphs()}
for name in {part for p in debian_paragraphs for part in re.split(r' AND | OR ', p[2])} - texts:
    fail('debian/copyright has no text for ' + name)

def spdx_header(path):
    try:
        with open(path, encoding='utf-8', errors='replace') as f:
            head = [next(f, '') for _ in range(5)]
    except OSError:
        return None
    for line in head:
        _, mark, rest = line.partition('SPDX-License-Identifier:')
        if mark:
            return rest.replace('-->', '').replace('*/', '').strip()
    return None

tracked = subprocess.run(['git', 'ls-files', '-z'], capture_output=True, check=True).stdout.decode().split('\0')
licence_of = {}
for path in filter(None, tracked):
    if path.startswith('LICENSES/'):
        continue
    debian_licence = debian.find_files_paragraph(path).license.synopsis
    declared = spdx_header(path) or dep5.find_files_paragraph(path).license.synopsis
    licence_of[path] = debian_licence
    if declared != debian_licence:
        fail(path + ': REUSE gives ' + declared + ', debian/copyright ' + debian_licence)

# licensecheck's line per file: "PATH: LICENCE [and/or LICENCE]", UNKNOWN where it finds none.
for line in sys.argv[1].splitlines():
    path, _, found = line.partition(': ')
    path = path.removeprefix('./')
    found = found.replace('*No copyright*', '').strip()
    if path not in licence_of or found == 'UNKNOWN':
        continue
    allowed = set(re.split(r' AND | OR ', licence_of[path]))
    if 'GPL-3.0-or-later' in allowed:
        allowed |= {'GPL-3', 'GPL-3+', 'GPL-3.0', 'GPL-3.0+'}
    for name in re.split(r' and/or | or | and ', found):
        if name not in allowed:
            fail(path + ': licensecheck finds ' + name + ', debian/copyright gives ' + licence_of[path])
sys.exit(1 if failed else 0)
EOF
[ $status -eq 0 ] && echo "check-licences: reuse lint passes; debian/copyright says what REUSE says; licensecheck agrees"
exit $status
