#!/usr/bin/env bash
# The long-run soak: the real shufflon in intro mode (one second a song, no repetition) over a
# folder of songs, on a virtual desktop with a null sink. The resident memory is read as the run
# goes on; printed is its growth per song between the 100th and the 1,000th song, and which of
# the process's mappings grew. Goal: under 1 KB a song.
#
#   scripts/soak.sh [BUILD_DIR] [SONG_FOLDER]
#
# Without a folder, SOAK_SONGS (default 1200) small songs are generated. A folder of real songs
# (and its subfolders) is played as it is and never written to. SOAK_FIRST and SOAK_LAST (100,
# 1000) are the songs measured between; SOAK_MINUTES (90) bounds the run, after which the growth
# measured so far is printed. Songs played are counted by the opening of their files: the folder
# search only looks at names and sizes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
folder="${2:-}"
program="$build/shufflon"
songs=${SOAK_SONGS:-1200}
first=${SOAK_FIRST:-100}
last=${SOAK_LAST:-1000}
minutes=${SOAK_MINUTES:-90}
[ -x "$program" ] || { echo "soak: $program is not built"; exit 1; }
command -v inotifywait >/dev/null || { echo "soak: inotifywait is missing (scripts/setup.sh installs it)"; exit 1; }

source "$root/scripts/lib/desktop.sh"
begin_run soak

mkdir -p "$work/config"
if [ -z "$folder" ]; then
  # Songs of 3 s, one note each on a program and key of their own, so that intro mode cuts them.
  folder="$work/songs"
  mkdir -p "$folder"
  for i in $(seq "$songs"); do
    program_byte=$(printf '\\x%02x' $((i % 128)))
    key=$(printf '\\x%02x' $((48 + i % 24)))
    printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xe8MTrk\x00\x00\x00\x18\x00\xff\x51\x03\x0f\x42\x40\x00\xc0'"$program_byte"'\x00\x90'"$key"'\x64\x97\x38\x80'"$key"'\x00\x83\x74\xff\x2f\x00' \
      >"$folder/song$(printf %05d "$i").mid"
  done
fi
[ -d "$folder" ] || { echo "soak: no folder $folder"; exit 1; }
printf '[SHFConfig]\nAutoplay=1\nIntro=1\nIntroLength=1\nAllowRepetition=0\nSubfolders=1\n' >"$work/config/shufflon.INI"

start_desktop "$work"
# Every opening of a song's file; the folder search only lists names and sizes.
inotifywait -m -r -e open --format '%w%f' "$folder" >"$work/opened.log" 2>"$work/inotify.log" &
pids+=($!)
for _ in $(seq 600); do grep -q 'Watches established' "$work/inotify.log" 2>/dev/null && break; sleep 0.1; done
(cd "$folder" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)

played() { grep -ciE '\.(mid|midi|rmi|kar)$' "$work/opened.log" || true; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app/status"; }
# Resident kilobytes of each kind of mapping: the heap, anonymous memory, each file.
mappings() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / {name = ($6 == "") ? "[anonymous]" : $6} /^Rss:/ {rss[name] += $2}
       END {for (n in rss) print rss[n], n}' "/proc/$app/smaps"
}

deadline=$(( $(date +%s) + minutes * 60 ))
rss_first="" count_first="" count=0
while [ "$(date +%s)" -lt "$deadline" ]; do
  kill -0 "$app" 2>/dev/null || { echo "soak: the program ended early"; cat "$work/shufflon.log"; exit 1; }
  count=$(played)
  rss=$(rss_kb)
  if [ -z "$rss_first" ] && [ "$count" -ge "$first" ]; then
    rss_first=$rss count_first=$count
    mappings >"$work/mappings.first"
    echo "soak: song $count: resident $rss KB"
  fi
  if [ $((SECONDS % 60)) -lt 2 ]; then echo "soak: $(date +%T) song $count: resident $rss KB"; fi
  [ "$count" -ge "$last" ] && break
  sleep 2
done
echo "soak: song $count: resident $rss KB"
if [ -n "$rss_first" ]; then
  mappings >"$work/mappings.last"
  echo "soak: mappings that grew (KB):"
  awk 'NR == FNR {first[substr($0, index($0, " ") + 1)] = $1; next}
       {name = substr($0, index($0, " ") + 1); d = $1 - first[name]; if (d >= 64 || d <= -64) print "  " d, name}' \
    "$work/mappings.first" "$work/mappings.last" | sort -rn | head -8
fi
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
