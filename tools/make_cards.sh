#!/usr/bin/env bash
# Draws the back of the memory game's cards with ImageMagick into data/cards.jpg: a
# deep red card with a gold frame and a lattice, like the paper cut-outs of a window.
# Run by hand when the design changes; the JPEG is committed.
#   tools/make_cards.sh
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/data/cards.jpg
w=97 h=49 # the card's size on screen, in pixels
convert -size ${w}x${h} gradient:'#a31f24'-'#6e0f14' \
    -fill none -stroke '#d9a441' -strokewidth 2 -draw "roundrectangle 3,3 $((w - 4)),$((h - 4)) 5,5" \
    -stroke '#c8923a' -strokewidth 1 -draw "roundrectangle 7,7 $((w - 8)),$((h - 8)) 3,3" \
    -stroke '#e0b35a' -strokewidth 1 \
    -draw "polygon $((w / 2)),11 $((w / 2 + 14)),$((h / 2)) $((w / 2)),$((h - 12)) $((w / 2 - 14)),$((h / 2))" \
    -draw "polygon $((w / 2)),17 $((w / 2 + 8)),$((h / 2)) $((w / 2)),$((h - 18)) $((w / 2 - 8)),$((h / 2))" \
    -draw "line 12,$((h / 2)) $((w / 2 - 18)),$((h / 2))" -draw "line $((w / 2 + 18)),$((h / 2)) $((w - 13)),$((h / 2))" \
    -fill '#e0b35a' -stroke none \
    -draw "circle 14,$((h / 2)) 16,$((h / 2))" -draw "circle $((w - 15)),$((h / 2)) $((w - 13)),$((h / 2))" \
    -strip -quality 92 "$out"
