#!/usr/bin/env bash
# Chinese typed through a real input method reaches the editor's dictionary pane: IBus
# with its libpinyin engine on a session bus of the test's own. In the pane's search box
# the keys n i h a o are the input method's (the box stays empty while composing) and
# Space commits 你好; the list then shows 你好's entry. Enter takes the focus to it, Enter
# inserts it as a line of the text, OK saves. The box, the list and the text are read as
# an assistive technology reads them (AT-SPI); the file must hold the dictionary's line
# beside the learner's own 你好. Once in English and once in German, with screenshots.
#   e2e_dictionary.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
x_session_start
xset r off # a key press held up on a busy machine must not repeat into the input method

dir=$(make_program_folder "$app")
# IBus, the settings of its engine and the accessibility bus start on the test's own bus.
private_session

# IBus without a panel (no candidate window: Space takes the first candidate) and without
# the emoji extension, its settings in memory. It writes its address under
# $XDG_CONFIG_HOME/ibus/bus, where the ibus command and Qt's IBus plugin look.
ibus-daemon --panel=disable --emoji-extension=disable --config=/usr/libexec/ibus-memconf \
    --verbose >"$E2E_TMP/ibus.log" 2>&1 &
E2E_PIDS+=($!)
# Setting it exits with 1 even when it worked: libpinyin names no keyboard layout for the
# ibus command to hand to setxkbmap. What counts is the engine IBus then reports.
for _ in $(seq 100); do
    ibus engine libpinyin >/dev/null 2>&1 || true
    [ "$(ibus engine 2>/dev/null)" = libpinyin ] && break
    sleep 0.1
done
[ "$(ibus engine 2>/dev/null)" = libpinyin ] ||
    fail "IBus did not take the libpinyin engine: $(tail -5 "$E2E_TMP/ibus.log")"
export QT_IM_MODULE=ibus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

words=$E2E_TMP/words.txt
printf 'CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION\r5 + ni3hao3 + 你好 + hello + 1 + \r5 + xie4xie0 + 谢谢 + thank you + 1 + \r5 + zai4jian4 + 再见 + goodbye + 1 + \r' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$E2E_TMP/words.orig"
cp "$E2E_TMP/words.orig" "$words"
write_settings "$words" flash_ch_sound=0

# A language text of the program folder in the language the program runs in.
lang=ENGLISH
text() {
    awk -v s="[$lang]" -v k="$1=" '$0 == s {on = 1; next} /^\[/ {on = 0}
        on && index($0, k) == 1 {print substr($0, length(k) + 1); exit}' "$dir/language.ini"
}

editor_title='Tavi Unicode Vocabulary File Editor'
# The editor's controls as a screen reader sees them, one a line: ROLE|X|Y|focused|TEXT,
# X and Y in the window, line breaks in the text as " / ". The system's python3, which
# has the AT-SPI bindings.
cat >"$E2E_TMP/controls.py" <<'EOF'
import sys
import pyatspi

def dump(node, ox, oy):
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        if c is None:
            continue
        state = c.getState()
        if not state.contains(pyatspi.STATE_SHOWING):
            continue
        x, y = c.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
        text = c.name or ''
        if c.getRoleName() == 'text':
            t = c.queryText()
            text = t.getText(0, t.characterCount)
        print('|'.join([c.getRoleName(), str(x - ox), str(y - oy),
                        'focused' if state.contains(pyatspi.STATE_FOCUSED) else '',
                        text.replace('\n', ' / ')]))
        dump(c, ox, oy)

for app in pyatspi.Registry.getDesktop(0):
    for i in range(app.childCount if app else 0):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == sys.argv[1] and w.getState().contains(pyatspi.STATE_SHOWING):
            ox, oy = w.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
            dump(w, ox, oy)
            sys.exit(0)
EOF
controls() { /usr/bin/python3 "$E2E_TMP/controls.py" "$editor_title" 2>>"$E2E_TMP/atspi.log" || true; }
# The dictionary pane is the right part of the window: its controls from x = 700 on.
# The text of its search box while that has the keyboard focus, or "(no focus)".
box() {
    controls | awk -F'|' '$1 == "text" && $2 >= 700 && $4 == "focused" {print; f = 1} END {if (!f) print "(no focus)"}' |
        cut -d'|' -f5-
}
entries() { controls | awk -F'|' '$1 == "list item" && $2 >= 700' | cut -d'|' -f5- | paste -sd'#'; }
pane_state() { controls | awk -F'|' '$1 == "label" && $2 >= 700 && $3 >= 480' | cut -d'|' -f5-; }
# The vocabulary text, left of the pane.
voc_text() { controls | awk -F'|' '$1 == "text" && $2 < 700 && $3 >= 100' | cut -d'|' -f5-; }
has_line() { voc_text | grep -qF " / $1"; }
has_focus() { controls | grep -qx "$1|[0-9]*|[0-9]*|focused|$2"; } # ROLE TEXT
# Tries COMMAND for up to 5 s.
retry() { for _ in $(seq 25); do "$@" && return 0; sleep 0.2; done; return 1; }

entry='你好   ni3hao3 / hello; hi'
line='0 + ni3hao3 + 你好 + hello; hi + 1 + '
run_in() { # LANGUAGE SCREENSHOT
    lang=$1
    sed -i "s/^main_glang=.*/main_glang=$lang/" "$dir/tavi.ini"
    cp "$E2E_TMP/words.orig" "$words"
    rm -f "$words.bak"
    start_program
    open_editor_by_keys "$main"
    editor=$(wait_window "^$editor_title\$")
    retry has_line '5 + zai4jian4 + 再见 + goodbye + 1 + ' ||
        fail "the editor's text is not on the accessibility bus: $(voc_text) $(tail -3 "$E2E_TMP/atspi.log")"

    # From the text at its end: Font size, Check, Refresh, Cancel, OK, the search box.
    keys_to "$editor" ctrl+End Tab Tab Tab Tab Tab Tab
    wait_for "the dictionary's search box (with the focus)" "" box
    keys_to "$editor" n i h a o
    sleep 0.3
    [ "$(box)" = "" ] || fail "the letters reached the search box, not the input method: '$(box)'"
    [ "$(entries)" = "" ] || fail "the list shows entries while the input method composes: $(entries)"
    xdotool key space # the first candidate
    wait_for "the search box after Space" 你好 box
    wait_for "the dictionary's list" "$entry" entries
    wait_for "the pane's state line" "$(text edit_lookup_count | sed 's/%1/1/')" pane_state
    shot "$editor" "$shots/$2"

    keys_to "$editor" Return # the focus to the first entry
    retry has_focus 'list item' "$entry" || fail "Enter in the search box left the entry without the focus"
    keys_to "$editor" Return # inserted below the cursor's line
    retry has_line "$line" || fail "the entry was not inserted into the text: $(voc_text)"
    keys_to "$editor" shift+Tab shift+Tab shift+Tab # Traditional, the search box, OK
    retry has_focus 'push button' "$(text edit_bt_OK)" ||
        fail "OK does not have the focus: $(controls | grep '|focused|' | tr '\n' ' ')"
    xdotool key space
    for _ in $(seq 25); do xdotool search --onlyvisible --name "^$editor_title\$" >/dev/null 2>&1 || break; sleep 0.2; done
    xdotool search --onlyvisible --name "^$editor_title\$" >/dev/null 2>&1 && fail "OK left the editor open"

    local saved
    saved=$(iconv -f UTF-16 -t UTF-8 "$words" | tr '\r' '\n')
    [ "$(grep -c ' + ' <<<"$saved")" = 5 ] ||
        fail "the file has $(grep -c ' + ' <<<"$saved") lines, expected the header, 3 words and the new one"
    grep -qx "$line" <<<"$saved" || fail "the dictionary's line is not in the file: $(tr '\n' '|' <<<"$saved")"
    grep -qx '5 + ni3hao3 + 你好 + hello + 1 + ' <<<"$saved" || fail "the learner's own 你好 was lost"
    kill "$TAVI_PID"
    wait "$TAVI_PID" 2>/dev/null || true
}

run_in ENGLISH e2e_dictionary_english.png
run_in GERMAN e2e_dictionary_german.png
echo "e2e_dictionary: all checks passed"
