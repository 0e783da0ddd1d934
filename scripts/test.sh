#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

bash "$top/scripts/deps.sh" --tests
bash "$top/scripts/build.sh"

(cd "$top/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "$(nproc)")

# Every parser's fuzz target, briefly (the longer runs are made by hand): a crash, leak or sanitizer report
# fails the run.
bash "$top/fuzz/run.sh" all 20
