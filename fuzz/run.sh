#!/bin/sh
# Builds the fuzz targets with clang and runs each for SECONDS, 30 by default:
#   fuzz/run.sh [SECONDS] [TARGET...]
# TARGET is midi_reader, tag_file or profile; all three when none is named. New inputs go to a
# fresh temporary folder per target (or to $SHUFFLON_FUZZ_CORPUS/TARGET), so the committed seeds
# stay as they are; crashes are written to the build folder's fuzz-artifacts/. The exit status is
# non-zero when the fuzzer found a problem in any target. Warnings do not stop this build: clang
# warns of other things than the normal builds' compiler, and this build is for what inputs do.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${SHUFFLON_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=${*:-midi_reader tag_file profile}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DSHUFFLON_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSHUFFLON_WERROR=OFF >/dev/null
status=0
for target in $targets; do
    case $target in
    midi_reader) dict=midi.dict max_len=8192 ;;
    tag_file) dict=tag.dict max_len=4160 ;;
    profile) dict=profile.dict max_len=4096 ;;
    *) echo "run.sh: no fuzz target $target" >&2; exit 2 ;;
    esac
    ninja -C "$build" -j2 "fuzz_$target"
    if [ -n "${SHUFFLON_FUZZ_CORPUS:-}" ]; then work=$SHUFFLON_FUZZ_CORPUS/$target; else work=$(mktemp -d); fi
    mkdir -p "$build/fuzz-artifacts" "$work"
    echo "== fuzz_$target, $seconds s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -dict="$here/$dict" -max_len="$max_len" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" \
        "$work" "$here/corpus/$target" || status=1
done
exit $status
