#!/usr/bin/env bash
# Processor time of the real program during a brainwash run with the sound off, the
# words riding over another program's window: user + system time from /proc/PID/stat
# over SECONDS (default 60) of the run, as a share of one core.
#   bench/brain_cpu.sh APP_DIR [SECONDS]
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/x_session.sh"
source "$root/tests/e2e/brain_session.sh"
app=$(cd "$1" && pwd)
seconds=${2:-60}
x_session_start
dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\nload_vocfilewpath=%s\nload_txt_chap=1\nload_txt_level=9\nbrainwash_sound=0\n' "$dir/my_vocabulary/pcr1-10u.txt" >"$dir/tavi.ini"
start_run 3
xmessage -name other -geometry 420x160+150+300 "Another program" &
E2E_PIDS+=($!)
xdotool windowactivate --sync "$(wait_window '^other$')"
sleep 2 # start-up work is not part of the run

ticks() { awk '{print $14 + $15}' "/proc/$TAVI_PID/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill "$TAVI_PID"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "cpu %.2f s over %d s of the run: %.3f %% of one core\n", t / hz, s, 100 * t / hz / s }'
