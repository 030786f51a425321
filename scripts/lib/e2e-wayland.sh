#!/usr/bin/env bash
# The Wayland pass of the end-to-end check: the real shufflon as a native Wayland client of a
# headless sway, with a PulseAudio null sink, in a folder of three songs. The window maps, Next
# pressed from the keyboard (through the compositor) starts another song that is heard, and
# closing the window through the compositor writes the settings.
#
# Compositors refuse to run as root. Run as root, everything here runs as the unprivileged user
# "nobody", with a home, runtime folder, settings and copy of the program of its own in a scratch
# folder; run as anyone else, as that user. Everything started is stopped and the folder removed.
#
# Usage: scripts/lib/e2e-wayland.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
[ -x "$build/shufflon" ] || { echo "wayland: $build/shufflon is not built"; exit 1; }
for tool in sway swaymsg wtype pulseaudio pactl parec sox inotifywait setpriv; do
  command -v "$tool" >/dev/null || { echo "wayland: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

work="$(mktemp -d /tmp/shufflon-wayland.XXXXXX)"
pids=()
end_run() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap end_run EXIT
fail() {
  echo "wayland: FAILED: $*"
  # A look at the screen and everything the run wrote, for whoever asks for it.
  if [ -n "${E2E_WAYLAND_KEEP:-}" ]; then
    user grim "$work/screen.png" 2>/dev/null || true
    user swaymsg -t get_tree >"$work/tree.json" 2>&1 || true
    cp -r "$work" "$E2E_WAYLAND_KEEP"
  fi
  exit 1
}

run="$work/run"
mkdir -p "$run" "$work/home" "$work/config" "$work/songs" "$work/bin"
chmod 700 "$run"
# The build folder may be one the user cannot enter (root's home); the program needs nothing beside it.
cp "$build/shufflon" "$work/bin/shufflon"
cp "$root/demo/Minuet in G.mid" "$root/demo/Ode to Joy.mid" "$root/demo/Greensleeves.rmi" "$work/songs/"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:"$(id -gn nobody)" "$work"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
# The user's environment, its own: nothing of the caller's display, sound or Qt settings reaches
# what runs as the user. Commands start as "${as_user[@]}" "${user_env[@]}" COMMAND, so that a
# command started in the background is the process whose id $! gives.
wayland_display=""
set_user_env() {
  user_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$run"
    XDG_CONFIG_HOME="$work/config" SWAYSOCK="$run/sway.sock" WAYLAND_DISPLAY="$wayland_display")
}
set_user_env
user() { "${as_user[@]}" "${user_env[@]}" "$@"; }

"${as_user[@]}" "${user_env[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
  --load="module-native-protocol-unix auth-anonymous=1" --load="module-null-sink sink_name=shufflon_wayland" \
  >"$work/pulseaudio.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do user pactl info >/dev/null 2>&1 && break; sleep 0.1; done
user pactl set-default-sink shufflon_wayland || fail "PulseAudio did not start: $(cat "$work/pulseaudio.log")"

# A headless output, software rendering, no input devices but the virtual ones wtype makes, and
# no X server, so that the program cannot fall back to X11.
printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x800\n' >"$work/sway.conf"
"${as_user[@]}" "${user_env[@]}" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=1 WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_RENDERER=pixman sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
# Ready once its output is: a window mapped before that lands on a stand-in output.
for _ in $(seq 300); do user swaymsg -t get_outputs 2>/dev/null | grep -q '"active": true' && break; sleep 0.1; done
wayland_display="$(cd "$run" && ls wayland-* 2>/dev/null | grep -v '\.lock$' | head -n 1 || true)"
[ -n "$wayland_display" ] || fail "sway did not start: $(tail -n 5 "$work/sway.log")"
set_user_env

inotifywait -m -e open --format '%f' "$work/songs" >"$work/opened.log" 2>"$work/inotify.log" &
pids+=($!)
for _ in $(seq 300); do grep -q 'Watches established' "$work/inotify.log" 2>/dev/null && break; sleep 0.1; done
songs_started() { grep -c -E '\.(mid|rmi)$' "$work/opened.log" 2>/dev/null || true; }

"${as_user[@]}" "${user_env[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG="${E2E_WAYLAND_KEEP:+1}" env -C "$work/songs" "$work/bin/shufflon" \
  >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)

# The main window is mapped once the compositor lists it, by the program's app id and its title
# (the search's progress window comes and goes before it), and has the keyboard once it is the
# focused one.
window_is() { # mapped|focused
  user swaymsg -t get_tree 2>/dev/null | /usr/bin/python3 -c '
import json, sys
def nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from nodes(child)
found = [n for n in nodes(json.load(sys.stdin))
         if n.get("app_id") == "shufflon" and n.get("name") == "Shufflon" and n.get("visible")]
sys.exit(0 if found and (sys.argv[1] == "mapped" or found[0].get("focused")) else 1)' "$1"
}
for _ in $(seq 600); do window_is mapped && break; sleep 0.1; done
window_is mapped || fail "the window did not map: $(cat "$work/shufflon.log")"
echo "wayland: the window mapped on sway"
for _ in $(seq 100); do window_is focused && break; sleep 0.1; done

# Each song lasts more than half a minute, so only Next can start the second one now.
for _ in $(seq 300); do [ "$(songs_started)" -ge 1 ] && break; sleep 0.1; done
[ "$(songs_started)" -ge 1 ] || fail "no song started: $(cat "$work/shufflon.log")"
# The window opens with the focus on its first button (Stop); Tab twice is Next. wtype's keyboard
# exists only while it runs, so it waits before and after the keys: keys sent the moment a keyboard
# appears, or just before it goes, are lost to Qt.
user wtype -s 500 -k Tab -s 200 -k Tab -s 200 -k space -s 500
for _ in $(seq 300); do [ "$(songs_started)" -ge 2 ] && break; sleep 0.1; done
[ "$(songs_started)" -ge 2 ] || fail "Next did not start another song"
"${as_user[@]}" "${user_env[@]}" parec -d shufflon_wayland.monitor --file-format=wav "$work/next.wav" &
rec=$!
sleep 3
kill "$rec"; wait "$rec" 2>/dev/null || true
rms="$(sox "$work/next.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')"
awk -v r="${rms:-0}" 'BEGIN {exit !(r > 0.001)}' || fail "nothing heard after Next (RMS ${rms:-none})"
echo "wayland: Next started $(tail -n 1 "$work/opened.log"), heard (RMS $rms)"

# Closing through the compositor, as the title bar's close button does.
user swaymsg '[app_id="shufflon" title="^Shufflon$"] kill' >/dev/null
for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end after its window was closed"
grep -q '^\[SHFConfig\]' "$work/config/shufflon.INI" 2>/dev/null || fail "closing wrote no settings"
echo "wayland: closing wrote the settings"
echo "wayland: passed"
