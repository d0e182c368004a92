#!/usr/bin/env bash
# The release packages, checked as an integrator takes them.
#
#   .ci/package-check.sh SOURCE_DIR BUILD_ROOT
#
# Makes them with scripts/package.sh --check (the win32 ones twice, from two build folders,
# which must come out the same), then checks:
# 1. the win32 ZIP holds exactly the SDK's files, its SHA256SUMS hold, the DLL names its debug
#    file, carries a version resource of the project's version and exports what the DLL of
#    BUILD_ROOT/win32 exports;
# 2. the test kit holds the host, the substitute nnotes.dll, the demo and run-demo.cmd, and
#    no product DLL;
# 3. tests/consumer builds with MinGW against the unpacked ZIP, into
#    BUILD_ROOT/package-check/consumer, where .ci/win32-run.sh runs it in the 32-bit guest
#    beside the test kit's nnotes.dll;
# 4. the .deb installs with apt-get into a fresh Debian 12 (debootstrap, as root) and its
#    korvo-demo answers as tests/calendarops/expected/demo.jsonl.
# Ends with a ctest-like line "N% tests passed, N tests failed out of N".
set -uo pipefail
src=$(cd "${1:?usage: package-check.sh SOURCE_DIR BUILD_ROOT}" && pwd)
out=$(mkdir -p "${2:?usage: package-check.sh SOURCE_DIR BUILD_ROOT}" && cd "$2" && pwd)
work=$out/package-check
mirror=${KORVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
version=$(sed -nE 's/^project\(KorvoLotusC VERSION ([0-9.]+) .*/\1/p' "$src/CMakeLists.txt")
objdump=i686-w64-mingw32-objdump
passed=0
failed=0
check() {
  local name=$1
  shift
  if ("$@") >"$work/$name.log" 2>&1; then
    echo "package check $name: passed"
    passed=$((passed + 1))
  else
    echo "FAILED package check $name:"
    tail -n 30 "$work/$name.log"
    failed=$((failed + 1))
  fi
}

rm -rf "$work"
mkdir -p "$work"
check reproducible env KORVO_BUILD_ROOT="$out" bash "$src/scripts/package.sh" --check
zip=$out/packages/KorvoLotusC-$version-win32.zip
kit=$out/packages/KorvoLotusC-$version-win32-testkit.zip
deb=$out/packages/korvolotusc_${version}_amd64.deb
unzip -q -o "$zip" -d "$work/sdk" 2>/dev/null
unzip -q -o "$kit" -d "$work/testkit" 2>/dev/null

exports() { "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '{print $NF}' | sort; }
sdk_zip() {
  set -e
  cd "$work/sdk"
  diff <(find . -type f | sort) <(printf './%s\n' README.txt SHA256SUMS bin/KorvoLotusC.dll \
    bin/KorvoLotusC.dll.debug include/KorvoLotusC.h include/platform/wintypes.h \
    lib/KorvoLotusC.def lib/libKorvoLotusC.dll.a | sort)
  sha256sum -c SHA256SUMS
  "$objdump" -s -j .gnu_debuglink bin/KorvoLotusC.dll | grep -q 'KorvoLotusC.dll.'
  strings -el bin/KorvoLotusC.dll | grep -A1 -x FileVersion | grep -qx "$version"
  strings -el bin/KorvoLotusC.dll | grep -A1 -x CompanyName | grep -qx 'Vendra Systems, Inc.'
  if [ -f "$out/win32/bin/KorvoLotusC.dll" ]; then
    diff <(exports bin/KorvoLotusC.dll) <(exports "$out/win32/bin/KorvoLotusC.dll")
  fi
}
check sdk_zip sdk_zip

test_kit() {
  set -e
  cd "$work/testkit"
  for file in bin/korvocOIEx.exe bin/nnotes.dll demo/demo.script demo/notes/notes.ini \
    run-demo.cmd README-testkit.txt; do
    [ -f "$file" ] || { echo "no $file"; return 1; }
  done
  ! find . -iname korvolotusc.dll | grep -q .
}
check test_kit test_kit

consumer() {
  set -e
  cmake -S "$src/tests/consumer" -B "$work/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" -DKORVO_SDK_ROOT="$work/sdk"
  cmake --build "$work/consumer"
  cp "$work/sdk/bin/KorvoLotusC.dll" "$work/testkit/bin/nnotes.dll" "$work/consumer/"
}
check consumer_build consumer

# The .deb on a fresh Debian 12: installed with its dependencies by apt-get, then the demo.
fresh_debian() {
  set -e
  [ "$(id -u)" = 0 ] || { echo "needs root"; return 1; }
  local root=$work/debian
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log"
  cp "$deb" "$root/tmp/"
  chroot "$root" apt-get update -q
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/${deb##*/}"
  chroot "$root" korvocOIEx --version | grep -qx "korvocOIEx $version"
  chroot "$root" korvo-demo >"$work/demo.jsonl"
  diff "$work/demo.jsonl" "$src/tests/calendarops/expected/demo.jsonl"
  rm -rf "$root"
}
check fresh_debian fresh_debian

all=$((passed + failed))
echo "package: $((all == 0 ? 0 : 100 * passed / all))% tests passed, $failed tests failed out of $all"
