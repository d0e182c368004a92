#!/usr/bin/env bash
# Runs every libFuzzer target of a KORVO_FUZZ build for a shared time budget.
#   scripts/fuzz.sh BUILD_DIR [TOTAL_SECONDS]   (default 480 s, split evenly)
# Each target starts from a copy of its seed corpus (fuzz/corpus/NAME); inputs it adds stay
# in the scratch folder. A crash, leak or timeout is saved to fuzz/crashes/NAME/ so ctest
# replays it from then on, and the run fails. Prints one line per target with its executions.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
budget=${2:-480}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

mapfile -t targets < <(find "$build/bin" -maxdepth 1 -type f -name 'fuzz_*' ! -name 'fuzz_replay_*' | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "fuzz: no targets in $build/bin"
  exit 1
fi
each=$((budget / ${#targets[@]}))
failed=0
for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  mkdir -p "$scratch/$name" "$root/fuzz/crashes/$name"
  log="$scratch/$name.log"
  "$target" -max_total_time="$each" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$root/fuzz/crashes/$name/" "$scratch/$name" "$root/fuzz/corpus/$name" \
    >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  if [ "$status" -ne 0 ]; then
    failed=$((failed + 1))
    echo "fuzz $name: FAILED after ${runs:-0} executions"
    grep -E '^(==[0-9]+==|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -n 20
  else
    echo "fuzz $name: ${runs:-0} executions in ${each} s, no crash, leak or timeout"
  fi
done
echo "fuzz: ${#targets[@]} targets, $failed failed"
[ "$failed" -eq 0 ]
