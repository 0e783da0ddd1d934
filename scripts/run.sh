#!/usr/bin/env bash
# Installs what is missing, builds, and starts the logger in a working folder (default ~/Brindle DX).
# The logger's --folder makes the folder and seeds it with the distributed data files on first use;
# files the operator already has are kept.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-"$HOME/Brindle DX"}

bash "$top/scripts/deps.sh"
bash "$top/scripts/build.sh"

exec "$top/build/src/app/brindle" --folder "$work"
