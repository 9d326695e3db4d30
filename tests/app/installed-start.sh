#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and starts the installed program
# in a real X window: it must open without an error report, which means it
# found its dictionary beside itself.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/digitome"
test -f "$prefix/lib/digitome/dbWords.mdb"
test -f "$prefix/share/applications/digitome.desktop"
"$source_dir/tools/window-check.sh" "$prefix/bin/digitome"
