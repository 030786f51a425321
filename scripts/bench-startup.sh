#!/usr/bin/env bash
# What a user waits for at start-up in a large collection: launch of the real program to its
# visible main window in a tree of 100,000 songs in 5,000 folders (with other files among them),
# minus the same launch in an empty folder, against `find TREE -type f -printf '%s\n'` over the
# same tree, all measured in the same run with a warm cache. The same with the tag list on
# (UseTaglist=1 and a MIDITags.SHF of a record per song in the tree's folder). And the resident
# size after the window appears, minus that of the empty launch, per song.
# Goals: at most 1.5 (tag list: at most 2.0); at most 400 bytes a song.
#
# The window counts as visible at its first paint (bench/startup/startup_probe). The program runs
# on a private Xvfb without a window manager, with Autoplay off so that no song starts. Rounds
# alternate between the contenders so that a busy spell of the shared machine hits them alike; the
# median of the rounds' ratios is the figure, with the smallest and largest beside it. CPU time
# ratios are printed too: on a busy machine they move less than the wall clock.
#
# Usage: scripts/bench-startup.sh [BUILD_DIR] [ROUNDS]   (defaults: build, 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
rounds="${2:-5}"
program="$build/shufflon"
probe="$build/bench/startup/startup_probe"
maketree="$build/bench/songtree/make_song_tree"
for tool in "$program" "$probe" "$maketree"; do
  [ -x "$tool" ] || { echo "bench-startup: $tool is not built"; exit 1; }
done

source "$root/scripts/lib/desktop.sh"
begin_run startup
mkdir -p "$work/tree" "$work/empty" "$work/config" "$work/config-tags"
echo "making the tree in $work/tree ..."
"$maketree" "$work/tree" --tags
profile="$(basename "$program").INI"
printf '[SHFConfig]\nAutoplay=0\nUseTaglist=0\n' >"$work/config/$profile"
printf '[SHFConfig]\nAutoplay=0\nUseTaglist=1\n' >"$work/config-tags/$profile"

# A bare X server: the window is mapped as soon as the program asks, and no window manager takes
# a core from the measurement.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 -u "$displayfd" number || { echo "bench-startup: Xvfb did not start"; exit 1; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

launch() { # folder config: "window_ms rss_kib cpu_ms" of one launch
  local line
  if ! line="$(cd "$1" && XDG_CONFIG_HOME="$2" "$probe" -- "$program" 2>>"$work/probe.log")"; then
    echo "bench-startup: no window in $1:" >&2
    cat "$work/probe.log" >&2
    kill -TERM $$
  fi
  echo "$line" | sed -E 's/window_ms=([0-9.]+) rss_kib=([0-9]+) cpu_ms=([0-9.]+)/\1 \2 \3/'
}

find_ms() { # "wall_ms cpu_ms" of the reference
  local TIMEFORMAT='%R %U %S' times
  times="$({ time find "$work/tree" -type f -printf '%s\n' >/dev/null; } 2>&1)"
  echo "$times" | awk '{printf "%.1f %.1f\n", $1 * 1000, ($2 + $3) * 1000}'
}

# Warm the cache and the program's libraries; these runs are not counted.
find_ms >/dev/null
launch "$work/empty" "$work/config" >/dev/null
launch "$work/tree" "$work/config" >/dev/null

songs=100000
printf '%-6s %10s %10s %10s %10s %9s %9s %12s\n' round empty_ms tree_ms tags_ms find_ms ratio tags "B/song"
results="$work/results"
: >"$results"
for round in $(seq "$rounds"); do
  read -r e_ms e_rss e_cpu <<<"$(launch "$work/empty" "$work/config")"
  read -r f_ms f_cpu <<<"$(find_ms)"
  read -r t_ms t_rss t_cpu <<<"$(launch "$work/tree" "$work/config")"
  read -r g_ms g_rss g_cpu <<<"$(launch "$work/tree" "$work/config-tags")"
  awk -v r="$round" -v e="$e_ms" -v t="$t_ms" -v g="$g_ms" -v f="$f_ms" -v ec="$e_cpu" -v tc="$t_cpu" \
    -v gc="$g_cpu" -v fc="$f_cpu" -v er="$e_rss" -v tr="$t_rss" -v n="$songs" -v out="$results" 'BEGIN {
      ratio = (t - e) / f; tags = (g - e) / f; bytes = (tr - er) * 1024 / n
      cratio = (fc > 0) ? (tc - ec) / fc : 0; ctags = (fc > 0) ? (gc - ec) / fc : 0
      printf "%-6d %10.1f %10.1f %10.1f %10.1f %9.2f %9.2f %12.0f\n", r, e, t, g, f, ratio, tags, bytes
      printf "%f %f %f %f %f\n", ratio, tags, bytes, cratio, ctags >> out
    }'
done

summary() { # column title goal
  sort -g -k"$1" "$results" | awk -v c="$1" -v title="$2" -v goal="$3" '
    { v[NR] = $c } END {
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "%-52s %8.2f  (rounds %.2f to %.2f; goal %s)\n", title, m, v[1], v[NR], goal
    }'
}
echo
echo "median of $rounds rounds:"
summary 1 "launch to window, tree minus empty, / find:" "at most 1.5"
summary 2 "the same with the tag list on, / find:" "at most 2.0"
summary 3 "resident size, tree minus empty, bytes a song:" "at most 400"
summary 4 "CPU time, tree minus empty, / find's CPU time:" "for comparison"
summary 5 "CPU time with the tag list, / find's CPU time:" "for comparison"
