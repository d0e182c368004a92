#!/usr/bin/env bash
# Mutation sampler: small faults planted one at a time in the lines the test suite runs, to
# see whether the suite notices them.
#
#   scripts/mutants.sh draw [--seed N] [--count N] [--jobs N] [--out FILE]
#   scripts/mutants.sh run [--list FILE] [--jobs N] [--only ID,...] [--label LABEL]
#
# draw builds a coverage tree, runs the whole ctest suite in it, and draws N mutants (default
# 90) from the executed lines of meetingmgr/, notesrt/, platform/posix/, platform/common/, rk/
# and host/ with a seeded random source; each one is compiled once, and one that does not
# compile is replaced by the next draw. The list goes to tests/mutants/mutants.tsv unless
# --out names another file.
#
# run plants each mutant of the list in turn, rebuilds incrementally, runs the ctest tests the
# mutated file feeds (stopping at the first failure, within a time limit) and reports each
# mutant killed, survived or not built. With --label LABEL the results go to
# tests/mutants/results-LABEL.tsv, otherwise to build/mutants/results.tsv.
#
# Both work on a copy of the tracked files (build/mutants/tree), built in build/mutants/build
# (Release) and build/mutants/coverage without the benchmarks, which judge nothing; the
# checkout itself is never changed. Every build and test run is niced.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
helper="$root/scripts/mutants.py"
work=$root/build/mutants
tree=$work/tree
release=$work/build
coverage=$work/coverage
logs=$work/logs

usage() {
    sed -n '4,5p' "$0" | sed 's/^# *//' >&2
    exit 2
}

# The tree file a mutant is planted in, while it is, and the copy of its original text.
planted=""
original=$work/original
# Object files saved before a draw's compile check, restored with it.
saved_objects=()
# The running test job, in a session of its own so that a hung test program (a valgrind run
# left behind by ctest) goes with it; stopped if the sampler is interrupted.
child=""

restore() {
    if [[ -n $planted ]]; then
        cp "$original" "$planted"
        planted=""
    fi
}

# The draw puts the source back with its old time and the objects it compiled back as they
# were, so the release tree stays built.
restore_unchanged() {
    if [[ -n $planted ]]; then
        cp -p "$original" "$planted"
        planted=""
    fi
    local object
    for object in "${saved_objects[@]}"; do
        cp -p "$work/saved/$object" "$release/$object"
    done
    saved_objects=()
}

on_exit() {
    if [[ -n $child ]]; then
        kill -TERM -- -"$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    if [[ ${#saved_objects[@]} -gt 0 ]]; then
        restore_unchanged
    fi
    restore
}
trap on_exit EXIT
trap 'exit 130' INT TERM

# plant FILE LINE TEXT REPLACEMENT: saves FILE (relative to the tree) and plants the mutant.
plant() {
    cp -p "$tree/$1" "$original"
    planted=$tree/$1
    python3 "$helper" apply -- "$tree/$1" "$2" "$3" "$4"
}

configure() {
    local dir=$1
    shift
    if [[ ! -f $dir/build.ninja ]]; then
        nice -n 19 cmake -S "$tree" -B "$dir" -G Ninja "$@" >"$logs/configure-$(basename "$dir").log"
    fi
}

build() {
    local dir=$1 log=$2
    shift 2
    if ! nice -n 19 ninja -C "$dir" -j "$jobs" "$@" >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "mutants: the build in $dir failed (log: $log)" >&2
        exit 1
    fi
}

prepare() {
    mkdir -p "$tree" "$logs"
    python3 "$helper" sync "$root" "$tree"
    configure "$release" -DCMAKE_BUILD_TYPE=Release -DKORVO_BUILD_BENCH=OFF
    echo "building $release"
    build "$release" "$logs/build-release.log"
}

draw() {
    local seed=20261206 count=90 out=$root/tests/mutants/mutants.tsv
    while [[ $# -gt 0 ]]; do
        case $1 in
        --seed) seed=$2; shift 2 ;;
        --count) count=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) usage ;;
        esac
    done
    prepare
    configure "$coverage" -DCMAKE_BUILD_TYPE= -DKORVO_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS=--coverage -O0" \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage
    echo "building $coverage"
    build "$coverage" "$logs/build-coverage.log"
    find "$coverage" -name '*.gcda' -delete
    echo "running the suite for coverage"
    if ! nice -n 19 ctest --test-dir "$coverage" -j "$jobs" --output-on-failure \
        >"$logs/ctest-coverage.log" 2>&1; then
        grep -A20 'tests FAILED' "$logs/ctest-coverage.log" >&2 || true
        echo "mutants: the suite fails in the coverage tree; the lines it ran still count" >&2
    fi
    python3 "$helper" coverage "$coverage" "$tree" "$work/executed.json"
    python3 "$helper" draw "$tree" "$work/executed.json" "$seed" "$work/drawn.tsv"

    local accepted=() tried=0 file line text repl op objects object
    while IFS=$'\t' read -r -u 3 file line text repl op; do
        tried=$((tried + 1))
        mapfile -t objects < <(python3 "$helper" objects "$release" "$tree" "$file")
        mkdir -p "$work/saved"
        for object in "${objects[@]}"; do
            mkdir -p "$(dirname "$work/saved/$object")"
            cp -p "$release/$object" "$work/saved/$object"
            saved_objects+=("$object")
        done
        plant "$file" "$line" "$text" "$repl"
        if [[ ${#objects[@]} -gt 0 ]] &&
            nice -n 19 ninja -C "$release" -j "$jobs" "${objects[@]}" >"$logs/draw-check.log" 2>&1; then
            accepted+=("$file"$'\t'"$line"$'\t'"$text"$'\t'"$repl"$'\t'"$op")
            echo "  ${#accepted[@]}/$count  $file:$line  $op"
        else
            echo "  does not compile: $file:$line  $op"
        fi
        restore_unchanged
        [[ ${#accepted[@]} -lt $count ]] || break
    done 3<"$work/drawn.tsv"
    if [[ ${#accepted[@]} -lt $count ]]; then
        echo "mutants: only ${#accepted[@]} mutants compile" >&2
        exit 1
    fi

    mkdir -p "$(dirname "$out")"
    {
        echo "# seed $seed count $count commit $(git -C "$root" rev-parse --short HEAD)"
        echo "# mutants drawn by scripts/mutants.sh draw over the lines the suite runs"
        printf 'id\tfile\tline\ttext\treplacement\toperator\n'
        local id=0 row
        for row in "${accepted[@]}"; do
            id=$((id + 1))
            printf '%d\t%s\n' "$id" "$row"
        done
    } >"$out"
    echo "drew $count mutants ($tried tried) into $out"
}

# run_tests ID quick|slow TESTS: runs those of the comma-separated TESTS whose unchanged run
# took under (quick) or at least (slow) 5 seconds, stopping at the first failure, within three
# times their unchanged time plus a minute. Sets status=killed and detail if one fails.
run_tests() {
    local id=$1 stage=$2 names limit rc log=$logs/mutant-$1-$2.log
    names=$(tr ',' '\n' <<<"$3" | awk -v stage="$stage" '
        NR == FNR { t[$1] = $2; next }
        (stage == "quick") == (t[$1] < 5) { print }' "$work/durations.txt" - | paste -sd'|')
    [[ -n $names ]] || return 0
    limit=$(tr '|' '\n' <<<"$names" |
        awk 'NR == FNR { t[$1] = $2; next } { s += t[$1] } END { printf "%d", 60 + 3 * s }' \
            "$work/durations.txt" -)
    setsid timeout -k 10 "$limit" nice -n 19 ctest --test-dir "$release" -R "^($names)\$" \
        --stop-on-failure -j "$jobs" --output-on-failure >"$log" 2>&1 &
    child=$!
    rc=0
    wait "$child" || rc=$?
    kill -KILL -- -"$child" 2>/dev/null || true
    child=""
    if [[ $rc -eq 124 || $rc -eq 137 ]]; then
        status=killed detail="timed out after ${limit}s"
    elif [[ $rc -ne 0 ]]; then
        status=killed
        detail=$(sed -nE '/Test +#[0-9]+: .* Passed /d
            s/.*Test +#[0-9]+: ([A-Za-z0-9_]+) [. ]*(\*\*\*)?([A-Za-z]+).*/\1 \3/p' "$log" |
            head -n1)
        [[ -n $detail ]] || detail="ctest failed ($rc)"
    fi
}

run() {
    local list=$root/tests/mutants/mutants.tsv only="" label=""
    while [[ $# -gt 0 ]]; do
        case $1 in
        --list) list=$(realpath "$2"); shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        --label) label=$2; shift 2 ;;
        *) usage ;;
        esac
    done
    [[ -f $list ]] || { echo "mutants: no list $list" >&2; exit 1; }
    local started=$SECONDS
    prepare
    python3 "$helper" plan "$release" "$tree" "$list" "$work/plan.tsv" ${only:+--only "$only"}

    # The suite's own run on the unchanged tree: it must pass, and it gives each test's time.
    local all
    all=$(cut -f7 "$work/plan.tsv" | tr ',' '\n' | sort -u | grep . | paste -sd'|') || true
    if [[ -n $all ]]; then
        echo "running the tests the mutants feed on the unchanged tree"
        if ! nice -n 19 ctest --test-dir "$release" -R "^($all)\$" -j "$jobs" \
            --output-junit "$work/baseline.xml" >"$logs/ctest-baseline.log" 2>&1; then
            grep -A20 'tests FAILED' "$logs/ctest-baseline.log" >&2 || true
            echo "mutants: the suite fails without mutants" >&2
            exit 1
        fi
        python3 "$helper" durations "$work/baseline.xml" >"$work/durations.txt"
    fi

    local raw=$work/results-raw.tsv
    : >"$raw"
    local id file line text repl op tests t0 t1 build_s test_s
    while IFS=$'\t' read -r -u 3 id file line text repl op tests; do
        t0=$SECONDS
        status="" detail="" build_s="" test_s=""
        if ! plant "$file" "$line" "$text" "$repl" 2>/dev/null; then
            status="not built" detail="text not found on the line"
        elif ! nice -n 19 ninja -C "$release" -j "$jobs" >"$logs/mutant-$id.log" 2>&1; then
            status="not built"
            detail=$(grep -m1 -E 'error:|FAILED:' "$logs/mutant-$id.log" | cut -c1-160 || true)
        fi
        t1=$SECONDS
        build_s=$((t1 - t0))
        if [[ -z $status && -z $tests ]]; then
            status=survived detail="no test runs this file"
        elif [[ -z $status ]]; then
            # The quick tests first, so a mutant they kill does not wait for the slow ones.
            status=survived
            local stage
            for stage in quick slow; do
                [[ $status == survived ]] || break
                run_tests "$id" "$stage" "$tests"
            done
            test_s=$((SECONDS - t1))
            [[ $status != survived ]] || detail="$(tr ',' '\n' <<<"$tests" | grep -c .) tests pass"
        fi
        restore
        printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$id" "$file" "$line" "$op" "$status" \
            "$build_s" "$test_s" "$detail" >>"$raw"
        echo "  $id  $file:$line  $op  $status  ${build_s}s+${test_s:-0}s  $detail"
    done 3<"$work/plan.tsv"

    local results=$work/results.tsv
    [[ -z $label ]] || results=$root/tests/mutants/results-$label.tsv
    mv "$raw" "$results"
    python3 "$helper" report "$results" \
        "list $(realpath --relative-to="$root" "$list") ($(head -n1 "$list" | sed 's/^# //'))" \
        "run on commit $(git -C "$root" rev-parse --short HEAD), $((SECONDS - started)) s, jobs $jobs" \
        ${label:+"label $label"}
    echo "results: $results"
}

jobs=2
command=${1:-}
[[ $# -gt 0 ]] && shift
case $command in
draw) draw "$@" ;;
run) run "$@" ;;
*) usage ;;
esac
