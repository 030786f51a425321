#!/usr/bin/env bash
# Installs every Debian package Shufflon needs to build, run, test and benchmark.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-wayland libfluidsynth-dev libpulse-dev
  libxcb1-dev
  # General MIDI SoundFont (installs /usr/share/sounds/sf2/default-GM.sf2) and fonts
  fluid-soundfont-gm fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  # tests
  libgtest-dev libgmock-dev googletest
  # the desktop and sound the end-to-end checks run on
  xvfb icewm xdotool imagemagick x11-utils pulseaudio pulseaudio-utils sox dbus-x11
  # the end-to-end check counts the songs the program opens
  inotify-tools
  # it reads the windows as a screen reader does, and runs the program on a headless Wayland
  # compositor, typing and looking there with wtype and grim
  at-spi2-core python3-pyatspi sway wtype grim
  # benchmark references
  fluidsynth
  # the start-up benchmark's window probe, and profiling
  libx11-dev libxdamage-dev linux-perf valgrind
  # install, package and desktop integration checks
  desktop-file-utils appstream lintian librsvg2-bin dbus playerctl xdg-user-dirs libglib2.0-bin
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
