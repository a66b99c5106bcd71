#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build, the tests and the viewer need.
# Does nothing when they are all there already.
set -euo pipefail

# libaravis-dev's pkg-config file also names libusb-1.0.
packages=(build-essential cmake ccache dpkg-dev pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools
          nlohmann-json3-dev xvfb xauth fonts-dejavu-core locales
          libaravis-dev libusb-1.0-0-dev libaravis-doc aravis-tools libopencv-imgproc-dev)
# The fuzz run: clang's libFuzzer and sanitizer runtimes; the style check.
packages+=(clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14 clang-format clang-tidy)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
