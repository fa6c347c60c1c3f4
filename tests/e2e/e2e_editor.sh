#!/usr/bin/env bash
# The editor in the real program, from the keyboard: a word added at the end of the
# text, its characters typed in the input pane and copied across with the clipboard,
# F5 to refresh, OK to save. The file must hold the new word; screenshots at the design
# size and enlarged.
#   e2e_editor.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
x_session_start

dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
use_sample_words

start_program
open_editor_by_keys "$main"
editor=$(wait_window '^Tavi Unicode Vocabulary File Editor$')
before=$(iconv -f UTF-16 -t UTF-8 "$words" | tr '\r' '\n' | grep -c ' + ')
shot "$editor" "$shots/e2e_editor_design.png"

keys_to "$editor" ctrl+End
xdotool type --delay 40 "0 + ma1ma0 + "
xdotool key shift+Tab # the input pane
sleep 0.2
xdotool type --delay 80 "妈妈"
xdotool key --delay 100 ctrl+a ctrl+c Tab ctrl+v # copied into the text
xdotool type --delay 40 " + mum + 99 + "
xdotool key F5
sleep 0.5
xdotool windowsize --sync "$editor" 1100 760
shot "$editor" "$shots/e2e_editor_large.png"
keys_to "$editor" Tab Tab Tab Tab Tab space # Font size, Check, Refresh, Cancel, OK
sleep 0.8
xdotool search --onlyvisible --name '^Tavi Unicode Vocabulary File Editor$' >/dev/null 2>&1 &&
    fail "OK left the editor open"

saved=$(iconv -f UTF-16 -t UTF-8 "$words" | tr '\r' '\n')
after=$(grep -c ' + ' <<<"$saved")
[ "$after" = "$((before + 1))" ] || fail "the file has $after lines, expected $((before + 1))"
grep -qx '0 + ma1ma0 + 妈妈 + mum + 99 + ' <<<"$saved" ||
    fail "the new word is not in the file: $(tail -2 <<<"$saved" | tr '\n' '|')"
[ -s "$words.bak" ] || fail "no backup of the previous file"
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true
echo "e2e_editor: all checks passed"
