#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Builds Digitome with warnings as errors and runs every test twice: in a
# normal build and in an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" test

jobs=$(nproc)
for variant in release sanitize; do
    dir="$root/build/test-$variant"
    args=(-G Ninja -DDIGITOME_WERROR=ON)
    if [[ $variant == sanitize ]]; then
        args+=(-DCMAKE_BUILD_TYPE=Debug -DDIGITOME_SANITIZE=ON)
    else
        args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
    fi
    echo "== $variant build"
    cmake -S "$root" -B "$dir" "${args[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs"
    if [[ $variant == release ]]; then
        echo "== the real program in a real X window"
        "$root/tools/window-check.sh" "$dir/bin/digitome" "$root/build/screenshot.png"
    fi
    echo "== $variant tests"
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "$jobs")
done
