#!/usr/bin/env bash
# Builds every libFuzzer target of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS seconds, two at
# a time.
#   scripts/fuzz.sh SECONDS [LIBFUZZER_OPTION...]
# Each target grows its corpus in build-fuzz/corpus/TARGET/, starting from its seeds;
# an input that crashes is kept as build-fuzz/crash-TARGET-*, and the script fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:?usage: fuzz.sh SECONDS [LIBFUZZER_OPTION...]}
shift
build="$root/build-fuzz"

# The project's packages, and clang with libFuzzer.
"$root/scripts/setup.sh" --packages clang libclang-rt-dev

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVI_FUZZ=ON -DTAVI_BUILD_TESTS=OFF -DTAVI_BUILD_BENCH=OFF -DTAVI_SOUND_PACK=OFF >/dev/null

# Each line of targets.txt: a target and its seed folder.
mapfile -t targets <"$build/fuzz/targets.txt"
cmake --build "$build" -j2 --target $(cut -d' ' -f1 "$build/fuzz/targets.txt")

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Two targets at a time, one a core; each one's output is shown when it ends.
status=0
running=()
finish() { # waits for the oldest running target
    local name=${running[0]}
    running=("${running[@]:1}")
    wait "${pids[$name]}" || { status=1; echo "== $name FAILED"; }
    echo "== $name: $seconds s"
    cat "$build/$name.log"
}
declare -A pids
for line in "${targets[@]}"; do
    read -r name seeds <<<"$line"
    ((${#running[@]} < 2)) || finish
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    "$build/bin/$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/crash-$name-" "$@" "$corpus" "$seeds" >"$build/$name.log" 2>&1 &
    pids[$name]=$!
    running+=("$name")
done
while ((${#running[@]})); do finish; done
exit $status
