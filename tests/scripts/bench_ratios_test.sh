#!/usr/bin/env bash
# scripts/bench_ratios.py: with repetitions, each case's ratio is that of the medians, whether or not Google
# Benchmark appended a suffix of its own to the name; without, the one run stands for the case. A path of our own
# measured on its own ("ours-<variant>") is no peer. With instruction
# counts, a pair of which one side spends its CPU time mostly in the kernel shows no instruction ratio.
set -euo pipefail
ratios=${1:?usage: bench_ratios_test.sh PATH-TO-bench_ratios.py}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Runs of one case, their last repetition far from the median, then its aggregates as Google Benchmark
# writes them: $1 the case's name, $2 the rate key, $3... the repetitions' rates then the median and mean.
runs() {
    local name=$1 key=$2
    shift 2
    local rates=("$@") count=$(($# - 2)) i
    for ((i = 0; i < count; i++)); do
        printf '{"name":"%s","run_name":"%s","run_type":"iteration","repetition_index":%d,"%s":%s},' \
            "$name" "$name" "$i" "$key" "${rates[i]}"
    done
    printf '{"name":"%s_median","run_name":"%s","run_type":"aggregate","aggregate_name":"median","%s":%s},' \
        "$name" "$name" "$key" "${rates[count]}"
    printf '{"name":"%s_mean","run_name":"%s","run_type":"aggregate","aggregate_name":"mean","%s":%s},' \
        "$name" "$name" "$key" "${rates[count + 1]}"
}
{
    printf '{"benchmarks":['
    runs "Decode/ours/timetable" bytes_per_second 90 100 400 100 196.7
    runs "Decode/rapidjson/timetable" bytes_per_second 100 80 10 80 63.3
    runs "Decode/ours-scalar/timetable" bytes_per_second 9 8 1 8 6
    runs "LargeReply/ours/500x64KB/real_time" items_per_second 9 10 30 10 16.3
    runs "LargeReply/libcurl/500x64KB/real_time" items_per_second 20 10 20 20 16.7
    printf '{"name":"Select/ours/1000","run_type":"iteration","items_per_second":3},'
    printf '{"name":"Select/sqlite3/1000","run_type":"iteration","items_per_second":2},'
    printf '{"name":"PollToSpool/ours/1/real_time","run_type":"iteration","bytes_per_second":5,"user_us":9,"system_us":6},'
    printf '{"name":"PollToSpool/posix/1/real_time","run_type":"iteration","bytes_per_second":10,"user_us":1,"system_us":5}]}\n'
} >"$work/results.json"

python3 "$ratios" "$work/results.json" >"$work/ratios"
ratio() { awk -v family="$1" '$1 == family { print $4 }' "$work/ratios"; }
[ "$(ratio Decode)" = "1.25" ] || fail "Decode shows '$(ratio Decode)', not the medians' 1.25: $(cat "$work/ratios")"
[ "$(ratio LargeReply)" = "0.50" ] || fail "LargeReply shows '$(ratio LargeReply)', not 0.50: $(cat "$work/ratios")"
[ "$(ratio Select)" = "1.50" ] || fail "Select shows '$(ratio Select)', not its one run's 1.50: $(cat "$work/ratios")"
[ "$(wc -l <"$work/ratios")" = 5 ] || fail "not one line per case under the heading: $(cat "$work/ratios")"

printf '{"Decode/ours/timetable": 100, "Decode/rapidjson/timetable": 150, "PollToSpool/ours/1/real_time": 4000,
  "PollToSpool/posix/1/real_time": 40}\n' >"$work/instructions.json"
python3 "$ratios" --instructions "$work/instructions.json" "$work/results.json" >"$work/ratios"
counted() { awk -v family="$1" '$1 == family { print $5 }' "$work/ratios"; }
[ "$(counted Decode)" = "1.50" ] || fail "Decode's instructions show '$(counted Decode)', not 1.50: $(cat "$work/ratios")"
[ "$(counted PollToSpool)" = "kernel" ] ||
    fail "PollToSpool's instructions show '$(counted PollToSpool)', not 'kernel': $(cat "$work/ratios")"
echo "bench_ratios: all checks passed"
