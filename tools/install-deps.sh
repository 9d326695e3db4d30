#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running or testing Digitome
# needs, when any of them is missing. Usage: install-deps.sh [build|test]
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev mdbtools-dev libxlsxwriter-dev
                scowl wamerican fonts-liberation)
test_packages=(xvfb xauth x11-utils xdotool imagemagick mdbtools libreoffice-calc unzip nodejs npm
               dpkg-dev file lintian desktop-file-utils appstream)

wanted=("${build_packages[@]}")
if [[ "${1:-build}" == test ]]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        # node and npm may come from elsewhere than Debian; take them as they are.
        if [[ "$package" == nodejs && -x "$(command -v node)" ]] \
            || [[ "$package" == npm && -x "$(command -v npm)" ]]; then
            continue
        fi
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
