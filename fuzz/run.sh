#!/usr/bin/env bash
# Runs one fuzz target, or all of them, for a number of seconds each: fuzz/run.sh TARGET|all SECONDS
# Builds the fuzz build in build-fuzz/ first. Exits non-zero on any crash, leak or sanitizer report; the
# input that caused it is kept in build-fuzz/findings/TARGET/ and its path printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?target name or all}
seconds=${2:-30}

cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DBRINDLE_BUILD_FUZZERS=ON -DBRINDLE_BUILD_APP=OFF -DBRINDLE_BUILD_TESTS=OFF -DBRINDLE_BUILD_BENCH=OFF >/dev/null
cmake --build "$top/build-fuzz" >/dev/null

run_one() {
    local name=$1 base=${1%_fuzz} work findings
    work=$(mktemp -d)
    findings=$top/build-fuzz/findings/$name
    mkdir -p "$findings"
    # The shipped seeds stay as they are; what the run finds goes to a scratch copy.
    cp -r "$top/fuzz/corpus/$base/." "$work/"
    local dict=()
    [ -f "$top/fuzz/dict/$base.dict" ] && dict=(-dict="$top/fuzz/dict/$base.dict")
    echo "== $name, $seconds s"
    local status=0
    "$top/build-fuzz/fuzz/$name" "$work" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" \
        >"$work.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$work.log"
    else
        grep -E "^#[0-9]+\s+(DONE|pulse)" "$work.log" | tail -n 1
        grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$work.log"
    fi
    rm -f "$work.log"
    rm -rf "$work"
    return "$status"
}

if [ "$target" = all ]; then
    # Every target runs even after one fails, so one run shows everything there is to fix.
    failed=()
    for f in "$top"/fuzz/*_fuzz.cpp; do
        name=$(basename "$f" .cpp)
        run_one "$name" || failed+=("$name")
    done
    if [ "${#failed[@]}" -ne 0 ]; then
        echo "Fuzz targets that failed: ${failed[*]}" >&2
        exit 1
    fi
else
    run_one "$target"
fi
