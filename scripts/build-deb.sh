#!/usr/bin/env bash
# Builds the Debian package (build/shufflon_VERSION_ARCH.deb) with CPack, has lintian check it
# (no error allowed), unpacks it into a clean folder and checks its files and dependencies.
#
# Usage: scripts/build-deb.sh [BUILD_DIR]   (default: build; configured and built as needed)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
fail() { echo "build-deb: FAILED: $*"; exit 1; }

# A fresh machine gets the build's packages and the checkers first.
"$root/scripts/setup.sh"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target shufflon shufflon_desktop_icons shufflon_debian_docs
rm -f "$build"/shufflon_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/shufflon_*.deb)"
echo "build-deb: built $deb"

lintian --fail-on error "$deb" | sed 's/^/build-deb: lintian: /' ||
  fail "lintian reports errors"
echo "build-deb: lintian reports no error"

depends="$(dpkg-deb -f "$deb" Depends)"
for needed in 'fluid-soundfont-gm | timgm6mb-soundfont | musescore-general-soundfont-small' qt6-qpa-plugins \
  libfluidsynth3 libqt6widgets6 libqt6dbus6; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
echo "build-deb: Depends: $depends"

clean="$(mktemp -d /tmp/shufflon-deb.XXXXXX)"
trap 'rm -rf "$clean"' EXIT
dpkg-deb -x "$deb" "$clean"
"$root/scripts/check-install.sh" --tree "$clean/usr"
echo "build-deb: passed"
