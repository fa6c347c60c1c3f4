#!/usr/bin/env bash
# The installed program: `cmake --install` into a fresh prefix, the desktop entry and the
# AppStream metadata valid, and the installed program started under X with a fresh HOME.
# Its first start creates ~/.local/share/tavi with the user's own files, writes nothing
# below the prefix, loads the sample vocabulary from there and speaks from the shared
# sound folder.
#   e2e_installed.sh BUILD_DIR SCREENSHOT_DIR
source "$(dirname "$0")/x_session.sh"
build=$1
shots=$2
mkdir -p "$shots"
prefix=$E2E_TMP/prefix
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" || fail "install failed: $(tail -3 "$E2E_TMP/install.log")"
id=org.tavitrainer.Tavi
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$E2E_TMP/appstream.log" ||
    fail "the AppStream metadata is not valid: $(cat "$E2E_TMP/appstream.log")"
for f in "bin/tavi" "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png" \
    "share/tavi/language.ini" "share/tavi/chars.dat" "share/tavi/sound/ni3.wav"; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
[ -z "$(find "$prefix" -name 'tst_*' -o -name '*_bench')" ] || fail "tests or benchmarks were installed"
"$prefix/bin/tavi" --version | grep -q '^tavi [0-9]' || fail "--version"
listing() { find "$prefix" -printf '%P %s %T@\n' | sort; }
listing >"$E2E_TMP/before"

x_session_start
mkdir -p "$E2E_TMP/home" "$E2E_TMP/xdg-data"
printf '#!/bin/sh\necho "$1" >> "%s/opened"\n' "$E2E_TMP" >"$E2E_TMP/browser"
chmod +x "$E2E_TMP/browser"
export HOME=$E2E_TMP/home XDG_DATA_DIRS=$E2E_TMP/xdg-data BROWSER=$E2E_TMP/browser
unset XDG_DATA_HOME XDG_CURRENT_DESKTOP DESKTOP_SESSION
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$E2E_TMP/heard.raw
dir=$HOME/.local/share/tavi # the program folder, for text() and the checks

"$prefix/bin/tavi" >"$E2E_TMP/tavi.log" 2>&1 &
TAVI_PID=$!
E2E_PIDS+=("$TAVI_PID")
welcome=$(wait_window '^Ni hao !$')
keys_to "$welcome" Return
main=$(wait_window "^$(text main_txt_title)\$")
grep -qx 'main_lang2=2138' "$dir/tavi.ini" || fail "no settings in the user's folder"
[ -s "$dir/my_vocabulary/pcr1-10u.txt" ] || fail "the sample vocabulary was not copied"
[ ! -e "$dir/sound" ] && [ ! -e "$dir/chars.dat" ] || fail "shared files were copied"

keys_to "$main" alt+s Up Return
speak=$(wait_window '^Speak Pinyin$')
keys_to "$speak" Return
sleep 3
nonzero=$(od -An -v -td2 -w2 "$SDL_DISKAUDIOFILE" 2>/dev/null | awk '$1 != 0 {n++} END {print n + 0}')
((nonzero > 22050)) || fail "the shared sound folder was not heard ($nonzero samples)"
keys_to "$speak" Escape
select_words_by_keys "$main"
keys_to "$load" space # OK
sleep 0.5
grep -qx "load_vocfilewpath=$dir/my_vocabulary/pcr1-10u.txt" "$dir/tavi.ini" ||
    fail "the sample vocabulary was not loaded: $(grep load_vocfilewpath "$dir/tavi.ini")"
shot "$main" "$shots/e2e_installed_main.png"
keys_to "$main" alt+f Up Return
for i in $(seq 100); do kill -0 "$TAVI_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$TAVI_PID" 2>/dev/null && fail "the exit command did not end the program"

listing >"$E2E_TMP/after"
diff "$E2E_TMP/before" "$E2E_TMP/after" >&2 || fail "the program wrote below its prefix"
echo "e2e_installed: all checks passed"
