#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# The house tools on the whole tree: clang-format must leave every C++ file
# as it is (.clang-format), and clang-tidy (.clang-tidy) must find nothing in
# the library, the plug-in and the viewer. Takes the build directory whose
# compile_commands.json clang-tidy reads (default: build). JOBS sets how many
# clang-tidy processes run at once.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${JOBS:-2}
status=0

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${sources[@]}" 2>/tmp/orvik-format.$$; then
    echo "Not formatted (clang-format -i <file> formats it):"
    grep -oE '^[^:]+\.(cpp|h)' /tmp/orvik-format.$$ | sort -u | sed 's/^/  /'
    status=1
fi
rm -f /tmp/orvik-format.$$

if [ ! -f "$build/compile_commands.json" ]; then
    echo "No $build/compile_commands.json: configure $build first." >&2
    exit 1
fi
# Only what the build compiled: the Aravis provider is missing without Aravis.
mapfile -t units < <(git ls-files 'orvapi/*.cpp' 'features/*.cpp' 'tabbase/*.cpp' 'triggerio/*.cpp' \
    'plugin/*.cpp' 'viewer/*.cpp' 'hostinterface/*.cpp' | while read -r f; do
        grep -qF "\"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"
    done)
tidy_log=$build/clang-tidy.log
if ! printf '%s\n' "${units[@]}" | xargs -P "$jobs" -n 4 clang-tidy -p "$build" --quiet >"$tidy_log" 2>&1; then
    echo "clang-tidy findings (all of them in $tidy_log):"
    grep -E '(error|warning):' "$tidy_log" | sort -u | head -40
    status=1
fi
echo "style: ${#sources[@]} files formatted, ${#units[@]} sources checked by clang-tidy"
exit $status
