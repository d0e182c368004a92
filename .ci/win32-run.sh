#!/usr/bin/env bash
# The 32-bit product, executed: the i686 build under 32-bit Wine inside an emulated x86_64
# machine (.ci/win32-guest.sh), checked against the Linux build.
#
#   .ci/win32-run.sh SOURCE_DIR BUILD_ROOT
#
# Needs BUILD_ROOT/win32 (the i686 tree, with its tests) and BUILD_ROOT/linux (for the Linux
# host's answers and trace). In the guest, in a 32-bit Wine prefix:
# 1. the demo script through the i686 korvocOIEx and KorvoLotusC.dll, with the demo's keys
#    written into the prefix's registry; its answers must equal tests/calendarops/expected/
#    demo.jsonl and its trace (level 3) the Linux host's, byte for byte once CR LF is LF and
#    the installation's path is the same on both sides;
# 2. ctest over the i686 tree: every suite, the operation transcripts, the host scripts and
#    the fault sweep among them, but rk_exports (KORVO_WIN32_CTEST_EXCLUDE, a ctest -E
#    pattern, leaves more out);
# 3. when .ci/package-check.sh has left BUILD_ROOT/package-check: the consumer built against
#    the win32 ZIP, beside the test kit's nnotes.dll, and the test kit's run-demo.cmd with the
#    ZIP's DLL copied in, whose answers must equal demo.jsonl.
# Prints each stage's time and ends with a line "win32: N tests passed, N failed" counting
# the demo check as one test; a stage that fails prints "WIN32 RUN FAILED: <stage>" and the
# end of its log, and the script exits 1.
set -uo pipefail

src=$(cd "${1:?usage: win32-run.sh SOURCE_DIR BUILD_ROOT}" && pwd)
out=$(cd "${2:?usage: win32-run.sh SOURCE_DIR BUILD_ROOT}" && pwd)
guest=${KORVO_GUEST_DIR:-$out/win32-guest}
win32=$out/win32
linux=$out/linux
run=$out/win32-run
packages=$out/package-check

failed() {
    echo "WIN32 RUN FAILED: $1"
    [ -f "${2:-}" ] && tail -n 40 "$2"
    echo "win32: 0 tests passed, 1 failed"
    exit 1
}

timed() {
    local name=$1 started=$SECONDS
    shift
    "$@"
    local status=$?
    echo "win32 stage $name: $((SECONDS - started)) s"
    return $status
}

for file in KorvoLotusC.dll nnotes.dll korvocOIEx.exe; do
    [ -f "$win32/bin/$file" ] || failed "the i686 build has no $file"
done
[ -x "$linux/bin/korvocOIEx" ] || failed "the Linux build has no korvocOIEx"

timed image bash "$src/.ci/win32-guest.sh" image "$guest" || failed "guest image" ""

# The Linux host's answers and trace for the demo, to compare with.
rm -rf "$run"
mkdir -p "$run/linux"
cp -r "$src/demo/notes" "$run/linux/notes"
printf '[HKEY_CURRENT_USER\\Software\\Vendra Systems, Inc.\\MeetingIntegration]\nNotesIniPath=%s\n\n[HKEY_CURRENT_USER\\SOFTWARE\\IBM\\NOTES\\INSTALLER]\nPROGDIR=%s\n' \
    "$run/linux/notes/notes.ini" "$run/linux/notes" >"$run/linux/registry.ini"
(cd "$run/linux" && TZ=Europe/Berlin "$linux/bin/korvocOIEx" --registry registry.ini \
    --trace 3 --trace-file trace.txt --script "$src/demo/demo.script" >answers.jsonl) ||
    failed "the Linux demo run"

# The demo's keys for the prefix's registry, naming the guest's copy of the installation.
cat >"$run/keys.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Vendra Systems, Inc.\MeetingIntegration]
"NotesIniPath"="Z:\\tmp\\demo\\notes\\notes.ini"

[HKEY_CURRENT_USER\SOFTWARE\IBM\NOTES\INSTALLER]
"PROGDIR"="Z:\\tmp\\demo\\notes"
EOF

# What ctest leaves out in the guest: rk_exports reads the DLL's export table with the build
# machine's objdump; it runs there (.ci/windows.sh).
exclude=^rk_exports\$${KORVO_WIN32_CTEST_EXCLUDE:+|$KORVO_WIN32_CTEST_EXCLUDE}

# The job the guest runs, as root, with SOURCE_DIR and BUILD_ROOT at their own paths.
cat >"$run/job.sh" <<EOF
export WINEPREFIX=/root/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=/root LANG=C.UTF-8
started=\$(date +%s)
stage() { echo "guest stage \$1: \$((\$(date +%s) - started)) s"; started=\$(date +%s); }
wineserver -p
stage "wine server"

# Programs started from the shared folders fault (their pages read as zeros), so the i686
# tree runs from the guest's memory, bound over its own path.
mkdir -p /tmp/win32
cp -a "$win32/." /tmp/win32/
mount --bind /tmp/win32 "$win32"
stage "copy of the i686 tree"

# The demo: the installation and the product in the guest's own memory, the keys in the
# prefix's registry under their Windows path (Z: is the root).
mkdir -p /tmp/demo
cp -r "$src/demo/notes" /tmp/demo/notes
cp "$win32/bin/KorvoLotusC.dll" "$win32/bin/nnotes.dll" "$win32/bin/korvocOIEx.exe" /tmp/demo/
cp "$run/keys.reg" "$src/demo/demo.script" /tmp/demo/
wine regedit /S 'Z:\\tmp\\demo\\keys.reg'
(cd /tmp/demo && TZ=Europe/Berlin wine ./korvocOIEx.exe --trace 3 --trace-file trace.txt \
    --script demo.script >answers.jsonl 2>stderr.txt)
echo "demo exit status \$?"
cp /tmp/demo/answers.jsonl /tmp/demo/trace.txt /tmp/demo/stderr.txt "$run/"
wine reg delete 'HKEY_CURRENT_USER\\Software\\Vendra Systems, Inc.\\MeetingIntegration' /f
wine reg delete 'HKEY_CURRENT_USER\\SOFTWARE\\IBM\\NOTES\\INSTALLER' /f
stage demo

ctest --test-dir "$win32" --output-on-failure -j2 --timeout 1800 -E '$exclude' \
    >"$run/ctest.log" 2>&1
echo "ctest exit status \$?"
stage ctest

# The packages as an integrator unpacks them.
if [ -d "$packages/consumer" ]; then
    mkdir -p /tmp/consumer /tmp/testkit
    cp "$packages/consumer/"*.exe "$packages/consumer/"*.dll /tmp/consumer/
    (cd /tmp/consumer && wine ./consumer.exe >"$run/consumer.txt" 2>&1)
    echo "consumer exit status \$?" | tee -a "$run/consumer.txt"
    cp -r "$packages/testkit/." /tmp/testkit/
    cp "$packages/sdk/bin/KorvoLotusC.dll" /tmp/testkit/bin/
    (cd /tmp/testkit && TZ=Europe/Berlin wine cmd /c run-demo.cmd >"$run/kit-answers.jsonl" \
        2>"$run/kit-stderr.txt")
    echo "test kit demo exit status \$?"
    stage packages
fi
wineserver -k
EOF

timed guest bash "$src/.ci/win32-guest.sh" boot "$guest" "$run/job.sh" "$src" "$out" ||
    failed "guest run (time limit or qemu)" "$run/job.sh.log"
[ -f "$run/job.sh.status" ] || failed "guest job (no status: the guest stopped early)" \
    "$run/job.sh.log"
cat "$run/job.sh.log"

# The demo, compared.
passed=0
failures=0
strip_cr() { tr -d '\r' <"$1"; }
# The traces name the installation by its path on each side: both become <notes>.
guest_trace() { strip_cr "$run/trace.txt" | sed -e 's#Z:\\tmp\\demo\\notes\\#<notes>/#g' \
    -e 's#Z:\\tmp\\demo\\notes#<notes>#g'; }
linux_trace() { sed -e "s#$run/linux/notes#<notes>#g" "$run/linux/trace.txt"; }
if [ -f "$run/answers.jsonl" ] &&
    cmp -s <(strip_cr "$run/answers.jsonl") "$src/tests/calendarops/expected/demo.jsonl" &&
    cmp -s <(strip_cr "$run/answers.jsonl") "$run/linux/answers.jsonl" &&
    cmp -s <(guest_trace) <(linux_trace); then
    echo "win32 demo: answers and trace equal the Linux build's"
    passed=$((passed + 1))
else
    echo "FAILED win32 demo: answers or trace differ from the Linux build's"
    diff <(strip_cr "$run/answers.jsonl" 2>/dev/null) "$run/linux/answers.jsonl" | head -20
    diff <(guest_trace 2>/dev/null) <(linux_trace) | head -20
    head -20 "$run/stderr.txt" 2>/dev/null
    failures=$((failures + 1))
fi

# The packages.
if [ -d "$packages/consumer" ]; then
    if grep -qx 'consumer exit status 0' "$run/consumer.txt" 2>/dev/null; then
        echo "win32 consumer: built against the ZIP, obtained and released the object"
        passed=$((passed + 1))
    else
        echo "FAILED win32 consumer:"
        cat "$run/consumer.txt" 2>/dev/null
        failures=$((failures + 1))
    fi
    if cmp -s <(strip_cr "$run/kit-answers.jsonl" 2>/dev/null) \
        "$src/tests/calendarops/expected/demo.jsonl"; then
        echo "win32 test kit: run-demo.cmd answers as the demo"
        passed=$((passed + 1))
    else
        echo "FAILED win32 test kit: run-demo.cmd"
        head -c 2000 "$run/kit-answers.jsonl" "$run/kit-stderr.txt" 2>/dev/null
        failures=$((failures + 1))
    fi
fi

# ctest in the guest.
cat "$run/ctest.log" 2>/dev/null | tail -n 30
line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$run/ctest.log" 2>/dev/null |
    tail -n 1)
if [ -z "$line" ]; then
    echo "FAILED win32 ctest: no summary"
    failures=$((failures + 1))
else
    all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    passed=$((passed + all - bad))
    failures=$((failures + bad))
fi
echo "win32: $passed tests passed, $failures failed"
[ "$failures" -eq 0 ]
