#!/usr/bin/env bash
# The real program under X: first start with its welcome box and help page, the main
# window in English and German, the about window, and the exit command.
#   e2e_start_exit.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
x_session_start

dir=$(make_program_folder "$app")
# An isolated desktop whose only way to open a document is this recording browser.
mkdir -p "$E2E_TMP/home" "$E2E_TMP/xdg-data" "$E2E_TMP/xdg-config"
cat >"$E2E_TMP/browser" <<'SH'
#!/bin/sh
echo "$1" >> "$(dirname "$0")/opened"
SH
chmod +x "$E2E_TMP/browser"
export HOME=$E2E_TMP/home XDG_DATA_DIRS=$E2E_TMP/xdg-data XDG_CONFIG_HOME=$E2E_TMP/xdg-config
export BROWSER=$E2E_TMP/browser
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION

run_tavi() {
    "$dir/tavi" >"$E2E_TMP/tavi.log" 2>&1 &
    TAVI_PID=$!
    E2E_PIDS+=("$TAVI_PID")
}

exit_by_menu() { # MAIN_WINDOW
    keys_to "$1" alt+f Up Return
    local i
    for i in $(seq 100); do
        kill -0 "$TAVI_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$TAVI_PID" 2>/dev/null && fail "the exit command did not end the program"
    wait "$TAVI_PID" || fail "the program ended with status $?"
}

title_en=$(grep -m1 '^main_txt_title=' "$dir/language.ini" | cut -d= -f2-)

# First start: the welcome box comes before the main window.
run_tavi
welcome=$(wait_window '^Ni hao !$')
xdotool search --onlyvisible --name "^${title_en}\$" >/dev/null 2>&1 && fail "main window shown before the welcome was closed"
shot "$welcome" "$shots/welcome.png"
keys_to "$welcome" Return
main=$(wait_window "^${title_en}\$")
shot "$main" "$shots/main_english.png"
grep -qx 'main_glang=ENGLISH' "$dir/tavi.ini" || fail "main_glang not stored"
grep -qx 'main_lang2=2138' "$dir/tavi.ini" || fail "start counter not stored"
for i in $(seq 50); do [ -s "$E2E_TMP/opened" ] && break; sleep 0.1; done
grep -q 'help.htm$' "$E2E_TMP/opened" || fail "the help page was not opened: $(cat "$E2E_TMP/opened" 2>/dev/null)"
exit_by_menu "$main"

# Second start in German: no welcome; the about window from the Tavi menu.
sed -i 's/^main_glang=.*/main_glang=GERMAN/' "$dir/tavi.ini"
title_de=$(awk '/^\[GERMAN\]/{g=1} g && /^main_txt_title=/{sub(/^[^=]*=/,""); print; exit}' "$dir/language.ini")
run_tavi
main=$(wait_window "^${title_de}\$")
xdotool search --onlyvisible --name '^Ni hao !$' >/dev/null 2>&1 && fail "welcome shown on a later start"
shot "$main" "$shots/main_german.png"
keys_to "$main" alt+t Up Return
about=$(wait_window '^About Tavi\.\.\.$')
shot "$about" "$shots/about.png"
exit_by_menu "$main"
grep -qx 'main_lang2=2139' "$dir/tavi.ini" || fail "start counter not advanced"
echo "e2e_start_exit: all checks passed"
