# services.sh - starts Xvfb and PulseAudio when they are not running, and
# stops only what it started. Sourced by scripts/test and scripts/run.

started_xvfb_pid=""
started_pulse=0

display_works() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

start_display() {
  if display_works; then return 0; fi
  local n
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  started_xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    if xdpyinfo >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  echo "could not start Xvfb on $DISPLAY" >&2
  return 1
}

start_sound() {
  if pactl info >/dev/null 2>&1; then return 0; fi
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=nullout" \
    --load=module-native-protocol-unix >/dev/null 2>&1 || true
  local i
  for i in $(seq 1 50); do
    if pactl info >/dev/null 2>&1; then started_pulse=1; return 0; fi
    sleep 0.1
  done
  echo "warning: PulseAudio did not start; mixer tests will find no mixer" >&2
}

stop_services() {
  if [ "$started_pulse" = 1 ]; then pulseaudio --kill >/dev/null 2>&1 || true; fi
  if [ -n "$started_xvfb_pid" ]; then kill "$started_xvfb_pid" 2>/dev/null || true; fi
}
