#!/usr/bin/env bash
# Runs the widget under Wine against the bundled local weather server.
#   bash scripts/run-widget.sh                 on the user's X display (DISPLAY set)
#   bash scripts/run-widget.sh --screenshot F  on a virtual display; writes a screenshot to F and ends
#   bash scripts/run-widget.sh --live [...]    the real weather from the keyless source (Open-Meteo,
#                                              a network is needed); the server still gives the
#                                              satellite picture and the update record
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
wg_need_packages "${WG_BUILD_PACKAGES[@]}" "${WG_WINE_PACKAGES[@]}"
# The widget speaks German; Wine takes its locale (separator, day names) from the C library's.
wg_need_locale de_DE UTF-8
export LC_ALL=${LC_ALL:-de_DE.UTF-8}

LIVE=""
[ "${1:-}" = "--live" ] && { LIVE=1; shift; }
SHOT=""
[ "${1:-}" = "--screenshot" ] && SHOT=${2:-wolkenglas.png}
if [ -z "${DISPLAY:-}" ] && [ -z "$SHOT" ]; then SHOT=wolkenglas.png; fi

BUILD=${WG_BUILD_DIR:-build}
mkdir -p "$BUILD"
if ! { cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       cmake --build "$BUILD" -j"$(nproc)" --target weather-server wolkenglas_windows; } >"$BUILD/run-build.log" 2>&1; then
    tail -n 40 "$BUILD/run-build.log"; echo "Build failed (full log: $BUILD/run-build.log)"; exit 1
fi
EXE=$PWD/$BUILD/windows/src/win32/Wolkenglas.exe
SERVER=$PWD/$BUILD/tools/weather-server/weather-server

export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-wolkenglas} WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
mkdir -p "$WINEPREFIX"
APPDIR=$WINEPREFIX/drive_c/Wolkenglas
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

if [ -n "$SHOT" ] && [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 190); do [ -e /tmp/.X$n-lock ] || { DNUM=$n; break; }; done
    Xvfb ":$DNUM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
    export DISPLAY=":$DNUM"
    sleep 1
fi
wineboot -i >/dev/null 2>&1 || true
wineserver -p 2>/dev/null || true  # keep one server for the whole run
mkdir -p "$APPDIR" "$WINEPREFIX/drive_c/windows/Fonts"
cp "$EXE" "$APPDIR/Wolkenglas.exe"
# The face is made for Tahoma; not every Wine build finds the copy that fonts-wine ships.
for f in tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
done
rm -f "$APPDIR/Wolkenglas.exe.close"

# The local weather server on a free loopback port; the widget's hidden host keys point at it.
KEY='HKCU\Software\VB and VBA Program Settings\Korvelin\AccuWeather'
if [ -x "$SERVER" ] && "$SERVER" --help >/dev/null 2>&1; then
    coproc SRV { exec "$SERVER" --port 0; }
    pids+=($SRV_PID)
    read -r -u "${SRV[0]}" _ PORT
    BASE="http://127.0.0.1:$PORT/"
    wine reg add "$KEY" /v Server.Satellite /d "$BASE" /f >/dev/null
    wine reg add "$KEY" /v Server.Update /d "${BASE}updates/" /f >/dev/null
    STORED=$({ wine reg query "$KEY" /v Location.Key 2>/dev/null || true; } | awk '/Location.Key/ {print $3}' | tr -d '\r')
    if [ -n "$LIVE" ]; then
        # The built-in hosts of the keyless source; no key, so it is the chosen source.
        for v in Server.Api Server.Geocoding Server.Forecast Server.Source; do
            wine reg delete "$KEY" /v "$v" /f >/dev/null 2>&1 || true
        done
        # The local server's places are not the source's: Berlin by the source's id.
        case "$STORED" in ""|1710??)
            wine reg add "$KEY" /v Location.Selected /d "DE: 10967 Berlin, Deutschland" /f >/dev/null
            wine reg add "$KEY" /v Location.Key /d "2950159" /f >/dev/null ;;
        esac
        echo "Weather from Open-Meteo.com; local server for the rest: $BASE"
    else
        # Both sources' hosts point at the server, which speaks both.
        for v in Server.Api Server.Geocoding Server.Forecast; do wine reg add "$KEY" /v "$v" /d "$BASE" /f >/dev/null; done
        # A place for the first start, so the widget shows weather at once.
        case "$STORED" in 1710??) ;; *)
            wine reg add "$KEY" /v Location.Selected /d "Berlin, Berlin, DE" /f >/dev/null
            wine reg add "$KEY" /v Location.Key /d "171001" /f >/dev/null ;;
        esac
        echo "Local weather server: $BASE"
    fi
fi

if [ -n "$SHOT" ]; then
    wine explorer /desktop=wg,1280x800 'C:\Wolkenglas\Wolkenglas.exe' >/dev/null 2>&1 &
    for _ in $(seq 1 60); do xdotool search --name '^Wolkenglas' >/dev/null 2>&1 && break; sleep 1; done
    sleep 5
    import -window root "$SHOT"
    echo "Screenshot: $SHOT"
    printf 1 > "$APPDIR/Wolkenglas.exe.close"
    sleep 6
else
    wine 'C:\Wolkenglas\Wolkenglas.exe'
fi
