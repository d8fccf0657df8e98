#!/usr/bin/env bash
# Usage: in-keyring-session.sh DIR COMMAND...
# Runs COMMAND in a D-Bus session of its own beside a keyring daemon of its own, which this
# script starts, unlocks with a test password on its standard input and ends again. HOME and the
# XDG folders lie in DIR (emptied first), so that no keyring of the user's is ever touched.
# Exit 77 (skipped) where dbus-run-session, dbus-send or gnome-keyring-daemon is missing.
set -euo pipefail
dir=$1
shift
for program in dbus-run-session dbus-send gnome-keyring-daemon; do
    if ! command -v "$program" >/dev/null; then
        echo "in-keyring-session: $program is missing; skipped"
        exit 77
    fi
done
rm -rf "$dir"
mkdir -p "$dir"/{home,data,config,cache,runtime}
chmod 700 "$dir/runtime"
export HOME="$dir/home" XDG_DATA_HOME="$dir/data" XDG_CONFIG_HOME="$dir/config"
export XDG_CACHE_HOME="$dir/cache" XDG_RUNTIME_DIR="$dir/runtime"
unset DBUS_SESSION_BUS_ADDRESS GNOME_KEYRING_CONTROL

# Inside the session: the daemon in the foreground (its process id known), the command once the
# daemon owns the Secret Service's name on the bus (at most 10 s), then the daemon ended. The
# command learns the daemon's process id, to make the keyring stop answering for a while.
exec dbus-run-session -- bash -c '
    printf "%s" "lanterna-test-keyring" |
        gnome-keyring-daemon --foreground --unlock --components=secrets >"$HOME/daemon.log" 2>&1 &
    daemon=$!
    owned() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
            grep -q "boolean true"
    }
    for _ in $(seq 1 200); do
        owned && break
        kill -0 "$daemon" 2>/dev/null || break
        sleep 0.05
    done
    if ! owned; then
        echo "in-keyring-session: the keyring daemon did not come up:" >&2
        cat "$HOME/daemon.log" >&2
        kill "$daemon" 2>/dev/null
        exit 1
    fi
    status=0
    KEYRING_TEST_DAEMON_PID=$daemon "$@" || status=$?
    kill "$daemon"
    wait "$daemon" || true
    exit "$status"
' in-keyring-session "$@"
