#!/bin/bash
# Draws the desktop program's pictures with ImageMagick: the five 100 x 85 editor-button icons,
# the three toolbar pictures, the logo, the program icon and the two 28 x 28 line pictures of the
# serial diagnostics window. Run it after changing a drawing; the PNGs are kept in git so that a
# build needs no ImageMagick.
set -euo pipefail
out="${1:-$(cd "$(dirname "$0")/.." && pwd)/src/resources/pictures}"
mkdir -p "$out"
font=$(fc-match -f '%{file}' 'IPAGothic')

# Channel settings: eight output channels as switch levers.
args=()
for i in 0 1 2 3 4 5 6 7; do
  x=$((10 + i * 11))
  if (( i % 3 == 0 )); then y=22; else y=48; fi
  args+=(-fill '#d8dde6' -draw "roundrectangle $x,18 $((x + 7)),70 3,3"
         -fill '#1f6fb2' -draw "roundrectangle $((x - 1)),$y $((x + 8)),$((y + 14)) 2,2")
done
convert -size 100x85 xc:none -stroke '#334' -strokewidth 1 "${args[@]}" "$out/channels.png"

# Weekly programs: a week strip with marked days.
args=(-fill white -stroke '#334' -draw "rectangle 8,14 92,72" -fill '#1f6fb2' -draw "rectangle 8,14 92,28")
for i in 0 1 2 3 4 5 6; do
  x=$((8 + i * 12))
  args+=(-fill none -draw "line $x,28 $x,72")
  if (( i == 1 || i == 3 || i == 5 )); then
    args+=(-fill '#e8a33c' -draw "circle $((x + 6)),50 $((x + 6)),45")
  fi
done
convert -size 100x85 xc:none -strokewidth 1 "${args[@]}" "$out/weekly.png"

# Annual program: twelve month blocks.
args=(-fill white -stroke '#334' -draw "rectangle 6,8 94,78")
for r in 0 1 2; do
  for c in 0 1 2 3; do
    x=$((10 + c * 21)); y=$((12 + r * 22))
    colour='#9cc3e6'
    if (( (r * 4 + c) % 5 == 0 )); then colour='#e06c5a'; fi
    args+=(-fill "$colour" -draw "rectangle $x,$y $((x + 17)),$((y + 18))")
  done
done
convert -size 100x85 xc:none -strokewidth 1 "${args[@]}" "$out/annual.png"

# Summer time: a sun above a clock hand moved forward.
convert -size 100x85 xc:none -stroke '#e08a00' -strokewidth 3 \
  -draw "line 50,4 50,14" -draw "line 50,66 50,76" -draw "line 16,40 26,40" -draw "line 74,40 84,40" \
  -draw "line 26,16 33,23" -draw "line 67,57 74,64" -draw "line 74,16 67,23" -draw "line 26,64 33,57" \
  -fill '#ffc933' -draw "circle 50,40 50,20" \
  -stroke '#334' -strokewidth 3 -draw "line 50,40 50,27" -draw "line 50,40 60,46" \
  "$out/summer.png"

# Radio: a receiver with a dial and an aerial.
convert -size 100x85 xc:none -stroke '#334' -strokewidth 2 \
  -draw "line 30,30 70,6" -fill '#5b7a99' -draw "roundrectangle 8,30 92,78 8,8" \
  -fill '#dfe7ef' -draw "circle 30,54 30,40" -fill '#f5f0d8' -draw "rectangle 52,40 84,52" \
  -fill '#334' -draw "line 60,40 60,52" \
  -fill none -stroke '#dfe7ef' -strokewidth 2 -draw "line 54,62 84,62" -draw "line 54,68 84,68" \
  "$out/radio.png"

# Toolbar: new file, open folder, save.
convert -size 24x24 xc:none -stroke '#334' -fill white \
  -draw "polygon 5,2 15,2 20,7 20,22 5,22" -fill '#d8dde6' -draw "polygon 15,2 15,7 20,7" \
  "$out/toolbar-new.png"
convert -size 24x24 xc:none -stroke '#6b4e00' -fill '#f2c94c' \
  -draw "polygon 2,6 9,6 11,8 21,8 21,20 2,20" -fill '#f7dc85' -draw "polygon 4,11 23,11 20,20 2,20" \
  "$out/toolbar-open.png"
convert -size 24x24 xc:none -stroke '#1c3d5a' -fill '#2d6ca2' -draw "rectangle 3,3 20,20" \
  -fill white -draw "rectangle 6,3 17,10" -fill '#cfd8e3' -draw "rectangle 7,14 16,20" \
  "$out/toolbar-save.png"

# The logo in the strip right of the toolbar buttons.
convert -size 180x30 xc:none -fill '#1f4e79' -draw "roundrectangle 0,0 179,29 6,6" \
  -font "$font" -pointsize 18 -fill white -gravity center -annotate +0+0 "Tavrin  VL-3400" \
  "$out/logo.png"

# The program icon: a clock face on a rounded square, drawn at each size the desktop's icon theme
# takes (hicolor), the 48-pixel one also for the window.
# icon SIZE FILE: the drawing of the 48-pixel original scaled to SIZE.
icon() {
  local n=$1 f
  f() { echo $(( ($1 * n + 24) / 48 )); }
  convert -size "${n}x${n}" xc:none -fill '#1f4e79' \
    -draw "roundrectangle $(f 1),$(f 1) $(f 46),$(f 46) $(f 8),$(f 8)" \
    -fill white -draw "circle $(f 24),$(f 24) $(f 24),$(f 9)" -stroke '#1f4e79' \
    -strokewidth "$(( (3 * n + 24) / 48 > 0 ? (3 * n + 24) / 48 : 1 ))" \
    -draw "line $(f 24),$(f 24) $(f 24),$(f 13)" -draw "line $(f 24),$(f 24) $(f 32),$(f 28)" "$2"
}
icon 48 "$out/tavrin.png"
hicolor="$out/../desktop/icons"
for n in 16 24 32 48 64 128 256; do
  mkdir -p "$hicolor/${n}x${n}"
  icon "$n" "$hicolor/${n}x${n}/jp.korva.Tavrin.png"
done

# Serial line pictures: closed contacts on cyan (port open), open contacts on yellow (closed).
convert -size 28x28 xc:cyan -stroke black -strokewidth 2 \
  -draw "line 2,14 10,14" -draw "line 18,14 26,14" -draw "line 10,14 18,14" \
  -fill black -draw "circle 10,14 10,12" -draw "circle 18,14 18,12" "$out/line-open.png"
convert -size 28x28 xc:yellow -stroke black -strokewidth 2 \
  -draw "line 2,14 10,14" -draw "line 18,14 26,14" -draw "line 10,14 17,7" \
  -fill black -draw "circle 10,14 10,12" -draw "circle 18,14 18,12" "$out/line-closed.png"

echo "pictures written to $out"
