#!/usr/bin/env bash
# Runs every benchmark program of a build (BUILD_DIR/bin/bench_*) and prints one table: the
# benchmark, its size, the median time of the repetitions (CPU time, or the wall time of the
# timed call for the benchmarks through the interface object), the throughput (MB/s) or the
# time per item, how many times faster than its reference it ran (both medians from the same
# run), and the program's own counters.
#   scripts/bench.sh BUILD_DIR [BENCHMARK_OPTIONS...]   (options go to every program)
# KORVO_BENCH_REPETITIONS (default 5) sets the repetitions. KORVO_BENCH_SMOKE=1 only checks
# that every benchmark still runs: each once, at its smallest size, for a minimal time.
# Fails when a program fails or a benchmark reports an error; timings are never judged.
set -uo pipefail
build=${1:?build folder}
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t programs < <(find "$build/bin" -maxdepth 1 -type f -name 'bench_*' -perm -u+x | sort)
if [ "${#programs[@]}" -eq 0 ]; then
  echo "bench: no benchmark programs in $build/bin"
  exit 1
fi

if [ "${KORVO_BENCH_SMOKE:-0}" != 0 ]; then
  export KORVO_BENCH_SMOKE=1
  options=(--benchmark_repetitions=1 --benchmark_min_time=0.000001)
else
  options=(--benchmark_repetitions="${KORVO_BENCH_REPETITIONS:-5}"
    --benchmark_report_aggregates_only=true)
fi
# The programs write their installations below TMPDIR: all of it goes with the work folder.
export TMPDIR=$work

failed=0
: >"$work/rows"
for program in "${programs[@]}"; do
  name=${program##*/}
  if ! "$program" --benchmark_format=csv "${options[@]}" "$@" >"$work/$name.csv" \
    2>"$work/$name.log"; then
    echo "bench: $name failed:"
    tail -n 20 "$work/$name.log"
    failed=$((failed + 1))
  fi
  # One line per result: name, size, seconds, bytes/s, items/s, label, error, counters. With
  # repetitions only the medians count.
  awk -F, -v smoke="${KORVO_BENCH_SMOKE:-0}" '
    function unquote(s) { gsub(/^"|"$/, "", s); return s }
    NR == 1 { for (i = 1; i <= NF; i++) { header[i] = unquote($i); column[header[i]] = i }; next }
    {
      name = unquote($1)
      error = $column["error_occurred"] == "true"
      if (smoke == 0 && name !~ /_median$/ && !error) next
      sub(/_median$/, "", name)
      # Rates come from the manual time (the timed call, wall clock) where a benchmark keeps
      # one, else from the CPU time; the table shows the same time.
      time = sub(/\/manual_time$/, "", name) ? "real_time" : "cpu_time"
      sub(/\/real_time$/, "", name)
      size = name; sub(/.*\//, "", size); sub(/\/[^\/]*$/, "", name)
      if (error) {
        if (name "/" size in reported) next
        reported[name "/" size] = 1
        message = $0; sub(/.*,true,/, "", message)
        printf "%s\t%s\t\t\t\t\t%s\t\n", name, size, unquote(message)
        next
      }
      unit = $column["time_unit"]
      scale = unit == "ns" ? 1e-9 : unit == "us" ? 1e-6 : unit == "ms" ? 1e-3 : 1
      counters = ""
      for (i = column["error_message"] + 1; i <= NF; i++)
        if ($i != "") counters = counters sprintf(" %s=%.3g", header[i], $i)
      printf "%s\t%s\t%.9g\t%s\t%s\t%s\t\t%s\n", name, size, $column[time] * scale,
             $column["bytes_per_second"], $column["items_per_second"], unquote($column["label"]),
             counters
    }' "$work/$name.csv" >"$work/$name.rows"
  cat "$work/$name.rows" >>"$work/rows"
  if awk -F'\t' '$7 != "" { found = 1 } END { exit !found }' "$work/$name.rows"; then
    echo "bench: $name reported an error"
    failed=$((failed + 1))
  fi
done

awk -F'\t' '
  function duration(s) {
    if (s >= 1) return sprintf("%.2f s", s)
    if (s >= 1e-3) return sprintf("%.2f ms", s * 1e3)
    if (s >= 1e-6) return sprintf("%.2f us", s * 1e6)
    return sprintf("%.1f ns", s * 1e9)
  }
  { row[NR] = $0; if ($6 == "reference") { group = $1; sub(/\/.*/, "", group); ref[group "/" $2] = $3 } }
  END {
    format = "%-34s %8s %11s %12s %11s %8s  %s\n"
    printf format, "benchmark", "size", "median", "throughput", "per item", "vs ref", "counters"
    for (i = 1; i <= NR; i++) {
      split(row[i], f, "\t")
      if (f[7] != "") { printf format, f[1], f[2], "ERROR", "", "", "", f[7]; continue }
      group = f[1]; sub(/\/.*/, "", group)
      ratio = f[6] == "reference" ? "ref" : (group "/" f[2]) in ref ? \
              sprintf("%.2fx", ref[group "/" f[2]] / f[3]) : ""
      printf format, f[1], f[2], duration(f[3]), f[4] != "" ? sprintf("%.1f MB/s", f[4] / 1e6) : "",
             f[5] != "" ? duration(1 / f[5]) : "", ratio, f[8]
    }
  }' "$work/rows"

if [ "$failed" -ne 0 ]; then
  echo "bench: $failed program(s) failed"
  exit 1
fi
