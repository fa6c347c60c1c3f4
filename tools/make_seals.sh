#!/usr/bin/env bash
# Draws the red seals of the main and about windows with ImageMagick into
# data/pictures/. Run by hand when a seal changes; the PNGs are committed, so that the
# program shows them without rendering Chinese glyphs at start-up.
#   tools/make_seals.sh
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/data/pictures
font=AR-PL-UMing-CN # fonts-arphic-uming
mkdir -p "$out"

seal() { # NAME SIZE CHARACTERS
    local name=$1 size=$2 chars=$3
    local r=$((size - 2)) i=$((size / 10)) j=$((size - size / 10 - 1))
    local args=(-size "${size}x${size}" xc:none
        -fill '#b22222' -draw "roundrectangle 1,1 $r,$r $((size / 12)),$((size / 12))"
        -fill none -stroke '#fff0eb' -strokewidth $((size / 28 + 1))
        -draw "roundrectangle $i,$i $j,$j $((size / 24)),$((size / 24))"
        -font "$font" -fill '#fff8f0' -stroke '#fff8f0' -strokewidth 1 -gravity center)
    if [ "${#chars}" -eq 1 ]; then
        args+=(-pointsize $((size * 53 / 100)) -annotate +0+1 "$chars")
    else
        # Two characters read top to bottom, as on a real seal.
        args+=(-pointsize $((size * 29 / 100)) -annotate +0-$((size * 17 / 100)) "${chars:0:1}"
            -annotate +0+$((size * 17 / 100)) "${chars:1:1}")
    fi
    convert "${args[@]}" -strip "PNG32:$out/$name.png"
}

seal seal_xue 64 学
seal seal_zhongwen 64 中文
seal seal_nihao 72 你好
seal seal_xuexi 72 学习
