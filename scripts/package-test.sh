#!/usr/bin/env bash
# The Debian package as an operator meets it: built (from build/ unless another build folder is given),
# unpacked into a folder of its own rather than onto this machine, its program asked for its version,
# its menu entry and metadata checked by the desktop's own validators, and the menu entry started as a
# desktop would start it, in a home of its own under a virtual display: the logger must make and seed
# "~/Brindle DX" from the installed data files and be running in it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$top/build"}
app=org.brindledx.BrindleDX

bash "$top/scripts/deps.sh" --tests

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "package-test: $*" >&2
    exit 1
}

deb=$(bash "$top/scripts/package.sh" "$build" | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "package-test: $(basename "$deb"), Depends: $depends"
# The Qt libraries must come from dpkg-shlibdeps; without them the package installs and cannot start.
for lib in libqt6widgets6 libqt6serialport6 libqt6multimedia6 libqt6network6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
for f in usr/bin/brindle "usr/share/applications/$app.desktop" "usr/share/metainfo/$app.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$app.svg"; do
    [ -f "$root/$f" ] || fail "the package lacks /$f"
done
for size in 16 32 48 64 128 256; do
    [ -f "$share/icons/hicolor/${size}x${size}/apps/$app.png" ] || fail "the package lacks the ${size}x${size} icon"
done
for f in "$top"/data/*; do
    cmp -s "$f" "$share/brindle-dx/$(basename "$f")" || fail "the package's copy of data/$(basename "$f") differs"
done

# No display here: version must not need one.
shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/brindle" --version)
[ "$shown" = "Brindle DX $version" ] || fail "--version says '$shown', the package is $version"
grep -q "<release version=\"$version\"" "$share/metainfo/$app.metainfo.xml" ||
    fail "the metadata's releases do not list $version"

desktop-file-validate "$share/applications/$app.desktop"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" >&2 || fail "the metadata does not validate"

# The Exec line as a launcher reads it: field codes dropped, quoted arguments kept whole, and no shell
# expansion (the tilde reaches the program as it stands).
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/$app.desktop" | head -n 1 | sed 's/%[a-zA-Z]//g')
eval "command=($exec_line)"
home="$scratch/home"
mkdir -p "$home"
cat >"$scratch/menu-start.sh" <<'SCRIPT'
# Inside the virtual display: start the entry's command, wait until the logger holds its folder and has
# set up the operator's folders, then end it.
"$@" >"$HOME/../brindle.out" 2>&1 &
pid=$!
for _ in $(seq 600); do
    if [ -e "$HOME/Brindle DX/.brindle.lock" ] && [ -n "$(find "$HOME" -type d -name BACKUP)" ]; then
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
running=no
kill -0 "$pid" 2>/dev/null && running=yes
kill "$pid" 2>/dev/null || true
wait "$pid" || true
[ "$running" = yes ]
SCRIPT
# A launcher starts the program in the home folder.
(cd "$home" && env -i HOME="$home" PATH="$root/usr/bin:/usr/bin:/bin" LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$scratch/menu-start.sh" "${command[@]}") ||
    { cat "$scratch/brindle.out" >&2; fail "the logger started from the menu entry did not keep running"; }

[ -e "$home/Brindle DX/.brindle.lock" ] || fail "the logger did not work in ~/Brindle DX"
for f in "$share"/brindle-dx/*; do
    cmp -s "$f" "$home/Brindle DX/$(basename "$f")" || fail "~/Brindle DX lacks $(basename "$f")"
done
echo "package-test: $(basename "$deb") installs, validates and opens ~/Brindle DX from its menu entry"
