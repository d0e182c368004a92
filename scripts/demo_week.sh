#!/usr/bin/env bash
# Imports a calendar (and people) and lists one week of it through the host, day by day as a
# client asks for repeating meetings: one list of each day, Monday to Sunday.
#
#   scripts/demo_week.sh KORVO-IMPORT KORVOCOIEX OUT CALENDAR.ics [PEOPLE.vcf]
#
# The week is that of $KORVO_DEMO_WEEK (any date of it, YYYY-MM-DD); else the week of the first
# event from this week on; else, when every event lies in the past, the latest week with
# events. Events are imported for a year from the week's Monday into OUT/import. The host runs
# in the time zone Europe/Berlin with trace level $KORVO_DEMO_TRACE (2); its answers go to
# standard output after the import's summary. $KORVO_DEMO_TODAY stands in for today's date.
set -euo pipefail
import=$1 host=$2 out=$3 calendar=$4 people=${5:-}
today=${KORVO_DEMO_TODAY:-$(date +%F)}

monday_of() { date -d "$1 -$(($(date -d "$1" +%u) - 1)) days" +%F; }
# run_import FROM TO: the import's summary on standard output, its warnings kept in OUT.
run_import() {
  local args=(--out "$out/import" --replace --from "$1" --to "$2" --calendar "$calendar")
  if [ -n "$people" ]; then
    args+=(--people "$people")
  fi
  if ! "$import" "${args[@]}" 2>"$out/import.log"; then
    cat "$out/import.log" >&2
    exit 1
  fi
}
summary_day() { sed -n "s/.*, the $1 on \([0-9-]*\).*/\1/p" <<<"$2"; }
year_after() { date -d "$1 + 1 year" +%F; }

mkdir -p "$out"
if [ -n "${KORVO_DEMO_WEEK:-}" ]; then
  monday=$(monday_of "$KORVO_DEMO_WEEK")
  summary=$(run_import "$monday" "$(year_after "$monday")")
else
  monday=$(monday_of "$today")
  summary=$(run_import "$monday" "$(year_after "$monday")")
  first=$(summary_day first "$summary")
  if [ -n "$first" ]; then
    monday=$(monday_of "$first")
  else
    past=$(run_import 1970-01-01 "$(date -d "$monday - 1 day" +%F)")
    last=$(summary_day last "$past")
    if [ -z "$last" ]; then
      echo "$summary"
      cat "$out/import.log" >&2
      echo "demo: the calendar has no event to list" >&2
      exit 1
    fi
    monday=$(monday_of "$last")
    summary=$(run_import "$monday" "$(year_after "$monday")")
  fi
fi
echo "$summary"
cat "$out/import.log" >&2

script=$out/week.script
echo "init 1" >"$script"
for day in 0 1 2 3 4 5 6; do
  date=$(date -d "$monday + $day days" +%F)
  echo "list $date $date" >>"$script"
done
printf 'profile\nuninit\nrelease\n' >>"$script"
TZ=Europe/Berlin "$host" --registry "$out/import/registry.ini" --trace "${KORVO_DEMO_TRACE:-2}" \
  --script "$script"
