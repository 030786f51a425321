#!/usr/bin/env bash
# The real program on a virtual desktop with a null sound sink, as the desktop's media controls
# reach it.
#   bus:   on a private session bus (a dbus-daemon of this test), driven with playerctl: status,
#          play-pause, metadata, position, next, pause and play, stop, a seek while stopped, quit.
#   nobus: with no session bus at all: the program plays and closes as before, and says nothing
#          about the bus.
# Usage: desktop_media_test.sh PROGRAM bus|nobus
set -euo pipefail
program="$1"
mode="$2"
root="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$root/scripts/lib/desktop.sh"
begin_run "media-$mode"
fail() {
  echo "FAILED: $*"
  [ "$mode" = bus ] && player metadata 2>&1 | sed "s/^/  meta: /"
  for box in $(xdotool search --name 'Shufflon' 2>/dev/null || true); do echo "  window: $(xdotool getwindowname "$box" 2>/dev/null)"; done
  [ -f "$work/shufflon.log" ] && sed 's/^/  log: /' "$work/shufflon.log"
  exit 1
}

# A song of 8 s: one note of 7 s, then a second of silence. One tick is a millisecond.
write_song() { # path program note
  local head='MThd\x00\x00\x00\x06\x00\x00\x00\x01\x03\xe8MTrk\x00\x00\x00\x18'
  local track='\x00\xff\x51\x03\x0f\x42\x40\x00\xc0'"$2"'\x00\x90'"$3"'\x64\xb6\x58\x80'"$3"'\x00\x87\x68\xff\x2f\x00'
  printf "$head$track" >"$1"
}
mkdir -p "$work/songs" "$work/config"
write_song "$work/songs/a.mid" '\x00' '\x3c'
write_song "$work/songs/b.mid" '\x13' '\x40'
write_song "$work/songs/c.mid" '\x49' '\x43'

start_desktop "$work"

if [ "$mode" = nobus ]; then
  # An address where no bus listens: with none at all, the bus library would find (or start) one
  # for the X display, as every desktop program does.
  printf '[SHFConfig]\nPlayStile=1\n' >"$work/config/shufflon.INI"
  (cd "$work/songs" && DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" XDG_CONFIG_HOME="$work/config" \
    exec "$program") >"$work/shufflon.log" 2>&1 &
  app=$!
  pids+=($app)
  window="$(wait_for_main_window)"
  [ -n "$window" ] || fail "the main window did not appear without a bus"
  sleep 2
  kill -0 "$app" 2>/dev/null || fail "the program ended without a bus"
  close_and_wait "$window" "$app"
  kill -0 "$app" 2>/dev/null && fail "the program did not end after its window was closed"
  wait "$app" || fail "the program ended with status $?"
  grep -qi 'd-\?bus' "$work/shufflon.log" && fail "the program spoke of the missing bus"
  [ "$(grep -c '=' "$work/config/shufflon.INI")" -ge 12 ] || fail "closing did not write the settings"
  echo "passed: without a session bus the program ran, closed and said nothing of the bus"
  exit 0
fi

# In list order, and idle at start, so that every step below has one right answer.
printf '[SHFConfig]\nAutoplay=0\nPlayStile=1\n' >"$work/config/shufflon.INI"
bus="unix:path=$work/bus"
dbus-daemon --session --address="$bus" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="$bus"
for _ in $(seq 50); do [ -S "$work/bus" ] && break; sleep 0.1; done
(cd "$work/songs" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/shufflon.log" 2>&1 &
app=$!
pids+=($app)
player() { playerctl --player=shufflon "$@"; }
property() { # interface.property
  dbus-send --session --print-reply=literal --dest=org.mpris.MediaPlayer2.shufflon /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get "string:${1%.*}" "string:${1##*.}" | awk '{print $NF}'
}

expect_output "status at start" Stopped player status
# A follower learns of every change only from the program's PropertiesChanged signals.
player --follow metadata --format '{{status}}:{{title}}' >"$work/followed" 2>/dev/null &
pids+=($!)
sleep 0.5
expect_output "identity" Shufflon property org.mpris.MediaPlayer2.Identity
expect_output "desktop entry" shufflon property org.mpris.MediaPlayer2.DesktopEntry
expect_output "no previous" false property org.mpris.MediaPlayer2.Player.CanGoPrevious

# A seek while stopped is refused: no error box, still stopped.
player position 3 2>/dev/null || true
sleep 1
[ -z "$(xdotool search --name 'Shufflon Error' 2>/dev/null || true)" ] || fail "a seek while stopped opened an error box"
expect_output "status after a seek while stopped" Stopped player status

# Play-pause while stopped plays, as the tray's left click does: the first song in list order.
player play-pause
expect_output "status after play-pause" Playing player status
expect_output "title" a.mid player metadata xesam:title
expect_output "url" "file://$work/songs/a.mid" player metadata xesam:url
expect_output "length" 8000000 player metadata mpris:length
# A position for a track that is not the current one is ignored.
dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.shufflon /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Player.SetPosition objpath:/net/shufflon/track/999 int64:7000000
sleep 1.5
# Positions are read from the property itself, in microseconds of whole seconds: playerctl's
# own figure runs on from its last reading, so it would seem to advance by itself.
position() { property org.mpris.MediaPlayer2.Player.Position; }
first="$(position)"
[ "$first" -lt 5000000 ] || fail "SetPosition of a stale track moved the song to $first"
second="$first"
for _ in $(seq 150); do
  sleep 0.2
  second="$(position)"
  [ "$second" -gt "$first" ] && break
done
[ "$second" -gt "$first" ] || fail "position did not advance: $first then $second"
echo "ok: position advanced: $first then $second"

# SetPosition for the current track seeks.
player position 6
seeked=""
for _ in $(seq 150); do
  sleep 0.2
  seeked="$(position)"
  [ "$seeked" -ge 6000000 ] && [ "$seeked" -lt 8000000 ] && break
done
[ "$seeked" -ge 6000000 ] && [ "$seeked" -lt 8000000 ] || fail "SetPosition did not seek to 6 s: $seeked"
echo "ok: SetPosition of the current track seeks: $seeked"

# Next moves on to the next song in list order.
player next
expect_output "title after next" b.mid player metadata xesam:title
expect_output "status after next" Playing player status

player pause
expect_output "status after pause" Paused player status
player play
expect_output "status after play" Playing player status
expect_output "title after resume" b.mid player metadata xesam:title

player stop
expect_output "status after stop" Stopped player status
expect_output "no title after stop" "" player metadata xesam:title

for line in Playing:a.mid Playing:b.mid Paused:b.mid Stopped:; do
  grep -qx "$line" "$work/followed" || fail "the follower never saw $line: $(tr '\n' ' ' <"$work/followed")"
done
echo "ok: a follower saw the changes: $(uniq "$work/followed" | tr '\n' ' ')"

# Quit runs the window's close sequence, which writes the settings.
dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.shufflon /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Quit
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "Quit did not end the program"
[ "$(grep -c '=' "$work/config/shufflon.INI")" -ge 12 ] || fail "Quit did not write the settings"
echo "passed: the program answered playerctl on a private session bus"
