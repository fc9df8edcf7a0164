# Pixel checks of screenshots, with ImageMagick. Sourced by run-ui-tests.sh;
# each check prints one ok/FAIL line and returns 1 when it fails.

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
