# Sourced by scripts/e2e.sh: what a screen reader and a keyboard-only user meet in the running
# program, read over AT-SPI (scripts/lib/a11y-check.py). Needs begin_run's $work and $pids, a fail
# function, and the private session bus of e2e_mpris_bus.

# The accessibility bus on the session bus; the program started after this exposes its windows.
e2e_a11y_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
  pids+=($!)
  # A program that starts before the bus is up waits on it for D-Bus's timeouts.
  a11y_bus_up() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
  }
  for _ in $(seq 600); do a11y_bus_up && break; sleep 0.1; done
  a11y_bus_up || fail "the accessibility bus did not start: $(cat "$work/atspi.log")"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Both windows named and without fillers, the played rows checked, and the last row played by
# Return. OPENED_LOG: the file names the program opened, one a line.
e2e_a11y_check() { # OPENED_LOG
  # The distribution's Python, which has the AT-SPI bindings, whatever python3 comes first on PATH.
  /usr/bin/python3 "$root/scripts/lib/a11y-check.py" "$1" || fail "the accessibility check failed"
}
