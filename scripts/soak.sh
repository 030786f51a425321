#!/usr/bin/env bash
# The long-run soak: the real shufflon in intro mode (one second a song, no repetition) over a
# generated folder of songs, on a virtual desktop with a null sink. The resident memory is read
# as the run goes on; printed is its growth per song between the 100th and the 1,000th song.
# Goal: under 1 KB a song.
#
#   scripts/soak.sh [BUILD_DIR]
#
# SOAK_SONGS (default 1200) songs are generated; SOAK_FIRST and SOAK_LAST (100, 1000) are the
# songs measured between; SOAK_MINUTES (90) bounds the run, after which the growth measured so
# far is printed. Songs played are counted by their access times: each song's file is read when
# it is opened, and the folder search only looks at names and sizes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/shufflon"
songs=${SOAK_SONGS:-1200}
first=${SOAK_FIRST:-100}
last=${SOAK_LAST:-1000}
minutes=${SOAK_MINUTES:-90}
[ -x "$program" ] || { echo "soak: $program is not built"; exit 1; }

source "$root/scripts/lib/desktop.sh"
begin_run soak

# Songs of 3 s, one note each on a program and key of their own, so that intro mode cuts them.
mkdir -p "$work/songs" "$work/config"
for i in $(seq "$songs"); do
  program_byte=$(printf '\\x%02x' $((i % 128)))
  key=$(printf '\\x%02x' $((48 + i % 24)))
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xe8MTrk\x00\x00\x00\x18\x00\xff\x51\x03\x0f\x42\x40\x00\xc0'"$program_byte"'\x00\x90'"$key"'\x64\x97\x38\x80'"$key"'\x00\x83\x74\xff\x2f\x00' \
    >"$work/songs/song$(printf %05d "$i").mid"
done
touch -d '-1 hour' "$work/songs"/*.mid
printf '[SHFConfig]\nAutoplay=1\nIntro=1\nIntroLength=1\nAllowRepetition=0\nSubfolders=0\n' >"$work/config/shufflon.INI"

start_desktop "$work"
(cd "$work/songs" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)

played() { # songs whose file has been read since it was written
  stat -c '%X %Y' "$work/songs"/*.mid | awk '$1 > $2 {n++} END {print n + 0}'
}
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app/status"; }

deadline=$(( $(date +%s) + minutes * 60 ))
rss_first="" count_first="" count=0
while [ "$(date +%s)" -lt "$deadline" ]; do
  kill -0 "$app" 2>/dev/null || { echo "soak: the program ended early"; cat "$work/shufflon.log"; exit 1; }
  count=$(played)
  rss=$(rss_kb)
  if [ -z "$rss_first" ] && [ "$count" -ge "$first" ]; then
    rss_first=$rss count_first=$count
    echo "soak: song $count: resident $rss KB"
  fi
  if [ $((SECONDS % 60)) -lt 2 ]; then echo "soak: $(date +%T) song $count: resident $rss KB"; fi
  [ "$count" -ge "$last" ] && break
  sleep 2
done
echo "soak: song $count: resident $rss KB"
if [ -z "$rss_first" ] || [ "$count" -le "$count_first" ]; then
  echo "soak: not enough songs played to measure (reached $count)"
  exit 1
fi
awk -v a="$rss_first" -v b="$rss" -v n1="$count_first" -v n2="$count" 'BEGIN {
  per = (b - a) / (n2 - n1)
  printf "soak: growth between song %d and song %d: %d KB, %.2f KB a song (goal under 1 KB): %s\n",
         n1, n2, b - a, per, per < 1 ? "met" : "NOT met"
  exit !(per < 1)
}'
