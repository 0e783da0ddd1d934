#!/usr/bin/env bash
# Runs a command the way a screen-reader user runs the logger: on a virtual X server with a window manager,
# in a D-Bus session whose accessibility bus is up, with Qt's AT-SPI bridge on, so that every change the
# windows make is told over the bus as it would be to Orca.
#
#   bench/accessible_session.sh [--no-bridge] command [arguments...]
#   e.g. bench/accessible_session.sh build/bench/spot_ingest_bench burst
#
# --no-bridge: the same X server and session with the bridge left off, to set the figures against.
# BENCH_DISPLAY=:N picks the display; otherwise the first free one from :70 on.
# Needs xvfb, openbox, xdotool, dbus and at-spi2-core (bash scripts/deps.sh --tests installs them). Run it
# as an ordinary user: timings taken as root differ.
set -euo pipefail

bridge=1
if [ "${1:-}" = "--no-bridge" ]; then
    bridge=0
    shift
fi
if [ $# -eq 0 ]; then
    echo "usage: $0 [--no-bridge] command [arguments...]" >&2
    exit 2
fi
launcher=${AT_SPI_BUS_LAUNCHER:-/usr/libexec/at-spi-bus-launcher}
if [ "$bridge" = 1 ] && [ ! -x "$launcher" ]; then
    echo "$launcher is missing (at-spi2-core)" >&2
    exit 1
fi

display=${BENCH_DISPLAY:-}
if [ -z "$display" ]; then
    for n in $(seq 70 99); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            display=":$n"
            break
        fi
    done
fi
if [ -z "$display" ]; then
    echo "no free X display between :70 and :99" >&2
    exit 1
fi

pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do
    if xdotool getdisplaygeometry >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
openbox >/dev/null 2>&1 &
pids+=($!)
export QT_QPA_PLATFORM=xcb

if [ "$bridge" = 0 ]; then
    unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
    dbus-run-session -- "$@"
    exit $?
fi

# Inside the session: the accessibility bus first, then the command with the bridge forced on.
dbus-run-session -- bash -c '
    launcher=$1
    shift
    "$launcher" --launch-immediately >/dev/null 2>&1 &
    bus=$!
    for _ in $(seq 100); do
        if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1; then
            break
        fi
        sleep 0.1
    done
    status=0
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@" || status=$?
    kill "$bus" 2>/dev/null || true
    exit "$status"
' bash "$launcher" "$@"
