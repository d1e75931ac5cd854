# Brings up the Windows environment the win64 tests and the programs run in: a private Wine prefix,
# Xvfb on a free display, PulseAudio with a null sink and the Task Scheduler service. Everything
# lives under $1 and only the processes started here are stopped again (wine_down).
# Source this file; then call wine_up DIR [DESKTOP_HOLDER_EXE] and wine_down. wine_up fails, printing the log of the
# part concerned, when Xvfb, PulseAudio, wineboot, the scheduler service or the desktop holder do
# not come up.

_wine_pids=()

_wine_fail() { # what, log
  echo "wine_up: $1 did not come up; its log ($2):" >&2
  cat "$2" >&2 2> /dev/null || true
  return 1
}

wine_up() {
  local dir=$1
  mkdir -p "$dir"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree=;mshtml="

  # With TOLVIK_KEEP_DISPLAY=1 and a display that answers, the programs open on it (the run
  # command on a desktop); otherwise Xvfb picks a free display itself and tells us which.
  if [ "${TOLVIK_KEEP_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo > /dev/null 2>&1; then
    _wine_own_display=0
  else
    _wine_own_display=1
    _wine_start_xvfb "$dir" || return 1
  fi
  _wine_start_rest "$dir" "${2:-}"
}

_wine_start_xvfb() {
  local dir=$1 fdfile="$1/display"
  rm -f "$fdfile"
  exec 7> "$fdfile"
  Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp > "$dir/xvfb.log" 2>&1 &
  _wine_pids+=($!)
  exec 7>&-
  local i xvfb=$!
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$xvfb" 2> /dev/null || break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { _wine_fail Xvfb "$dir/xvfb.log"; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
}

_wine_start_rest() {
  local dir=$1 i

  # PulseAudio with only a null sink, so the DirectSound renderer has a device.
  export PULSE_RUNTIME_PATH="$dir/pulse"
  export PULSE_STATE_PATH="$dir/pulse"
  export PULSE_SERVER="unix:$dir/pulse/native"
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-native-protocol-unix socket=$dir/pulse/native auth-anonymous=1" \
    --load="module-null-sink sink_name=null" --load="module-always-sink" \
    > "$dir/pulse.log" 2>&1 &
  local pulse=$!
  _wine_pids+=($pulse)
  for i in $(seq 1 100); do
    pactl info > /dev/null 2>&1 && break
    kill -0 "$pulse" 2> /dev/null || break
    sleep 0.1
  done
  pactl info > /dev/null 2>&1 || { _wine_fail PulseAudio "$dir/pulse.log"; return 1; }

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # Its status is no guide (a prefix without 32-bit Wine reports a missing syswow64 helper and
    # is fine): the prefix is made when its registry is there once the server has finished.
    wineboot --init > "$dir/wineboot.log" 2>&1 || true
    wineserver -w || true
    [ -f "$WINEPREFIX/system.reg" ] || { _wine_fail wineboot "$dir/wineboot.log"; return 1; }
  fi
  wineserver -w || true
  # Without Wine's own Tahoma in the prefix, "Tahoma" resolves to Liberation Sans.
  local font
  for font in tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$font" ] && cp -f "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  # wined3d's command-stream thread polls for work for a long while after each command, so while
  # the viewer plays it never sleeps: 0.7 CPU seconds a second for nothing. Drawing on the calling
  # thread instead halves the viewer's cost; the video renderer flushes each picture it copies, so
  # a picture made on the streaming thread reaches the render thread's drawing without it.
  wine reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f > /dev/null 2>&1 || true
  # Keep one wineserver for the whole run so each test program starts quickly.
  wineserver -p 600 || true
  # Right after wineboot the service database may still be locked: try the start again.
  : > "$dir/schedule.log"
  local started=0
  for i in $(seq 1 20); do
    if wine net start schedule >> "$dir/schedule.log" 2>&1 || grep -qi "already" "$dir/schedule.log"; then
      started=1
      break
    fi
    sleep 0.5
  done
  [ $started -eq 1 ] || { _wine_fail "the Task Scheduler service" "$dir/schedule.log"; return 1; }
  # The first window of a session starts the desktop process, which inherits the standard handles
  # of whoever started it: started by a test, it would keep ctest's output pipe open after the test
  # ends. Start it here, with handles of its own.
  wine rundll32.exe user32.dll,MessageBeep < /dev/null > /dev/null 2>&1 || true
  # A program that uses the desktop for the whole session, so that neither the desktop (a window
  # created while it closes is refused) nor the services (the scheduler among them) end between two
  # test programs; wine_down ends it. It makes its file once its window exists.
  if [ -n "${2:-}" ] && [ -f "$2" ]; then
    local ready="$dir/holder.ready"
    rm -f "$ready"
    wine "$2" "Z:${ready//\//\\}" < /dev/null > "$dir/holder.log" 2>&1 &
    local holder=$!
    for i in $(seq 1 300); do
      [ -e "$ready" ] && break
      kill -0 "$holder" 2> /dev/null || break
      sleep 0.1
    done
    [ -e "$ready" ] || { _wine_fail "the desktop holder" "$dir/holder.log"; return 1; }
  fi
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
