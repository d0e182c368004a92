#!/usr/bin/env bash
# The Windows part of CI: the two MinGW builds and the test suite under Wine.
#
#   .ci/windows.sh SOURCE_DIR [BUILD_ROOT]
#
# 1. Builds the product for 32-bit Windows in BUILD_ROOT/win32 (KorvoLotusC.dll, nnotes.dll,
#    korvocOIEx.exe), checks that its build shows no warning, that the binaries need no MinGW
#    runtime DLL, that the DLL exports the two factory functions by name and every toolkit
#    name (tests/rk/check_exports.sh), and that it takes its runtime calls from nnotes.dll by
#    undecorated names that the substitute nnotes.dll exports; then builds the rest of that
#    tree (the test executables).
# 2. Builds for 64-bit Windows in BUILD_ROOT/win64 and runs every test executable there under
#    Wine, in a Wine prefix made for this run only; then runs the host once and compares its
#    answer with the expected one. A build that fails part-way still runs the tests it made.
#
# BUILD_ROOT defaults to SOURCE_DIR/build. Environment: KORVO_JOBS (parallel jobs, default 2),
# KORVO_WINDOWS_BUILD_TYPE (default Release), KORVO_WIN32_BUILD / KORVO_WIN64_BUILD (build
# folders), KORVO_WIN32_TESTS=0 (build the i686 tree without its tests). Wine keeps the time
# zone ($TZ) this script is started with, as the Linux test run does.
#
# Needs: cmake, ninja-build, g++-mingw-w64-i686-posix, g++-mingw-w64-x86-64-posix,
# binutils-mingw-w64-i686, wine, wine64. Installs nothing.
#
# Ends with the Wine run's ctest summary line; prints "WINDOWS CHECKS FAILED: ..." and exits
# with 1 when any step failed.
set -uo pipefail

src=$(cd "${1:?usage: windows.sh SOURCE_DIR [BUILD_ROOT]}" && pwd)
out=${2:-$src/build}
jobs=${KORVO_JOBS:-2}
build_type=${KORVO_WINDOWS_BUILD_TYPE:-Release}
win32=${KORVO_WIN32_BUILD:-$out/win32}
win64=${KORVO_WIN64_BUILD:-$out/win64}
win32_tests=${KORVO_WIN32_TESTS:-1}

objdump=i686-w64-mingw32-objdump
exports=(DllGetKorvoLotusClassObject DllDeleteKorvoLotusClassObject)
host_command=(list 2026-12-07 2026-12-07)
host_expected='{"op":"list","result":1}'

failures=()
fail() {
  failures+=("$1")
  echo "FAILED: $1"
}

step() { printf '\n==== %s\n' "$*"; }

# Configures one MinGW tree; false when cmake fails.
configure() {
  local name=$1 dir=$2 toolchain=$3
  shift 3
  step "$name: configure in $dir"
  mkdir -p "$dir"
  cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/$toolchain" "$@" && return 0
  fail "$name: configure"
  return 1
}

# Builds targets of a configured tree (all of them when none are named), going on past
# failures so that one log shows every one of them; a failed build or a warning fails the
# step.
build() {
  local name=$1 dir=$2 what=$3
  shift 3
  step "$name: build $what"
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  local log="$dir/build-${what// /-}.log"
  cmake --build "$dir" -j"$jobs" "${targets[@]}" -- -k 0 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  if grep -qi 'warning:' "$log"; then
    grep -i 'warning:' "$log"
    fail "$name: the $what build shows warnings"
  fi
  [ "$status" -eq 0 ] && return 0
  fail "$name: $what build"
  return 1
}

# The product's artefacts: present, free of MinGW runtime DLLs, and the DLL's exports.
check_product() {
  step "win32: artefacts and export table"
  local file imports
  for file in KorvoLotusC.dll nnotes.dll korvocOIEx.exe; do
    if [ ! -f "$win32/bin/$file" ]; then
      fail "win32: $file was not built"
      continue
    fi
    imports=$("$objdump" -p "$win32/bin/$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$file imports: $(tr '\n' ' ' <<<"$imports")"
    if grep -Eiq '^(libgcc|libstdc\+\+|libwinpthread)' <<<"$imports"; then
      fail "win32: $file needs a MinGW runtime DLL"
    fi
  done
  [ -f "$win32/bin/KorvoLotusC.dll" ] || return 0

  local table
  table=$("$objdump" -p "$win32/bin/KorvoLotusC.dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p')
  echo "$table"
  local name
  for name in "${exports[@]}"; do
    if grep -Eq "^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+$name\$" <<<"$table"; then
      echo "exported by name: $name"
    else
      fail "win32: KorvoLotusC.dll does not export $name by name"
    fi
  done
  if ! bash "$src/tests/rk/check_exports.sh" windows "$win32/bin/KorvoLotusC.dll" "$objdump"; then
    fail "win32: KorvoLotusC.dll lacks toolkit exports"
  fi
  check_runtime_imports
}

# The product's runtime calls: imported from nnotes.dll only, by undecorated names, each one
# exported by the substitute nnotes.dll.
check_runtime_imports() {
  local calls exported missing
  calls=$("$objdump" -p "$win32/bin/KorvoLotusC.dll" |
    sed -n '/DLL Name: nnotes.dll/,/^$/p' | awk 'NR > 2 && NF >= 3 {print $3}')
  if [ -z "$calls" ]; then
    fail "win32: KorvoLotusC.dll imports nothing from nnotes.dll"
    return
  fi
  echo "runtime calls imported from nnotes.dll: $(wc -l <<<"$calls")"
  if grep -q '@' <<<"$calls"; then
    fail "win32: decorated runtime imports: $(grep '@' <<<"$calls" | tr '\n' ' ')"
  fi
  exported=$("$objdump" -p "$win32/bin/nnotes.dll" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NF >= 2 {print $NF}')
  missing=$(comm -23 <(sort <<<"$calls") <(sort <<<"$exported"))
  if [ -n "$missing" ]; then
    fail "win32: nnotes.dll does not export $(tr '\n' ' ' <<<"$missing")"
  fi
}

wine_prefix=
stop_wine() {
  [ -n "$wine_prefix" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$wine_prefix"
  wine_prefix=
}
trap stop_wine EXIT
trap 'exit 130' INT TERM

# A fresh 64-bit prefix for this run, with its server kept up until stop_wine.
start_wine() {
  step "wine: prepare a prefix"
  if ! command -v wine >/dev/null; then
    fail "wine: the wine command is missing"
    return 1
  fi
  wine_prefix=$(mktemp -d "${TMPDIR:-/tmp}/korvo-wine.XXXXXX")
  export WINEPREFIX=$wine_prefix WINEARCH=win64 WINEDEBUG=-all
  if ! WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >"$out/wineboot.log" 2>&1; then
    cat "$out/wineboot.log"
    fail "wine: wineboot"
    return 1
  fi
  wineserver -p
  wine --version
}

run_tests() {
  step "wine: ctest over $win64"
  ctest --test-dir "$win64" --output-on-failure -j"$jobs" --timeout 300 2>&1 |
    tee "$win64/ctest.log"
  if [ "${PIPESTATUS[0]}" -ne 0 ]; then
    fail "wine: some tests failed"
  fi
}

run_host() {
  step "wine: korvocOIEx ${host_command[*]}"
  if [ ! -f "$win64/bin/korvocOIEx.exe" ]; then
    fail "wine: korvocOIEx.exe was not built"
    return
  fi
  local got
  got=$(cd "$win64/bin" && wine ./korvocOIEx.exe "${host_command[@]}" | tr -d '\r')
  echo "$got"
  if [ "$got" != "$host_expected" ]; then
    fail "wine: korvocOIEx answered '$got', expected '$host_expected'"
  fi
}

mkdir -p "$out"
rm -f "$win64/ctest.log"
product=(KorvoLotusC notesrt korvocOIEx)

win32_options=(-DKORVO_BUILD_TESTS=ON)
[ "$win32_tests" = 1 ] || win32_options=(-DKORVO_BUILD_TESTS=OFF)
if configure win32 "$win32" mingw-i686.cmake "${win32_options[@]}"; then
  build win32 "$win32" product "${product[@]}" && check_product
  if [ "$win32_tests" = 1 ]; then
    build win32 "$win32" "test"
  fi
fi

if configure win64 "$win64" mingw-x86_64.cmake; then
  build win64 "$win64" "full"
  if start_wine; then
    run_tests
    run_host
  fi
fi
stop_wine

step "summary"
summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$win64/ctest.log" 2>/dev/null |
  tail -n 1)
if [ ${#failures[@]} -ne 0 ]; then
  echo "WINDOWS CHECKS FAILED: $(IFS=';'; echo "${failures[*]}")"
fi
echo "wine: ${summary:-no test summary}"
[ ${#failures[@]} -eq 0 ]
