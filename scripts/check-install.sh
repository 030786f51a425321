#!/usr/bin/env bash
# Checks what `cmake --install` gives a desktop: every file in its place and nothing else, icons
# at their sizes, the desktop entry and the AppStream data passing their validators, the program
# answering --version, and the menu entry starting the program in the user's music folder (the
# home folder without one) or in the folder a file manager passes.
#
# Usage: scripts/check-install.sh BUILD_DIR     installs BUILD_DIR into a scratch folder first
#        scripts/check-install.sh --tree PREFIX checks an installed tree (e.g. an unpacked .deb)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d /tmp/shufflon-install.XXXXXX)"
trap 'rm -rf "$work"' EXIT
fail() { echo "check-install: FAILED: $*"; exit 1; }

if [ "${1:-}" = --tree ]; then
  prefix="$(cd "$2" && pwd)"
else
  build="$(cd "${1:-$root/build}" && pwd)"
  cmake --install "$build" --prefix "$work/usr" >/dev/null
  prefix="$work/usr"
fi

sizes=(16 22 24 32 48 64 128 256)
expected=(bin/shufflon share/applications/shufflon.desktop
  share/metainfo/io.github.shufflon.shufflon.metainfo.xml
  share/icons/hicolor/scalable/apps/shufflon.svg
  share/doc/shufflon/copyright share/doc/shufflon/changelog.gz share/man/man1/shufflon.1.gz)
for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/shufflon.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) ||
  fail "the installed files differ from the list (< missing, > unexpected)"
echo "check-install: all ${#expected[@]} files in place, nothing else"

for size in "${sizes[@]}"; do
  got="$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/shufflon.png")"
  [ "$got" = "${size}x${size}" ] || fail "the ${size} pixel icon is $got"
done
desktop-file-validate "$prefix/share/applications/shufflon.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.shufflon.shufflon.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate"
echo "check-install: icon sizes, desktop entry and AppStream data valid"

# --version must run without a display, before any window.
version="$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/shufflon" --version)"
[[ "$version" =~ ^shufflon\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
echo "check-install: $version"

# The menu entry, launched as a desktop does, with a stand-in program that tells where it started.
mkdir -p "$work/bin" "$work/home/Musik" "$work/home/.config" "$work/other folder"
printf '#!/bin/sh\npwd >"%s/started"\nprintf "%%s\\n" "$@" >>"%s/started"\n' "$work" "$work" >"$work/bin/shufflon"
chmod +x "$work/bin/shufflon"
launch() { # [FOLDER]
  rm -f "$work/started"
  HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" PATH="$work/bin:$PATH" \
    gio launch "$prefix/share/applications/shufflon.desktop" "$@" 2>/dev/null
  for _ in $(seq 50); do [ -s "$work/started" ] && break; sleep 0.1; done
  cat "$work/started" 2>/dev/null
}
printf 'XDG_MUSIC_DIR="$HOME/Musik"\n' >"$work/home/.config/user-dirs.dirs"
[ "$(launch)" = "$work/home/Musik" ] || fail "the menu entry did not start in the music folder: $(launch)"
rm "$work/home/.config/user-dirs.dirs"
[ "$(launch)" = "$work/home" ] || fail "without a music folder the entry did not start at home: $(launch)"
printf 'XDG_MUSIC_DIR="$HOME/gone"\n' >"$work/home/.config/user-dirs.dirs"
[ "$(launch)" = "$work/home" ] || fail "with a missing music folder the entry did not start at home: $(launch)"
[ "$(launch "$work/other folder" | tail -1)" = "$work/other folder" ] ||
  fail "the entry did not pass the folder it was given"
echo "check-install: the menu entry starts in the music folder, else at home, and passes a folder"
echo "check-install: passed"
