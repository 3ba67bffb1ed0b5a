#!/bin/bash
# Writes one PNG showing every skin bitmap enlarged 4x (nearest neighbour),
# labelled with its resource name and grouped by style, for looking over the
# artwork. Usage:
#   contact_sheet.sh <bitmaps.txt> <folder of NAME.bmp> <output.png>
# The MinGW build runs it as: cmake --build build/win --target contact_sheet
# (the sheets are then build/win/artwork/skin-contact-sheet.png for 100 per
# cent and skin-contact-sheet-PERCENT.png for each larger picture set).
set -euo pipefail

manifest=$1
bitmaps=$2
output=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

font=DejaVu-Sans
names=$(grep -v '^[[:space:]]*#' "$manifest" | awk 'NF { print $1 }')

sections=()
for style in MACOS WINXP DEEPBLUE PROTEIN BLUEGLASS OTHER; do
    tiles=()
    for name in $names; do
        case $style in
            OTHER) [[ $name =~ ^(MACOS|WINXP|DEEPBLUE|PROTEIN|BLUEGLASS)_ ]] && continue ;;
            *) [[ $name == ${style}_* ]] || continue ;;
        esac
        tile=$work/$style-${#tiles[@]}.png
        convert "$bitmaps/$name.bmp" -filter point -resize 400% \
            -background '#C0C0C8' -gravity center \
            \( -size x18 -font "$font" -pointsize 12 label:"$name" \) -append "$tile"
        tiles+=("$tile")
    done
    [ ${#tiles[@]} -eq 0 ] && continue
    section=$work/section-$style.png
    montage "${tiles[@]}" -background '#C0C0C8' -geometry +8+8 -tile 3x -mode concatenate "$section.body.png"
    convert \( -size x30 -font "$font" -pointsize 20 -background '#30303A' -fill white label:" $style " \) \
        "$section.body.png" -background '#C0C0C8' -gravity west -append "$section"
    sections+=("$section")
done
convert "${sections[@]}" -background "#C0C0C8" -gravity west -append +repage "$output"
echo "contact sheet: $output"
