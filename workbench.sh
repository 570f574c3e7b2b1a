#!/usr/bin/env bash
# Set-up, build, start and test of the workbench on Debian 12.
#   ./workbench.sh run    installs what is missing, builds and starts the window
#   ./workbench.sh test   installs what is missing, builds and runs every test,
#                         also under the sanitizers, and fuzzes the engine
#   ./workbench.sh picture  renders docs/workbench.png, the window in the middle
#                         of decoding the sample message
set -euo pipefail
cd "$(dirname "$0")"

usage() {
    echo "Usage: $0 run|test|picture" >&2
    exit 2
}

build() {
    scripts/install-packages.sh
    cmake --preset default >/dev/null
    cmake --build --preset default
}

# Configures, builds and tests one preset.
workflow() {
    echo "== $1 =="
    cmake --workflow --preset "$1"
}

has_display() {
    if [[ -n ${WAYLAND_DISPLAY:-} ]]; then
        return 0
    fi
    [[ -n ${DISPLAY:-} ]] || return 1
    # A local display :N is reachable through its socket.
    local number=${DISPLAY#*:}
    number=${number%%.*}
    [[ ${DISPLAY%%:*} != "" && ${DISPLAY%%:*} != unix ]] || [[ -S /tmp/.X11-unix/X$number ]]
}

case "${1:-}" in
run)
    build
    if [[ -z ${QT_QPA_PLATFORM:-} ]] && ! has_display; then
        echo "No display found: start the workbench from a desktop session, or without one as 'xvfb-run ./workbench.sh run'." >&2
        exit 1
    fi
    exec build/default/app/abc-workbench
    ;;
test)
    scripts/install-packages.sh
    # The plain build, the same tests under AddressSanitizer and
    # UndefinedBehaviorSanitizer, then a bounded run of every fuzz target.
    workflow default
    workflow asan
    workflow fuzz
    ;;
picture)
    build
    mkdir -p docs
    QT_QPA_PLATFORM=offscreen build/default/tools/window-picture docs/workbench.png 4
    echo "docs/workbench.png written"
    ;;
*)
    usage
    ;;
esac
