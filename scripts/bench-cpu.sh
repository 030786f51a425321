#!/usr/bin/env bash
# CPU time of Shufflon playing a song against the fluidsynth command playing the same file with
# the same SoundFont to the same (null) sound sink, measured in one run over the same stretch of
# the song; and Shufflon's CPU time while it sits idle with its window open.
# Goals: playing at most 1.1 times fluidsynth; idle close to zero.
#
# Usage: scripts/bench-cpu.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
source "$root/scripts/lib/desktop.sh"
begin_run cpu

song="$root/demo/When the Saints Go Marching In.mid"
soundfont=/usr/share/sounds/sf2/default-GM.sf2
warmup=3
span=20
hz="$(getconf CLK_TCK)"
mkdir -p "$work/one" "$work/empty" "$work/config"
cp "$song" "$work/one/"
start_desktop "$work"

measure() { # pid: CPU seconds over $span seconds after $warmup seconds
  sleep "$warmup"
  local before after
  before="$(cpu_ticks "$1")"
  sleep "$span"
  after="$(cpu_ticks "$1")"
  awk -v a="$after" -v b="$before" -v hz="$hz" 'BEGIN {printf "%.3f", (a - b) / hz}'
}

(cd "$work/one" && XDG_CONFIG_HOME="$work/config" exec "$build/shufflon") >"$work/shufflon.log" 2>&1 &
pids+=($!)
ours="$(measure $!)"
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true

fluidsynth -ni -a pulseaudio -g 0.2 "$soundfont" "$song" >"$work/fluidsynth.log" 2>&1 &
pids+=($!)
theirs="$(measure $!)"
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true

(cd "$work/empty" && XDG_CONFIG_HOME="$work/config" exec "$build/shufflon") >"$work/idle.log" 2>&1 &
pids+=($!)
idle="$(measure $!)"
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true

echo "CPU over ${span} s of playing, after ${warmup} s: shufflon ${ours} s, fluidsynth ${theirs} s"
awk -v o="$ours" -v t="$theirs" 'BEGIN {printf "ratio shufflon / fluidsynth: %.2f (goal: at most 1.1)\n", (t > 0 ? o / t : 0)}'
awk -v i="$idle" -v s="$span" 'BEGIN {printf "idle with the window open: %.1f ms CPU per second (goal: close to zero)\n", 1000 * i / s}'
