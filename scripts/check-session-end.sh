#!/usr/bin/env bash
# The played marks and the settings outlive the ways a program is ended from outside, and a close
# at the wrong moment. The real shufflon on a virtual desktop (Xvfb with icewm) with a PulseAudio
# null sink, the tag list on:
#  1. three songs heard, then `kill -TERM`: the folder's tag file holds the three marks and the
#     settings are written; the same after one song for SIGHUP and SIGINT;
#  2. the close box clicked while a large folder chosen with Browse is searched, so that the close
#     comes while its tag list is being read: that folder's tag file keeps its marks byte for byte.
#
# Usage: scripts/check-session-end.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
program="$build/shufflon"
[ -x "$program" ] || { echo "session-end: $program is not built"; exit 1; }

source "$root/scripts/lib/desktop.sh"
begin_run session-end
fail() { echo "session-end: FAILED: $*"; exit 1; }

mkdir -p "$work/songs" "$work/config"
write_song "$work/songs/one.mid" '\x00' '\x3c'
write_song "$work/songs/two.mid" '\x13' '\x40'
write_song "$work/songs/three.mid" '\x49' '\x43'
profile="$work/config/shufflon.INI"
tags="$work/songs/MIDITags.SHF"

start_desktop "$work"
# A bus of its own, so that no other player's bus is touched.
source "$root/scripts/lib/e2e-mpris.sh" && e2e_mpris_bus
export QT_QPA_PLATFORM=xcb

inotifywait -m -e open --format '%f' "$work/songs" >"$work/opened.log" 2>"$work/inotify.log" &
pids+=($!)
for _ in $(seq 300); do grep -q 'Watches established' "$work/inotify.log" 2>/dev/null && break; sleep 0.1; done
# A song's start opens its file twice, once to read its words and once to play it, and the
# kernel may report the two opens as one: a start is a run of opens of the same file.
songs_started() { uniq "$work/opened.log" 2>/dev/null | grep -c '\.mid$' || true; }
marks() { od -An -tu4 -w260 -v "$1" | awk '$1 != 0 {n++} END {print n + 0}'; }
records() { echo $(($(stat -c %s "$1") / 260)); }

# Starts the program in FOLDER with the settings given, and waits for its window.
start_program() { # folder settings
  printf '[SHFConfig]\n%b\n' "$2" >"$profile"
  # A shell's background job ignores SIGINT, and a check run under nohup ignores SIGHUP; a program
  # started ignoring a signal rightly goes on ignoring it, so it is started as from a terminal.
  (cd "$1" && XDG_CONFIG_HOME="$work/config" exec env --default-signal=HUP,INT,TERM "$program") >>"$work/shufflon.log" 2>&1 &
  app=$!
  pids+=($app)
  window="$(wait_for_main_window)"
  [ -n "$window" ] || fail "the main window did not appear"
}

# Waits up to 30 s for the program to end; fails unless it ended by itself with status 0.
wait_end() { # what
  for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "$1: the program is still running"
  local status=0
  wait "$app" || status=$?
  [ "$status" -eq 0 ] || fail "$1: the program ended with status $status"
}

# 1. Three songs in list order, the fourth started (so three were played whole), then SIGTERM.
: >"$work/opened.log"
parec -d "$sink.monitor" --file-format=wav "$work/playing.wav" &
rec=$!
pids+=($rec)
start_program "$work/songs" 'UseTaglist=1\nPlayStile=1'
for _ in $(seq 1200); do [ "$(songs_started)" -ge 4 ] && break; sleep 0.1; done
[ "$(songs_started)" -ge 4 ] || fail "the program started $(songs_started) songs in two minutes"
kill "$rec"; wait "$rec" 2>/dev/null || true
rms="$(sox "$work/playing.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')"
awk -v r="$rms" 'BEGIN {exit !(r > 0.001)}' || fail "nothing was heard (RMS $rms)"
kill -TERM "$app"
wait_end SIGTERM
[ -f "$tags" ] || fail "SIGTERM: no tag file"
[ "$(records "$tags")" -eq 3 ] && [ "$(marks "$tags")" -eq 3 ] ||
  fail "SIGTERM: the tag file holds $(marks "$tags") marks in $(records "$tags") records"
[ "$(grep -c '=' "$profile")" -eq 17 ] || fail "SIGTERM: the settings were not written"
echo "session-end: SIGTERM after three songs (RMS $rms): 3 marks of 3 songs, 17 settings"

for signal in HUP INT; do
  rm -f "$tags"
  : >"$work/opened.log"
  start_program "$work/songs" 'UseTaglist=1\nPlayStile=1'
  for _ in $(seq 300); do [ "$(songs_started)" -ge 1 ] && break; sleep 0.1; done
  sleep 1
  kill -"$signal" "$app"
  wait_end "SIG$signal"
  [ -f "$tags" ] && [ "$(marks "$tags")" -eq 1 ] || fail "SIG$signal: the played song's mark is not in the tag file"
  [ "$(grep -c '=' "$profile")" -eq 17 ] || fail "SIG$signal: the settings were not written"
  echo "session-end: SIG$signal after one song: its mark and 17 settings"
done

# 2. A flat folder of many songs, a third of them marked in its tag file, whose records lie in the
# reverse of list order: a save after a completed reading writes the same marks in list order. The
# walk of one folder takes no input, so a close clicked during it waits, and comes while the tag
# list's wait window is drawn.
big="$work/big"
count=150000
mkdir -p "$big"
(cd "$big" && seq -f '%06.0f.mid' 1 "$count" | xargs touch)
pad=""
for _ in $(seq $((256 - ${#big} - 11))); do pad+='\x00'; done
for ((i = count; i >= 1; i--)); do
  if ((i % 3 == 0)); then flag='\x01'; else flag='\x00'; fi
  printf "$flag"'\x00\x00\x00%s/%06d.mid'"$pad" "$big" "$i"
done >"$big/MIDITags.SHF"
[ "$(records "$big/MIDITags.SHF")" -eq "$count" ] || fail "the large tag file was not made"

start_program "$work/songs" 'UseTaglist=1\nAutoplay=0'
read -r left top width height < <(xwininfo -id "$window" |
  awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
# Browse: dialog units (187, 79, 50, 14) in the window's client area.
xdotool mousemove --window "$window" $(((187 + 25) * width / 300)) $(((79 + 7) * height / 164)) click 1
chooser=""
for _ in $(seq 100); do
  chooser="$(xdotool search --onlyvisible --name 'Please, select MIDI files folder' 2>/dev/null | head -n 1 || true)"
  [ -n "$chooser" ] && break
  sleep 0.1
done
[ -n "$chooser" ] || fail "the folder chooser did not open"
sleep 0.5
xdotool windowactivate --sync "$chooser" type --delay 5 "$big"
xdotool key Return
# The close box at the right end of the window manager's title bar, once the search shows.
for _ in $(seq 200); do
  xdotool search --onlyvisible --name '^Searching' >/dev/null 2>&1 && break
  sleep 0.02
done
xdotool mousemove $((left + width - 13)) $((top - 10)) click 1
wait_end "the close during the large folder's search"
kept="$(marks "$big/MIDITags.SHF")"
[ "$(records "$big/MIDITags.SHF")" -eq "$count" ] && [ "$kept" -eq $((count / 3)) ] ||
  fail "the large folder's tag file holds $kept marks in $(records "$big/MIDITags.SHF") records, not $((count / 3))"
# A file not written again still starts with the last song.
how="written again after its reading"
[ "$(head -c 260 "$big/MIDITags.SHF" | tr -d '\0' | tail -c 10)" = 150000.mid ] && how="left as it was"
echo "session-end: a close during the large folder's search and reading: its $kept marks kept ($how)"
echo "session-end: passed"
