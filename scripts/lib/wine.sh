# Brings up the Windows environment the win64 tests and the programs run in: a private Wine prefix,
# Xvfb on a free display, PulseAudio with a null sink and the Task Scheduler service. Everything
# lives under $1 and only the processes started here are stopped again (wine_down).
# Source this file; then call wine_up DIR and wine_down.

_wine_pids=()

wine_up() {
  local dir=$1
  mkdir -p "$dir"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree=;mshtml="

  # Xvfb picks a free display itself and tells us which.
  local fdfile="$dir/display"
  rm -f "$fdfile"
  exec 7> "$fdfile"
  Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp > "$dir/xvfb.log" 2>&1 &
  _wine_pids+=($!)
  exec 7>&-
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"

  # PulseAudio with only a null sink, so the DirectSound renderer has a device.
  export PULSE_RUNTIME_PATH="$dir/pulse"
  export PULSE_STATE_PATH="$dir/pulse"
  export PULSE_SERVER="unix:$dir/pulse/native"
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-native-protocol-unix socket=$dir/pulse/native auth-anonymous=1" \
    --load="module-null-sink sink_name=null" --load="module-always-sink" \
    > "$dir/pulse.log" 2>&1 &
  _wine_pids+=($!)

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init > "$dir/wineboot.log" 2>&1 || true
  fi
  wineserver -w || true
  # Without Wine's own Tahoma in the prefix, "Tahoma" resolves to Liberation Sans.
  local font
  for font in tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$font" ] && cp -f "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  # Keep one wineserver for the whole run so each test program starts quickly.
  wineserver -p 600 || true
  wine net start schedule > "$dir/schedule.log" 2>&1 || true
  # The first window of a session starts the desktop process, which inherits the standard handles
  # of whoever started it: started by a test, it would keep ctest's output pipe open after the test
  # ends. Start it here, with handles of its own.
  wine rundll32.exe user32.dll,MessageBeep < /dev/null > /dev/null 2>&1 || true
}

wine_down() {
  wineserver -k > /dev/null 2>&1 || true
  local pid
  for pid in "${_wine_pids[@]}"; do
    kill "$pid" 2> /dev/null || true
  done
  for pid in "${_wine_pids[@]}"; do
    wait "$pid" 2> /dev/null || true
  done
  _wine_pids=()
}
