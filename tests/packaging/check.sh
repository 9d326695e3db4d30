#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Checks of the Debian package and the desktop files. A missing outside tool
# skips the check (exit code 77) and names the tool.
#   check.sh build CPACK BUILD_DIR OUT_DIR DEB      cpack the build tree into OUT_DIR/DEB
#   check.sh contents DEB VERSION APP_DIR           unpack with dpkg -x, start the program
#   check.sh validate TOOL ARGUMENT...              a validator: no error or warning
#   check.sh lintian DEB                            lintian --pedantic: no E: or W: line
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

# cpack builds the package from the build tree; dpkg-shlibdeps and file
# give its library dependencies.
package_tools=(dpkg-shlibdeps file dpkg-deb)

mode=$1
shift
case $mode in
build)
    require "${package_tools[@]}"
    cpack=$1 build=$2 out=$3 deb=$4
    rm -rf "$out"
    "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$build/cpack.log" 2>&1 \
        || { cat "$build/cpack.log"; exit 1; }
    [[ -f $out/$deb ]] || { ls "$out"; echo "cpack did not write $deb"; exit 1; }
    dpkg-deb --info "$out/$deb"
    ;;
contents)
    require "${package_tools[@]}" readelf Xvfb xdotool
    deb=$1 version=$2 app_dir=$3
    [[ -f $deb ]] || { echo "$deb is missing: the package_build test did not build it"; exit 1; }
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg -x "$deb" "$root"

    # Library dependencies come from dpkg-shlibdeps.
    depends=$(dpkg-deb --field "$deb" Depends)
    grep -q 'libqt6widgets6' <<<"$depends" || { echo "Depends: $depends"; exit 1; }
    # The desktop entry names a program and an icon the package holds.
    desktop=$root/usr/share/applications/org.tarrowen.Digitome.desktop
    exec_name=$(sed -n 's/^Exec=//p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    test -x "$root/usr/bin/$exec_name"
    for size in 16 22 24 32 48 64 128 256; do
        test -f "$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png"
    done
    test -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg"
    grep -q ">${desktop##*/}</launchable>" \
        "$root/usr/share/metainfo/org.tarrowen.Digitome.metainfo.xml"

    # The program is built with the hardening flags: bindnow, stack protector.
    program=$root$app_dir/digitome
    grep -q BIND_NOW <<<"$(readelf --dynamic "$program")" || { echo "no bindnow"; exit 1; }
    grep -q __stack_chk_fail <<<"$(readelf --wide --dyn-syms "$program")" \
        || { echo "no stack protector"; exit 1; }

    # The unpacked program answers without a display, then opens its window
    # with its dictionary found beside it.
    test -f "$root$app_dir/dbWords.mdb"
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/digitome" --version)
    [[ $answer == "Digitome $version" ]] || { echo "--version answered: $answer"; exit 1; }
    # The command-line converter finds the same dictionary.
    answer=$(XDG_DATA_HOME=$root/home "$root/usr/bin/digitome-convert" 434-3453)
    grep -qx IF-I-FILE <<<"$answer" || { echo "digitome-convert answered: $answer"; exit 1; }
    # A dictionary made and installed for the user comes before it.
    printf 'he\ni\nfile\n' >"$root/list.txt"
    XDG_DATA_HOME=$root/home "$root/usr/bin/digitome-dictionary" make "$root/list.txt" --install
    answer=$(XDG_DATA_HOME=$root/home "$root/usr/bin/digitome-convert" 434-3453)
    [[ $answer == HE-I-FILE ]] || { echo "with the installed dictionary: $answer"; exit 1; }
    "$source_dir/tools/window-check.sh" "$root/usr/bin/digitome"
    ;;
validate)
    require "$1"
    no_errors_or_warnings "$@"
    ;;
lintian)
    require "${package_tools[@]}" lintian
    deb=$1
    [[ -f $deb ]] || { echo "$deb is missing: the package_build test did not build it"; exit 1; }
    no_errors_or_warnings lintian --pedantic --display-info --show-overrides "$deb"
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
