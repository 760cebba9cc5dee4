#!/usr/bin/env bash
# Fuzzes the game's loaders with libFuzzer (clang, AddressSanitizer and UBSan), two targets
# at a time, and prints a table of what each run did.
#   tools/fuzz/run.sh [SECONDS] [--runs N] [--jobs J] [--minimise] [TARGET...]
# SECONDS (default 60) and --runs N (default no limit) bound each target's run, whichever
# comes first. --minimise then merges what each run found into tests/fuzz/corpus/<TARGET>,
# keeping only inputs that add coverage, and copies crashing inputs to tests/fuzz/crashes.
# The fuzzing build is build-fuzz/ beside the normal build/, whose data it reads. Each
# target's executions are also added up over runs in build-fuzz/totals/<TARGET>.
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds=60 runs=-1 jobs=2 minimise=0 targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        --jobs) jobs="$2"; shift 2 ;;
        --minimise) minimise=1; shift ;;
        [0-9]*) seconds="$1"; shift ;;
        *) targets+=("$1"); shift ;;
    esac
done
all=(Archive KeywordTokens KeywordWords Png Bitmap Mesh Terrain Aircraft Route Cockpit Font Settings Scores Wave Avi Replay)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

. "$root/tools/setup/common.sh"
normal="$root/build" fuzz="$root/build-fuzz"
if [ ! -f "$normal/build.ninja" ]; then
    cmake -S "$root" -B "$normal" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$normal" -j2 --target aerovant_data aerovant-fuzz-replay aerovant-make-clips >/dev/null
if [ ! -f "$fuzz/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DAEROVANT_FUZZ=ON -DAEROVANT_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$fuzz" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null
ln -sfn "$normal/bin/data" "$fuzz/bin/data"
[ -d "$fuzz/seeds" ] || "$root/tools/fuzz/seeds.sh" "$normal" "$fuzz/seeds"

# A small quarantine and short allocation stacks keep the world-building targets quick.
export ASAN_OPTIONS="intercept_tls_get_addr=0:detect_leaks=1:quarantine_size_mb=16:malloc_context_size=8${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp"
# TZ set: libzip's member times otherwise have glibc look at /etc/localtime on every read.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy LP_NUM_THREADS=0 TZ=UTC
mkdir -p "$fuzz/logs" "$fuzz/totals"
# The longest input each target makes: a few lines of a route or a layout reach every
# keyword and keep the slow world-building targets fast; 0 is libFuzzer's own choice.
max_len() {
    case "$1" in
        Route) echo 512 ;;
        Cockpit | Settings | KeywordWords | Font) echo 1024 ;;
        Mesh) echo 2048 ;;
        *) echo 0 ;;
    esac
}
run_one() {
    local t="$1"
    mkdir -p "$fuzz/corpus/$t" "$fuzz/crashes/$t" "$root/tests/fuzz/corpus/$t"
    (cd "$fuzz/bin" && ./fuzz_"$t" -runs="$runs" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 \
        -rss_limit_mb=4096 -max_len="$(max_len "$t")" -artifact_prefix="$fuzz/crashes/$t/" "$fuzz/corpus/$t" \
        "$root/tests/fuzz/corpus/$t" "$fuzz/seeds/$t") >"$fuzz/logs/$t.log" 2>&1 || true
    local done_units
    done_units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$fuzz/logs/$t.log" | tail -1)
    echo $(( $(cat "$fuzz/totals/$t" 2>/dev/null || echo 0) + ${done_units:-0} )) >"$fuzz/totals/$t"
}
export -f run_one max_len
export fuzz root runs seconds
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'

printf '%-14s %12s %14s %9s %7s %8s %7s %8s\n' target executions "total so far" "exec/s" cov features corpus crashes
for t in "${targets[@]}"; do
    log="$fuzz/logs/$t.log"
    units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1)
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
    ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
    corp=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$last")
    crashes=$(find "$fuzz/crashes/$t" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    printf '%-14s %12s %14s %9s %7s %8s %7s %8s\n' "$t" "${units:--}" "$(cat "$fuzz/totals/$t")" "${speed:--}" \
        "${cov:--}" "${ft:--}" "${corp:--}" "$crashes"
done

if [ "$minimise" = 1 ]; then
    for t in "${targets[@]}"; do
        kept="$root/tests/fuzz/corpus/$t" merged="$fuzz/merged/$t"
        rm -rf "$merged" && mkdir -p "$merged"
        (cd "$fuzz/bin" && ./fuzz_"$t" -merge=1 "$merged" "$kept" "$fuzz/corpus/$t" "$fuzz/seeds/$t") \
            >"$fuzz/logs/$t.merge.log" 2>&1
        rm -rf "$kept" && mv "$merged" "$kept"
        mkdir -p "$root/tests/fuzz/crashes/$t"
        find "$fuzz/crashes/$t" -type f -exec cp {} "$root/tests/fuzz/crashes/$t/" \;
        echo "$t: $(ls "$kept" | wc -l) inputs kept, $(du -sk "$kept" | cut -f1) KB"
    done
fi
