#!/usr/bin/env bash
# The footprint of Wolkenglas.exe: its size, its resident memory under Wine 10 s after the start
# and its idle CPU over the next 30 s (its own and the wineserver's), against a bare Win32 window of
# the same size and style, without timers and with the 100 ms and 5 s timers that earlier versions
# polled with (bench/BareWindow.cpp); one after the other on the same server, in one run.
# The widget runs as scripts/run-widget.sh runs it: the local weather server, a place, its own
# Wine prefix and virtual display, all removed at the end.
#   bash bench/footprint.sh            WG_BUILD_DIR picks the build tree (default build)
# "all" is the process's VmRSS: every page it has in memory, including the system DLLs that the
# widget loads and a bare window does not (common controls, WIC, shell, WinHTTP, COM), whose pages
# every program that loads them shares. "private" is RssAnon, the nearest thing to the Windows
# private working set: the widget's own memory. The exit status is 1 when that is more than
# WG_RSS_BUDGET_KB (default 6 MiB) above the bare window, or the idle CPU more than WG_CPU_MARGIN
# (default 0.1) per cent of a core above the bare window without timers.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${WG_BUILD_DIR:-build}
SETTLE=10
MEASURE=${WG_IDLE_SECONDS:-30}
BUDGET_KB=${WG_RSS_BUDGET_KB:-6144}
CPU_MARGIN=${WG_CPU_MARGIN:-0.1}
. bench/wine-bench.sh
wg_bench_build footprint
WIN=$PWD/$BUILD/windows/src/win32
wg_bench_prefix "$WIN/Wolkenglas.exe" "$WIN/BareWindow.exe"
wg_bench_server

cpu_ns() {  # PID: the CPU time of all its threads so far, in nanoseconds
    local t=0 f a
    for f in /proc/"$1"/task/*/schedstat; do read -r a _ <"$f" 2>/dev/null && t=$((t + a)); done
    echo "$t"
}
wakeups() {  # PID: the times its threads were put to sleep and woken so far
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ {n += $2} END {print n + 0}'
}

# Starts one program, lets it settle, then sets CPU to its and the wineserver's CPU time over
# MEASURE seconds in per cent of one core, OWN to its own share, WAKE to the times its threads
# woke per minute, and RSS and ANON to VmRSS and RssAnon in KiB.
# The process that `wine` starts becomes the Windows process itself.
measure() {
    wine "C:\\Wolkenglas\\$1" ${2:-} >/dev/null 2>&1 &
    local pid=$!
    pids+=($pid)
    sleep "$SETTLE"
    if ! [ -r "/proc/$pid/status" ]; then
        # The widget restarts once at its first start, after it has written its manifest.
        pid=$(ours "$1")
        [ -n "$pid" ] && pids+=($pid) && sleep "$SETTLE"
    fi
    if [ -z "$pid" ] || ! [ -r "/proc/$pid/status" ]; then echo "$1 ended before it could be measured" >&2; exit 1; fi
    local server; server=$(ours wineserver)
    local p0 s0 p1 s1 w0 w1
    p0=$(cpu_ns "$pid"); s0=$(cpu_ns "$server"); w0=$(wakeups "$pid")
    sleep "$MEASURE"
    p1=$(cpu_ns "$pid"); s1=$(cpu_ns "$server"); w1=$(wakeups "$pid")
    CPU=$(awk -v d=$((p1 - p0 + s1 - s0)) -v t="$MEASURE" 'BEGIN {printf "%.3f", d / (t * 1e9) * 100}')
    OWN=$(awk -v d=$((p1 - p0)) -v t="$MEASURE" 'BEGIN {printf "%.3f", d / (t * 1e9) * 100}')
    WAKE=$(awk -v d=$((w1 - w0)) -v t="$MEASURE" 'BEGIN {printf "%.0f", d * 60 / t}')
    RSS=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    ANON=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

measure BareWindow.exe; bare_rss=$RSS bare_anon=$ANON bare_cpu=$CPU bare_own=$OWN bare_wake=$WAKE
measure BareWindow.exe timers; timers_rss=$RSS timers_anon=$ANON timers_cpu=$CPU timers_own=$OWN timers_wake=$WAKE
measure Wolkenglas.exe; wg_rss=$RSS wg_anon=$ANON wg_cpu=$CPU wg_own=$OWN wg_wake=$WAKE

mib() { awk -v k="$1" 'BEGIN {printf "%.1f MiB", k / 1024}'; }
row() { printf '  %-38s %10s %10s %12s %10s %12s\n' "$1" "$2" "$3" "$4" "$5" "$6"; }
size=$(stat -c %s "$WIN/Wolkenglas.exe")
echo "Wolkenglas.exe: $size bytes ($((size / 1024)) KiB); BareWindow.exe: $(stat -c %s "$WIN/BareWindow.exe") bytes"
echo "Resident ${SETTLE} s after the start; CPU (program + wineserver, and the program alone) and the"
echo "program's wake-ups over the next ${MEASURE} s; $(wine --version 2>/dev/null | head -n 1):"
row "" "all" "private" "CPU % core" "program" "wake-ups/min"
row "BareWindow.exe" "$(mib "$bare_rss")" "$(mib "$bare_anon")" "$bare_cpu" "$bare_own" "$bare_wake"
row "BareWindow.exe timers" "$(mib "$timers_rss")" "$(mib "$timers_anon")" "$timers_cpu" "$timers_own" "$timers_wake"
row "Wolkenglas.exe" "$(mib "$wg_rss")" "$(mib "$wg_anon")" "$wg_cpu" "$wg_own" "$wg_wake"
row "Wolkenglas.exe above the bare window" "$(mib $((wg_rss - bare_rss)))" "$(mib $((wg_anon - bare_anon)))" \
    "$(awk -v a="$wg_cpu" -v b="$bare_cpu" 'BEGIN {printf "%.3f", a - b}')" \
    "$(awk -v a="$wg_own" -v b="$bare_own" 'BEGIN {printf "%.3f", a - b}')" $((wg_wake - bare_wake))
status=0
if [ $((wg_anon - bare_anon)) -gt "$BUDGET_KB" ]; then
    echo "Over the budget: $((wg_anon - bare_anon)) KiB, more than $(mib "$BUDGET_KB") of private memory above the bare window"; status=1
else
    echo "Within the budget: $((wg_anon - bare_anon)) KiB, at most $(mib "$BUDGET_KB") of private memory above the bare window"
fi
if awk -v a="$wg_cpu" -v b="$bare_cpu" -v m="$CPU_MARGIN" 'BEGIN {exit !(a - b > m)}'; then
    echo "Over the budget: idle CPU more than $CPU_MARGIN % of a core above the bare window without timers"; status=1
else
    echo "Within $CPU_MARGIN % of a core of the bare window without timers at idle"
fi
exit $status
