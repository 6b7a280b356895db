#!/usr/bin/env bash
# scripts/build-progress: the whole build output reaches the log; on a terminal one line counts the steps
# done, rewritten in place and ended once; elsewhere nothing is shown.
set -euo pipefail
filter=${1:?usage: build_progress_test.sh PATH-TO-build-progress}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
output='-- Configuring done
[1/3] Building CXX object a.o
[2/3] Building CXX object b.o
b.cpp:1: warning: something
[3/3] Linking CXX executable app'
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

shown=$(printf '%s\n' "$output" | "$filter" "$work/plain.log")
[ -z "$shown" ] || fail "shows '$shown' where the output is no terminal"
[ "$(cat "$work/plain.log")" = "$output" ] || fail "the log is not the whole output"

# On a terminal (a pseudo-terminal through script(1); its echo of the input is left out).
printf '%s\n' "$output" >"$work/input"
script -qec "stty -echo; '$filter' '$work/tty.log' <'$work/input'" /dev/null | tr -d '\n' >"$work/terminal"
expected=$(printf '\r  1 of 3 build steps done\r  2 of 3 build steps done\r  3 of 3 build steps done\r')
[ "$(cat "$work/terminal")" = "$expected" ] || fail "the terminal shows $(od -c "$work/terminal")"
[ "$(cat "$work/tty.log")" = "$output" ] || fail "the log on a terminal is not the whole output"
echo "build-progress: all checks passed"
