#!/usr/bin/env bash
# How many faults does the test suite find? Puts each deliberate one-line fault listed
# in scripts/mutants.txt into the code in turn, rebuilds, runs the tests and puts the
# file back exactly as it was. While it runs, a source file holds a fault: commit
# nothing from that tree until it has finished.
#
#   nice -n 15 scripts/mutants.sh [BUILD_DIR] [ID...]
#
# BUILD_DIR (default build/) is a configured build folder, best one without benchmarks
# (scripts/setup.sh build -DTAVI_BUILD_BENCH=OFF); a first argument that is no folder
# is taken as an id. IDs pick faults from scripts/mutants.txt; without them, every
# fault is tried. The unchanged code is built and tested first: a test that fails
# there is counted against no fault. Each fault then costs one rebuild (its file and
# every link, one job at a time) and one run of all tests but the e2e and package ones.
#
# Prints, and writes to BUILD_DIR/mutants.txt, a line per fault and a total line:
#   id  caught|MISSED|broken|stale  failing tests
# caught: a test failed; MISSED: every test passed; broken: the code did not compile;
# stale: the fault's old text is not found exactly once in its file (the code changed:
# update the line in mutants.txt). Build and test output is kept in BUILD_DIR/mutants/.
#
# Exit status: 0 whatever the faults do (this is a measurement); 1 for a wrong call or
# when the unchanged code does not build; 2 when a changed file could not be put back
# (its original copy is then named); 130 when interrupted, after putting the file back.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list="$root/scripts/mutants.txt"

build="$root/build"
if [ $# -gt 0 ] && [ -d "$1" ]; then
    build=$1
    shift
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "mutants.sh: $build is no configured build folder (scripts/setup.sh $build -DTAVI_BUILD_BENCH=OFF)" >&2
    exit 1
fi
build=$(cd "$build" && pwd)
if grep -q '^TAVI_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "mutants.sh: note: $build builds the benchmarks too; -DTAVI_BUILD_BENCH=OFF makes every rebuild shorter"
fi
logs="$build/mutants"
mkdir -p "$logs"

# The faults: id, file, old text, new text (and a description, not used here).
ids=() files=() olds=() news=()
while IFS= read -r line || [ -n "$line" ]; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    fields=()
    rest=$line
    while [[ "$rest" == *$'\t'* ]]; do
        fields+=("${rest%%$'\t'*}")
        rest=${rest#*$'\t'}
    done
    fields+=("$rest")
    if [ ${#fields[@]} -lt 4 ] || [ -z "${fields[0]}" ] || [ -z "${fields[2]}" ]; then
        echo "mutants.sh: a line of $list is not 'id<TAB>file<TAB>old<TAB>new': $line" >&2
        exit 1
    fi
    ids+=("${fields[0]}")
    files+=("${fields[1]}")
    olds+=("${fields[2]}")
    news+=("${fields[3]}")
done <"$list"

# Which of them to try (indices into the arrays above).
chosen=()
if [ $# -eq 0 ]; then
    chosen=("${!ids[@]}")
else
    for want in "$@"; do
        found=
        for i in "${!ids[@]}"; do
            [ "${ids[$i]}" = "$want" ] && found=$i && break
        done
        if [ -z "$found" ]; then
            echo "mutants.sh: no fault named $want in $list" >&2
            exit 1
        fi
        chosen+=("$found")
    done
fi

# Files with changes of their own are measured as they are, but git cannot tell at the
# end whether they are back to that state; the saved copy still does.
declare -A clean_before=()
for i in "${chosen[@]}"; do
    f=${files[$i]}
    [ -n "${clean_before[$f]+set}" ] && continue
    if git -C "$root" diff --quiet -- "$f" 2>/dev/null; then
        clean_before[$f]=1
    else
        clean_before[$f]=0
        echo "mutants.sh: note: $f has uncommitted changes; the faults are put into it as it is"
    fi
done

tmp=$(mktemp -d)
saved="$tmp/original"
current=""       # the file that holds a fault right now, relative to root
restore_failed=0 # a file could not be put back: the copy in $tmp is kept

# Puts the faulty file back from its copy. Writing it (rather than moving the copy,
# with its old time) gives it a new modification time, so that the next build
# compiles it again instead of keeping the faulty object.
restore()
{
    [ -n "$current" ] || return 0
    if cat "$saved" >"$root/$current" && cmp -s "$saved" "$root/$current"; then
        current=""
        return 0
    fi
    echo "mutants.sh: could not put $root/$current back; its original is $saved" >&2
    restore_failed=1
    return 1
}

# Puts the fault's new text for its old one into the file; status 3 when the old text
# is not there exactly once (nothing is written then).
apply()
{
    python3 - "$@" <<'EOF'
import sys
path = sys.argv[1]
old, new = (a.encode("utf-8", "surrogateescape") for a in sys.argv[2:4])
with open(path, "rb") as f:
    data = f.read()
if data.count(old) != 1:
    sys.exit(3)
with open(path, "r+b") as f:
    f.write(data.replace(old, new, 1))
    f.truncate()
EOF
}

# The names of the tests that a ctest log lists as failed.
failed_tests()
{
    sed -n '/The following tests FAILED:/,$p' "$1" | sed -n 's/^[[:space:]]*[0-9][0-9]* - \([^ ]*\) (.*/\1/p'
}

# Runs the tests; sets $tests_rc and $failing (names, blank-separated).
run_tests()
{
    local log=$1
    ctest --test-dir "$build" -LE 'e2e|package' -j2 --timeout 120 >>"$log" 2>&1
    tests_rc=$?
    failing=$(failed_tests "$log" | tr '\n' ' ')
    failing=${failing% }
}

results=()          # "id<TAB>result<TAB>failing tests"
baseline_failing="" # the tests that fail without any fault
report()
{
    local width=2 r id result tests caught=0 missed=0 broken=0 stale=0 out
    for r in "${results[@]}"; do
        id=${r%%$'\t'*}
        ((${#id} > width)) && width=${#id}
    done
    out=$(
        for r in "${results[@]}"; do
            IFS=$'\t' read -r id result tests <<<"$r"
            printf "%-${width}s  %-7s  %s\n" "$id" "$result" "${tests:-}"
        done
    )
    for r in "${results[@]}"; do
        case $(cut -f2 <<<"$r") in
        caught) caught=$((caught + 1)) ;;
        MISSED) missed=$((missed + 1)) ;;
        broken) broken=$((broken + 1)) ;;
        stale) stale=$((stale + 1)) ;;
        esac
    done
    local compiled=$((caught + missed)) share="-"
    ((compiled > 0)) && share="$((100 * caught / compiled)) %"
    out+=$'\n'"total ${#results[@]}: caught $caught, MISSED $missed, broken $broken, stale $stale;"
    out+=" caught $caught of $compiled that compiled ($share)"
    [ -n "$baseline_failing" ] && out+=$'\n'"failing without any fault, not counted: $baseline_failing"
    printf '%s\n' "$out" | tee "$build/mutants.txt"
}

# shellcheck disable=SC2317 # called by the traps below
on_exit()
{
    restore
    if ((restore_failed)); then
        exit 2
    fi
    rm -rf "$tmp"
}
# shellcheck disable=SC2317
on_signal()
{
    trap - INT TERM
    echo "mutants.sh: interrupted" >&2
    restore
    ((${#results[@]})) && report
    exit 130
}
trap on_exit EXIT
trap on_signal INT TERM

started=$SECONDS
echo "unchanged code: building and testing (log: $logs/baseline.log)"
if ! cmake --build "$build" -j1 >"$logs/baseline.log" 2>&1; then
    echo "mutants.sh: the unchanged code does not build; see $logs/baseline.log" >&2
    exit 1
fi
run_tests "$logs/baseline.log"
baseline_failing=$failing
if [ "$tests_rc" -ne 0 ]; then
    echo "unchanged code: failing tests: ${baseline_failing:-(ctest failed; see the log)}"
fi

n=0
for i in "${chosen[@]}"; do
    n=$((n + 1))
    id=${ids[$i]}
    file=${files[$i]}
    log="$logs/$id.log"
    begun=$SECONDS
    printf '[%d/%d] %s (%s) ... ' "$n" "${#chosen[@]}" "$id" "$file"
    : >"$log"

    result=""
    newly=""
    if [ ! -f "$root/$file" ] || ! cp "$root/$file" "$saved"; then
        result=stale
    else
        current=$file
        apply "$root/$file" "${olds[$i]}" "${news[$i]}"
        case $? in
        0) ;;
        3)
            result=stale
            current="" # nothing was written
            ;;
        *)
            echo "mutants.sh: could not change $file" >&2
            restore || exit 2
            exit 1
            ;;
        esac
    fi
    if [ -z "$result" ]; then
        git -C "$root" diff -- "$file" >>"$log" 2>&1
        if ! cmake --build "$build" -j1 >>"$log" 2>&1; then
            result=broken
        else
            run_tests "$log"
            for t in $failing; do
                [[ " $baseline_failing " == *" $t "* ]] || newly+="${newly:+ }$t"
            done
            if [ -n "$newly" ]; then
                result=caught
            elif [ "$tests_rc" -ne 0 ] && [ -z "$failing" ]; then
                result=broken # ctest itself did not run
                newly="(ctest failed)"
            else
                result=MISSED
            fi
        fi
    fi
    restore || exit 2
    results+=("$id"$'\t'"$result"$'\t'"$newly")
    echo "$result$([ -n "$newly" ] && echo ": $newly") ($((SECONDS - begun)) s)"
done

echo
report
echo "time: $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"

# Every file is back as it was: git agrees for those that had no changes of their own.
check=()
for f in "${!clean_before[@]}"; do
    ((clean_before[$f])) && check+=("$f")
done
if ((${#check[@]})) && ! git -C "$root" diff --quiet -- "${check[@]}"; then
    echo "mutants.sh: the working tree is not clean after the run:" >&2
    git -C "$root" diff --stat -- "${check[@]}" >&2
    restore_failed=1
    exit 2
fi
exit 0
