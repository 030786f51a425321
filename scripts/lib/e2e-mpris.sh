# Sourced by scripts/e2e.sh: the desktop's media controls (MPRIS, driven with playerctl) reach the
# running program. Needs begin_run's $work and $pids and a fail function.

# A private session bus for the program about to be started.
e2e_mpris_bus() {
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
  dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -S "$work/bus" ] && break; sleep 0.1; done
}

# While a song plays: playerctl sees it playing under one of the given names, pauses it and plays
# it on.
e2e_mpris_check() { # SONG...
  local status title
  mpris_wait() { # status
    for _ in $(seq 50); do
      status="$(playerctl --player=shufflon status 2>/dev/null || true)"
      [ "$status" = "$1" ] && return
      sleep 0.1
    done
    fail "MPRIS: expected $1, playerctl says '$status'"
  }
  mpris_wait Playing
  title="$(playerctl --player=shufflon metadata xesam:title 2>/dev/null || true)"
  [[ " $* " == *" $title "* ]] || fail "MPRIS: the title '$title' is none of the songs"
  playerctl --player=shufflon pause
  mpris_wait Paused
  playerctl --player=shufflon play
  mpris_wait Playing
  echo "e2e: MPRIS: playing '$title', paused and played on with playerctl"
}
