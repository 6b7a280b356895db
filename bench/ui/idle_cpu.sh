#!/usr/bin/env bash
# Measures the CPU the optimized window application uses while nothing happens: starts the local tracking
# service and the application in a window on a virtual display (Xvfb), lets it settle, then reads the
# process's user and system time from /proc over a measuring window and prints it as a share of one core,
# with the machine's load average. Usage: bench/ui/idle_cpu.sh [settle-seconds] [measure-seconds]
# (the optimized tree must be built: scripts/run builds it). The application stays on its login screen.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
settle=${1:-10}
measure=${2:-20}
build=$root/build/optimized
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
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$build/tools/tracking-service/tracking-service" --port "$port" --data "$work/service" >"$work/service.log" 2>&1 &
pids+=($!)
sleep 2
DISPLAY=$display LUMET_HOME=$work/home LUMET_PASSWORD=demo1234 \
    "$build/app/lumet-companion" --server "http://127.0.0.1:$port" --account lumet_demo >"$work/app.log" 2>&1 &
app=$!
pids+=($app)
sleep "$settle"

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$measure"
after=$(ticks)
python3 -c "print(f'login screen at rest: {100 * ($after - $before) / $hz / $measure:.1f} % of one core over $measure s')"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
