#!/bin/bash
# Starts the workbench on a virtual display with a private session bus and a
# private accessibility bus, and checks it from outside with atspi_check.py.
#
# Usage: bash run_atspi_check.sh PROGRAM [PYTHON]
#   PYTHON: an interpreter that can import gi with Atspi 2.0 (default python3)
# Needs xvfb-run, dbus-run-session and at-spi2-core. Ends within 60 s.
set -u

if [[ -z ${ATSPI_CHECK_INSIDE:-} ]]; then
    [[ $# -ge 1 && -x $1 ]] || { echo "usage: bash $0 PROGRAM [PYTHON]" >&2; exit 2; }
    export ATSPI_CHECK_INSIDE=1
    # xvfb-run -a: a free display; the server gets its own screen size so that
    # the whole window fits.
    exec timeout -k 5 60 xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" \
        dbus-run-session -- bash "$0" "$@"
fi

program=$1
python=${2:-python3}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
chmod 700 "$work"
# The bus launcher puts the accessibility bus' socket here, not in ~/.cache.
export XDG_RUNTIME_DIR=$work

launcher_pid= program_pid=
finish() {
    local status=$?
    if [[ -n $program_pid ]]; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    if [[ -n $launcher_pid ]]; then
        kill "$launcher_pid" 2>/dev/null
        wait "$launcher_pid" 2>/dev/null
    fi
    if [[ $status -ne 0 ]]; then
        echo "--- program output"; cat "$work/program.log"
        echo "--- bus launcher output"; cat "$work/launcher.log"
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 124' TERM INT

for launcher in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    if [[ -x $launcher ]]; then
        "$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
        launcher_pid=$!
        break
    fi
done
[[ -n $launcher_pid ]] || echo "no at-spi-bus-launcher: relying on D-Bus activation" >"$work/launcher.log"

# Qt's bridge connects once the launcher owns org.a11y.Bus. Asking for the
# name's owner, unlike calling it, starts no second launcher by activation.
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
done

QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!

# atspi_check.py waits for the program's window on the accessibility bus.
"$python" "$here/atspi_check.py" --pid "$program_pid" --timeout 20
status=$?
if ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid"
    echo "FAIL: the program ended during the check (exit status $?)"
    program_pid=
    exit 1
fi
exit "$status"
