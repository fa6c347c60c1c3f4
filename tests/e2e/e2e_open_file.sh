#!/usr/bin/env bash
# Files opened from outside. `tavi words.txt` (a name relative to the current folder)
# starts with the selection window showing the file and the words its stored filters
# select, ready for Enter. A second `tavi OTHER` hands its file to the running copy and
# ends at once: no second main window, the running copy's selection window shows OTHER.
# The desktop entry's Exec line, as a file manager's "Open with" runs it with a file of
# Pleco flashcards, opens the import window. The windows are read as an assistive
# technology reads them (AT-SPI).
# The copy that hands its file over ends the launcher's start-up feedback, which its own
# window would have ended (the startup notification's "remove" message).
#   e2e_open_file.sh APP_DIR SCREENSHOT_DIR STARTUP_INFO
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
startup_info=$3
unset DESKTOP_STARTUP_ID
desktop_entry=$(cd "$(dirname "$0")/../../data/desktop" && pwd)/org.tavitrainer.Tavi.desktop
mkdir -p "$shots"
x_session_start
xset r off

dir=$(make_program_folder "$app")
# The copies hear each other on a socket in the test's runtime folder, not the user's.
private_session
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

use_sample_words
# Another vocabulary file: 7 words of chapter 1 and some of chapter 2.
other="$E2E_TMP/other words.txt"
iconv -f UTF-16 -t UTF-8 "$words" | tr '\r' '\n' | awk -F' \\+ ' 'NR == 1 || ($5 == 1 && ++c <= 7) || $5 == 2' |
    tr '\n' '\r' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$other"
# What the stored filters (chapter 1, up to level 9) select of a vocabulary file.
selected() { iconv -f UTF-16 -t UTF-8 "$1" | tr '\r' '\n' | awk -F' \\+ ' '$5 == 1 && $1 <= 9' | wc -l; }

# The text box that follows the label LABEL in the window TITLE.
cat >"$E2E_TMP/field.py" <<'EOF'
import sys
import pyatspi

def walk(node):
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is not None:
            yield c
            yield from walk(c)

for app in pyatspi.Registry.getDesktop(0):
    for i in range(app.childCount if app else 0):
        w = app.getChildAtIndex(i)
        if w is None or w.name != sys.argv[1] or not w.getState().contains(pyatspi.STATE_SHOWING):
            continue
        after = False
        for c in walk(w):
            if c.getRoleName() == 'label' and c.name == sys.argv[2]:
                after = True
            elif after and c.getRoleName() == 'text':
                t = c.queryText()
                print(t.getText(0, t.characterCount))
                sys.exit(0)
EOF
field() { /usr/bin/python3 "$E2E_TMP/field.py" "$@" 2>>"$E2E_TMP/atspi.log" || true; } # TITLE LABEL
main_title=$(text main_txt_title)
load_title=$(text load_loadvoc)
main_windows() { xdotool search --all --onlyvisible --name "^$main_title\$" 2>/dev/null | wc -l; }
gone() { # NAME_REGEX
    for _ in $(seq 25); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# A vocabulary file by a relative name: the selection window, ready for Enter.
(cd "$E2E_TMP" && exec "$dir/tavi" words.txt) >"$E2E_TMP/tavi.log" 2>&1 &
TAVI_PID=$!
E2E_PIDS+=("$TAVI_PID")
load=$(wait_window "^$load_title\$")
wait_window "^$main_title\$" >/dev/null
wait_for "the selection window's file" "$words" field "$load_title" "$(text load_lbl_vocfile)"
wait_for "the words selected" "$(selected "$words")" field "$load_title" "$(text load_numofvoc)"
shot root "$shots/e2e_open_file_words.png"
keys_to "$load" Return
gone "^$load_title\$" || fail "Enter left the selection window open"
xdotool search --onlyvisible --name "^$main_title\$" >/dev/null || fail "the main window is not showing"
grep -qxF "load_vocfilewpath=$words" "$dir/tavi.ini" || fail "the file was not taken: $(grep load_vocfilewpath "$dir/tavi.ini")"

# A second `tavi OTHER`, started by a launcher with start-up feedback, hands the file
# over, ends that feedback and ends.
"$startup_info" 15 >"$E2E_TMP/startup.txt" &
listener=$!
E2E_PIDS+=("$listener")
for _ in $(seq 50); do grep -q listening "$E2E_TMP/startup.txt" && break; sleep 0.1; done
start=$SECONDS
DESKTOP_STARTUP_ID=launcher-4711_TIME12345 timeout 10 "$dir/tavi" "$other" >"$E2E_TMP/second.log" 2>&1 ||
    fail "the second tavi ended with $?: $(cat "$E2E_TMP/second.log")"
((SECONDS - start <= 5)) || fail "the second tavi took $((SECONDS - start)) s"
wait "$listener" || fail "no startup notification: $(cat "$E2E_TMP/startup.txt")"
[ "$(tail -1 "$E2E_TMP/startup.txt")" = "remove: ID=launcher-4711_TIME12345" ] ||
    fail "startup notification: $(tail -1 "$E2E_TMP/startup.txt")"
kill -0 "$TAVI_PID" 2>/dev/null || fail "the running copy ended"
load=$(wait_window "^$load_title\$")
wait_for "the running copy's file" "$other" field "$load_title" "$(text load_lbl_vocfile)"
wait_for "the words selected of the other file" "$(selected "$other")" field "$load_title" "$(text load_numofvoc)"
[ "$(main_windows)" = 1 ] || fail "$(main_windows) main windows show"
shot root "$shots/e2e_open_file_handed.png"
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true

# The desktop entry's command with a file of Pleco flashcards in a folder with a blank.
mkdir "$E2E_TMP/my cards"
pleco="$E2E_TMP/my cards/Pleco flashcards.txt"
printf '//Lesson 1\n你好\tni3hao3\thello\n谢谢\txie4xie4\tthank you\n再见\tzai4jian4\tgoodbye\n' >"$pleco"
command=()
read -ra exec_words <<<"$(sed -n 's/^Exec=//p' "$desktop_entry")"
for w in "${exec_words[@]}"; do
    case $w in
    tavi) command+=("$dir/tavi") ;;
    %f) command+=("$pleco") ;;
    *) command+=("$w") ;;
    esac
done
[[ ${command[0]} == "$dir/tavi" && ${command[-1]} == "$pleco" ]] || fail "the Exec line: ${exec_words[*]}"
"${command[@]}" >"$E2E_TMP/tavi.log" 2>&1 &
TAVI_PID=$!
E2E_PIDS+=("$TAVI_PID")
import=$(wait_window "^$(text import_title)\$")
shot "$import" "$shots/e2e_open_file_import.png"
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true
echo "e2e_open_file: all checks passed"
