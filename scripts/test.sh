#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

bash "$top/scripts/deps.sh" --tests
bash "$top/scripts/build.sh"

(cd "$top/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "$(nproc)")

# The Debian package, made from this build: unpacked into a folder of its own, validated, and started
# from its menu entry.
bash "$top/scripts/package-test.sh" "$top/build"

# Every parser's fuzz target, briefly (the longer runs are made by hand): a crash, leak or sanitizer report
# fails the run.
bash "$top/fuzz/run.sh" all 15
