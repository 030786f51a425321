#!/usr/bin/env bash
# Sets up the machine, builds Shufflon and starts it on the demo songs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target shufflon -j "$(nproc)"

# Shufflon plays the folder it is started in.
cd "$root/demo"
exec "$root/build/shufflon"
