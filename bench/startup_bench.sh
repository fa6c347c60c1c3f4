#!/usr/bin/env bash
# Start-up time of the trainer against a minimal Qt window program: the time from
# starting the program until its main window is mapped, on a private Xvfb without a
# window manager, second and later starts (no welcome box). The minimal program runs
# twice: as an empty window, and with one text label (any window with text makes Qt
# load its font database first). Prints the medians and the ratios.
# With a review log given, it lies in the program folder (it must cost nothing: it is
# opened at the first answer or selection).
#   bench/startup_bench.sh [BUILD_DIR] [RUNS] [REVIEW_LOG]
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
runs=${2:-21}
source "$root/tests/e2e/x_session.sh"
X_SESSION_NO_WM=1 x_session_start

dir=$(make_program_folder "$build/app")
printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\n' >"$dir/tavi.ini"
[ -n "${3:-}" ] && cp "$3" "$dir/reviews.sqlite"
title=$(grep -m1 '^main_txt_title=' "$dir/language.ini" | cut -d= -f2-)
export HOME=$E2E_TMP

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

: >"$E2E_TMP/tavi.ms"
: >"$E2E_TMP/minimal.ms"
: >"$E2E_TMP/label.ms"
for i in $(seq $((runs + 2))); do # the first two of each warm the caches
    t=$("$build/bin/wait_mapped" "$title" "$dir/tavi") || fail "tavi did not show its window"
    m=$("$build/bin/wait_mapped" "Minimal Qt window" "$build/bin/minimal_window") || fail "minimal window"
    l=$("$build/bin/wait_mapped" "Minimal Qt window" "$build/bin/minimal_window" label) || fail "minimal window"
    if ((i > 2)); then
        echo "$t" >>"$E2E_TMP/tavi.ms"
        echo "$m" >>"$E2E_TMP/minimal.ms"
        echo "$l" >>"$E2E_TMP/label.ms"
    fi
done
tm=$(median <"$E2E_TMP/tavi.ms")
mm=$(median <"$E2E_TMP/minimal.ms")
lm=$(median <"$E2E_TMP/label.ms")
echo "runs: $runs"
echo "tavi main window mapped, median:          $tm ms"
echo "minimal Qt window mapped, median:         $mm ms"
echo "minimal Qt window with a label, median:   $lm ms"
awk -v t="$tm" -v m="$mm" -v l="$lm" 'BEGIN {
    printf "ratio tavi / minimal:                     %.2f\n", t / m
    printf "ratio tavi / minimal with a label:        %.2f\n", t / l
}'
