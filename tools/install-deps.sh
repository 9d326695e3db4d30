#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Installs what building, running or testing Digitome needs, when any of it is
# missing: Debian packages, and for the tests the npm package mdb-reader (an
# independent reader of Jet files) into build/node. Tests never download.
# Usage: install-deps.sh [build|test]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev mdbtools-dev libxlsxwriter-dev
                scowl wamerican fonts-liberation)
test_packages=(xvfb xauth x11-utils xdotool imagemagick mdbtools libreoffice-calc unzip nodejs npm
               dpkg-dev file lintian desktop-file-utils appstream
               dbus at-spi2-core python3-pyatspi)

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

if [[ "${1:-build}" == test ]]; then
    node_dir=$root/build/node
    if [[ ! -f $node_dir/node_modules/mdb-reader/package.json ]]; then
        echo "Installing the npm package mdb-reader into $node_dir"
        mkdir -p "$node_dir"
        npm install --prefix "$node_dir" --no-audit --no-fund --no-save --silent \
            mdb-reader@3.2.0 >/dev/null
    fi
fi
