#!/usr/bin/env bash
# Installs the Debian packages the build and the logger need, when any is missing; with --tests also
# what only the tests use.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config dpkg-dev
    qt6-base-dev qt6-serialport-dev libgl-dev
    qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
    flite1-dev
    libhamlib-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth socat
    clang-14 libclang-rt-14-dev
)

# The tests play into a sound server of their own. Not for the logger: on a desktop that runs
# PipeWire, a second sound server would fight it for the operator's sound. Dire Wolf is the AGW Packet
# Engine the spot tests talk to (two of them on the air to each other reach that server through ALSA's
# PulseAudio plugin); the operator runs whichever engine drives the radio. The package test
# checks the menu entry and the metadata with the desktop's own validators.
if [ "${1:-}" = "--tests" ]; then
    packages+=(pulseaudio pulseaudio-utils libasound2-plugins direwolf desktop-file-utils appstream)
    # The spot benchmark as a screen-reader user runs the logger (bench/accessible_session.sh): a window
    # manager and keys typed through the virtual X server, and a D-Bus session with the accessibility bus
    # that Qt's AT-SPI bridge talks to.
    packages+=(openbox xdotool dbus at-spi2-core)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run as root (or install these packages yourself): ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
