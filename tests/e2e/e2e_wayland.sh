#!/usr/bin/env bash
# The brainwash in the real program on a Wayland desktop: weston with XWayland, and the
# program choosing X11 by itself. The hotkey is the desktop's: bound through the shortcuts
# portal (played by fake_portal), its presses hide and show the words. While a native
# Wayland window is in front no X11 window is active, and the floating words go to the
# top centre of the screen; the toggle command hides and shows them.
#   e2e_wayland.sh APP_DIR SCREENSHOT_DIR FAKE_PORTAL
# Weston draws into a window of a private Xvfb: its headless backend has no seat, so no
# window there ever gets the keyboard, and XWayland aborts at the first pointer motion
# that xdotool makes. Through the Xvfb the pointer and keys reach weston as a user's do.
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/brain_session.sh"
app=$(realpath "$1")
shots=$2
fake_portal=$3
mkdir -p "$shots"
X_SESSION_NO_WM=1 x_session_start
host=$DISPLAY
export HOME=$E2E_TMP

runtime=$E2E_TMP/runtime
mkdir -m 0700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
# No panel: its launcher sits where a stray click lands, and it would cover the top row.
cat >"$E2E_TMP/weston.ini" <<EOF
[shell]
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
EOF
# --debug lets weston-screenshooter take the output and weston-debug list the windows.
weston --backend=x11-backend.so --use-pixman --xwayland --debug --socket=tavi-wl \
    --width=1280 --height=800 --idle-time=0 --config="$E2E_TMP/weston.ini" \
    --log="$E2E_TMP/weston.log" >"$E2E_TMP/weston.out" 2>&1 &
E2E_PIDS+=($!)
xdisplay=
for _ in $(seq 100); do
    xdisplay=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log" 2>/dev/null) || true
    [ -n "$xdisplay" ] && break
    sleep 0.05
done
[ -n "$xdisplay" ] || { tail -20 "$E2E_TMP/weston.log" >&2; fail "weston did not start XWayland"; }
export WAYLAND_DISPLAY=tavi-wl DISPLAY=$xdisplay XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
# A session bus of its own, and on it the desktop's shortcuts portal, which reports
# the key it binds as "Alt+Q" and sends a press for each line "activate" it reads.
dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_TMP/bus" >/dev/null 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 50); do [ -S "$E2E_TMP/bus" ] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_TMP/bus
mkfifo "$E2E_TMP/presses"
"$fake_portal" --trigger Alt+Q <"$E2E_TMP/presses" >"$E2E_TMP/portal.log" 2>&1 &
E2E_PIDS+=($!)
exec {presses}>"$E2E_TMP/presses"
for _ in $(seq 50); do grep -q ready "$E2E_TMP/portal.log" && break; sleep 0.1; done
grep -q ready "$E2E_TMP/portal.log" || fail "the portal did not start: $(cat "$E2E_TMP/portal.log")"

# The pointer and clicks of the user, through weston. Weston only follows the pointer
# once it has moved inside its window.
host_pointer() { DISPLAY=$host xdotool "$@"; }
host_pointer mousemove 10 10 sleep 0.1 mousemove 20 20

# A native Wayland window covering the screen, so a click beside the program's windows
# brings it to the front.
weston-terminal --maximized >"$E2E_TMP/terminal.log" 2>&1 &
E2E_PIDS+=($!)
shown_by_weston() { timeout 2 weston-debug scene-graph 2>/dev/null | grep -q "top-level window '$1'"; }
for _ in $(seq 50); do shown_by_weston 'Wayland Terminal' && break; sleep 0.1; done
shown_by_weston 'Wayland Terminal' || fail "weston-terminal did not appear"

dir=$(make_program_folder "$app")
write_settings "$dir/my_vocabulary/pcr1-10u.txt" brainwash_sound=0 brainwash_hotkeyonoff=1 \
    brainwash_hotkey=Q brainwash_hotkey_vkey=0

# "X Y WIDTH" of a window in root pixels.
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} END{print x, y, w}'; }
active() { xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //'; }
# Weston ignores an X client's request to activate a window. It activates a new window,
# and the one below a window that closes, but on a busy machine that can take seconds;
# failing that a user clicks the caption.
front() { # WINDOW
    local want x y w
    want=$(printf '0x%x' "$1")
    for _ in $(seq 30); do [ "$(active)" = "$want" ] && return 0; sleep 0.1; done
    read -r x y w < <(geometry "$1")
    host_pointer mousemove $((x + w / 2)) $((y - 12)) click 1
    for _ in $(seq 20); do [ "$(active)" = "$want" ] && return 0; sleep 0.1; done
    fail "weston did not give window $want the keyboard"
}
keys_to() { # WINDOW KEY...
    front "$1"
    shift
    xdotool key --delay 120 "$@"
}
# The main window is looked for on XWayland's display: the program chose X11 by itself.
start_run 1

float=$(wait_float)

# Start bound the hotkey through the portal, and the settings window says so.
for _ in $(seq 50); do grep -q "^bound" "$E2E_TMP/portal.log" && break; sleep 0.1; done
grep -qx "bound ALT+q in the session" "$E2E_TMP/portal.log" ||
    fail "the portal bound no ALT+q: $(cat "$E2E_TMP/portal.log")"
viewable() { xwininfo -id "$float" | grep -q IsViewable; }
press() { # WANT: shown or hidden
    echo activate >&"$presses"
    for _ in $(seq 30); do
        if viewable; then [ "$1" = shown ] && return 0; else [ "$1" = hidden ] && return 0; fi
        sleep 0.1
    done
    fail "a press of the desktop's shortcut left the words not $1"
}
press hidden
press shown
sleep 0.4
(cd "$E2E_TMP" && weston-screenshooter) || fail "weston-screenshooter failed"
mv "$E2E_TMP"/wayland-screenshot-*.png "$shots/e2e_wayland_brain.png"

# A click on the Wayland window: weston then keeps no X11 window active.
host_pointer mousemove 1200 760 click 1
for _ in $(seq 30); do [ "$(active)" = 0x0 ] && break; sleep 0.1; done
[ "$(active)" = 0x0 ] || fail "X11 window $(active) stayed active with the Wayland window in front"

"$dir/tavi" --toggle-brainwash || fail "the toggle command did not hide the words (exit $?)"
for _ in $(seq 30); do viewable || break; sleep 0.1; done
viewable && fail "the toggle command left the words shown"
"$dir/tavi" --toggle-brainwash || fail "the toggle command did not show the words again (exit $?)"
for _ in $(seq 30); do viewable && break; sleep 0.1; done
viewable || fail "the toggle command did not show the words again"

x=$(((1280 - 131) / 2)) y=0
for _ in $(seq 30); do
    read -r gx gy _ < <(geometry "$float")
    [ "$gx $gy" = "$x $y" ] && break
    sleep 0.1
done
# The output as weston shows it, taken before judging the place so that it shows a
# misplaced box too.
sleep 0.4
(cd "$E2E_TMP" && weston-screenshooter) || fail "weston-screenshooter failed"
mv "$E2E_TMP"/wayland-screenshot-*.png "$shots/e2e_wayland.png"
[ "$gx $gy" = "$x $y" ] || fail "the words are at $gx $gy with the Wayland window in front, expected $x $y"
# Weston may show an X11 window elsewhere than its X position; the words are where the
# user sees them only if the box's cyan edge is on the screen there.
for p in "$((x + 130)),$((y + 13))" "$((x + 65)),$((y + 26))"; do
    c=$(convert "$shots/e2e_wayland.png" -alpha off -format "%[pixel:p{$p}]" info:)
    case $c in cyan | aqua | "srgb(0,255,255)") ;; *) fail "the screen shows no words at $x $y ($p is $c)" ;; esac
done
echo "e2e_wayland: all checks passed"
