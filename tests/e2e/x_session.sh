# Shared by the end-to-end tests: a private X server with a window manager, a fresh
# program folder, and small waiting helpers. Source it, then call x_session_start.
set -euo pipefail

E2E_TMP=$(mktemp -d /tmp/tavi-e2e.XXXXXX)
E2E_PIDS=()

x_session_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap x_session_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$E2E_TMP/tavi.log" ]; then
        echo "--- program output:" >&2
        tail -40 "$E2E_TMP/tavi.log" >&2
    fi
    exit 1
}

# Starts Xvfb on a free display and, unless X_SESSION_NO_WM is set, openbox on it;
# exports DISPLAY.
x_session_start() {
    exec {fd}>"$E2E_TMP/display"
    Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local tries=0
    until [ -s "$E2E_TMP/display" ]; do
        ((++tries < 100)) || fail "Xvfb did not start"
        sleep 0.05
    done
    export DISPLAY=":$(head -1 "$E2E_TMP/display")"
    [ -z "${X_SESSION_NO_WM:-}" ] || return 0
    openbox >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    sleep 0.3
}

# A home, runtime folder and session bus of the test's own: programs started on it (the
# accessibility bus, IBus, a second copy of the program) meet nothing of the machine's.
private_session() {
    export HOME=$E2E_TMP XDG_CONFIG_HOME=$E2E_TMP/.config XDG_CACHE_HOME=$E2E_TMP/.cache
    mkdir -m 0700 "$E2E_TMP/runtime"
    export XDG_RUNTIME_DIR=$E2E_TMP/runtime
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_TMP/bus" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 50); do [ -S "$E2E_TMP/bus" ] && break; sleep 0.05; done
    [ -S "$E2E_TMP/bus" ] || fail "dbus-daemon did not start"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_TMP/bus
}

# A fresh program folder holding what build/app holds, the executable copied so that
# the program finds its folder here.
make_program_folder() { # APP_DIR
    local app=$1 dir=$E2E_TMP/app
    mkdir -p "$dir"
    cp "$app/tavi" "$dir/"
    for f in "$app"/*; do
        [ "$(basename "$f")" = tavi ] || [ "$(basename "$f")" = tavi.ini ] || ln -s "$f" "$dir/"
    done
    # The program writes language.ini; give it a copy of its own.
    rm "$dir/language.ini" && cp "$app/language.ini" "$dir/"
    echo "$dir"
}

# Writes the program folder's tavi.ini: English, the words of WORDS chosen from chapter
# 1 up to level 9, then the further KEY=VALUE lines given.
write_settings() { # WORDS [KEY=VALUE...]
    {
        printf '[Tavi]\nmain_glang=ENGLISH\nmain_lang2=100\nload_vocfilewpath=%s\n' "$1"
        printf 'load_txt_chap=1\nload_txt_level=9\n'
        shift
        [ $# -eq 0 ] || printf '%s\n' "$@"
    } >"$dir/tavi.ini"
}

# A copy of the sample vocabulary as $E2E_TMP/words.txt, set as words, and the
# settings that select its first chapter.
use_sample_words() {
    words=$E2E_TMP/words.txt
    cp "$dir/my_vocabulary/pcr1-10u.txt" "$words"
    write_settings "$words"
}

# Waits up to 5 s until COMMAND prints WANT; fails naming WHAT and what it printed last.
wait_for() { # WHAT WANT COMMAND...
    local what=$1 want=$2 now
    shift 2
    for _ in $(seq 25); do
        now=$("$@")
        [ "$now" = "$want" ] && return 0
        sleep 0.2
    done
    fail "$what: '$now', expected '$want'"
}

# Waits for a visible window whose name matches; prints its id.
wait_window() { # NAME_REGEX [SECONDS]
    local deadline=$((SECONDS + ${2:-15})) id
    while ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window named '$1' appeared"
}

# Gives the window the keyboard and types keys into it.
keys_to() { # WINDOW KEY...
    local w=$1
    shift
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || xdotool windowfocus --sync "$w"
    sleep 0.2
    xdotool key --delay 120 "$@"
}

shot() { # WINDOW FILE
    sleep 0.4 # let the window finish painting
    import -window "$1" "$2" || fail "screenshot $2"
}

# Starts the program in $dir; sets TAVI_PID, and main to its main window once shown.
start_program() {
    "$dir/tavi" >"$E2E_TMP/tavi.log" 2>&1 &
    TAVI_PID=$!
    E2E_PIDS+=("$TAVI_PID")
    main=$(wait_window "^$(text main_txt_title)\$")
}

# A language text of the program folder $dir.
text() { grep -m1 "^$1=" "$dir/language.ini" | cut -d= -f2-; }

# The words of the file named in tavi.ini chosen from the keyboard, as a learner without
# a mouse does: Ctrl+O opens the selection window, Space browses, Enter takes the file
# offered, Space selects and Space says OK. Sets load to the selection window.
select_words_by_keys() { # MAIN_WINDOW
    keys_to "$1" ctrl+o
    load=$(wait_window "^$(text load_loadvoc)\$")
    keys_to "$load" space
    local dialog
    dialog=$(wait_window "^$(text load_loaddialog)\$")
    keys_to "$dialog" Return
    sleep 0.5
    keys_to "$load" space # Select, which had the focus once the file was read
}

# Then OK, and Tavi > Edit vocabulary file in the main window.
open_editor_by_keys() { # MAIN_WINDOW
    select_words_by_keys "$1"
    keys_to "$load" space # OK
    sleep 0.5
    keys_to "$1" alt+t Down Return # Tavi, Edit vocabulary file
}
