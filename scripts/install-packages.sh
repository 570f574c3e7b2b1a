#!/usr/bin/env bash
# Installs the Debian packages the workbench needs to build, run and test,
# and only those that are missing.
set -euo pipefail

packages=(
    build-essential       # compiler, make
    cmake
    ninja-build
    qt6-base-dev          # Qt Widgets, Qt Test, uic and moc
    qt6-qpa-plugins       # platform plugins (xcb, offscreen): only recommended by Qt, so named here
    libgl-dev             # required by Qt's CMake package for Qt Gui
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    fonts-liberation2     # metric twins of the Windows faces the layout names
    xvfb                  # a virtual display for running the window without a desktop
    xauth
    desktop-file-utils    # validates the launcher entry
    appstream             # validates the AppStream metadata
    at-spi2-core          # the accessibility bus, for checking the window from outside
    dbus-daemon
    python3-gi
    gir1.2-atspi-2.0
    clang                 # builds the fuzz targets
    libclang-rt-14-dev    # libFuzzer and the sanitizer runtimes for clang
    fortunes-de           # German prose the key search's n-gram table is counted from
    wngerman              # German word list the key search tries as keywords
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
