#!/usr/bin/env bash
# Start-up time of the installed program against the build-folder program: the time
# until the main window is mapped, on a private Xvfb without a window manager, medians
# of later starts (no welcome box); and the first start's extra time for creating the
# user's folder, measured up to the welcome box.
#   bench/installed_startup.sh [BUILD_DIR] [RUNS]
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
runs=${2:-21}
source "$root/tests/e2e/x_session.sh"
X_SESSION_NO_WM=1 x_session_start
prefix=$E2E_TMP/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "install failed"
dir=$(make_program_folder "$build/app")
printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\n' >"$dir/tavi.ini"
title=$(text main_txt_title)
export HOME=$E2E_TMP/home
unset XDG_DATA_HOME
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# First starts: a fresh HOME each time, timed to the welcome box, against a later start
# of the installed program timed the same way (the box shown because of the counter).
: >"$E2E_TMP/first.ms"
: >"$E2E_TMP/again.ms"
for i in $(seq 7); do
    rm -rf "$HOME"
    mkdir -p "$HOME"
    f=$("$build/bin/wait_mapped" 'Ni hao !' "$prefix/bin/tavi") || fail "no welcome on a first start"
    printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=2137\n' >"$HOME/.local/share/tavi/tavi.ini"
    a=$("$build/bin/wait_mapped" 'Ni hao !' "$prefix/bin/tavi") || fail "no welcome on a later start"
    echo "$f" >>"$E2E_TMP/first.ms"
    echo "$a" >>"$E2E_TMP/again.ms"
done
printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\n' >"$HOME/.local/share/tavi/tavi.ini"

: >"$E2E_TMP/installed.ms"
: >"$E2E_TMP/folder.ms"
for i in $(seq $((runs + 2))); do
    s=$("$build/bin/wait_mapped" "$title" "$prefix/bin/tavi") || fail "the installed program showed no window"
    b=$("$build/bin/wait_mapped" "$title" "$dir/tavi") || fail "the build-folder program showed no window"
    if ((i > 2)); then
        echo "$s" >>"$E2E_TMP/installed.ms"
        echo "$b" >>"$E2E_TMP/folder.ms"
    fi
done
im=$(median <"$E2E_TMP/installed.ms")
bm=$(median <"$E2E_TMP/folder.ms")
fm=$(median <"$E2E_TMP/first.ms")
am=$(median <"$E2E_TMP/again.ms")
echo "runs: $runs"
echo "installed program, main window mapped, median:     $im ms"
echo "build-folder program, main window mapped, median:  $bm ms"
awk -v i="$im" -v b="$bm" 'BEGIN { printf "ratio installed / build folder:                    %.2f\n", i / b }'
echo "first start to the welcome box, median of 7:       $fm ms"
echo "later start to the welcome box, median of 7:       $am ms"
awk -v f="$fm" -v a="$am" 'BEGIN { printf "extra time of the first start:                     %.1f ms\n", f - a }'
