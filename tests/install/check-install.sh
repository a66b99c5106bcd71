#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# Installs the build as a user would, twice: with cmake --install into a fresh
# prefix, and as the Debian package (cpack -G DEB), installed with dpkg into a
# private root. Each installed tree must run from where it lies: the viewer
# lists the Trigger IO tab and renders its window, and programs build against
# the library through pkg-config and through find_package(OrvikCPP).
#   check-install.sh <build folder> <scratch folder> <source folder>
set -euo pipefail
build=$1
work=$2
source=$3
rm -rf "$work"
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen

fail() { echo "check-install: $*" >&2; exit 1; }

# check_tree <root of an installed prefix>
check_tree() {
    local prefix=$1 label=$2
    local viewer=$prefix/bin/orvik-viewer
    [ -x "$viewer" ] || fail "$label: no $viewer"
    # From another folder: nothing may depend on the working directory.
    cd "$work"
    local tabs
    tabs=$("$viewer" --list-tabs --camera line-routing) || fail "$label: --list-tabs failed"
    grep -qx "Trigger IO" <<<"$tabs" || fail "$label: tabs are [$tabs]"
    [ "$("$viewer" --list-tabs --locale de_DE | head -1)" = "Trigger-E/A" ] || fail "$label: no German page"
    "$viewer" --screenshot "$work/$label.png" >/dev/null || fail "$label: no screenshot"
    [ "$(stat -c %s "$work/$label.png")" -gt 30000 ] || fail "$label: screenshot too small"
    "$prefix/bin/orvik-features" exposure-mode | grep -q TriggerSelector || fail "$label: orvik-features"

    local libdir
    libdir=$(dirname "$(find "$prefix" -name 'libOrvikCPP.so.1' | head -1)")
    [ -n "$libdir" ] || fail "$label: no libOrvikCPP.so.1"
    local cameras=$prefix/share/orvik-viewer/cameras
    local expected="Orvik GX-2450M TriggerSelector=FrameStart"

    # pkg-config, with the prefix taken from where the .pc file lies.
    local flags
    flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs orvikcpp) || fail "$label: pkg-config"
    grep -q -- "-lOrvikCPP" <<<"$flags" || fail "$label: pkg-config --libs gives [$flags]"
    # shellcheck disable=SC2086
    c++ -std=c++17 "$source/tests/install/consumer/consumer.cpp" $flags -Wl,-rpath,"$libdir" \
        -o "$work/$label-pkgconfig" || fail "$label: build with pkg-config"
    [ "$("$work/$label-pkgconfig" "$cameras")" = "$expected" ] || fail "$label: pkg-config program"

    # find_package(OrvikCPP).
    cmake -S "$source/tests/install/consumer" -B "$work/$label-cmake" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_BUILD_RPATH="$libdir" >/dev/null || fail "$label: configure the CMake consumer"
    cmake --build "$work/$label-cmake" >/dev/null || fail "$label: build the CMake consumer"
    [ "$("$work/$label-cmake/consumer" "$cameras")" = "$expected" ] || fail "$label: CMake program"
    echo "$label: ok"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_tree "$work/prefix" install

# The Debian package, installed by dpkg into a root of its own. Its
# dependencies are the system's packages; dpkg cannot see them from there, so
# they are checked against the system instead.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
deb=$(find "$work/package" -maxdepth 1 -name '*.deb' | head -1)
[ -n "$deb" ] || fail "cpack made no .deb"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libqt5widgets5" <<<"$depends" || fail "Depends lacks Qt: [$depends]"
for dependency in $(sed 's/([^)]*)//g; s/|[^,]*//g; s/,/ /g' <<<"$depends"); do
    dpkg-query -W -f='${Status}' "$dependency" 2>/dev/null | grep -q "install ok installed" \
        || fail "dependency $dependency is not a package of this system"
done
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless -i "$deb" >/dev/null \
    || fail "dpkg -i"
dpkg --root="$root" -L orvik-viewer | grep -q "/usr/bin/orvik-viewer" || fail "dpkg does not list the viewer"
check_tree "$root/usr" package
