#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the Linux build (with the demo under
# valgrind), the sanitizer build (clang, ASan+UBSan, which also builds the fuzz targets and
# runs them for a shared budget of $KORVO_FUZZ_SECONDS, 480 by default), the Windows
# builds (i686 product DLL and tests, x86_64 tests under Wine), the release packages
# (.ci/package-check.sh), and the i686 build executed under 32-bit Wine in an emulated machine
# (.ci/win32-run.sh).
# Installs missing Debian packages first (run as root on a fresh machine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
korvo_install_packages "${KORVO_PACKAGES[@]}"

out=${KORVO_BUILD_ROOT:-$root/build}
jobs=${KORVO_JOBS:-$(nproc)}
summary=()
total_passed=0
total_failed=0

# Adds the last ctest summary line of a log to the totals.
count_summary() {
  local name=$1 log=$2
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$line" ]; then
    summary+=("$name: no test summary")
    total_failed=$((total_failed + 1))
    return
  fi
  local failed all
  failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  all=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/')
  total_passed=$((total_passed + all - failed))
  total_failed=$((total_failed + failed))
  summary+=("$name: $line")
}

# Runs ctest over one build folder and counts its result.
run_ctest() {
  local name=$1 dir=$2
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" 2>&1 | tee "$out/$name-ctest.log" || true
  count_summary "$name" "$out/$name-ctest.log"
}

# Configures and builds one tree; a failure is counted and the run goes on, so the summary
# always comes out.
build_tree() {
  local name=$1 dir=$2
  shift 2
  if ! cmake -S "$root" -B "$dir" -G Ninja "$@" || ! cmake --build "$dir" -j"$jobs" -- -k 0; then
    summary+=("$name: build failed")
    total_failed=$((total_failed + 1))
  fi
}

mkdir -p "$out"

# Lines worth reading from the logs of tests that passed: memcheck's summary and the fault
# points swept.
report_passed() {
  local log=$1/Testing/Temporary/LastTest.log
  [ -f "$log" ] && grep -aE '==[0-9]+== (All heap blocks|in use at exit|ERROR SUMMARY)|fault points swept' "$log" |
    sed 's/^/  /' || true
}

build_tree linux "$out/linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest linux "$out/linux"
report_passed "$out/linux"

# Every benchmark once, at its smallest size, so none can rot; no timing is judged. Each
# failing benchmark program counts as one failure.
if KORVO_BENCH_SMOKE=1 bash "$root/scripts/bench.sh" "$out/linux" 2>&1 | tee "$out/bench.log"; then
  summary+=("bench smoke: every benchmark ran")
else
  failed_programs=$(sed -nE 's/^bench: ([0-9]+) program.*failed$/\1/p' "$out/bench.log")
  summary+=("FAILED bench smoke: $(tail -n 1 "$out/bench.log")")
  total_failed=$((total_failed + ${failed_programs:-1}))
fi

build_tree asan "$out/asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVO_SANITIZE=ON -DKORVO_FUZZ=ON
ASAN_OPTIONS=detect_leaks=1 run_ctest asan "$out/asan"
report_passed "$out/asan"

if bash "$root/scripts/fuzz.sh" "$out/asan" "${KORVO_FUZZ_SECONDS:-480}" 2>&1 | tee "$out/fuzz.log"; then
  summary+=("$(tail -n 1 "$out/fuzz.log")")
else
  summary+=("FAILED $(tail -n 1 "$out/fuzz.log")")
  total_failed=$((total_failed + 1))
fi

if [ -x "$root/.ci/windows.sh" ]; then
  KORVO_JOBS=$jobs KORVO_WIN32_TESTS=${KORVO_WIN32_TESTS:-1} bash "$root/.ci/windows.sh" "$root" "$out" 2>&1 | tee "$out/windows.log" || true
  count_summary wine "$out/windows.log"
  if grep -q '^WINDOWS CHECKS FAILED' "$out/windows.log"; then
    summary+=("windows: checks failed (see above)")
    total_failed=$((total_failed + 1))
  fi
fi

# The release packages (scripts/package.sh), checked as an integrator takes them; the guest run
# below also runs what this leaves in the build folder. KORVO_PACKAGE_CHECK=0 leaves it out.
if [ "${KORVO_PACKAGE_CHECK:-1}" = 1 ]; then
  KORVO_JOBS=$jobs bash "$root/.ci/package-check.sh" "$root" "$out" 2>&1 |
    tee "$out/package-check.log" || true
  count_summary package "$out/package-check.log"
fi

# The 32-bit product executed: the i686 tree under 32-bit Wine in an emulated machine, whose
# image is built on first use and kept in the build folder. KORVO_WIN32_RUN=0 leaves it out.
if [ "${KORVO_WIN32_RUN:-1}" = 1 ]; then
  bash "$root/.ci/win32-run.sh" "$root" "$out" 2>&1 | tee "$out/win32-run.log" || true
  line=$(grep -E '^win32: [0-9]+ tests passed, [0-9]+ failed$' "$out/win32-run.log" | tail -n 1)
  if [ -z "$line" ]; then
    summary+=("win32: no summary")
    total_failed=$((total_failed + 1))
  else
    summary+=("$line")
    total_passed=$((total_passed + $(sed -E 's/^win32: ([0-9]+) .*/\1/' <<<"$line")))
    total_failed=$((total_failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
  fi
fi

echo
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
