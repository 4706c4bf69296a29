# Sourced by the bench scripts (after BUILD is set): builds what they run and gives them a Wine
# prefix of their own on a virtual display, with the local weather server and the widget's host
# keys pointed at it, all removed when the script ends.
. scripts/deps.sh
wg_need_packages "${WG_BUILD_PACKAGES[@]}" "${WG_WINE_PACKAGES[@]}"

# wg_bench_build NAME: the local server and the Windows programs (log: $BUILD/NAME-build.log).
wg_bench_build() {
    mkdir -p "$BUILD"
    if ! { cmake -S . -B "$BUILD" && cmake --build "$BUILD" -j"$(nproc)" --target weather-server wolkenglas_windows; } \
            >"$BUILD/$1-build.log" 2>&1; then
        tail -n 40 "$BUILD/$1-build.log"; echo "Build failed (full log: $BUILD/$1-build.log)"; exit 1
    fi
    SERVER=$PWD/$BUILD/tools/weather-server/weather-server
}

# wg_bench_prefix FILE...: the prefix and display, C:\Wolkenglas holding FILE..., Tahoma.
wg_bench_prefix() {
    work=$(mktemp -d)
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    pids=()
    trap wg_bench_cleanup EXIT
    for n in $(seq 120 220); do [ -e /tmp/.X$n-lock ] || { DNUM=$n; break; }; done
    Xvfb ":$DNUM" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
    export DISPLAY=":$DNUM"
    sleep 1
    wineboot -i >/dev/null 2>&1 || true
    wineserver -p 2>/dev/null || true  # one server for every program of the run
    APPDIR=$WINEPREFIX/drive_c/Wolkenglas
    mkdir -p "$APPDIR" "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$@" "$APPDIR/"
    for f in tahoma.ttf tahomabd.ttf; do
        [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    KEY='HKCU\Software\VB and VBA Program Settings\Korvelin\AccuWeather'
}

wg_bench_cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}

# wg_bench_server ARGS...: the local weather server (ARGS added), every host key and Berlin.
wg_bench_server() {
    coproc SRV { exec "$SERVER" --port 0 "$@"; }
    pids+=($SRV_PID)
    read -r -u "${SRV[0]}" _ PORT
    BASE="http://127.0.0.1:$PORT/"
    for v in Server.Api Server.Satellite Server.Geocoding Server.Forecast; do wine reg add "$KEY" /v "$v" /d "$BASE" /f >/dev/null; done
    wine reg add "$KEY" /v Server.Update /d "${BASE}updates/" /f >/dev/null
    wine reg add "$KEY" /v Location.Selected /d "Berlin, Berlin, DE" /f >/dev/null
    wine reg add "$KEY" /v Location.Key /d "171001" /f >/dev/null
}

# ours NAME: the newest process of this prefix whose command line holds NAME (other Wine sessions
# may run on the machine at the same time).
ours() {
    local p newest=
    for p in $(pgrep -f "$1" || true); do
        { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && newest=$p
    done
    echo "$newest"
}
