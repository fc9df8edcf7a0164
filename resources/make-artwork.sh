#!/usr/bin/env bash
# Draws every picture of the program with ImageMagick into resources/art/:
# the skin, the button bitmaps in their states, the four message icons and
# the program icon. The results are committed; run this again after a change.
#
# Sizes and colour depths: SCAN and DOWNLOAD 180x33 (8 bits, their disabled
# pictures 4 bits), OK, CANCEL, YES and NO 92x24 and X 21x21 (8 bits), DLINK
# 350x43, ULINK 350x28, QUENLORLOGO 100x36 and the message icons 42x40
# (24 bits), the skin 527x338 (8 bits, magenta outside its outline). The
# greys 128, 192 and 223 are never used: the program loads bitmaps with
# LR_LOADMAP3DCOLORS, which would repaint them in the system's 3-D colours.
set -euo pipefail

convert=${CONVERT:-/usr/bin/convert}
out=$(cd "$(dirname "$0")" && pwd)/art
mkdir -p "$out"
font=DejaVu-Sans-Bold

# Colours of the skin; buttons paint their corners in what lies under them.
band='#123F96'
body='#FFFFFF'
footer='#DCEAFB'
outline='#0B2A66'
message_blue='#CFE9FE'

# Writes the picture made by the convert arguments with the given depth:
# 8 or 4 (palette) or 24 (true colour), as a plain Windows BMP.
write_bmp() {
  local depth=$1 target=$2
  shift 2
  case $depth in
    8) "$convert" "$@" -dither None -colors 255 -type Palette -compress None "BMP3:$out/$target" ;;
    4) "$convert" "$@" -dither None -colors 16 -type Palette -compress None "BMP3:$out/$target" ;;
    24) "$convert" "$@" -type TrueColor -compress None "BMP3:$out/$target" ;;
  esac
}

# A rounded button: file, depth, size, colour under its corners, face
# gradient (top, bottom), border, ink, point size, text.
button() {
  local target=$1 depth=$2 size=$3 under=$4 top=$5 bottom=$6 border=$7 ink=$8 points=$9 text=${10}
  local w=${size%x*} h=${size#*x} r=$(( ${size#*x} / 4 ))
  write_bmp "$depth" "$target" -size "$size" "xc:$under" \
    \( -size "$size" "gradient:$top-$bottom" \) \
    \( -size "$size" xc:black -fill white -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \) \
    -composite \
    -fill none -stroke "$border" -strokewidth 1 -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \
    -stroke none -fill "$ink" -font "$font" -pointsize "$points" -gravity center -annotate +0+0 "$text"
}

# The two states every button has: normal (blue) and highlighted (orange).
two_states() {
  local name=$1 size=$2 under=$3 points=$4 text=$5
  button "${name}_notfocus.bmp" 8 "$size" "$under" '#3B7DE0' '#174A9E' "$outline" white "$points" "$text"
  button "${name}_focus.bmp" 8 "$size" "$under" '#FFB347' '#E8730C' '#8A3F00' white "$points" "$text"
}

two_states scan 180x33 "$body" 18 SCAN
button scan_disable.bmp 4 180x33 "$body" '#E6E4E0' '#AAA8A4' '#76746F' '#FAF8F4' 18 SCAN
two_states download 180x33 "$body" 16 DOWNLOAD
button download_disable.bmp 4 180x33 "$body" '#E6E4E0' '#AAA8A4' '#76746F' '#FAF8F4' 16 DOWNLOAD
for name in ok cancel; do
  two_states "$name" 92x24 "$footer" 12 "${name^^}"
done
for name in yes no; do
  two_states "$name" 92x24 "$message_blue" 12 "${name^^}"
done
two_states x 21x21 "$band" 11 x

# Text links and the maker's logo, in true colour.
link() {
  local target=$1 size=$2 ink=$3 line1=$4 line2=$5
  write_bmp 24 "$target" -size "$size" "xc:$footer" -fill "$ink" -font "$font" \
    -pointsize 13 -gravity north -annotate +0+3 "$line1" \
    -font DejaVu-Sans -pointsize 11 -gravity south -annotate +0+3 "$line2"
}
link dlink_notfocus.bmp 350x43 "$band" "Kavrel antivirus: full protection" "www.example.com/kavrel"
link dlink_focus.bmp 350x43 '#E8730C' "Kavrel antivirus: full protection" "www.example.com/kavrel"
one_line_link() {
  local target=$1 ink=$2
  write_bmp 24 "$target" -size 350x28 "xc:$footer" -fill "$ink" -font "$font" -pointsize 12 \
    -gravity center -annotate +0+0 "More removal tools at www.example.com"
}
one_line_link ulink_notfocus.bmp "$band"
one_line_link ulink_focus.bmp '#E8730C'
logo() {
  local target=$1 mark=$2
  write_bmp 24 "$target" -size 100x36 "xc:$footer" \
    -fill "$mark" -draw "circle 17,18 17,4" -fill white -font "$font" -pointsize 16 -gravity west -annotate +10+0 Q \
    -fill "$band" -pointsize 14 -annotate +32+0 uenlor
}
logo quenlorlogo_notfocus.bmp '#2F72D8'
logo quenlorlogo_focus.bmp '#E8730C'

# The message dialog's icons: information, question, exclamation, stop.
icon() {
  local target=$1 shape=$2 fill=$3 mark=$4
  write_bmp 24 "$target" -size 42x40 "xc:$message_blue" -fill "$fill" -stroke '#1A1A1A' -strokewidth 1 \
    -draw "$shape" -stroke none -fill white -font "$font" -pointsize 24 -gravity center -annotate +0+1 "$mark"
}
icon icon_information.bmp "circle 21,20 21,2" '#2F72D8' i
icon icon_question.bmp "circle 21,20 21,2" '#2E9E4F' '?'
icon icon_exclamation.bmp "polygon 21,1 40,38 2,38" '#F2B705' '!'
icon icon_stop.bmp "polygon 13,2 29,2 40,13 40,27 29,38 13,38 2,27 2,13" '#D6262B' x

# The skin: a rounded panel with a notched header band and a footer, magenta
# everywhere outside. The controls of the main dialog land on it: the header
# holds the close box, the white body the subtitle, buttons, texts and
# report, the footer the links, OK, CANCEL and the logo.
write_bmp 8 skin.bmp -size 527x338 xc:magenta +antialias \
  -fill "$body" -stroke "$outline" -strokewidth 3 -draw "roundrectangle 1,1 525,336 18,18" \
  -stroke none -fill "$band" -draw "roundrectangle 3,3 523,34 16,16" -draw "rectangle 3,20 523,34" \
  -fill "$footer" -draw "roundrectangle 3,276 523,334 16,16" -draw "rectangle 3,276 523,290" \
  -fill "$outline" -draw "rectangle 3,274 523,275" \
  -antialias -fill white -font "$font" -pointsize 16 -gravity northwest -annotate +16+8 "Brisko" \
  -fill '#BFD4F5' -font DejaVu-Sans -pointsize 11 -annotate +84+13 "removal tool" \
  -fill magenta -draw "polygon 200,0 326,0 316,6 210,6" \
  -fill magenta -draw "polygon 190,338 336,338 326,332 200,332"

# The program icon at 48, 32 and 16 pixels.
"$convert" \
  \( -size 48x48 xc:none -fill "$band" -draw "roundrectangle 0,0 47,47 9,9" \
     -fill '#FFB347' -draw "circle 24,24 24,8" -fill white -font "$font" -pointsize 26 -gravity center -annotate +0+1 B \) \
  \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) "$out/brisko.ico"
