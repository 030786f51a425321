#!/usr/bin/env bash
# Resident memory while playing, as a user meets it: the real shufflon on a virtual desktop with a
# PulseAudio null sink, in the demo folder with the system's General MIDI SoundFont, skipping
# through twelve songs with the Next button. Its resident memory is read after every song and
# compared with the `fluidsynth` command's playing the same songs for the same time, with and
# without its dynamic sample loading. The sink's monitor is recorded: the songs must be heard.
# Goal: at most 80 MB resident at any reading.
#
#   scripts/bench-memory.sh [BUILD_DIR]
#
# BENCH_SONGS (default 12) songs are skipped through, BENCH_SECONDS (4) apart.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
program="$build/shufflon"
songs=${BENCH_SONGS:-12}
seconds=${BENCH_SECONDS:-4}
[ -x "$program" ] || { echo "bench-memory: $program is not built"; exit 1; }
soundfont="$(readlink -f /usr/share/sounds/sf2/default-GM.sf2 2>/dev/null || true)"
[ -f "$soundfont" ] || { echo "bench-memory: no General MIDI SoundFont (fluid-soundfont-gm)"; exit 1; }

source "$root/scripts/lib/desktop.sh"
begin_run bench-memory
mkdir -p "$work/config"
# Repetition on, so that Next always finds a song among the demo's few.
printf '[SHFConfig]\nAutoplay=1\nAllowRepetition=1\n' >"$work/config/shufflon.INI"
start_desktop "$work"

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

parec -d "$sink.monitor" --file-format=wav "$work/heard.wav" &
rec=$!
pids+=($rec)
(cd "$root/demo" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)
window="$(wait_for_main_window)"
[ -n "$window" ] || { echo "bench-memory: the main window did not appear"; cat "$work/shufflon.log"; exit 1; }
sleep "$seconds"
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
# The Next button: dialog units (243, 43, 50, 14) in the window's client area.
next_x=$(( (243 + 25) * width / 300 )); next_y=$(( (43 + 7) * height / 164 ))
ours_max=0
readings=""
for i in $(seq "$songs"); do
  xdotool mousemove --window "$window" "$next_x" "$next_y" click 1
  sleep "$seconds"
  kill -0 "$app" 2>/dev/null || { echo "bench-memory: the program ended"; cat "$work/shufflon.log"; exit 1; }
  rss=$(rss_kb "$app")
  readings="$readings $((rss / 1024))"
  [ "$rss" -gt "$ours_max" ] && ours_max=$rss
done
kill "$rec"; wait "$rec" 2>/dev/null || true
close_and_wait "$window" "$app"
heard_rms="$(sox "$work/heard.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')"
echo "bench-memory: shufflon after each of $songs songs (MB):$readings"

# The fluidsynth command, playing the demo songs one after another for as long.
fluidsynth_max() { # extra options...
  local pid max=0 rss
  (cd "$root/demo" && exec fluidsynth -ni -a pulseaudio "$@" "$soundfont" ./*.mid ./*.rmi ./*.kar) \
    >"$work/fluidsynth.log" 2>&1 &
  pid=$!
  pids+=($pid)
  for _ in $(seq "$songs"); do
    sleep "$seconds"
    rss=$(rss_kb "$pid")
    [ "$rss" -gt "$max" ] && max=$rss
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$max"
}
dynamic_max=$(fluidsynth_max -o synth.dynamic-sample-loading=1)
full_max=$(fluidsynth_max)

awk -v ours="$ours_max" -v dyn="$dynamic_max" -v full="$full_max" -v rms="$heard_rms" 'BEGIN {
  printf "bench-memory: most resident: shufflon %.1f MB; fluidsynth %.1f MB with dynamic sample loading (ratio %.2f), %.1f MB without (ratio %.2f)\n",
         ours / 1024, dyn / 1024, dyn ? ours / dyn : 0, full / 1024, full ? ours / full : 0
  heard = rms + 0 > 0.001
  printf "bench-memory: heard on the null sink: RMS %s (%s)\n", rms, heard ? "sound" : "SILENT"
  met = ours <= 80 * 1024 && heard
  printf "bench-memory: goal at most 80 MB with sound: %s\n", met ? "met" : "NOT met"
  exit !met
}'
