#!/usr/bin/env bash
# Turns the display test's back-buffer dumps (NAME_WxH_BWxBH.bgra, the fourth byte unused) into PNGs of the window's size
# with ffmpeg, for a person to look at, and checks that every group at both sizes is there.
set -euo pipefail
dir=$1
shopt -s nullglob
count=0
for f in "$dir"/*.bgra; do
  base=$(basename "$f" .bgra)
  back=${base##*_}
  rest=${base%_*}
  window=${rest##*_}
  ffmpeg -v error -y -f rawvideo -pix_fmt bgr0 -s "$back" -i "$f" -vf "scale=${window/x/:}:flags=area" \
    -frames:v 1 "$dir/$rest.png"
  size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0:s=x "$dir/$rest.png")
  [ "$size" = "$window" ] || { echo "$rest.png is $size, not $window"; exit 1; }
  rm -f "$f" # the raw dump is five times the PNG
  count=$((count + 1))
done
pictures=("$dir"/*.png)
[ "${#pictures[@]}" -eq 20 ] || { echo "expected 20 pictures, found ${#pictures[@]}"; exit 1; }
echo "$count converted, ${#pictures[@]} pictures in $dir"
