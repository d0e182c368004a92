#!/usr/bin/env bash
# Builds the library and the host, then runs the demo script against the demo installation
# in demo/ with the time zone pinned. Installs missing Debian packages first (as root).
#
#   ./scripts/demo.sh [CALENDAR.ics [PEOPLE.vcf]]
#
# With a calendar (and a vCard directory), korvo-import writes an installation of them into
# the build folder (demo/import) and the demo lists one week of it, Monday to Sunday: the
# week of $KORVO_DEMO_WEEK (any date of it, YYYY-MM-DD) or else the week of the first event
# from today on. Events are imported for a year from that Monday (or from today).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
korvo_install_packages cmake ninja-build g++ pkg-config nlohmann-json3-dev libical-dev

out=${KORVO_BUILD_ROOT:-$root/build}/demo
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVO_BUILD_TESTS=OFF \
  -DKORVO_BUILD_BENCH=OFF
if [ $# -gt 0 ]; then
  cmake --build "$out" -j"$(nproc)" --target korvocOIEx korvo-import
  monday_of() { date -d "$1 -$(($(date -d "$1" +%u) - 1)) days" +%F; }
  from=$(date +%F)
  if [ -n "${KORVO_DEMO_WEEK:-}" ]; then
    from=$(monday_of "$KORVO_DEMO_WEEK")
  fi
  args=(--out "$out/import" --replace --from "$from" --to "$(date -d "$from + 1 year" +%F)"
        --calendar "$1")
  if [ $# -gt 1 ]; then
    args+=(--people "$2")
  fi
  summary=$("$out/bin/korvo-import" "${args[@]}")
  echo "$summary"
  day=${KORVO_DEMO_WEEK:-$(sed -n 's/.*, the first on \([0-9-]*\)$/\1/p' <<<"$summary")}
  if [ -z "$day" ]; then
    echo "demo.sh: no event to list from $from on" >&2
    exit 1
  fi
  monday=$(monday_of "$day")
  printf 'init 1\nlist %s %s\nprofile\nuninit\nrelease\n' "$monday" \
    "$(date -d "$monday + 6 days" +%F)" >"$out/import.script"
  TZ=Europe/Berlin "$out/bin/korvocOIEx" --registry "$out/import/registry.ini" \
    --trace "${KORVO_DEMO_TRACE:-2}" --script "$out/import.script"
  exit 0
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
