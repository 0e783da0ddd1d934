#!/usr/bin/env bash
# Runs one fuzz target, or all of them, for a number of seconds each: fuzz/run.sh TARGET|all SECONDS
# Builds the fuzz build in build-fuzz/ first. Exits non-zero on any crash, leak or sanitizer report.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?target name or all}
seconds=${2:-30}

cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DBRINDLE_BUILD_FUZZERS=ON -DBRINDLE_BUILD_APP=OFF -DBRINDLE_BUILD_TESTS=OFF -DBRINDLE_BUILD_BENCH=OFF >/dev/null
cmake --build "$top/build-fuzz" >/dev/null

run_one() {
    local name=$1 corpus work
    corpus=$top/fuzz/corpus/${name%_fuzz}
    work=$(mktemp -d)
    # The shipped seeds stay as they are; what the run finds goes to a scratch copy.
    cp -r "$corpus/." "$work/"
    local dict=()
    [ -f "$top/fuzz/dict/quoted_text.dict" ] && dict=(-dict="$top/fuzz/dict/quoted_text.dict")
    echo "== $name, $seconds s"
    local status=0
    (cd "$work" && "$top/build-fuzz/fuzz/$name" "$work" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 >"$work.log" 2>&1) || status=$?
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
    for f in "$top"/fuzz/*_fuzz.cpp; do
        run_one "$(basename "$f" .cpp)"
    done
else
    run_one "$target"
fi
