#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs each of kalvira-convert's fuzz targets under libFuzzer for SECONDS,
# built by clang with AddressSanitizer and UndefinedBehaviorSanitizer, from the
# inputs kept in tests/data/fuzz/ and the sample files, with the formats'
# dictionary.  A crash, a sanitizer's report, an exception that is not the
# program's own, an input taking over 1 s or over 512 MiB fails the run; the
# input is left in BUILD_DIR/found/, to be kept in tests/data/fuzz/found/TARGET/.
# What the targets find interesting is kept in BUILD_DIR/corpus/ between runs.
# Usage: fuzz.sh BUILD_DIR SECONDS [TARGET...]   (table, material, options)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1 seconds=$2 && shift 2
[ $# -gt 0 ] || set -- table material options catalogue
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DKALVIRA_WITHOUT_TOOLKIT=ON -DKALVIRA_SANITIZE=ON -DKALVIRA_FUZZ=ON \
    -DBUILD_TESTING=ON > /dev/null
cmake --build "$build" -j"$(nproc)" --target $(printf 'fuzz_%s ' "$@") > "$build/build.log" 2>&1 ||
    { tail -n 30 "$build/build.log"; exit 1; }
data=$top/tests/data
# The memory limit is for an input: AddressSanitizer's quarantine of freed
# memory (256 MiB by default) would count against it and grow with a long run.
export ASAN_OPTIONS=quarantine_size_mb=16:allocator_release_to_os_interval_ms=500${ASAN_OPTIONS:+:$ASAN_OPTIONS}
for target in "$@"; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus" "$build/found"
    seeds=()
    for folder in "$data/fuzz/found/$target" "$data/fuzz/seeds/$target" $([ "$target" != material ] || echo "$data/refractiveindex"); do
        [ ! -d "$folder" ] || seeds+=("$folder")
    done
    echo "== $target, $seconds s"
    if ! "$build/tests/fuzz_$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=512 -malloc_limit_mb=512 -print_final_stats=1 \
            -dict="$top/tests/fuzz/formats.dict" -artifact_prefix="$build/found/$target-" "$corpus" "${seeds[@]}" \
            > "$build/$target.log" 2>&1; then
        grep -v '^#' "$build/$target.log" | tail -n 40
        echo "fuzz_$target failed; keep the input it names in tests/data/fuzz/found/$target/ and mend the fault" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^Done' "$build/$target.log" || true
done
