#!/usr/bin/env bash
# Set-up, build, start and test of the workbench on Debian 12.
#   ./workbench.sh run    installs what is missing, builds and starts the window
#   ./workbench.sh test   installs what is missing, builds and runs every test,
#                         also under the sanitizers, and fuzzes the engine
#   ./workbench.sh picture  renders docs/workbench.png, the window in the middle
#                         of decoding the sample message, and docs/key-search.png,
#                         the key search after a search of it
#   ./workbench.sh bench  builds in Release and runs the benchmarks, offscreen
#                         and on a virtual X display, then the key search's
#                         success rates on held-out German
#   ./workbench.sh package  builds the Debian package build/default/package/
#                         abc-workbench_VERSION_ARCH.deb and checks it with lintian
#   ./workbench.sh format applies the house style (.clang-format) to every source
set -euo pipefail
cd "$(dirname "$0")"

usage() {
    echo "Usage: $0 run|test|picture|bench|package|format" >&2
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
    # UndefinedBehaviorSanitizer, the tests of code that runs on several
    # threads under ThreadSanitizer, then a bounded run of every fuzz target.
    workflow default
    workflow asan
    workflow tsan
    workflow fuzz
    ;;
picture)
    build
    mkdir -p docs
    QT_QPA_PLATFORM=offscreen build/default/tools/window-picture docs/workbench.png 4 docs/key-search.png
    echo "docs/workbench.png and docs/key-search.png written"
    ;;
bench)
    scripts/install-packages.sh
    cmake --preset bench >/dev/null
    cmake --build --preset bench
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
    dir=build/bench/bench
    flags=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
    "$dir/steps/grid_bench" "${flags[@]}"
    "$dir/steps/clean_bench" "${flags[@]}"
    "$dir/key_search/key_search_bench" --benchmark_filter=ScoreOrder "${flags[@]}"
    for target in startup/startup_bench startup/process_start_bench steps/steps_bench; do
        extra=()
        [[ $target == steps/steps_bench ]] && extra=(--benchmark_min_time=0.1)
        QT_QPA_PLATFORM=offscreen "$dir/$target" "${flags[@]}" "${extra[@]}"
        # -noreset: otherwise the display resets after every short-lived
        # program and the next one cannot connect.
        env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
            "$dir/$target" "${flags[@]}" "${extra[@]}"
    done
    # Success rates of the key search: one run, messages as many as
    # KEY_SEARCH_MESSAGES says (about an hour with the defaults).
    "$dir/key_search/key_search_bench" --benchmark_filter='Recovery|Frontier|MethodDetection'
    # A day's traffic: piles under one key, a stray, a probable word, a
    # batch (TRAFFIC_PILES a row); its frontier cells, far longer, only when
    # asked for with --benchmark_filter=TrafficFrontier.
    "$dir/key_search/traffic_bench" --benchmark_filter='SharedKey|Stray|Crib|Batch'
    ;;
package)
    build
    rm -f build/default/package/abc-workbench_*.deb
    cpack --config build/default/CPackConfig.cmake
    deb=$(echo build/default/package/abc-workbench_*.deb)
    status=0
    tags=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
    # Root is where CI runs; lintian only advises against it.
    grep -v 'running with root privileges' <<<"$tags" || true
    [[ $status -eq 0 ]] || { echo "lintian reports errors or warnings (above)" >&2; exit 1; }
    echo "$deb written; install it with: sudo apt install ./$deb"
    ;;
format)
    command -v clang-format >/dev/null || { echo "clang-format is missing: apt-get install clang-format" >&2; exit 1; }
    git ls-files '*.cpp' '*.h' | xargs clang-format -i
    ;;
*)
    usage
    ;;
esac
