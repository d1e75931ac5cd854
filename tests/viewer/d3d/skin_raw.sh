#!/usr/bin/env bash
# Decodes skin images with ffmpeg into raw BGRA (Direct3D's A8R8G8B8 byte order) for the Wine test
# that compares them with what GDI+ put into the textures. Usage: skin_raw.sh SKIN_DIR OUT_DIR
set -euo pipefail
skin=$1
out=$2
mkdir -p "$out"
for f in controls_back.png buttons/volume_up.png epg/cur_time.png teletext_close.png logo_harvo.png; do
  ffmpeg -v error -y -i "$skin/$f" -f rawvideo -pix_fmt bgra "$out/$(echo "$f" | tr / _).bgra"
done
