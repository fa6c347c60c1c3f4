#!/usr/bin/env bash
# Generates the default pinyin sound pack: one WAV file per standard Mandarin syllable
# and tone, spoken by espeak-ng's pinyin voice, trimmed of silence, plus wait.wav.
#   tools/make_sound_pack.sh OUT_DIR
#
# File names are the syllable in lower case followed by the tone digit, 1 to 4 and 0
# for the neutral tone: ni3.wav, ma0.wav. A syllable with ü is written twice, with ü
# (lü4.wav, nüe4.wav) and with v (lv4.wav, nve4.wav), the two ways vocabulary files
# type it; lüe and nüe also as lue and nue, which no other syllable spells that way.
# All files are 22050 Hz, mono, 16 bit. The folder's .pack-stamp is written last, so
# an interrupted run is done again by the next build.
set -euo pipefail

out=${1:?usage: make_sound_pack.sh OUT_DIR}
for tool in espeak-ng sox xargs; do
    command -v "$tool" >/dev/null || { echo "make_sound_pack.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
espeak-ng --voices=cmn | grep -q 'cmn-latn-pinyin' ||
    { echo "make_sound_pack.sh: espeak-ng has no voice cmn-latn-pinyin" >&2; exit 1; }

# The standard syllable inventory, ü written as v (one list for the pack and the
# vocabulary check).
mapfile -t syllables < <(grep -v '^#' "$(dirname "$0")/../data/syllables.txt" | tr ' ' '\n' | grep .)

mkdir -p "$out"
work=$(mktemp -d "$out/.generating.XXXXXX")
trap 'rm -rf "$work"' EXIT

# espeak-ng's pinyin voice reads the neutral tone as 5.
for s in "${syllables[@]}"; do
    for tone in 0 1 2 3 4; do
        printf '%s%s %s%s\n' "$s" "$tone" "$s" "$([ "$tone" = 0 ] && echo 5 || echo "$tone")"
    done
done >"$work/jobs"

# One shell per batch keeps the process count down; two batches run at a time.
speak_batch='
    dir=$1; shift
    while [ $# -ge 2 ]; do
        espeak-ng -v cmn-latn-pinyin --stdout "$2" |
            sox -q -t wav - -r 22050 -c 1 -b 16 -e signed-integer "$dir/$1.wav" \
                silence 1 0.005 0.1% reverse silence 1 0.005 0.1% reverse
        [ -s "$dir/$1.wav" ] || { echo "make_sound_pack.sh: no sound for $1" >&2; exit 1; }
        shift 2
    done'
xargs -P2 -n 100 bash -c "$speak_batch" speak "$work" <"$work/jobs"

for f in "$work"/nv* "$work"/lv*; do
    base=$(basename "$f")
    cp "$f" "$work/${base/v/ü}"
    case $base in nve* | lve*) cp "$f" "$work/${base/v/u}" ;; esac
done

sox -n -r 22050 -c 1 -b 16 -e signed-integer "$work/wait.wav" trim 0 0.3

rm "$work/jobs"
mv -f "$work"/*.wav "$out"/
touch "$out/.pack-stamp"
echo "make_sound_pack.sh: $(find "$out" -name '*.wav' | wc -l) sound files in $out"
