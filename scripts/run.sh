#!/usr/bin/env bash
# Installs what is missing, builds, and starts the logger in a working folder (default ~/Brindle DX),
# seeding it with the distributed data files on first use. Files the operator already has are kept.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-"$HOME/Brindle DX"}

bash "$top/scripts/deps.sh"
bash "$top/scripts/build.sh"

mkdir -p "$work"
for f in "$top"/data/*; do
    name=$(basename "$f")
    [ -e "$work/$name" ] || cp "$f" "$work/$name"
done

cd "$work"
exec "$top/build/src/app/brindle"
