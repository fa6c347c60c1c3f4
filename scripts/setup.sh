#!/usr/bin/env bash
# Installs the Debian packages the trainer needs (only those still missing), then
# configures and builds it with CMake and Ninja.
#   scripts/setup.sh BUILD_DIR [CMAKE_OPTION...]
#   scripts/setup.sh --packages [EXTRA_PACKAGE...]   only installs, the extras too
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:?usage: setup.sh BUILD_DIR [CMAKE_OPTION...] | setup.sh --packages [EXTRA_PACKAGE...]}
shift

packages=(
    g++ cmake ninja-build pkg-config python3        # build; python3 writes test files
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins # windows and widgets
    qt6-translations-l10n                           # Qt's own dialogs in the interface language
    tzdata libqt6sql6-sqlite libsqlite3-dev         # due days in the learner's time zone; the review log
    libsdl2-dev libxcb1-dev libx11-dev              # sound output, hotkey and foreground window
    fonts-arphic-uming fonts-dejavu-core            # the Chinese font laid beside the program; interface font
    espeak-ng sox                                   # the default pinyin sound pack
    xdg-utils                                       # opening help pages and links
    libbenchmark-dev                                # benchmarks
    xvfb openbox xdotool imagemagick x11-utils      # end-to-end tests in a real X server
    weston xwayland dbus-daemon                     # ... in a Wayland session; a private session bus
    ibus ibus-libpinyin python3-pyatspi x11-xserver-utils # ... pinyin typed through IBus; windows read by AT-SPI; xset
    desktop-file-utils appstream dpkg-dev           # checking the installed program and its package
    clang-format                                    # the format check (scripts/check_format.sh)
)
[ "$build" != "--packages" ] || packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing Debian packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

[ "$build" != "--packages" ] || exit 0

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build"
