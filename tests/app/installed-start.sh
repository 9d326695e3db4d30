#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and starts the installed program
# through its launcher in a real X window: it must open without an error
# report, which means it found its dictionary beside itself.
# Usage: installed-start.sh BUILD_DIR APP_DIR (APP_DIR below the prefix, e.g. lib/digitome)
set -euo pipefail
# Without an X server to start there is nothing to check: ctest counts the
# test as skipped (exit status 77) and names what is missing.
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed: run tools/install-deps.sh test"
        exit 77
    fi
done
build=$1
app_dir=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/digitome"
test -x "$prefix/$app_dir/digitome"
test -f "$prefix/$app_dir/dbWords.mdb"
test -f "$prefix/share/applications/org.tarrowen.Digitome.desktop"
"$source_dir/tools/window-check.sh" "$prefix/bin/digitome"
