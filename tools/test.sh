#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Builds Digitome with warnings as errors and runs every test twice: in a
# normal build and in an AddressSanitizer + UndefinedBehaviorSanitizer build.
# A test whose outside tool is missing skips and names the tool; the skips are
# listed at the end. With --no-skips (as CI runs it) any skip fails the run.
# Usage: test.sh [--no-skips]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
no_skips=false
[[ ${1:-} == --no-skips ]] && no_skips=true
"$root/tools/install-deps.sh" test

# Every run sees a new account: an empty home and empty XDG folders, removed
# at the end, so no test passes only because an earlier run left a folder
# behind on this machine.
fresh_home=$(mktemp -d "${TMPDIR:-/tmp}/digitome-home.XXXXXX")
trap 'rm -rf "$fresh_home"' EXIT
mkdir -m 0700 "$fresh_home/runtime"
export HOME=$fresh_home XDG_CONFIG_HOME=$fresh_home/.config XDG_DATA_HOME=$fresh_home/.local/share \
    XDG_CACHE_HOME=$fresh_home/.cache XDG_RUNTIME_DIR=$fresh_home/runtime

jobs=$(nproc)
skipped=()
for variant in release sanitize; do
    dir="$root/build/test-$variant"
    args=(-G Ninja -DDIGITOME_WERROR=ON)
    if [[ $variant == sanitize ]]; then
        # The benchmarks are built (warnings as errors) by the release variant.
        args+=(-DCMAKE_BUILD_TYPE=Debug -DDIGITOME_SANITIZE=ON -DDIGITOME_BENCHMARKS=OFF)
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
    log="$dir/ctest.log"
    (cd "$dir" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "$jobs") | tee "$log"
    while IFS= read -r line; do
        skipped+=("$variant: $line")
    done < <(grep -E '\*\*\*Skipped' "$log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+).*/\1/')
done

if ((${#skipped[@]})); then
    echo "== skipped tests (their output names the missing tool):"
    printf '  %s\n' "${skipped[@]}"
    if $no_skips; then
        echo "Tests were skipped; with --no-skips that is a failure."
        exit 1
    fi
else
    echo "== no test was skipped"
fi
