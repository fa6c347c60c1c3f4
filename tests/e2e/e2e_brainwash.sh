#!/usr/bin/env bash
# The brainwash in the real program under X: a run started from the keyboard while
# another program's window is in front puts the floating word window into that window's
# caption bar, left of its buttons, and it follows the window when it moves; the floating
# window never becomes the active window; the hotkey hides it and sends the main window to
# the task bar, and shows it again; a hotkey that another program holds is refused.
#   e2e_brainwash.sh APP_DIR SCREENSHOT_DIR GRAB_KEY_HELPER
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/brain_session.sh"
app=$1
shots=$2
grab_key=$3
mkdir -p "$shots"
x_session_start

dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
write_settings "$dir/my_vocabulary/pcr1-10u.txt" brainwash_sound=0 brainwash_hotkeyonoff=1 \
    brainwash_hotkey=Q brainwash_hotkey_vkey=0

# "X Y" of a window's top left corner in root pixels.
position() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'; }
extents() { xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }
# The position the floating window must take over window W: at the top of its frame,
# right edge - 1965 twips - half of a 1650-twip client with the main window's frame.
expected_position() { # W
    local x y w l r t b ml mr
    read -r x y < <(position "$1")
    w=$(xwininfo -id "$1" | awk '/Width:/{print $NF}')
    read -r l r t b < <(extents "$1")
    read -r ml mr _ < <(extents "$main")
    local right=$((x - l + w + l + r))
    echo "$(((right * 15 - 1965 - (1650 + (ml + mr) * 15) / 2 + 7) / 15)) $((y - t))"
}
check_float_over() { # W WHAT
    local want got
    want=$(expected_position "$1")
    for i in $(seq 30); do
        got=$(position "$float")
        [ "$got" = "$want" ] && break
        sleep 0.1
    done
    [ "$got" = "$want" ] || fail "$2: floating window at $got, expected $want"
}
not_active() {
    [ "$(xdotool getactivewindow 2>/dev/null)" != "$float" ] || fail "the floating window became the active window"
}

start_run 1
xmessage -name other -geometry 420x160+150+300 "Another program: the words ride in its caption bar" &
E2E_PIDS+=($!)
other=$(wait_window '^other$')
sleep 0.3
float=$(wait_float)
xdotool windowactivate --sync "$other"
check_float_over "$other" "over the other window"
not_active
shot root "$E2E_TMP/root.png"
read -r ox oy < <(position "$other")
convert "$E2E_TMP/root.png" -crop "520x120+$((ox - 60))+$((oy - 60))" +repage "$shots/e2e_brain_float.png"

xdotool windowmove --sync "$other" 600 120
check_float_over "$other" "after the other window moved"
not_active

# The settings window, and the floating window over it once it is the active one.
xdotool windowactivate --sync "$brain"
check_float_over "$brain" "over frm_brain"
shot "$brain" "$shots/e2e_brain_window.png"

# The hotkey: hide and send the main window away, then only the words come back.
xdotool windowactivate --sync "$other"
sleep 0.3
xdotool key alt+q
for i in $(seq 30); do find_float >/dev/null || break; sleep 0.1; done
find_float >/dev/null && fail "the hotkey did not hide the floating window"
xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || fail "the main window was not minimised"
sleep 1.2
xdotool key alt+q
float=$(wait_float)
check_float_over "$other" "shown again"
xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || fail "the main window came back with the words"
not_active
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true

# A hotkey that another program holds: the box, and the run goes on.
"$grab_key" 8 q >"$E2E_TMP/grab.log" 2>&1 &
E2E_PIDS+=($!)
for i in $(seq 50); do grep -q grabbed "$E2E_TMP/grab.log" && break; sleep 0.1; done
grep -q grabbed "$E2E_TMP/grab.log" || fail "the helper could not grab alt+q"
start_run 1
box=$(wait_window '^Error$')
shot "$box" "$shots/e2e_brain_taken.png"
keys_to "$box" Return
float=$(wait_float)
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true
echo "e2e_brainwash: all checks passed"
