#!/usr/bin/env bash
# Builds everything (native core, local weather server, Wolkenglas.exe) and runs every test:
# unit, robustness and end-to-end under Wine. The last lines are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
wg_need_packages "${WG_BUILD_PACKAGES[@]}" "${WG_WINE_PACKAGES[@]}"
wg_need_locale de_DE.UTF-8

BUILD=${WG_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
