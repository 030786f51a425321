# Sourced by the scripts that run the real program: a private virtual desktop (Xvfb with icewm,
# which hosts tray icons) and a private PulseAudio server whose default sink is a null sink
# named "$sink". Call start_desktop WORKDIR; everything started is stopped by stop_desktop.

desktop_pids=()

start_desktop() {
  local work="$1"
  mkdir -p "$work/home" "$work/run"
  chmod 700 "$work/run"
  # Xvfb chooses a free display itself and writes its number once it is ready: a display whose
  # socket file is free can still be held by another server through an abstract socket.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  desktop_pids+=($!)
  for _ in $(seq 600); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "desktop: Xvfb did not start"; return 1; }
  display=":$(head -n 1 "$work/display")"
  # The program is to show on this display, whatever platform the caller's Qt programs use
  # (offscreen in the unit tests, wayland on a Wayland desktop).
  export DISPLAY="$display" QT_QPA_PLATFORM=xcb
  for _ in $(seq 300); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  desktop_home="$work/home"
  start_panel

  # PulseAudio as root wants its own runtime folder and home.
  export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
  sink="shufflon_null"
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=$sink" \
    --load="module-native-protocol-unix" --log-target=file:"$work/pulse.log"
  for _ in $(seq 300); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink "$sink"
  sleep 1 # let icewm put up its tray
}

# The window manager with its panel and tray; stop_panel takes them away again.
start_panel() {
  HOME="$desktop_home" icewm >>"$desktop_home/icewm.log" 2>&1 &
  panel_pid=$!
  desktop_pids+=($panel_pid)
}

stop_panel() {
  kill "$panel_pid" 2>/dev/null || true
  wait "$panel_pid" 2>/dev/null || true
}

stop_desktop() {
  local pid
  for pid in "${desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "${XDG_RUNTIME_DIR:-}" ]; then pulseaudio --kill 2>/dev/null || true; fi
}

# A song of 3.5 s: one long note for 2.5 s, then a second of silence. One tick is a millisecond.
write_song() { # path program note
  local head='MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xe8MTrk\x00\x00\x00\x18'
  local track='\x00\xff\x51\x03\x0f\x42\x40\x00\xc0'"$2"'\x00\x90'"$3"'\x64\x93\x44\x80'"$3"'\x00\x87\x68\xff\x2f\x00'
  printf "$head$track" >"$1"
}

# CPU time (user + system) of a process so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Makes the run's scratch folder ($work) and an empty list of processes ($pids); on exit, the
# processes and the desktop are stopped and the folder removed.
begin_run() {
  work="$(mktemp -d "/tmp/shufflon-$1.XXXXXX")"
  pids=()
  trap end_run EXIT
}

end_run() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_desktop
  wait 2>/dev/null || true
  rm -rf "$work"
}

# Prints the id of Shufflon's main window once it is visible, or nothing after a minute: a cold
# start on a slow machine (the SoundFont read, the first search) can take many seconds.
wait_for_main_window() {
  local window=""
  for _ in $(seq 600); do
    window="$(xdotool search --onlyvisible --limit 1 --name '^Shufflon$' 2>/dev/null || true)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}

# Waits up to 30 s for a command's output to equal the expected text (a busy machine's program and
# null sink can lag well behind the clock); the caller's fail() reports the last output seen.
expect_output() { # description expected command...
  local what="$1" want="$2" got=""
  shift 2
  for _ in $(seq 300); do
    got="$("$@" 2>/dev/null || true)"
    [ "$got" = "$want" ] && { echo "ok: $what: $got"; return; }
    sleep 0.1
  done
  fail "$what: expected '$want', got '$got'"
}

# Closes a window with Alt+F4, as a user would, and waits up to 30 s for its process to end.
close_and_wait() { # window pid
  xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4 2>/dev/null || xdotool key alt+F4
  for _ in $(seq 300); do kill -0 "$2" 2>/dev/null || break; sleep 0.1; done
}
