#!/usr/bin/env bash
# run-media.sh SCRIPT OUT: makes the test media of SCRIPT into OUT unless they were made by this
# very script before. The stamp OUT/.<script name>.stamp holds the hash of the script, of the
# helper files of its folder that it names and of the files on its "# depends:" lines; when the
# hash differs the script runs again into an empty folder and its files replace the old ones, so a changed script never leaves stale media.
set -euo pipefail
script=$1 out=$2
name=$(basename "$script" .sh)
here=$(cd "$(dirname "$script")" && pwd)

hash=$(
  {
    sha256sum < "$script"
    # Files elsewhere in the tree that the script names on "# depends: PATH" lines (from the root).
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    for dep in $(sed -n 's/^# depends: //p' "$script"); do
      sha256sum < "$root/$dep"
    done
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
