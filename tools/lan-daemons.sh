#!/usr/bin/env bash
# The daemons that local network discovery needs, for tests and CI on a machine that may have none:
# the system message bus and an Avahi daemon confined to the loopback interface (IPv4 only, no wide
# area, nothing of the machine published beyond its address), so nothing leaves 127.0.0.1.
#
#   tools/lan-daemons.sh start STATEDIR   start whatever is not running; what was started is noted in STATEDIR
#   tools/lan-daemons.sh stop STATEDIR    stop only what start noted there
#
# Start exits 0 when both run (started or found), else 1 with the reason on stderr.
set -uo pipefail

action=${1:-}
state=${2:-}
if [[ -z $action || -z $state ]]; then
    echo "usage: $0 start|stop STATEDIR" >&2
    exit 2
fi

bus_running() {
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetId >/dev/null 2>&1
}

start() {
    mkdir -p "$state"
    command -v dbus-daemon >/dev/null || { echo "dbus-daemon is not installed" >&2; return 1; }
    command -v avahi-daemon >/dev/null || { echo "avahi-daemon is not installed" >&2; return 1; }
    if ! bus_running; then
        mkdir -p /run/dbus
        # A stale pid file of a bus that is gone stops a new one from starting.
        rm -f /run/dbus/pid
        dbus-daemon --system --fork --print-pid >"$state/dbus.pid" 2>"$state/dbus.log" || {
            echo "cannot start the system message bus: $(cat "$state/dbus.log")" >&2
            rm -f "$state/dbus.pid"
            return 1
        }
        for _ in $(seq 50); do bus_running && break; sleep 0.1; done
    fi
    if avahi-daemon --check 2>/dev/null; then
        return 0
    fi
    # The daemon answers multicast DNS only on interfaces that carry multicast.
    ip link set lo multicast on 2>/dev/null || true
    cat >"$state/avahi-daemon.conf" <<'CONF'
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=lo
enable-dbus=yes
ratelimit-interval-usec=1000000
ratelimit-burst=1000
[wide-area]
enable-wide-area=no
[publish]
publish-addresses=yes
publish-hinfo=no
publish-workstation=no
publish-domain=no
publish-aaaa-on-ipv4=no
publish-a-on-ipv6=no
[reflector]
enable-reflector=no
[rlimits]
CONF
    rm -f /run/avahi-daemon/pid
    avahi-daemon --file="$state/avahi-daemon.conf" --no-chroot --no-drop-root --no-rlimits \
        >"$state/avahi.log" 2>&1 &
    echo $! >"$state/avahi.pid"
    for _ in $(seq 50); do
        avahi-daemon --check 2>/dev/null && return 0
        kill -0 "$(cat "$state/avahi.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "cannot start avahi-daemon: $(tail -n 3 "$state/avahi.log")" >&2
    stop
    return 1
}

stop() {
    local pid
    for name in avahi dbus; do
        if [[ -f $state/$name.pid ]]; then
            pid=$(cat "$state/$name.pid")
            [[ -n $pid ]] && kill "$pid" 2>/dev/null
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            rm -f "$state/$name.pid"
        fi
    done
    return 0
}

case $action in
start) start ;;
stop) stop ;;
*) echo "usage: $0 start|stop STATEDIR" >&2; exit 2 ;;
esac
