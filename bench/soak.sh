#!/usr/bin/env bash
# A thousand refreshes under Wine: the widget against the local weather server (no delay), F5
# after F5, the satellite window opened and closed after every 50th refresh. After refresh 100
# and after the last, wgprobe asks the widget's process for its GDI and USER objects
# (GetGuiResources), its handles and its private bytes; RssAnon comes from /proc. The table shows
# both and the change; the exit status is 1 when a count moved more than 2 % or the memory more
# than 256 KiB. Not part of the tests: it takes minutes.
#   bash bench/soak.sh [REFRESHES]      default 1000; WG_BUILD_DIR picks the build tree
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${WG_BUILD_DIR:-build}
TOTAL=${1:-1000}
FIRST=${WG_SOAK_FIRST:-100}
EVERY=${WG_SOAK_EVERY:-50}
SETTLE=10
. bench/wine-bench.sh
wg_bench_build soak
WIN=$PWD/$BUILD/windows
wg_bench_prefix "$WIN/src/win32/Wolkenglas.exe" "$WIN/tools/wgprobe/wgprobe.exe"
wg_bench_server --delay-ms 0
wine reg add "$KEY" /v Update /d "0" /f >/dev/null

# In a virtual desktop of its own, as the end-to-end tests run it: wgprobe finds it there.
wine explorer /desktop=soak,1280x800 'C:\Wolkenglas\Wolkenglas.exe' >/dev/null 2>&1 &
sleep "$SETTLE"
pid=$(ours Wolkenglas.exe)  # the widget restarts once at its first start, for its manifest
[ -n "$pid" ] || { echo "The widget did not start" >&2; exit 1; }
pids+=($pid)
sleep "$SETTLE"

# probe ARGS...: runs wgprobe in the prefix and sets the counts it prints (output through a file:
# Wine's daemons keep pipes open).
probe() {
    local out=$work/probe.txt
    if ! wine 'C:\Wolkenglas\wgprobe.exe' "$@" >"$out" 2>&1 </dev/null; then
        cat "$out" >&2
        [ -r "/proc/$pid/status" ] || echo "The widget has ended" >&2
        exit 1
    fi
    value() { awk -v k="$1" '$1 == k {print $2}' "$out"; }
    GDI=$(value gdi); USER=$(value user); HANDLES=$(value handles); PRIVATE=$(( $(value private) / 1024 ))
    WINDOWS=$(value windows); LIVE_GDI=$(value live-gdi); LIVE_USER=$(value live-user); LIVE_OTHER=$(value live-other)
    FDS=$(ls "/proc/$pid/fd" | wc -l)
    ANON=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status")
}

start=$(date +%s)
probe soak soak "$FIRST" "$EVERY" 1
a_gdi=$GDI a_user=$USER a_handles=$HANDLES a_private=$PRIVATE a_anon=$ANON a_windows=$WINDOWS
a_lgdi=$LIVE_GDI a_luser=$LIVE_USER a_lother=$LIVE_OTHER a_fds=$FDS
probe soak soak $((TOTAL - FIRST)) "$EVERY" $((FIRST + 1))
b_gdi=$GDI b_user=$USER b_handles=$HANDLES b_private=$PRIVATE b_anon=$ANON b_windows=$WINDOWS
b_lgdi=$LIVE_GDI b_luser=$LIVE_USER b_lother=$LIVE_OTHER b_fds=$FDS
seconds=$(($(date +%s) - start))

status=0
row() {  # NAME AFTER-100 AFTER-N LIMIT-KIND
    local change
    change=$(awk -v a="$2" -v b="$3" 'BEGIN {if (a == 0) printf "%+d", b - a; else printf "%+d (%+.2f %%)", b - a, (b - a) * 100 / a}')
    printf '| %s | %s | %s | %s |\n' "$1" "$2" "$3" "$change"
    if [ "$4" = count ]; then
        awk -v a="$2" -v b="$3" 'BEGIN {d = b - a; if (d < 0) d = -d; exit !(d > a * 0.02)}' && status=1
    else
        [ $(($3 - $2)) -gt 256 ] && status=1
    fi
    return 0
}
echo "$TOTAL refreshes (satellite window opened and closed every $EVERY) in $seconds s, $(wine --version 2>/dev/null | head -n 1):"
echo
echo "| | after $FIRST | after $TOTAL | change |"
echo "|---|---|---|---|"
# Wine answers GetGuiResources, GetProcessHandleCount and PrivateUsage of another process with 0:
# those rows say so. The program's own counts (its handle owners) and Linux's view stand beside them.
row "GDI objects (GetGuiResources)" "$a_gdi" "$b_gdi" count
row "USER objects (GetGuiResources)" "$a_user" "$b_user" count
row "handles (GetProcessHandleCount)" "$a_handles" "$b_handles" count
row "GDI objects alive in the program's owners" "$a_lgdi" "$b_lgdi" count
row "USER objects: icons alive in the program's owners" "$a_luser" "$b_luser" count
row "USER objects: the program's windows and controls" "$a_windows" "$b_windows" count
row "other handles alive in the program's owners" "$a_lother" "$b_lother" count
row "file descriptors of the process (Linux)" "$a_fds" "$b_fds" count
row "private bytes, KiB (PrivateUsage)" "$a_private" "$b_private" memory
row "private memory, KiB (RssAnon)" "$a_anon" "$b_anon" memory
echo
if [ "$status" -ne 0 ]; then echo "Not flat: a count moved more than 2 % or the memory more than 256 KiB"; else echo "Flat"; fi
exit $status
