#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Starts the real program in a real X window (Xvfb), checks that its window
# opens without an error report, and optionally loads the sample numbers,
# runs a conversion and saves a screenshot of the window.
# Usage: window-check.sh PROGRAM [SCREENSHOT.png]
set -euo pipefail
program=$1
screenshot=${2:-}

work=$(mktemp -d)
cleanup() {
    [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n ${x_pid:-} ]] && kill "$x_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")

# A fresh settings store, so the window opens as a first start does.
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Digitome$' 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    kill -0 "$app_pid" 2>/dev/null || { echo "the program ended early"; cat "$work/app.log"; exit 1; }
    sleep 0.1
done
[[ -n $window ]] || { echo "no Digitome window appeared"; cat "$work/app.log"; exit 1; }
sleep 0.5
if xdotool search --name '^Application Error$' >/dev/null 2>&1; then
    echo "the program showed an error report at start-up"
    exit 1
fi
echo "window $window is up"

if [[ -n $screenshot ]]; then
    click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
    click 400 216   # Load Sample/Example Data
    click 268 450   # Start Converting
    sleep 3
    xdotool mousemove --window "$window" 532 200   # rest on the background
    import -window "$window" "$screenshot"
    echo "screenshot saved to $screenshot"
fi
