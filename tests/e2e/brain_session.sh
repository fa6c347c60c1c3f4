# Shared by the brainwash end-to-end test and the CPU measurement: a run of the real
# program started from the keyboard. Source it after x_session.sh.

# Starts the program in $dir, loads the sample vocabulary through the selection window
# and starts a run with the given interval from frm_brain, all from the keyboard. Sets
# TAVI_PID, main and brain.
start_run() { # SECONDS_PER_STEP
    start_program
    select_words_by_keys "$main"
    keys_to "$load" space # OK, which has it then
    sleep 0.5
    keys_to "$main" alt+s Up Return
    brain=$(wait_window "^$(text brainwash_title)\$")
    keys_to "$brain" ctrl+a "$1" Return
}

# The floating window: the program's visible 131 x 27 window.
find_float() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$TAVI_PID" 2>/dev/null); do
        xwininfo -id "$w" | grep -q 'Width: 131' && xwininfo -id "$w" | grep -q 'Height: 27' && { echo "$w"; return 0; }
    done
    return 1
}
wait_float() {
    local i
    for i in $(seq 50); do find_float && return 0; sleep 0.1; done
    fail "the floating window is not shown"
}
