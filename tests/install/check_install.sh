#!/bin/sh
# check_install.sh BUILD EXPECTED ROOT: installs BUILD into ROOT as the package
# would (prefix /usr) and compares the installed files with EXPECTED.
set -eu
build=$1 expected=$2 root=$3
rm -rf "$root"
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$root.list"
diff -u "$expected" "$root.list"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/korvex.desktop"
fi
"$root/usr/bin/korvex-cli" --version >/dev/null
"$root/usr/bin/korvex" --version >/dev/null
