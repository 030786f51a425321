#!/usr/bin/env bash
# The sound server restart check: plays a demo song through the live sequencer device (mciplay)
# into the null sink of a private PulseAudio server, kills the server mid-song, starts it again a
# moment later and checks that the device brought its output back by itself: the recording made
# after the restart has sound, and the song ends with its completion notice. Then, with no server
# at all, a new open must fail with the text that says no sound output is working, and a wait-play
# whose server goes away for good must give up (after five seconds without sound) rather than hang.
# Each rebuild of the output is told in one line on standard error.
# The player's resident memory and open files are printed after the first and the last restart.
#
#   scripts/check-sound-restart.sh [BUILD_DIR] [MIDI_FILE]
#
# FLAPS=N (default 0) first kills and restarts the server N more times, each time waiting until the
# device has brought its output back.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
song=${2:-$here/demo/Greensleeves.rmi}
flaps=${FLAPS:-0}
mciplay="$build/tools/mciplay/mciplay"
min_rms=0.001

for tool in pulseaudio pactl parec sox; do
  command -v "$tool" >/dev/null || { echo "check-sound-restart: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done
[ -x "$mciplay" ] || { echo "check-sound-restart: $mciplay not built" >&2; exit 2; }

work=$(mktemp -d /tmp/shufflon-restart.XXXXXX)
record_pid="" play_pid=""
cleanup() {
  local pid
  for pid in "$play_pid" "$record_pid" "${pulse_pid:-}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$here/scripts/lib/private-pulse.sh"
# After a kill, the device gives its stream up within three seconds and tries to open a new one
# every second; the new stream's first blocks can then take two seconds more on the null sink.
comeback=6

kill_server() {
  kill -9 "$pulse_pid"
  wait "$pulse_pid" 2>/dev/null || true
  pulse_pid=""
}

# Records the sink's monitor for a while into the file and prints its RMS amplitude.
record_rms() {
  parec -d shufflon_check.monitor --format=s16le --rate=44100 --channels=2 --raw >"$1" &
  record_pid=$!
  sleep "$2"
  kill "$record_pid" 2>/dev/null || true
  wait "$record_pid" 2>/dev/null || true
  record_pid=""
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stat 2>&1 | awk '/^RMS +amplitude/ {print $3}'
}

usage_of() { # resident KB and open files of a process
  echo "$(awk '/^VmRSS:/ {print $2}' "/proc/$1/status") KB resident, $(ls "/proc/$1/fd" | wc -l) open files"
}

loud() { awk -v rms="${1:-0}" -v min="$min_rms" 'BEGIN { exit !(rms > min) }'; }

start_private_pulse check-sound-restart
"$mciplay" "$song" >"$work/play.txt" 2>&1 &
play_pid=$!
# Loading the SoundFont takes a few seconds on a busy machine; the song must be playing first.
for _ in $(seq 300); do grep -q "playing from" "$work/play.txt" && break; sleep 0.1; done
sleep 1
before=$(record_rms "$work/before.raw" 4)
echo "check-sound-restart: before the restart: RMS ${before:-0}"
for flap in $(seq "$flaps"); do
  kill_server
  sleep 0.5
  start_private_pulse check-sound-restart
  sleep "$comeback"
  [ "$flap" -eq 1 ] && echo "check-sound-restart: after restart 1: $(usage_of "$play_pid")"
done
[ "$flaps" -gt 1 ] && echo "check-sound-restart: after restart $flaps: $(usage_of "$play_pid")"
kill_server
echo "check-sound-restart: server killed mid-song"
sleep 2
start_private_pulse check-sound-restart
sleep 0.5
echo "check-sound-restart: server started again"
sleep $((comeback - 2))
after=$(record_rms "$work/after.raw" 3)
echo "check-sound-restart: after the restart: RMS ${after:-0}"
status=0
wait "$play_pid" || status=$?
play_pid=""
cat "$work/play.txt"

failed=0
loud "$before" || { echo "check-sound-restart: FAILED: no sound before the restart" >&2; failed=1; }
loud "$after" || { echo "check-sound-restart: FAILED: no sound after the restart" >&2; failed=1; }
[ "$status" -eq 0 ] && grep -q ": successful, mode 525" "$work/play.txt" ||
  { echo "check-sound-restart: FAILED: the song did not end with its notice" >&2; failed=1; }
# Each time the output was taken down and opened again, one line said so and why.
rebuilt=$(grep -c "the sound output .* no sound for .*; closing it and opening a new one" "$work/play.txt" || true)
[ "$rebuilt" -eq $((flaps + 1)) ] ||
  { echo "check-sound-restart: FAILED: $((flaps + 1)) restarts, $rebuilt lines about the output being rebuilt" >&2; failed=1; }

# A wait-play whose server goes away for good.
"$mciplay" --wait "$song" >"$work/wait.txt" 2>&1 &
play_pid=$!
for _ in $(seq 300); do grep -q "playing from" "$work/wait.txt" && break; sleep 0.1; done
sleep 1
kill_server
gave_up=no
for _ in $(seq 150); do kill -0 "$play_pid" 2>/dev/null || { gave_up=yes; break; }; sleep 0.1; done
wait "$play_pid" 2>/dev/null || true
play_pid=""
cat "$work/wait.txt"
[ "$gave_up" = yes ] && grep -q "play failed: No sound output is working" "$work/wait.txt" ||
  { echo "check-sound-restart: FAILED: a wait-play without a server did not give up with the text" >&2; failed=1; }

"$mciplay" "$song" >"$work/none.txt" 2>&1 || true
cat "$work/none.txt"
grep -q "open failed: No sound output is working" "$work/none.txt" ||
  { echo "check-sound-restart: FAILED: an open without a server did not say so" >&2; failed=1; }
[ "$failed" -eq 0 ] && echo "check-sound-restart: the music came back by itself and the song ended with its notice"
exit "$failed"
