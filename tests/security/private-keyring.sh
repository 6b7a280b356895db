#!/bin/sh
# Runs a test command in a private D-Bus session whose Secret Service is a fresh keyring, unlocked by a test
# password and kept in a temporary folder, so the tests reach a real Secret Service without a desktop session
# and never touch the user's own keyring.
#
#   private-keyring.sh build/test/tests/security_tests --gtest_filter='SecretService*'
set -eu

root=$(mktemp -d)
export HOME="$root/home" XDG_DATA_HOME="$root/data" XDG_CONFIG_HOME="$root/config" XDG_RUNTIME_DIR="$root/run"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export LUMET_TEST_SECRET_SERVICE=1

status=0
dbus-run-session -- sh -c '
    printf "test-keyring-password" | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null &
    keyring=$!
    owned() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true"
    }
    tries=0
    until owned; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$keyring" 2>/dev/null; then
            echo "private-keyring.sh: the keyring daemon did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
    status=0
    "$@" || status=$?
    kill "$keyring" 2>/dev/null || true
    wait "$keyring" 2>/dev/null || true
    exit "$status"
' sh "$@" || status=$?
rm -rf "$root"
exit "$status"
