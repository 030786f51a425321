#!/usr/bin/env bash
# End to end: the real shufflon on a virtual desktop (Xvfb with icewm, which hosts tray icons)
# and a PulseAudio null sink, started with default settings in a folder of three short songs.
# Checks that the songs are heard one after another (recorded from the sink's monitor, the gaps
# found with sox), that the tray shows the playing icon, that a click on Stop silences it, that
# the window takes a user's clicks as Windows did (scripts/lib/e2e-input.sh: the About box's dog)
# and that closing the window writes the settings; then what a screen reader and a keyboard meet
# (scripts/lib/e2e-a11y.sh) and the same program on Wayland (scripts/lib/e2e-wayland.sh). Every
# wait is for something the program does, with a generous limit, so that a busy machine or a slow
# sink makes it slower but never fails it.
#
# Usage: scripts/e2e.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/shufflon"
[ -x "$program" ] || { echo "e2e: $program is not built"; exit 1; }
command -v inotifywait >/dev/null || { echo "e2e: inotifywait is missing (scripts/setup.sh installs it)"; exit 1; }

source "$root/scripts/lib/desktop.sh"
begin_run e2e
fail() { echo "e2e: FAILED: $*"; exit 1; }

mkdir -p "$work/songs" "$work/config"
write_song "$work/songs/one.mid" '\x00' '\x3c'
write_song "$work/songs/two.mid" '\x13' '\x40'
write_song "$work/songs/three.mid" '\x49' '\x43'

start_desktop "$work"
source "$root/scripts/lib/e2e-mpris.sh" && e2e_mpris_bus
source "$root/scripts/lib/e2e-a11y.sh" && e2e_a11y_bus

# The songs the program starts, as the files it opens (the search only lists the folder).
inotifywait -m -e open --format '%f' "$work/songs" >"$work/opened.log" 2>"$work/inotify.log" &
pids+=($!)
for _ in $(seq 300); do grep -q 'Watches established' "$work/inotify.log" 2>/dev/null && break; sleep 0.1; done
songs_started() { grep -c '\.mid$' "$work/opened.log" 2>/dev/null || true; }

parec -d "$sink.monitor" --file-format=wav "$work/playing.wav" &
rec=$!
pids+=($rec)
(cd "$work/songs" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)

window="$(wait_for_main_window)"
[ -n "$window" ] || fail "the main window did not appear"

tray_icon_red_pixels() { # the number of red pixels of Shufflon's tray icon
  local tray
  tray="$(xwininfo -root -tree | awk '/"shufflon": \("shufflon" "shufflon"\)/ && $0 ~ /[0-9]+x[0-9]+\+0\+0/ {print $1; exit}')"
  [ -n "$tray" ] || { echo "none"; return; }
  import -window "$tray" "$work/tray.png" 2>/dev/null
  convert "$work/tray.png" -fx '(r>0.6 && g<0.35 && b<0.35) ? 1 : 0' -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

red="none"
for _ in $(seq 60); do
  red="$(tray_icon_red_pixels)"
  [ "$red" = "0" ] && break
  sleep 0.5
done
[ "$red" != "none" ] || fail "no tray icon"
[ "$red" -eq 0 ] || fail "the tray icon is not the playing icon ($red red pixels)"
echo "e2e: tray shows the playing icon"

# Three songs of 3.5 s: wait until the program has started a fifth, so that at least three have
# reached the sink whole however far its sound lags behind the program, then let the recording
# catch up.
for _ in $(seq 1500); do [ "$(songs_started)" -ge 5 ] && break; sleep 0.1; done
started="$(songs_started)"
[ "$started" -ge 5 ] || fail "the program started $started songs in two and a half minutes"
sleep 3
kill "$rec"; wait "$rec" 2>/dev/null || true
e2e_mpris_check one.mid two.mid three.mid

# The Stop button: dialog units (243, 7, 50, 14) in the window's client area.
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
x=$(( (243 + 25) * width / 300 )); y=$(( (7 + 7) * height / 164 ))
xdotool mousemove --window "$window" "$x" "$y" click 1
for _ in $(seq 60); do
  red="$(tray_icon_red_pixels)"
  [ "$red" != "none" ] && [ "$red" -gt 0 ] && break
  sleep 0.5
done
[ "$red" != "none" ] && [ "$red" -gt 0 ] || fail "the tray icon did not turn idle after Stop"
echo "e2e: Stop turned the tray icon idle"
parec -d "$sink.monitor" --file-format=wav "$work/stopped.wav" &
rec=$!
pids+=($rec)
sleep 3
kill "$rec"; wait "$rec" 2>/dev/null || true

# What was heard: the songs, separated by silences of at least 0.6 s.
rms() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
playing_rms="$(rms "$work/playing.wav")"
mkdir -p "$work/parts"
sox "$work/playing.wav" "$work/parts/part.wav" silence 1 0.05 0.3% 1 0.6 0.3% : newfile : restart 2>/dev/null
heard=0
for part in "$work"/parts/part*.wav; do
  length="$(soxi -D "$part" 2>/dev/null || echo 0)"
  awk -v l="$length" 'BEGIN {exit !(l >= 1.5)}' && heard=$((heard + 1))
done
echo "e2e: recording RMS $playing_rms, $heard songs heard apart"
[ "$heard" -ge 3 ] || fail "expected three songs one after another, heard $heard"

# After Stop the recording must be silent (past what the sound server still held).
sox "$work/stopped.wav" "$work/tail.wav" trim 1.5 2>/dev/null || cp "$work/stopped.wav" "$work/tail.wav"
tail_rms="$(rms "$work/tail.wav")"
awk -v r="$tail_rms" 'BEGIN {exit !(r < 0.0005)}' || fail "still sounding after Stop (RMS $tail_rms)"
echo "e2e: silent after Stop (RMS $tail_rms)"

source "$root/scripts/lib/e2e-input.sh" && e2e_input_check "$window"
e2e_a11y_check "$work/opened.log"

# Closing the window writes the settings.
close_and_wait "$window" "$app"
kill -0 "$app" 2>/dev/null && fail "the program did not end after its window was closed"
profile="$work/config/shufflon.INI"
[ -f "$profile" ] || fail "no settings written"
keys="$(grep -c '=' "$profile")"
# The twelve settings, then ours: the SoundFont, the window's size and the volume, in that order.
[ "$keys" -eq 16 ] || fail "expected 16 settings, found $keys"
[ "$(grep '=' "$profile" | tail -n 4 | cut -d= -f1 | tr '\n' ' ')" = "SoundFont WindowWidth WindowHeight Volume " ] ||
  fail "our keys are not last in order: $(grep '=' "$profile" | tail -n 4 | tr '\n' ' ')"
echo "e2e: closing wrote the 16 settings"

"$root/scripts/lib/e2e-wayland.sh" "$build" || fail "the Wayland pass failed"
source "$root/scripts/lib/e2e-session.sh" && e2e_session_check "$program"
echo "e2e: passed"
