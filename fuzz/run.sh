#!/bin/sh
# Builds the MIDI reader fuzz target with clang and runs it, 30 seconds by default:
#   fuzz/run.sh [SECONDS] [CORPUS_DIR]
# New inputs go to CORPUS_DIR (a fresh temporary folder by default) so the committed seeds stay as
# they are; crashes are written to the build folder's fuzz-artifacts/. The exit status is non-zero
# when the fuzzer found a problem.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${SHUFFLON_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
work=${2:-$(mktemp -d)}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DSHUFFLON_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
ninja -C "$build" -j2 fuzz_midi_reader
mkdir -p "$build/fuzz-artifacts" "$work"
exec "$build/fuzz/fuzz_midi_reader" -max_total_time="$seconds" -dict="$here/midi.dict" -max_len=8192 \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" \
    "$work" "$here/corpus/midi_reader"
