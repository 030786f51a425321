# Sourced by scripts/e2e.sh: the lyrics window of the real program. Started in a folder of karaoke
# songs, the window is opened from the main window's right-click menu and shows the words with the
# sung part marked (its picture is kept as BUILD/e2e-lyrics.png and its colours checked); the
# desktop's media controls see the words; closing with the window open and starting again reopens
# it. Needs begin_run's $work and $pids, the desktop and the session bus the check started, $root,
# $build, $program and a fail function.

e2e_lyrics() {
  local folder="$work/karaoke" config="$work/karaoke-config" app window lyrics words
  mkdir -p "$folder" "$config"
  cp "$root/demo/Amazing Grace.kar" "$folder/"
  # Karaoke files of the older kinds too, when the generator is built.
  [ -x "$build/tools/demogen/shufflon_demogen" ] && "$build/tools/demogen/shufflon_demogen" --karaoke "$folder" >/dev/null
  # In list order, so that "Amazing Grace" plays first.
  printf '[SHFConfig]\nPlayStile=1\n' >"$config/shufflon.INI"

  start_karaoke() {
    (cd "$folder" && XDG_CONFIG_HOME="$config" exec "$program") >"$work/karaoke.log" 2>&1 &
    app=$!
    pids+=($app)
    window="$(wait_for_main_window)"
    [ -n "$window" ] || fail "lyrics: the main window did not appear"
  }
  wait_for_lyrics() {
    lyrics=""
    for _ in $(seq 100); do
      lyrics="$(xdotool search --onlyvisible --limit 1 --name '^Shufflon Lyrics$' 2>/dev/null || true)"
      [ -n "$lyrics" ] && return
      sleep 0.1
    done
    fail "lyrics: the lyrics window did not appear"
  }

  start_karaoke
  # A right click where no control is opens the window's menu; its "Lyrics" item has the key L.
  xdotool mousemove --window "$window" 4 4 click 3
  sleep 1
  xdotool key l
  wait_for_lyrics
  echo "e2e: lyrics: the window opened from the menu"

  # Four seconds into the song "Amazing grace! How" is sung: the highlight colour (blue in the
  # desktop's default palette) marks it, the rest of the line is in the text's dark colour.
  sleep 4
  import -window "$lyrics" "$work/lyrics.png"
  cp "$work/lyrics.png" "$build/e2e-lyrics.png"
  local sung unsung
  sung="$(convert "$work/lyrics.png" -fx '(b-r>0.25) ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:)"
  unsung="$(convert "$work/lyrics.png" -fx '(r<0.25 && g<0.25 && b<0.25) ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:)"
  [ "$sung" -gt 50 ] && [ "$unsung" -gt 50 ] ||
    fail "lyrics: the window shows $sung marked and $unsung unmarked pixels of words"
  echo "e2e: lyrics: $sung pixels of sung words, $unsung of words to come (picture: $build/e2e-lyrics.png)"

  words="$(playerctl --player=shufflon metadata xesam:asText 2>/dev/null || true)"
  [[ "$words" == "Amazing grace! How sweet the sound"$'\n'* ]] ||
    fail "lyrics: MPRIS gives the words '$words'"
  echo "e2e: lyrics: playerctl gives the words ($(wc -l <<<"$words") lines)"

  close_and_wait "$window" "$app"
  grep -qx 'ShowLyrics=1' "$config/shufflon.INI" || fail "lyrics: the open window was not kept in the profile"
  start_karaoke
  wait_for_lyrics
  echo "e2e: lyrics: the window opened again at the next start"
  close_and_wait "$window" "$app"
}
