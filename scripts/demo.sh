#!/usr/bin/env bash
# Builds the library and the host, then runs the demo script against the demo installation
# in demo/ with the time zone pinned. Installs missing Debian packages first (as root).
#
#   ./scripts/demo.sh [CALENDAR.ics [PEOPLE.vcf]]
#
# With a calendar (and a vCard file), korvo-import writes an installation of them into the
# build folder (demo/import) and the demo lists one week of it day by day (scripts/demo_week.sh):
# the week of $KORVO_DEMO_WEEK (any date of it, YYYY-MM-DD), else the week of the first event
# from this week on, else the latest week with events.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
korvo_install_packages cmake ninja-build g++ pkg-config nlohmann-json3-dev libical-dev

out=${KORVO_BUILD_ROOT:-$root/build}/demo
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVO_BUILD_TESTS=OFF \
  -DKORVO_BUILD_BENCH=OFF
if [ $# -gt 0 ]; then
  cmake --build "$out" -j"$(nproc)" --target korvocOIEx korvo-import
  exec "$root/scripts/demo_week.sh" "$out/bin/korvo-import" "$out/bin/korvocOIEx" "$out" "$@"
fi
cmake --build "$out" -j"$(nproc)" --target korvocOIEx

# The registry store points at the demo installation wherever the checkout lies.
registry="$out/registry.ini"
cat > "$registry" <<INI
[HKEY_CURRENT_USER\\Software\\Vendra Systems, Inc.\\MeetingIntegration]
NotesIniPath=$root/demo/notes/notes.ini

[HKEY_CURRENT_USER\\SOFTWARE\\IBM\\NOTES\\INSTALLER]
PROGDIR=$root/demo/notes
INI

TZ=Europe/Berlin "$out/bin/korvocOIEx" --registry "$registry" --trace "${KORVO_DEMO_TRACE:-2}" \
  --script "$root/demo/demo.script"
