#!/usr/bin/env bash
# Builds the parsers' libFuzzer targets (fuzz/) with clang into build-fuzz/
# and runs each for SECONDS (default 20), two at a time, on a copy of its
# seed corpus from fuzz/corpus/<name>/. What a run finds stays in
# build-fuzz/runs/<name>/: its grown corpus, its log, and the input of a
# crash. Prints the executions of every target; fails when any crashed.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
targets=(command_line text_lines param_markers ini_file date_pattern number_text)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQELT_FUZZ=ON -DQELT_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target qelt_fuzzers

runs=$PWD/build-fuzz/runs
rm -rf "$runs"

# Runs one target; its exit status goes to a file, so a crash doesn't stop
# the others.
run_target() {
  local name=$1 dir=$runs/$1
  mkdir -p "$dir/corpus"
  cp fuzz/corpus/"$name"/* "$dir/corpus/"
  local status=0
  build-fuzz/fuzz/"${name}_fuzzer" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus" \
    >"$dir/log" 2>&1 </dev/null || status=$?
  echo "$status" >"$dir/status"
}

# Two at a time: the machines have two cores.
running=0
for name in "${targets[@]}"; do
  if [ "$running" -ge 2 ]; then
    wait -n
    running=$((running - 1))
  fi
  run_target "$name" &
  running=$((running + 1))
done
wait

failed=0
for name in "${targets[@]}"; do
  dir=$runs/$name
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")
  if [ "$(cat "$dir/status")" = 0 ]; then
    echo "fuzz: ${name}: ${executions:-?} executions in ${seconds} s"
  else
    failed=1
    echo "fuzz: ${name}: FAILED after ${executions:-?} executions; input kept in $dir/"
    grep -E -A15 '^==[0-9]+==|runtime error|broken promise' "$dir/log" | head -40 ||
      tail -20 "$dir/log"
  fi
done
exit "$failed"
