#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Checks of the desktop files. A missing outside tool skips the check (exit
# code 77) and names the tool.
#   check.sh validate TOOL ARGUMENT...              a validator: no error or warning
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

require() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$tool is not installed (tools/install-deps.sh test installs it)"
            exit 77
        fi
    done
}

# Runs a command, shows its output and fails on a non-zero exit code or on a
# line that reports an error or a warning.
no_errors_or_warnings() {
    local output status=0
    output=$("$@" 2>&1) || status=$?
    [[ -n $output ]] && echo "$output"
    if ((status != 0)); then
        echo "$1 ended with exit code $status"
        exit 1
    fi
    if grep -Eq '^[EW]: |: (error|warning): ' <<<"$output"; then
        echo "$1 reported errors or warnings"
        exit 1
    fi
}

mode=$1
shift
case $mode in
validate)
    require "$1"
    no_errors_or_warnings "$@"
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
