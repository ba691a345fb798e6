#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/setup.sh [build|fuzz]   (fuzz adds the clang toolchain)
set -euo pipefail

packages=(cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          zlib1g-dev)
# The editor: Qt 6 with its SVG support and Japanese texts, a font with Japanese
# glyphs, and a virtual display for running it where there is no screen.
packages+=(qt6-base-dev qt6-svg-dev qt6-translations-l10n fonts-noto-cjk xvfb xauth)
# Trial playback: Qt's audio output, FluidSynth and a General MIDI sound font.
packages+=(qt6-multimedia-dev libfluidsynth-dev timgm6mb-soundfont)
# The desktop's own tools, with which the tests check the file type registration.
packages+=(shared-mime-info desktop-file-utils xdg-utils libglib2.0-bin)
if [[ "${1:-build}" == fuzz ]]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

install=(apt-get install -y --no-install-recommends "${missing[@]}")
if [[ $(id -u) -ne 0 ]]; then
    echo "Pagora needs these Debian packages: ${missing[*]}" >&2
    echo "Install them as root with:" >&2
    echo "  apt-get update && ${install[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
"${install[@]}"
