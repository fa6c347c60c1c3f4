#!/usr/bin/env bash
# Builds every libFuzzer target of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS seconds.
#   scripts/fuzz.sh SECONDS [LIBFUZZER_OPTION...]
# Each target grows its corpus in build-fuzz/corpus/TARGET/, starting from its seeds;
# an input that crashes is kept as build-fuzz/crash-TARGET-*, and the script fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:?usage: fuzz.sh SECONDS [LIBFUZZER_OPTION...]}
shift
build="$root/build-fuzz"

packages=(
    clang libclang-rt-dev                           # the compiler and libFuzzer
    cmake ninja-build pkg-config python3            # build; the seed generator
    qt6-base-dev libsdl2-dev libxcb1-dev            # what configuring the project needs:
    fonts-arphic-uming                              # Qt, SDL, xcb, the Chinese font
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVI_FUZZ=ON -DTAVI_BUILD_TESTS=OFF -DTAVI_BUILD_BENCH=OFF -DTAVI_SOUND_PACK=OFF >/dev/null

# Each line of targets.txt: a target and its seed folder.
mapfile -t targets <"$build/fuzz/targets.txt"
for line in "${targets[@]}"; do
    read -r name _ <<<"$line"
    cmake --build "$build" --target "$name" -j2
done

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for line in "${targets[@]}"; do
    read -r name seeds <<<"$line"
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    echo "== $name: $seconds s"
    "$build/bin/$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/crash-$name-" "$@" "$corpus" "$seeds" || status=1
done
exit $status
