#!/usr/bin/env bash
# small_volume.sh TEST_PROGRAM WORK: runs the frame's small-volume case in a mount namespace of its
# own, where a 6 MB tmpfs is the recordings folder. Wine's server opens the files of its processes,
# so the shared server, outside the namespace, would write to the disk below the tmpfs: the case
# gets a server of its own through a prefix of its own (the registry copied, drive C shared).
set -euo pipefail
program=$1 work=$2
shared=${WINEPREFIX:?the Wine environment of the tests}
rm -rf "$work"
mkdir -p "$work/prefix/dosdevices" "$work/volume"
cp -a "$shared"/system.reg "$shared"/user.reg "$shared"/userdef.reg "$shared"/.update-timestamp "$work/prefix/"
ln -s "$shared/drive_c" "$work/prefix/drive_c"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
ln -s / "$work/prefix/dosdevices/z:"
export WINEPREFIX=$work/prefix TOLVIK_SMALL_VOLUME=$work/volume
exec unshare --mount bash -c '
  mount -t tmpfs -o size=6m tmpfs "$TOLVIK_SMALL_VOLUME"
  status=0
  wine "$1" --gtest_filter="*SmallVolume*" || status=$?
  wineserver -k || true
  wineserver -w || true
  exit $status' _ "$program"
