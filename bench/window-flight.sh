#!/bin/bash
# What the real game costs in its window, under a virtual X server (Xvfb) with whatever GL
# the machine has (Mesa's software rasterizer on a machine without a GPU):
#   - the time from starting the program to its first menu frame (median of three starts);
#   - each route's flight build, as the first flight of a fresh program;
#   - 30 s of flight on the busiest route (route 4, a recorded flight of the instructor's
#     replayed in the window at the game's 60 passes a second): CPU of the whole process
#     as a share of one core, and of each kind of thread, the passes per second, the heap
#     in use and the peak resident memory.
#
# usage: bench/window-flight.sh [BIN_DIR] [SECONDS]
#   BIN_DIR defaults to build/bin; SECONDS (the flight measured) to 30.
# Needs Xvfb. The program runs from a copy in a folder of its own, so its settings, scores
# and recordings are the defaults and the build's own are left alone.
set -euo pipefail

bin=$(realpath "${1:-build/bin}")
seconds=${2:-30}
busiest=4
[ -x "$bin/aerovant" ] || { echo "no $bin/aerovant: build it first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "needs Xvfb (package xvfb)" >&2; exit 1; }

work=$(mktemp -d /tmp/aerovant-window-bench.XXXXXX)
xvfb=""
cleanup() {
    pkill -TERM -f "^$work/aerovant" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The game beside links to the build's data: player files land in $work.
cp "$bin/aerovant" "$work/"
for part in data sounds xvid_ppc.so; do [ -e "$bin/$part" ] && ln -s "$bin/$part" "$work/$part"; done

for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=":$n"
    break
done
[ -n "$xvfb" ] || { echo "no free X display" >&2; exit 1; }
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

ticks_per_second=$(getconf CLK_TCK)
now_ns() { date +%s%N; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system, all threads
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

# Waits (up to 20 s) for a line starting with $2 in the stats file $1.
wait_for_line() {
    for _ in $(seq 200); do
        grep -q "^$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "the game never wrote '$2'" >&2
    return 1
}
stop_game() {
    kill -TERM "$1" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    kill -KILL "$1" 2>/dev/null || true
}
value() { sed -n "s/^$2=//p" "$1" | tail -1; }

# 1. Start to first menu frame.
starts=()
menu_rss=0
menu_heap=0
for run in 1 2 3; do
    stats="$work/start$run.txt"
    launched=$(now_ns)
    AEROVANT_STATS=$stats "$work/aerovant" >/dev/null 2>&1 &
    game=$!
    wait_for_line "$stats" first_menu_frame_epoch_ns
    shown=$(value "$stats" first_menu_frame_epoch_ns)
    starts+=("$(awk -v ns=$((shown - launched)) 'BEGIN { printf "%.1f", ns / 1e6 }')")
    if [ "$run" = 3 ]; then
        sleep 3
        menu_rss=$(status_kb "$game" VmRSS)
        menu_heap=$(value "$stats" heap_menu_bytes)
    fi
    stop_game "$game"
done
start_median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 2p)

# 2. Each route's flight build, the first flight of a fresh program.
builds=""
for route in $(seq 1 99); do
    stats="$work/build$route.txt"
    AEROVANT_STATS=$stats "$work/aerovant" --route "$route" >/dev/null 2>&1 &
    game=$!
    if ! wait_for_line "$stats" flight_build 2>/dev/null; then
        stop_game "$game"
        break  # no such route: the program said so and left
    fi
    stop_game "$game"
    builds+="$(sed -n 's/^flight_build route=\([0-9]*\) ms=\([0-9.]*\).*/\1 \2/p' "$stats") "
done

# 3. The busiest route, flown by the instructor without a window and recorded.
"$work/aerovant" --headless --route "$busiest" --pilot instructor --frames $(((seconds + 12) * 60)) \
    --player "$work/pilot" >"$work/record.txt" 2>&1
recording=$(sed -n 's/^aerovant: the flight is recorded in //p' "$work/record.txt")
[ -f "$recording" ] || { echo "no recording:" >&2; cat "$work/record.txt" >&2; exit 1; }

# 4. The recording replayed in the window; the flight is measured from 3 s after its build.
stats="$work/flight.txt"
AEROVANT_STATS=$stats "$work/aerovant" --replay "$recording" >/dev/null 2>&1 &
game=$!
wait_for_line "$stats" flight_build
sleep 3
declare -A thread_before
for task in /proc/$game/task/*; do thread_before[${task##*/}]=$(awk '{ print $14 + $15 }' "$task/stat"); done
before=$(cpu_ticks "$game")
t0=$(now_ns)
sleep "$seconds"
after=$(cpu_ticks "$game")
t1=$(now_ns)
# Threads by kind, in the order they were made: each "llvmpipe-0" starts the rasterizer
# threads of another GL context (the window's renderer comes before the game's 3-D).
declare -A by_kind
contexts=0
for id in $(ls "/proc/$game/task" | sort -n); do
    kind=$(tr -d '0-9$' <"/proc/$game/task/$id/comm")
    if [ "$id" = "$game" ]; then
        kind="main thread"
    elif [ "$kind" = "llvmpipe-" ]; then
        [ "$(cat "/proc/$game/task/$id/comm")" = "llvmpipe-0" ] && contexts=$((contexts + 1))
        kind="llvmpipe (GL context $contexts)"
    elif [ "$kind" = "aerovant" ]; then
        kind="other game threads"
    fi
    used=$(($(awk '{ print $14 + $15 }' "/proc/$game/task/$id/stat") - ${thread_before[$id]:-0}))
    by_kind[$kind]=$((${by_kind[$kind]:-0} + used))
done
flight_rss=$(status_kb "$game" VmRSS)
flight_anon=$(status_kb "$game" RssAnon)
flight_file=$(status_kb "$game" RssFile)
stop_game "$game"
wall_ticks=$(((t1 - t0) * ticks_per_second / 1000000000))

percent() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", 100 * a / b }'; }
mb() { awk -v a="$1" -v d="$2" 'BEGIN { printf "%.1f", a / d }'; }

echo "window benchmark: $(date -u +%F\ %T) on $(nproc) cores, GL: ${LIBGL_ALWAYS_SOFTWARE:+software }Mesa under Xvfb"
echo "start to first menu frame:  ${start_median} ms (runs: ${starts[*]} ms)"
echo "menu: resident $(mb "$menu_rss" 1024) MB, heap in use $(mb "$menu_heap" 1048576) MB"
echo "flight build of each route (first flight of a fresh program):"
set -- $builds
while [ $# -ge 2 ]; do
    printf '  route %s: %s ms\n' "$1" "$2"
    shift 2
done
echo "route $busiest flying for $seconds s in the window:"
echo "  CPU of one core, whole process: $(percent $((after - before)) "$wall_ticks") %"
for kind in "${!by_kind[@]}"; do
    printf '    %-28s %s %%\n' "$kind" "$(percent "${by_kind[$kind]}" "$wall_ticks")"
done | sort
echo "  passes per second:  $(value "$stats" flying_passes_per_second)"
echo "  heap in use, peak:  $(mb "$(value "$stats" heap_flying_peak_bytes)" 1048576) MB"
echo "  resident now:       $(mb "$flight_rss" 1024) MB (anonymous $(mb "$flight_anon" 1024) MB, files $(mb "$flight_file" 1024) MB)"
echo "  resident peak:      $(mb "$(value "$stats" rss_peak_bytes)" 1048576) MB"
