#!/bin/bash
# Draws the desktop program's pictures with ImageMagick: the five 100 x 85 editor-button icons,
# the three toolbar pictures, the logo, the program icon, the two 28 x 28 line pictures of the
# serial diagnostics window and the four 16 x 16 pictures of the station tree. Run it after
# changing a drawing; the PNGs are kept in git so that a build needs no ImageMagick.
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

# Station tree, 16 x 16: a closed folder for regions and prefectures, open while selected; a
# transmitter mast for a station, sending while selected.
convert -size 16x16 xc:none -stroke '#8a6a10' -strokewidth 1 -fill '#f2c94c' \
  -draw "polygon 1,3 6,3 7,5 14,5 14,13 1,13" "$out/tree-group.png"
convert -size 16x16 xc:none -stroke '#8a6a10' -strokewidth 1 -fill '#f2c94c' \
  -draw "polygon 1,3 6,3 7,5 13,5 13,7 1,7" -fill '#f7dc85' \
  -draw "polygon 3,7 15,7 13,13 1,13" "$out/tree-group-selected.png"
convert -size 16x16 xc:none -stroke '#4a5566' -strokewidth 1 \
  -draw "line 8,4 4,14" -draw "line 8,4 12,14" -draw "line 5,11 11,11" -draw "line 6,8 10,8" \
  -fill '#4a5566' -draw "circle 8,3 8,2" "$out/tree-station.png"
convert -size 16x16 xc:none -stroke '#1f4e79' -strokewidth 1 \
  -draw "line 8,4 4,14" -draw "line 8,4 12,14" -draw "line 5,11 11,11" -draw "line 6,8 10,8" \
  -fill '#d62d20' -stroke '#d62d20' -draw "circle 8,3 8,1" -fill none \
  -draw "arc 2,0 6,6 120,240" -draw "arc 10,0 14,6 -60,60" "$out/tree-station-selected.png"

# Keep-form pictures, 40 x 16, one per place in an ON/OFF pair, blue for even pairs and magenta
# for odd ones. The bar runs at the same height in every picture and reaches the edges it
# continues across, so that the cells of one pair read as one line from ON to OFF.
mkdir -p "$out/keep"
keep() {  # name, colour, draw commands...
  local name=$1 colour=$2
  shift 2
  local args=()
  for shape in "$@"; do args+=(-draw "$shape"); done
  convert -size 40x16 xc:none -fill "$colour" -stroke none "${args[@]}" "$out/keep/$name.png"
}
head_left_edge="polygon 0,8 8,1 8,15"
head_left_mid="polygon 19,8 27,1 27,15"
head_right_mid="polygon 27,8 19,1 19,15"
head_right_edge="polygon 39,8 31,1 31,15"
for pair in "0000FF 155 184 163 186 164 168 206 204" "FF00FF 165 185 166 187 167 169 207 205"; do
  set -- $pair
  colour="#$1"
  keep "$2" "$colour" "$head_left_edge" "rectangle 8,6 39,9"              # ON before :30
  keep "$3" "$colour" "$head_left_mid" "rectangle 27,6 39,9"              # ON at :30 or later
  keep "$4" "$colour" "rectangle 0,6 39,9"                                 # between ON and OFF
  keep "$5" "$colour" "rectangle 0,6 19,9" "$head_right_mid"              # OFF at :30 or earlier
  keep "$6" "$colour" "rectangle 0,6 31,9" "$head_right_edge"             # OFF after :30
  keep "$7" "$colour" "$head_left_edge" "rectangle 8,6 31,9" "$head_right_edge"  # both in the hour
  keep "$8" "$colour" "$head_right_mid"                                   # OFF alone, early
  keep "$9" "$colour" "$head_right_edge"                                  # OFF alone, late
done

# Eight bits a channel, which is all a screen shows: ImageMagick writes sixteen, and a picture of
# sixteen takes the program twice as long to read while its main window comes up.
for picture in "$out"/*.png "$out"/keep/*.png "$hicolor"/*/jp.korva.Tavrin.png; do
  mogrify -depth 8 "$picture"
done

echo "pictures written to $out"
