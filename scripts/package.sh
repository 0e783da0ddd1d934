#!/usr/bin/env bash
# Builds the logger's Debian package and prints its path on the last line. By default from a Release
# build of the program alone in build-package/; with a build folder as argument, from that build as it
# is configured (the test command packages its own build rather than compiling everything again).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

bash "$top/scripts/deps.sh" >&2

if [ $# -ge 1 ]; then
    build=$(cd "$1" && pwd)
else
    build="$top/build-package"
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    # -O2, as Debian builds its own packages: GCC 12 at -O3 warns of overlapping copies inside
    # std::string that cannot happen.
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DBRINDLE_BUILD_TESTS=OFF -DBRINDLE_BUILD_BENCH=OFF -DBRINDLE_BUILD_FUZZERS=OFF "${launcher[@]}" >&2
fi
cmake --build "$build" >&2

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$build/packages") >&2
debs=("$build"/packages/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "package.sh: expected one .deb in $build/packages" >&2
    exit 1
fi
echo "${debs[0]}"
