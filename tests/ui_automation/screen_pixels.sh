# Pixel checks of screenshots, with ImageMagick. Sourced by run-ui-tests.sh
# and check-demo-picture.sh; each check prints one ok/FAIL line and returns
# 1 when it fails.

# Every pixel of an image as "x,y #RRGGBB", one a line.
pixels_of() {  # pixels_of IMAGE [CROP]
  convert "$1" ${2:+-crop "$2" +repage} -alpha off -depth 8 txt:- |
    awk 'NR > 1 { sub(":", "", $1); print $1, substr($3, 1, 7) }'
}

# The window at LEFT,TOP shows the skin where the skin has its shape and the
# desktop (black) where the shape leaves it out, along a band of three
# pixels at each edge, where no control lies; and no pixel of the key colour
# anywhere in the skin's rectangle.
check_window_shows_skin() {  # SHOT LEFT TOP SKIN
  local size found
  size=$(identify -format '%wx%h' "$4")
  found=$(awk -v w="${size%x*}" -v h="${size#*x}" '
    NR == FNR { expected[$1] = $2; next }
    {
      split($1, xy, ",")
      x = xy[1]; y = xy[2]
      if ($2 == "#FF00FF") { magenta++; next }
      if (x > 2 && y > 2 && x < w - 3 && y < h - 3) next
      want = expected[$1] == "#FF00FF" ? "#000000" : expected[$1]
      if ($2 != want) { wrong++; if (!first) first = $1 " shows " $2 " for " want }
    }
    END { printf "%d magenta, %d edge pixels wrong%s", magenta, wrong, first ? " (first " first ")" : "" }
  ' <(pixels_of "$4") <(pixels_of "$1" "${size}+$2+$3"))
  if [[ $found == "0 magenta, 0 edge pixels wrong" ]]; then
    echo "ok   $(basename "$1"): the window shows the skin in its shape ($found)"
  else
    echo "FAIL $(basename "$1"): the window shows the skin in its shape ($found)"
    return 1
  fi
}

# The picture stands whole, pixel for pixel, at LEFT,TOP of the screenshot.
check_picture_shown() {  # SHOT LEFT TOP PICTURE WHAT
  local size differing
  size=$(identify -format '%wx%h' "$4")
  differing=$(diff <(pixels_of "$1" "${size}+$2+$3") <(pixels_of "$4") | grep -c '^<' || true)
  if [[ $differing == 0 ]]; then
    echo "ok   $(basename "$1"): $5 is shown whole"
  else
    echo "FAIL $(basename "$1"): $5 is shown whole ($differing of its pixels differ)"
    return 1
  fi
}

# The screen's colour at X,Y of the shot.
pixel_at() {  # pixel_at SHOT X Y
  pixels_of "$1" "1x1+$2+$3" | awk '{ print $2 }'
}

# The shot shows WANT at X,Y.
check_pixel() {  # SHOT X Y WANT WHAT
  local seen
  seen=$(pixel_at "$1" "$2" "$3")
  if [[ $seen == "$4" ]]; then
    echo "ok   $(basename "$1"): $5 shows $4"
  else
    echo "FAIL $(basename "$1"): $5 shows $seen for $4"
    return 1
  fi
}

# No pixel of the key colour anywhere in the window's rectangle.
check_no_key_colour() {  # SHOT LEFT TOP RIGHT BOTTOM
  local found
  found=$(pixels_of "$1" "$(($4 - $2))x$(($5 - $3))+$2+$3" | grep -c ' #FF00FF$' || true)
  if [[ $found == 0 ]]; then
    echo "ok   $(basename "$1"): no key-colour pixel in the window"
  else
    echo "FAIL $(basename "$1"): no key-colour pixel in the window ($found found)"
    return 1
  fi
}

# Each named point (NAME=X,Y, in the picture's own coordinates) shows on the
# screen, with the picture's top-left corner at LEFT,TOP, the colour the
# picture has there.
check_points_of() {  # SHOT LEFT TOP PICTURE WHAT NAME=X,Y...
  local shot=$1 left=$2 top=$3 picture=$4 what=$5 point name x y failed=0
  shift 5
  for point in "$@"; do
    name=${point%%=*}
    x=${point#*=}; y=${x#*,}; x=${x%,*}
    check_pixel "$shot" $((left + x)) $((top + y)) "$(pixel_at "$picture" "$x" "$y")" "$what, $name," || failed=1
  done
  return "$failed"
}

# The outline of the window follows the skin: its corners and the notches
# of its top and bottom edges, key colour in the skin, show the desktop
# (black); the skin's own pixels beside them, on the same edges, show the
# skin. Every point is found in the skin itself.
check_shape() {  # SHOT LEFT TOP SKIN
  local shot=$1 left=$2 top=$3 skin=$4 failed=0 size w h name x y inside want place
  size=$(identify -format '%wx%h' "$skin")
  w=${size%x*}; h=${size#*x}
  # name x y: the corners, the middle of each key-colour run that lies
  # between skin on the top and bottom rows (the notches), and the middle
  # of each run of skin on those rows and on the left and right columns.
  while read -r name x y inside; do
    if [[ $inside == 1 ]]; then
      want=$(pixel_at "$skin" "$x" "$y") place=inside
    else
      want='#000000' place=outside
    fi
    check_pixel "$shot" $((left + x)) $((top + y)) "$want" "the shape's $name at $x,$y, $place the window," ||
      failed=1
  done < <(pixels_of "$skin" | awk -v w="$w" -v h="$h" '
    { split($1, xy, ","); x = xy[1]; y = xy[2]; key[x, y] = ($2 == "#FF00FF") }
    function runs(row, horizontal, count,   i, start, kind, mid) {
      start = 0
      for (i = 1; i <= count; i++) {
        if (i < count && (horizontal ? key[i, row] == key[start, row] : key[row, i] == key[row, start])) continue
        kind = horizontal ? key[start, row] : key[row, start]
        mid = int((start + i - 1) / 2)
        if (!kind) {
          if (horizontal) print "edge", mid, row, 1; else print "edge", row, mid, 1
        } else if (start > 0 && i < count) {
          if (horizontal) print "notch", mid, row, 0; else print "notch", row, mid, 0
        }
        start = i
      }
    }
    END {
      print "top-left-corner", 0, 0, !key[0, 0]
      print "top-right-corner", w - 1, 0, !key[w - 1, 0]
      print "bottom-left-corner", 0, h - 1, !key[0, h - 1]
      print "bottom-right-corner", w - 1, h - 1, !key[w - 1, h - 1]
      runs(0, 1, w); runs(h - 1, 1, w); runs(0, 0, h); runs(w - 1, 0, h)
    }')
  return "$failed"
}

# The subtitle label: its text on character cells of CELL_COLOUR, centred
# across the label and starting at its top, with letters of LETTER_COLOUR
# on them; around the cells the label leaves the skin as it is.
check_subtitle_cells() {  # SHOT LEFT TOP RIGHT BOTTOM SKIN SKIN_LEFT SKIN_TOP CELL_COLOUR LETTER_COLOUR
  local found
  found=$(awk -v cell="$9" -v letter="${10}" -v w="$(($4 - $2))" '
    NR == FNR { skin[$1] = $2; next }
    {
      split($1, xy, ","); x = xy[1]; y = xy[2]; colour[x, y] = $2; at[x, y] = $1
      if ($2 == cell) {
        cells++
        if (!seen || x < left) left = x; if (!seen || x > right) right = x
        if (!seen || y < top) top = y; if (!seen || y > bottom) bottom = y
        seen = 1
      }
    }
    END {
      if (!cells) { print "no cell of the colour"; exit }
      for (key in colour) {
        split(key, xy, SUBSEP); x = xy[1]; y = xy[2]
        inside = x >= left && x <= right && y >= top && y <= bottom
        if (inside && colour[key] == letter) letters++
        if (!inside && colour[key] != skin[at[key]]) { wrong++; if (!first) first = at[key] " " colour[key] }
      }
      margin = (w - 1 - right) - left
      printf "cells from %d to %d, %d at the top; %d letter pixels; %d pixels around them unlike the skin%s", \
        left, right, top, letters, wrong, first ? " (first " first ")" : ""
      if (top != 0 || margin < -2 || margin > 2 || letters == 0 || wrong) print " WRONG"
    }
  ' <(pixels_of "$6" "$(($4 - $2))x$(($5 - $3))+$(($2 - $7))+$(($3 - $8))") \
    <(pixels_of "$1" "$(($4 - $2))x$(($5 - $3))+$2+$3"))
  if [[ $found != *WRONG* && $found != "no cell"* ]]; then
    echo "ok   $(basename "$1"): the subtitle's cells ($found)"
  else
    echo "FAIL $(basename "$1"): the subtitle's cells ($found)"
    return 1
  fi
}

# Each screen point X,Y shows the colour the picture has at PX,PY.
check_colour_of() {  # SHOT PICTURE PX PY WHAT X,Y...
  local shot=$1 want what=$5 point failed=0
  want=$(pixel_at "$2" "$3" "$4")
  shift 5
  for point in "$@"; do
    check_pixel "$shot" "${point%,*}" "${point#*,}" "$want" "$what at $point" || failed=1
  done
  return "$failed"
}

# No row and no column of the image is wholly the desktop's black: it holds
# no band of empty screen.
check_no_empty_band() {  # SHOT
  local found
  found=$(pixels_of "$1" | awk '
    { split($1, xy, ","); shown = $2 != "#000000"; column[xy[1]] += shown; row[xy[2]] += shown }
    END {
      for (x in column) if (!column[x]) columns++
      for (y in row) if (!row[y]) rows++
      printf "%d empty rows, %d empty columns", rows, columns
    }')
  if [[ $found == "0 empty rows, 0 empty columns" ]]; then
    echo "ok   $(basename "$1"): no band of empty screen ($found)"
  else
    echo "FAIL $(basename "$1"): no band of empty screen ($found)"
    return 1
  fi
}
