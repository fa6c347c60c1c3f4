#!/usr/bin/env bash
# Two running copies of the program on one program folder and one vocabulary file, both
# editing it. Copy B saves first; copy A's save must not write over B's word: A is asked,
# No keeps its editor open and the file as B left it, Yes saves A's words under another
# name and the file keeps B's word.
#   e2e_two_copies.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
x_session_start

dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
use_sample_words
editor_title='^Tavi Unicode Vocabulary File Editor$'

# Both copies show windows of the same names: each is found by its process.
window_of() { # PID NAME_REGEX
    local deadline=$((SECONDS + 15)) id
    while ((SECONDS < deadline)); do
        id=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1 || true)
        [ -z "$id" ] || { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "copy $1 shows no window named '$2'"
}
shows() { xdotool search --all --onlyvisible --pid "$1" --name "$2" >/dev/null 2>&1; }
words_in() { iconv -f UTF-16 -t UTF-8 "$1" | tr '\r' '\n'; }

# Starts a copy with its words selected and its editor open; prints "PID EDITOR".
start_editing() { # LOG
    "$dir/tavi" >"$1" 2>&1 &
    local pid=$! main
    E2E_PIDS+=("$pid")
    main=$(window_of "$pid" "^$(text main_txt_title)\$")
    open_editor_by_keys "$main" >&2
    echo "$pid $(window_of "$pid" "$editor_title")"
}
add_word() { # EDITOR LINE
    keys_to "$1" ctrl+End
    xdotool type --delay 40 "$2"
    xdotool key --delay 120 Tab Tab Tab Tab Tab space # Font size, Check, Refresh, Cancel, OK
    sleep 0.8
}

read -r a_pid a_editor < <(start_editing "$E2E_TMP/tavi.log")
read -r b_pid b_editor < <(start_editing "$E2E_TMP/tavi-b.log")
b_word='0 + ba1 + B + from copy B + 1 + '
a_word='0 + a1 + A + from copy A + 1 + '

add_word "$b_editor" "$b_word"
! shows "$b_pid" "$editor_title" || fail "copy B's OK left its editor open"
words_in "$words" | grep -qxF "$b_word" || fail "copy B's word was not saved"

add_word "$a_editor" "$a_word"
box=$(window_of "$a_pid" '^Tavi$')
shot "$box" "$shots/e2e_two_copies_conflict.png"
keys_to "$box" Escape # No
sleep 0.5
shows "$a_pid" "$editor_title" || fail "No closed copy A's editor, its words unsaved"
words_in "$words" | grep -qxF "$b_word" || fail "copy A wrote over copy B's word"
words_in "$words" | grep -qxF "$a_word" && fail "copy A saved although the user said No"

keys_to "$a_editor" space # OK, which kept the focus
box=$(window_of "$a_pid" '^Tavi$')
keys_to "$box" Return # Yes
dialog=$(window_of "$a_pid" "^$(text save_file_title)\$")
shot "$dialog" "$shots/e2e_two_copies_save_as.png"
keys_to "$dialog" Return # the name offered
sleep 0.8
other="$E2E_TMP/words (2).txt"
[ -s "$other" ] || fail "no file under the name offered: $(ls "$E2E_TMP" | tr '\n' ' ')"
! shows "$a_pid" "$editor_title" || fail "copy A's editor stayed open after saving under another name"
words_in "$other" | grep -qxF "$a_word" || fail "copy A's word is not in $other"
words_in "$words" | grep -qxF "$b_word" || fail "copy B's word was lost"
words_in "$words" | grep -qxF "$a_word" && fail "copy A's word went into copy B's file"
grep -qF "load_vocfilewpath=$other" "$dir/tavi.ini" || fail "tavi.ini does not name the new file"

kill "$a_pid" "$b_pid"
wait "$a_pid" "$b_pid" 2>/dev/null || true
echo "e2e_two_copies: all checks passed"
