#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh             the normal build in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-asan"
    # The normal build's sound pack, when it is newer than what it is made from, is
    # copied rather than made again.
    pack=(-DTAVI_SOUND_PACK_FROM=)
    stamp="$root/build/app/sound/.pack-stamp"
    if [ "$stamp" -nt "$root/tools/make_sound_pack.sh" ] && [ "$stamp" -nt "$root/data/syllables.txt" ]; then
        pack=(-DTAVI_SOUND_PACK_FROM="$root/build/app/sound")
    fi
    "$root/scripts/setup.sh" "$build" -DTAVI_SANITIZE=ON -DTAVI_BUILD_BENCH=OFF "${pack[@]}"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    skip=(-LE package) # a package of a sanitizer build is nothing to ship
else
    build="$root/build"
    "$root/scripts/setup.sh" "$build"
    skip=()
fi
cd "$build"
ctest --output-on-failure -j2 "${skip[@]}"
