#!/usr/bin/env bash
# Renders the program's icon (data/desktop/org.tavitrainer.Tavi.svg) into the PNG sizes
# of the hicolor theme with ImageMagick. Run by hand when the icon changes; the PNGs are
# committed.
#   tools/make_icon.sh
set -euo pipefail
dir=$(cd "$(dirname "$0")/.." && pwd)/data/desktop
for size in 48 64 128 256; do
    convert -background none -density $((96 * size / 256 + 1)) "$dir/org.tavitrainer.Tavi.svg" \
        -resize "${size}x${size}" -strip "PNG32:$dir/icons/org.tavitrainer.Tavi-$size.png"
done
