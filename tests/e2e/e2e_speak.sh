#!/usr/bin/env bash
# The real program under X speaking through SDL with the generated sound pack: the
# speak-pinyin window opened from the Study menu speaks its sample text (heard through
# SDL's disk driver, which writes the samples to a file), the missing-sound log gets
# only the one word the pack has no recording for, the tools window shows the log
# settings, and a machine without sound output is told so once.
#   e2e_speak.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
[ -f "$app/sound/.pack-stamp" ] || fail "no sound pack in $app/sound"
x_session_start

dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
log=$E2E_TMP/missing.csv
printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\ntools_do_logging=True\ntools_logfile=%s\n' "$log" >"$dir/tavi.ini"
title=$(grep -m1 '^main_txt_title=' "$dir/language.ini" | cut -d= -f2-)

run_tavi() {
    "$dir/tavi" >"$E2E_TMP/tavi.log" 2>&1 &
    TAVI_PID=$!
    E2E_PIDS+=("$TAVI_PID")
}

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$E2E_TMP/heard.raw
run_tavi
main=$(wait_window "^${title}\$")
keys_to "$main" alt+s Up Return
speak=$(wait_window '^Speak Pinyin$')
shot "$speak" "$shots/e2e_speakpinyin.png"
keys_to "$speak" Return
for i in $(seq 100); do [ -s "$log" ] && break; sleep 0.1; done
sleep 4 # the sample text takes about three seconds to say
[ -s "$SDL_DISKAUDIOFILE" ] || fail "nothing was played"
nonzero=$(od -An -v -td2 -w2 "$SDL_DISKAUDIOFILE" | awk '$1 != 0 {n++} END {print n + 0}')
((nonzero > 22050)) || fail "under a second of sound was played ($nonzero samples)"
expected=$'"Type","Pinyin","Character"\r\n"Word","Ni3hao3","none"\r\n"Word","ge1ge0","none"\r'
[ "$(cat "$log")" = "$expected" ] || fail "unexpected log: $(cat -A "$log")"

keys_to "$main" alt+t Up Up Up Up Return # Tools, above Pinyin display and Progress
tools=$(wait_window '^Tavi Tools$')
shot "$tools" "$shots/e2e_tools.png"
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true

# No sound output: one box, and speaking goes on silently.
export SDL_AUDIODRIVER=no-such-driver
run_tavi
main=$(wait_window "^${title}\$")
keys_to "$main" alt+s Up Return
speak=$(wait_window '^Speak Pinyin$')
keys_to "$speak" Return
box=$(wait_window '^Tavi$')
shot "$box" "$shots/e2e_no_sound.png"
keys_to "$box" Return
sleep 0.5
keys_to "$speak" Return
sleep 1
xdotool search --onlyvisible --name '^Tavi$' >/dev/null 2>&1 && fail "the missing sound output was reported twice"
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true
echo "e2e_speak: all checks passed"
