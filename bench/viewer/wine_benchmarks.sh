#!/usr/bin/env bash
# wine_benchmarks.sh ROOT BUILD: the timings under Wine, in a Wine environment of their own (run by
# scripts/bench inside a private network namespace): the OSD and the display on Wine's Direct3D, then
# the viewer playing the demo broadcast from the virtual tuner (made here when missing or old).
set -euo pipefail
root=$1 build=$2
# Loopback and multicast inside the namespace: the multicast channel is sent to itself.
ip link set lo up
ip link set lo multicast on
ip route add 224.0.0.0/4 dev lo
win=$build/win64
# shellcheck source=../../scripts/lib/wine.sh
source "$root/scripts/lib/wine.sh"
wine_up "$build/wine" "$win/tests/fixtures/desktop/desktop_holder.exe"
trap wine_down EXIT
wine "$win/tests/viewer/bench_osd_wine.exe"
wine "$win/tests/viewer/bench_display_wine.exe" "$win/program"
TOLVIK_MEDIA=$build/media wine "$win/tests/media/playback/win/bench_live_start_wine.exe"

wine regsvr32 /s "$(winepath -w "$win/tests/fixtures/virtualtuner/virtualtuner.dll")"
demo=$build/bench_demo
if [ ! -s "$demo/demo.ts" ] || [ -n "$(find "$demo/demo.ts" -mmin +360)" ]; then
  bash "$root/tests/fixtures/demo/make_demo.sh" "$win/tests/fixtures/demo/demo_broadcast.exe" "$demo" 20
fi
echo "== viewer_live"
python3 "$root/bench/viewer/viewer_live.py" "$win/program" "$demo" "$root/tests/dvb/DVBPlaybackCore/channel_file.py" \
  "$build/bench_viewer_live" "$win/tests/system/window_input.exe" "$win/tests/viewer/bench_bare_window_wine.exe"
