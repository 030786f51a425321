#!/usr/bin/env bash
# The sound check: plays a song through the live sequencer device (mciplay, FluidSynth's
# PulseAudio driver) into the null sink of a private PulseAudio server, records the sink's monitor
# with parec and measures the recording with sox. Exits non-zero when no clear sound arrived.
#
#   scripts/check-sound.sh [BUILD_DIR] [MIDI_FILE]
#
# BUILD_DIR defaults to build beside this script's folder; without a MIDI file a C major scale
# of four seconds is written and played. PulseAudio's null sink runs slower than real time on a
# busy machine, so this checks that sound arrived, not how long it took.
#
# With CHECK_SOUND_RUN set, that command also runs against the private server after the check
# (e.g. the live device tests: CHECK_SOUND_RUN="build-mci/tests/platform/mci/mci_synth_tests
# --gtest_filter=Live*"), and its failure fails the check.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
song=${2:-}
mciplay="$build/tools/mciplay/mciplay"
min_rms=0.001 # -60 dBFS; a silent recording measures 0

for tool in pulseaudio pactl parec sox; do
  command -v "$tool" >/dev/null || { echo "check-sound: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done
[ -x "$mciplay" ] || { echo "check-sound: $mciplay not built (ninja mciplay)" >&2; exit 2; }

work=$(mktemp -d /tmp/shufflon-sound.XXXXXX)
record_pid=""
cleanup() {
  [ -n "$record_pid" ] && kill "$record_pid" 2>/dev/null || true
  [ -n "${pulse_pid:-}" ] && kill "$pulse_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$here/scripts/lib/private-pulse.sh"
start_private_pulse check-sound

if [ -z "$song" ]; then
  # Format 0, 480 ticks a quarter, 120 bpm: piano, C4 to C5, half a second each.
  body='\x00\xc0\x00'
  for key in 3c 3e 40 41 43 45 47 48; do
    body+="\\x00\\x90\\x$key\\x64\\x83\\x60\\x80\\x$key\\x40"
  done
  body+='\x00\xff\x2f\x00'
  length=$(printf "$body" | wc -c)
  song="$work/scale.mid"
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk' >"$song"
  printf "\\x$(printf %02x $((length >> 24 & 255)))\\x$(printf %02x $((length >> 16 & 255)))" >>"$song"
  printf "\\x$(printf %02x $((length >> 8 & 255)))\\x$(printf %02x $((length & 255)))" >>"$song"
  printf "$body" >>"$song"
fi

parec -d shufflon_check.monitor --format=s16le --rate=44100 --channels=2 --raw >"$work/recording.raw" &
record_pid=$!
sleep 0.3
# First from a seek position to the end, where the device must post its completion notice, then
# from the start with a stop after a second and a half, which must abort the play.
status=0
"$mciplay" --seek 2000 "$song" | tee "$work/first.txt" || status=$?
"$mciplay" --for 1500 "$song" | tee "$work/second.txt" || status=$?
grep -q ": successful, mode 525" "$work/first.txt" || { echo "check-sound: the song did not end with its notice" >&2; status=1; }
grep -q ": aborted, mode 525" "$work/second.txt" || { echo "check-sound: the stop did not abort the play" >&2; status=1; }
sleep 0.5
kill "$record_pid" 2>/dev/null || true
wait "$record_pid" 2>/dev/null || true
record_pid=""

bytes=$(stat -c %s "$work/recording.raw")
stats=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/recording.raw" -n stat 2>&1 || true)
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stats")
peak=$(awk '/^Maximum amplitude/ {print $3}' <<<"$stats")
seconds=$(awk '/^Length \(seconds\)/ {print $3}' <<<"$stats")
echo "check-sound: recorded ${seconds:-0} s ($bytes bytes) from the null sink's monitor: RMS ${rms:-0}, peak ${peak:-0}"
if [ "$status" -ne 0 ]; then
  echo "check-sound: FAILED: mciplay failed or the notices were wrong" >&2
  exit 1
fi
if ! awk -v rms="${rms:-0}" -v min="$min_rms" 'BEGIN { exit !(rms > min) }'; then
  echo "check-sound: FAILED: the recording is silent (RMS not above $min_rms)" >&2
  exit 1
fi
echo "check-sound: sound arrived (RMS above $min_rms)"
if [ -n "${CHECK_SOUND_RUN:-}" ]; then
  echo "check-sound: running $CHECK_SOUND_RUN"
  bash -c "$CHECK_SOUND_RUN" || { echo "check-sound: FAILED: $CHECK_SOUND_RUN" >&2; exit 1; }
fi
