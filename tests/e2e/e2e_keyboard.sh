#!/usr/bin/env bash
# A learner without a mouse: the real program under X, driven by key presses only.
# Ctrl+O opens the selection window, Space browses, Enter takes the file offered,
# Space selects and Space says OK; Alt+S F opens the flashcards, and a round is
# trained with Space, Enter, Y, N and Backspace (undo); Escape closes, which saves.
# The levels in the file and the summary in tavi.ini must be what those keys said.
#   e2e_keyboard.sh APP_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
app=$1
shots=$2
mkdir -p "$shots"
x_session_start

dir=$(make_program_folder "$app")
export HOME=$E2E_TMP
words=$E2E_TMP/words.txt
printf 'CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION\r5 + ni3hao3 + 你好 + hello + 1 + \r5 + xie4xie0 + 谢谢 + thank you + 1 + \r5 + zai4jian4 + 再见 + goodbye + 1 + \r' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$words"
write_settings "$words" flash_ch_sound=0

start_program

select_words_by_keys "$main"
shot "$load" "$shots/e2e_keyboard_loadvoc.png"
keys_to "$load" space # OK, which has it now
sleep 0.5
xdotool search --onlyvisible --name "^$(text load_loadvoc)\$" >/dev/null 2>&1 && fail "the selection window stayed open"

keys_to "$main" alt+s f
flash=$(wait_window "^$(text flash_title)\$")
keys_to "$flash" space # Start
shot "$flash" "$shots/e2e_keyboard_1_started.png"
keys_to "$flash" space # Go on
shot "$flash" "$shots/e2e_keyboard_2_whole_card.png"
keys_to "$flash" y Return n # 你好 yes; 谢谢 shown, no
keys_to "$flash" BackSpace # 谢谢 again, its level back
shot "$flash" "$shots/e2e_keyboard_3_undone.png"
keys_to "$flash" Return Return space n # 谢谢 yes; 再见 no: the round ends
sleep 1.6
keys_to "$flash" space y # round 2: 再见 yes, the training is done
sleep 0.3
shot "$flash" "$shots/e2e_keyboard_4_summary.png"
keys_to "$flash" Escape
sleep 0.8
xdotool search --onlyvisible --name "^$(text flash_title)\$" >/dev/null 2>&1 && fail "Escape left the flashcards open"

levels=$(iconv -f UTF-16 -t UTF-8 "$words" | tr '\r' '\n' | awk -F' [+] ' 'NR > 1 && NF {printf "%s ", $1}')
[ "$levels" = "6 6 5 " ] || fail "levels written: '$levels', expected '6 6 5 '"
for pair in flash_last_trained=3 flash_last_firsttry=2 flash_last_up=2 flash_last_down=0; do
    grep -qx "$pair" "$dir/tavi.ini" || fail "tavi.ini lacks $pair: $(grep flash_last "$dir/tavi.ini" | tr '\n' ' ')"
done
kill "$TAVI_PID"
wait "$TAVI_PID" 2>/dev/null || true
echo "e2e_keyboard: all checks passed"
