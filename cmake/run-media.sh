#!/usr/bin/env bash
# run-media.sh SCRIPT OUT: makes the test media of SCRIPT into OUT unless they were made by this
# very script before. The stamp OUT/.<script name>.stamp holds the hash of the script and of the
# helper files of its folder that it names; when the hash differs the script runs again into an
# empty folder and its files replace the old ones, so a changed script never leaves stale media.
set -euo pipefail
script=$1 out=$2
name=$(basename "$script" .sh)
here=$(cd "$(dirname "$script")" && pwd)

hash=$(
  {
    sha256sum < "$script"
    for helper in "$here"/*; do
      base=$(basename "$helper")
      if [ -f "$helper" ] && [ "$base" != "$(basename "$script")" ] && grep -qF "$base" "$script"; then
        sha256sum < "$helper"
      fi
    done
  } | sha256sum | cut -d' ' -f1
)
stamp="$out/.$name.stamp"
mkdir -p "$out"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$hash" ]; then
  exit 0
fi

fresh="$out/.$name.fresh"
rm -rf "$fresh"
mkdir -p "$fresh"
bash "$script" "$fresh"
cp -a "$fresh/." "$out/"
rm -rf "$fresh"
echo "$hash" > "$stamp"
