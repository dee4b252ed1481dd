#!/usr/bin/env bash
# The desktop icons as the build drew them: each a PNG of exactly its size, not a flat
# or dark square (the lettering stands out from the night), and every size the same
# picture (the largest, shrunk, looks like each smaller one).
# Usage: icons_test.sh ICON_DIR
set -u
DIR=$1
fail() { echo "FAIL: $*"; exit 1; }
command -v identify >/dev/null || { echo "SKIP: ImageMagick is not installed"; exit 77; }

for size in 48 128 256; do
  difference=0
  icon=$DIR/akari-$size.png
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] ||
    fail "$icon is not a ${size}x$size PNG"
  spread=$(identify -format '%[fx:standard_deviation]' "$icon")
  awk "BEGIN { exit !($spread > 0.08) }" || fail "$icon is nearly flat (deviation $spread)"
  # The share of light pixels: the cream lettering and the moon, neither missing nor
  # swamping the picture.
  light=$(convert "$icon" -colorspace Gray -threshold 70% -format '%[fx:mean]' info:)
  awk "BEGIN { exit !($light > 0.03 && $light < 0.3) }" || fail "$icon: light share $light"
  if [ "$size" != 256 ]; then
    difference=$(convert "$DIR/akari-256.png" -resize "${size}x$size" "$icon" -metric RMSE \
      -compare -format '%[distortion]' info:)
    awk "BEGIN { exit !($difference < 0.12) }" ||
      fail "$icon is not the 256-pixel icon made small (RMSE $difference)"
  fi
  echo "ok: $icon, deviation $spread, light share $light, RMSE to the largest $difference"
done
