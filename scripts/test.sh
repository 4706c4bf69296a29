#!/usr/bin/env bash
# Builds everything (native core, local weather server, Wolkenglas.exe) and runs every test:
# unit, robustness and end-to-end under Wine. The last lines are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
wg_need_packages "${WG_BUILD_PACKAGES[@]}" "${WG_WINE_PACKAGES[@]}"
for wg_locale in "de_DE UTF-8" "sv_SE UTF-8" "sv_SE ISO-8859-1"; do wg_need_locale $wg_locale; done

BUILD=${WG_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
