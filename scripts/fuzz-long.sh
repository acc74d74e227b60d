#!/usr/bin/env bash
# One long fuzz run of one target at the lowest priority, starting from the kept
# corpus; prints libFuzzer's final figures. New inputs go to build/fuzz/fuzz-work.
#   scripts/fuzz-long.sh settings_file 600
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=${1:?usage: fuzz-long.sh TARGET [SECONDS]}
seconds=${2:-600}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DLUMIVANE_FUZZ=ON -DLUMIVANE_TESTS=OFF >/dev/null
cmake --build "$root/build/fuzz" --target "fuzz_$name" >/dev/null
work="$root/build/fuzz/fuzz-work/$name"
artifacts="$root/build/fuzz/fuzz-artifacts/$name/"
mkdir -p "$work" "$artifacts"
log="$root/build/fuzz/fuzz-long-$name.log"
status=0
nice -n 19 "$root/build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$work" "$root/tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added|SUMMARY)' "$log" || true
echo "exit status $status; full log: $log"
exit $status
