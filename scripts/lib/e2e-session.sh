# Sourced by scripts/e2e.sh: the program as one of a desktop session. Needs begin_run's $work and
# $pids, a desktop from start_desktop, the session bus of e2e_mpris_bus, write_song and fail.
#   - a second start hands its folder, or a song, to the running program and ends at once; a
#     first start with a song plays that song first; --new-instance starts another one anyway;
#   - the sound stream in the mixer is named after the program and the song;
#   - playerctl sets the play style and the volume and goes back to the song before;
#   - the window can be made larger, and its size is kept;
#   - a tray that goes away gives the hidden window back, and one that comes late gets the icon.

session_player() { playerctl --player=shufflon "$@" 2>/dev/null || true; }

# The mixer's view of the program's stream: "application name|media name".
session_stream() {
  pactl list sink-inputs | awk -F' = ' '
    /application.name = / {gsub(/"/, "", $2); app = $2}
    /media.name = / {gsub(/"/, "", $2); media = $2}
    END {print app "|" media}'
}

session_tray_icon() { # prints yes when Shufflon's icon sits in the tray
  xwininfo -root -tree 2>/dev/null | grep -q '"shufflon": ("shufflon" "shufflon")' && echo yes || echo no
}

session_in_second_folder() {
  [[ "$(session_player metadata xesam:url)" == "file://$work/Second%20Folder/"* ]] && echo yes || echo no
}

session_windows() { xdotool search --onlyvisible --name '^Shufflon$' 2>/dev/null | wc -l; }

e2e_session_check() { # PROGRAM
  local program="$1" app window started rc width
  mkdir -p "$work/first" "$work/Second Folder"
  write_song "$work/first/one.mid" '\x00' '\x3c'
  write_song "$work/first/two.mid" '\x13' '\x40'
  write_song "$work/Second Folder/Three.MID" '\x49' '\x43'
  write_song "$work/Second Folder/four.mid" '\x30' '\x45'
  printf '[SHFConfig]\nPlayStile=1\n' >"$work/config/shufflon.INI"
  (cd "$work/first" && XDG_CONFIG_HOME="$work/config" exec "$program") >"$work/session.log" 2>&1 &
  app=$!
  pids+=($app)
  window="$(wait_for_main_window)"
  [ -n "$window" ] || fail "session: the main window did not appear"
  expect_output "playing at start" one.mid session_player metadata xesam:title
  expect_output "the mixer's stream" "Shufflon|one.mid" session_stream

  # A second start with another folder: it ends at once, and the first plays from there.
  started=$(date +%s%N)
  rc=0
  (cd / && XDG_CONFIG_HOME="$work/config" timeout 20 "$program" "$work/Second Folder") || rc=$?
  [ "$rc" -eq 0 ] || fail "session: the second start ended with status $rc"
  echo "e2e: session: a second start with a folder ended with status 0 after $(( ($(date +%s%N) - started) / 1000000 )) ms"
  expect_output "the running window plays from the other folder" yes session_in_second_folder
  [ "$(session_windows)" -eq 1 ] || fail "session: there are $(session_windows) windows"
  kill -0 "$app" 2>/dev/null || fail "session: the first program ended"
  expect_output "the mixer names the song" "Shufflon|$(session_player metadata xesam:title)" session_stream

  # A song on the command line of a second start plays at once.
  (cd / && XDG_CONFIG_HOME="$work/config" timeout 20 "$program" "$work/first/two.mid") ||
    fail "session: the second start with a song failed"
  expect_output "a song handed over plays" two.mid session_player metadata xesam:title

  # The song before, the play style and the volume, from the desktop's media controls.
  session_player next
  expect_output "next, in list order" one.mid session_player metadata xesam:title
  session_player previous
  expect_output "previous goes back" two.mid session_player metadata xesam:title
  expect_output "shuffle at first" Off session_player shuffle
  session_player shuffle On
  expect_output "shuffle set" On session_player shuffle
  session_player volume 0.5
  expect_output "volume set" 0.500000 session_player volume

  # The window made larger keeps its size for the next run.
  xdotool windowsize "$window" 800 560
  sleep 1
  width="$(xwininfo -id "$window" | awk '/Width:/ {print $2}')"
  [ "$width" -ge 790 ] || fail "session: the window is $width pixels wide after a resize to 800"
  import -window "$window" "$work/larger.png" 2>/dev/null || true
  echo "e2e: session: the window was made 800 pixels wide"

  # Hidden into the tray, the window comes back when the tray goes away.
  read -r wpx hpx < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
  local hide_x=$(( wpx - (300 - 243 - 25) * 3 / 2 )) hide_y=$(( (61 + 7) * 13 / 8 ))
  expect_output "the tray icon is there" yes session_tray_icon
  xdotool mousemove --window "$window" "$hide_x" "$hide_y" click 1
  expect_output "Hide hides the window" 0 session_windows
  stop_panel
  expect_output "the window is back when the tray is gone" 1 session_windows
  window="$(wait_for_main_window)"
  start_panel
  expect_output "a tray that comes back gets the icon" yes session_tray_icon
  close_and_wait "$window" "$app"
  kill -0 "$app" 2>/dev/null && fail "session: the program did not end after its window was closed"
  grep -q '^WindowWidth=80[0-9]$' "$work/config/shufflon.INI" ||
    fail "session: the window's width was not kept: $(grep Window "$work/config/shufflon.INI")"
  grep -q '^Volume=50$' "$work/config/shufflon.INI" || fail "session: the volume was not kept"
  grep -q '^PlayStile=0$' "$work/config/shufflon.INI" || fail "session: the play style was not kept"
  echo "e2e: session: size, volume and play style kept: $(grep -E '^(Window|Volume|PlayStile)' "$work/config/shufflon.INI" | tr '\n' ' ')"

  # Started with a song, without a panel: the song plays first, and a tray started two seconds
  # after the program gets the icon.
  stop_panel
  (cd / && XDG_CONFIG_HOME="$work/config" exec "$program" "$work/Second Folder/Three.MID") >>"$work/session.log" 2>&1 &
  app=$!
  pids+=($app)
  window="$(wait_for_main_window)"
  [ -n "$window" ] || fail "session: the main window did not appear without a panel"
  expect_output "a song on the command line plays first" Three.MID session_player metadata xesam:title
  sleep 2
  [ "$(session_tray_icon)" = no ] || fail "session: a tray icon without a tray"
  start_panel
  expect_output "a tray started two seconds later gets the icon" yes session_tray_icon

  # --new-instance starts a second program anyway.
  local second
  (cd "$work/first" && XDG_CONFIG_HOME="$work/config" exec "$program" --new-instance) >>"$work/session.log" 2>&1 &
  second=$!
  pids+=($second)
  expect_output "--new-instance opens a second window" 2 session_windows
  kill "$second"
  wait "$second" 2>/dev/null || true
  close_and_wait "$window" "$app"
  echo "e2e: session: passed"
}
