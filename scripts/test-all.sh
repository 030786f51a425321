#!/usr/bin/env bash
# Sets up the machine, builds Shufflon normally and with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test in both builds (and the sequencer engine's
# tests with ThreadSanitizer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

"$root/scripts/setup.sh"

status=0
run_build() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
}

run_build "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSHUFFLON_SANITIZE=ON

# The sequencer's real-time engine under ThreadSanitizer: its tests run an audio thread against the
# control thread, and only this build sees a data race between them.
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHUFFLON_TSAN=ON
cmake --build "$root/build-tsan" -j "$jobs" --target mci_engine_tests
# Without address space randomisation: ThreadSanitizer refuses some kernels' wider layouts.
setarch "$(uname -m)" -R "$root/build-tsan/tests/platform/mci/mci_engine_tests" || status=1

# A short run of each fuzz target: the MIDI reader, the tag file reader and the profile reader.
"$root/fuzz/run.sh" 10 || status=1

# The live sequencer device heard through a PulseAudio null sink, with its live tests.
CHECK_SOUND_RUN="$root/build/tests/platform/mci/mci_synth_tests --gtest_filter=Live*" \
  "$root/scripts/check-sound.sh" "$root/build" || status=1

# The Debian package: built, checked by lintian, unpacked into a clean folder and its files checked.
"$root/scripts/build-deb.sh" "$root/build" || status=1

# The real program on a virtual desktop with a null sound sink.
"$root/scripts/e2e.sh" "$root/build" || status=1

# The same, ended by signals and closed while a large folder is read: the played marks are kept.
"$root/scripts/check-session-end.sh" "$root/build" || status=1

exit "$status"
