# Sourced by scripts/e2e.sh: a user's hand on the running program's window, through xdotool. Needs
# begin_run's $work and $pids, start_desktop's $sink and a fail function. Call e2e_input_check
# with the main window's id while no song plays. With E2E_PICTURES set to a folder, the pictures
# taken are copied there to look at.

# The number of pixels of the dog's brown coat in a picture.
dog_pixels() { # picture
  convert "$1" -fuzz 10% -fill black +opaque '#8B5A2B' -fill white -opaque '#8B5A2B' \
    -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}

# The visible windows with exactly this title.
windows_named() { # title
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

e2e_input_check() { # MAIN_WINDOW
  local main="$1" width height box about heard pixels best=0
  read -r width height < <(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
  # A point of the main window in its template's dialog units (300 x 164): it opens at that size
  # with fresh settings, before the user makes it larger.
  at_units() { echo "$(( $1 * width / 300 )) $(( $2 * height / 164 ))"; }

  # Save song with no song: two clicks that reach the program together, as while it is busy, give
  # one box, not one on top of the other.
  xdotool mousemove --window "$main" $(at_units 212 50) click --repeat 2 --delay 1 1
  for _ in $(seq 100); do [ "$(windows_named Shufflon | wc -l)" -ge 2 ] && break; sleep 0.1; done
  sleep 2 # room for a second box, should one come
  [ "$(windows_named Shufflon | wc -l)" -eq 2 ] ||
    fail "two clicks on Save song gave $(( $(windows_named Shufflon | wc -l) - 1 )) boxes"
  box="$(windows_named Shufflon | grep -vx "$main" | head -n 1)"
  xdotool windowactivate --sync "$box" key Escape 2>/dev/null || xdotool key Escape
  for _ in $(seq 100); do [ "$(windows_named Shufflon | wc -l)" -eq 1 ] && break; sleep 0.1; done
  echo "e2e: two clicks on Save song at once gave one box"

  # The About box's icon, double-clicked with Ctrl and Shift held: the dog runs and barks.
  xdotool mousemove --window "$main" $(at_units 212 32) click 1
  for _ in $(seq 100); do about="$(windows_named 'About Shufflon' | head -n 1)"; [ -n "$about" ] && break; sleep 0.1; done
  [ -n "$about" ] || fail "the About box did not open"
  sleep 0.5
  import -window "$about" "$work/about.png" 2>/dev/null
  [ "$(dog_pixels "$work/about.png")" -lt 20 ] || fail "the About box shows brown before the dog runs"
  parec -d "$sink.monitor" --file-format=wav "$work/bark.wav" &
  local rec=$!
  pids+=($rec)
  sleep 0.5
  # The icon button: 6, 6 dialog units of the 261 x 114 box, 72 pixels square.
  read -r width height < <(xwininfo -id "$about" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
  xdotool keydown ctrl shift
  xdotool mousemove --window "$about" $(( 6 * width / 261 + 36 )) $(( 6 * height / 114 + 36 )) \
    click --repeat 2 --delay 80 1
  # The dog runs for two and a half seconds or more. The keys stay down until it is seen, or for
  # half a minute, so that a busy machine reaching the double click late still finds them held.
  for _ in $(seq 300); do
    import -window "$about" "$work/dog.png" 2>/dev/null || true
    pixels="$(dog_pixels "$work/dog.png")"
    [ "$pixels" -gt "$best" ] && { best="$pixels"; cp "$work/dog.png" "$work/best-dog.png"; }
    [ "$best" -ge 100 ] && break
    [ -n "$(windows_named 'SHF Hidden DOG')" ] && break
    sleep 0.1
  done
  xdotool keyup shift ctrl
  sleep 3 # the rest of the bark
  kill "$rec"; wait "$rec" 2>/dev/null || true
  [ -z "${E2E_PICTURES:-}" ] || { mkdir -p "$E2E_PICTURES" && cp "$work"/about.png "$work"/best-dog.png "$E2E_PICTURES/"; } 2>/dev/null || true
  [ -z "$(windows_named 'SHF Hidden DOG')" ] || fail "a hint came instead of the dog"
  [ "$best" -ge 100 ] || fail "no dog seen on the About box (at most $best brown pixels)"
  heard="$(sox "$work/bark.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')"
  awk -v r="$heard" 'BEGIN {exit !(r > 0.005)}' || fail "no bark heard (RMS $heard)"
  echo "e2e: Ctrl+Shift and a double click on the About icon: the dog seen ($best brown pixels), the bark heard (RMS $heard)"
  xdotool windowactivate --sync "$about" key Escape 2>/dev/null || xdotool key Escape
  for _ in $(seq 100); do [ -z "$(windows_named 'About Shufflon')" ] && break; sleep 0.1; done
}
