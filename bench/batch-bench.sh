#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# digitome-convert on a batch of ten-digit numbers with area codes, best line
# each (--mode mixed --order best --top 1): wall time (hyperfine when
# installed, else one timed run), peak memory (/usr/bin/time -v), and with
# --baseline another build's converter on the same batch: its time, the
# speed-up and whether the lines are identical. Run by hand, not a test.
#
#   bench/batch-bench.sh [--numbers N] [--runs R] [--baseline OTHER-CONVERT]
#                        [--] CONVERT [OPTION...]
#
# --runs 0 skips hyperfine (one timed run each). OPTIONs go to both converters after the batch's own (--jobs 1, say, for the
# single-core figure). The numbers are the same every time: area code and
# exchange 200-999, a pseudo-random line number, written 212-555-0123.
set -euo pipefail

numbers=100000
runs=3
baseline=
while [[ $# -gt 0 ]]; do
    case $1 in
    --numbers) numbers=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --baseline) baseline=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done
if [[ $# -lt 1 ]]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'
    exit 2
fi
convert=$1
shift
options=(--mode mixed --order best --top 1 "$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$numbers" 'BEGIN {
    x = 12345
    for (i = 0; i < n; i++) {
        x = (x * 69069 + 1) % 4294967296; a = 200 + x % 800
        x = (x * 69069 + 1) % 4294967296; e = 200 + x % 800
        x = (x * 69069 + 1) % 4294967296; l = x % 10000
        printf "%03d-%03d-%04d\n", a, e, l
    }
}' > "$work/numbers.txt"
echo "batch: $numbers numbers, digitome-convert ${options[*]}"

measure() { # NAME PROGRAM
    local name=$1 program=$2
    /usr/bin/time -v "$program" "${options[@]}" < "$work/numbers.txt" > "$work/$name.out" \
        2> "$work/$name.time"
    local peak wall cpu
    peak=$(awk '/Maximum resident set size/ { printf "%.0f", $NF / 1024 }' "$work/$name.time")
    wall=$(awk '/Elapsed \(wall clock\)/ { print $NF }' "$work/$name.time")
    cpu=$(awk '/(User|System) time \(seconds\)/ { t += $NF } END { printf "%.1f", t }' \
        "$work/$name.time")
    echo "$name: $(wc -l < "$work/$name.out") lines, one run $wall (m:ss), processor $cpu s, peak $peak MB"
    if [[ $runs -gt 0 ]] && command -v hyperfine > /dev/null; then
        hyperfine --runs "$runs" --style basic --export-json "$work/$name.json" \
            "$program ${options[*]} < $work/numbers.txt > /dev/null" | sed -n '/Time/,/Range/p'
    fi
}

measure this "$convert"
if [[ -n $baseline ]]; then
    measure baseline "$baseline"
    if cmp -s "$work/this.out" "$work/baseline.out"; then
        echo "lines: identical"
    else
        echo "lines: DIFFERENT ($(diff "$work/this.out" "$work/baseline.out" | grep -c '^[<>]') lines differ)"
    fi
    if [[ $runs -gt 0 ]] && command -v hyperfine > /dev/null; then
        python3 - "$work/this.json" "$work/baseline.json" << 'PY'
import json, sys
this, base = (json.load(open(p))["results"][0]["mean"] for p in sys.argv[1:3])
print(f"speed-up: {base / this:.2f}x ({base:.2f} s -> {this:.2f} s)")
PY
    fi
fi
