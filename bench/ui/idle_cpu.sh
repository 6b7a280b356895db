#!/usr/bin/env bash
# Measures the CPU the optimized window application uses while nobody touches it: starts the local tracking
# service and the application in a window on a virtual display (Xvfb), then, screen by screen, lets it settle
# and reads the process's user and system time from /proc over a measuring window, printed as a share of one
# core, with how often the main thread woke (its voluntary context switches per second) and the machine's load
# average. The screens: the login screen; the home screen after a click on
# "sign in" (its family-number sign turns for ever); the attendance screen pushed from the home screen's top
# right button; the home screen again after the back button; the menu opened by the home screen's top left
# button. Clicks go through xdotool at the window's points (the window is the screen's size at zoom 1).
# Usage: bench/ui/idle_cpu.sh [settle-seconds] [measure-seconds]   (the optimized tree must be built:
# scripts/run builds it; xdotool must be installed).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
settle=${1:-6}
measure=${2:-15}
build=$root/build/optimized
command -v xdotool >/dev/null || { echo "idle_cpu.sh: xdotool is needed to click in the window" >&2; exit 2; }
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x1280x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$build/tools/tracking-service/tracking-service" --port "$port" --data "$work/service" >"$work/service.log" 2>&1 &
pids+=($!)
sleep 2
LUMET_HOME=$work/home LUMET_PASSWORD=demo1234 \
    "$build/app/lumet-companion" --server "http://127.0.0.1:$port" --account lumet_demo >"$work/app.log" 2>&1 &
app=$!
pids+=($app)
sleep "$settle"
window=$(xdotool search --sync --pid "$app" | head -1)

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
wakes() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$app/task/$app/status"; }
hz=$(getconf CLK_TCK)
# measure NAME: the share of one core the application used over the measuring window, and the main thread's
# wake-ups per second.
measure() {
    local before after woke
    before=$(ticks)
    woke=$(wakes)
    sleep "$measure"
    after=$(ticks)
    woke=$(($(wakes) - woke))
    python3 -c "print(f'{\"$1\":<28} {100 * ($after - $before) / $hz / $measure:5.1f} % of one core, {$woke / $measure:6.1f} wakes/s over $measure s')"
}
# click X Y: a click at the window's point (X, Y), then time to settle.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep "$settle"
}

measure "login screen at rest"
click 160 418
measure "home screen (turning sign)"
click 298 42
measure "attendance screen at rest"
click 22 42
measure "home screen again"
click 22 42
measure "menu open over home"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
