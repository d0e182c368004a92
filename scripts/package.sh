#!/usr/bin/env bash
# Makes the release packages into build/packages/ (or $KORVO_BUILD_ROOT/packages):
#   KorvoLotusC-<version>-win32.zip          the product for integrators (i686)
#   KorvoLotusC-<version>-win32-testkit.zip  test host, substitute nnotes.dll, demo
#   korvolotusc_<version>_amd64.deb          the Linux SDK, runtime, host and tools
#   SHA256SUMS
# Each is built in its own folder under build/package/ (RelWithDebInfo) and made by cpack,
# with every time stamp set to the last commit's time (SOURCE_DATE_EPOCH).
#
#   scripts/package.sh [--check]
#
# --check builds the win32 packages a second time in another folder and fails unless both
# come out byte for byte the same. Installs missing Debian packages first (as root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
korvo_install_packages cmake ninja-build g++ pkg-config nlohmann-json3-dev libical-dev \
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 dpkg-dev file

out=${KORVO_BUILD_ROOT:-$root/build}
jobs=${KORVO_JOBS:-$(nproc)}
check=0
if [ "${1:-}" = --check ]; then
  check=1
fi
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1700000000)
export SOURCE_DATE_EPOCH

# build NAME [CMAKE ARGS...]: configures build/package/NAME, builds it and runs cpack there.
build() {
  local dir=$out/package/$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVO_BUILD_TESTS=OFF -DKORVO_BUILD_BENCH=OFF "$@" >"$dir.log" 2>&1 ||
    { tail -20 "$dir.log"; return 1; }
  cmake --build "$dir" -j"$jobs" >>"$dir.log" 2>&1 || { tail -20 "$dir.log"; return 1; }
  rm -rf "$dir/packages"
  (cd "$dir" && cpack >>"$dir.log" 2>&1) || { tail -20 "$dir.log"; return 1; }
}

mkdir -p "$out/package" "$out/packages"
win32=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake")
build win32 "${win32[@]}"
build linux
rm -f "$out/packages/"*
cp "$out/package/win32/packages/"*.zip "$out/package/linux/packages/"*.deb "$out/packages/"
(cd "$out/packages" && sha256sum -- *.zip *.deb >SHA256SUMS && cat SHA256SUMS)

if [ "$check" = 1 ]; then
  build win32-again "${win32[@]}"
  for zip in "$out/package/win32/packages/"*.zip; do
    again=$out/package/win32-again/packages/${zip##*/}
    if ! cmp -s "$zip" "$again"; then
      echo "package: ${zip##*/} differs between two build folders" >&2
      exit 1
    fi
  done
  echo "package: the win32 packages are the same from two build folders"
fi
