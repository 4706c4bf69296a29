#!/usr/bin/env bash
# The footprint of Wolkenglas.exe: its size, and its resident memory under Wine 10 s after the
# start, against a bare Win32 window with the same size, style and timers (bench/BareWindow.cpp).
# The widget runs as scripts/run-widget.sh runs it: the local weather server, a place, its own
# Wine prefix and virtual display, all removed at the end.
#   bash bench/footprint.sh            WG_BUILD_DIR picks the build tree (default build)
# "all" is the process's VmRSS: every page it has in memory, including the system DLLs that the
# widget loads and a bare window does not (common controls, WIC, shell, WinHTTP, COM), whose pages
# every program that loads them shares. "private" is RssAnon, the nearest thing to the Windows
# private working set: the widget's own memory. The exit status is 1 when that is more than
# WG_RSS_BUDGET_KB (default 6 MiB) above the bare window.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
wg_need_packages "${WG_BUILD_PACKAGES[@]}" "${WG_WINE_PACKAGES[@]}"

BUILD=${WG_BUILD_DIR:-build}
SETTLE=10
BUDGET_KB=${WG_RSS_BUDGET_KB:-6144}
mkdir -p "$BUILD"
if ! { cmake -S . -B "$BUILD" && cmake --build "$BUILD" -j"$(nproc)" --target weather-server wolkenglas_windows; } \
        >"$BUILD/footprint-build.log" 2>&1; then
    tail -n 40 "$BUILD/footprint-build.log"; echo "Build failed (full log: $BUILD/footprint-build.log)"; exit 1
fi
WIN=$PWD/$BUILD/windows/src/win32
SERVER=$PWD/$BUILD/tools/weather-server/weather-server

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 120 220); do [ -e /tmp/.X$n-lock ] || { DNUM=$n; break; }; done
Xvfb ":$DNUM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=":$DNUM"
sleep 1
wineboot -i >/dev/null 2>&1 || true
wineserver -p 2>/dev/null || true  # one server for both programs
APPDIR=$WINEPREFIX/drive_c/Wolkenglas
mkdir -p "$APPDIR" "$WINEPREFIX/drive_c/windows/Fonts"
cp "$WIN/Wolkenglas.exe" "$WIN/BareWindow.exe" "$APPDIR/"
for f in tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
done

KEY='HKCU\Software\VB and VBA Program Settings\Korvelin\AccuWeather'
coproc SRV { exec "$SERVER" --port 0; }
pids+=($SRV_PID)
read -r -u "${SRV[0]}" _ PORT
BASE="http://127.0.0.1:$PORT/"
for v in Server.Api Server.Satellite Server.Geocoding Server.Forecast; do wine reg add "$KEY" /v "$v" /d "$BASE" /f >/dev/null; done
wine reg add "$KEY" /v Server.Update /d "${BASE}updates/" /f >/dev/null
wine reg add "$KEY" /v Location.Selected /d "Berlin, Berlin, DE" /f >/dev/null
wine reg add "$KEY" /v Location.Key /d "171001" /f >/dev/null

# Starts one program, waits, and sets RSS and ANON to VmRSS and RssAnon of its process in KiB.
# The process that `wine` starts becomes the Windows process itself.
resident() {
    wine "C:\\Wolkenglas\\$1" >/dev/null 2>&1 &
    local pid=$!
    pids+=($pid)
    sleep "$SETTLE"
    if ! [ -r "/proc/$pid/status" ]; then
        # The widget restarts once at its first start, after it has written its manifest.
        pid=$(pgrep -n -f "$1" || true)
        [ -n "$pid" ] && pids+=($pid) && sleep "$SETTLE"
    fi
    if [ -z "$pid" ] || ! [ -r "/proc/$pid/status" ]; then echo "$1 ended before it could be measured" >&2; exit 1; fi
    RSS=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    ANON=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

resident BareWindow.exe; bare_rss=$RSS bare_anon=$ANON
resident Wolkenglas.exe; wg_rss=$RSS wg_anon=$ANON

mib() { awk -v k="$1" 'BEGIN {printf "%.1f MiB", k / 1024}'; }
row() { printf '  %-38s %10s %12s\n' "$1" "$2" "$3"; }
size=$(stat -c %s "$WIN/Wolkenglas.exe")
echo "Wolkenglas.exe: $size bytes ($((size / 1024)) KiB); BareWindow.exe: $(stat -c %s "$WIN/BareWindow.exe") bytes"
echo "Resident ${SETTLE} s after the start, $(wine --version 2>/dev/null | head -n 1):"
row "" "all" "private"
row BareWindow.exe "$(mib "$bare_rss")" "$(mib "$bare_anon")"
row Wolkenglas.exe "$(mib "$wg_rss")" "$(mib "$wg_anon")"
row "Wolkenglas.exe above the bare window" "$(mib $((wg_rss - bare_rss)))" "$(mib $((wg_anon - bare_anon)))"
if [ $((wg_anon - bare_anon)) -gt "$BUDGET_KB" ]; then
    echo "Over the budget: more than $(mib "$BUDGET_KB") of private memory above the bare window"; exit 1
fi
echo "Within the budget of $(mib "$BUDGET_KB") of private memory above the bare window"
