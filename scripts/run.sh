#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# Installs what is needed, builds orvik-viewer into build/ and starts it on the
# default camera (exposure-mode). Without a display it saves a picture of the
# window to build/screenshot.png instead and prints that path.
# Arguments go to the viewer, for example:
#   scripts/run.sh --camera syncout --locale de_DE
#   scripts/run.sh --help
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

# Paths relative to the checkout and the working folder left out of the hash:
# another clone of the project on this machine reuses what one compiled.
export CCACHE_BASEDIR=$root
export CCACHE_NOHASHDIR=true
# Keep the build type of an existing build/ (scripts/test.sh shares it), so
# that switching between the two scripts does not rebuild everything.
configure=(-S . -B build)
[ -f build/CMakeCache.txt ] || configure+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
echo "== configure and build build/"
cmake "${configure[@]}" >/dev/null
cmake --build build -j"${JOBS:-2}" --target orvik-viewer

viewer=$root/build/bin/orvik-viewer
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$viewer" "$@"
fi

for arg in "$@"; do
    case $arg in
        --screenshot|--screenshot=*|--list-tabs|--help|-h|--version) exec "$viewer" "$@" ;;
    esac
done
echo "== no display: saving the window as a picture"
exec "$viewer" --screenshot "$root/build/screenshot.png" "$@"
