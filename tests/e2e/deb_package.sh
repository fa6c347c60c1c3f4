#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` makes tavi_<version>_<arch>.deb whose Depends name
# the Qt 6, SDL2 and xcb libraries (found by dpkg-shlibdeps), the X11 platform plug-in,
# the font and the opener, and whose files are the installed program and nothing of
# the tests.
#   deb_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d /tmp/tavi-deb.XXXXXX)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || fail "cpack failed: $(tail -5 "$out/cpack.log")"
deb=$(ls "$out"/tavi_*_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no tavi_<version>_<arch>.deb in $(ls "$out")"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libqt6core6 libsdl2 libxcb1 qt6-qpa-plugins fonts-arphic-uming xdg-utils; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/tavi ./usr/share/applications/org.tavitrainer.Tavi.desktop \
    ./usr/share/metainfo/org.tavitrainer.Tavi.metainfo.xml ./usr/share/tavi/language.ini ./usr/share/tavi/sound/ni3.wav; do
    grep -qx "$f" <<<"$files" || fail "the package lacks $f"
done
! grep -qE '/tst_|_bench$|\.pack-stamp' <<<"$files" || fail "the package holds test files"
echo "deb_package: $(basename "$deb"), $(du -h "$deb" | cut -f1); Depends: $depends"
