#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets in build-fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given seconds (default 60) on a copy of its
# seed corpus in fuzz/corpus/, one after another. (The script is not called "fuzz" because the
# folder fuzz/ holds the targets.)
#
#   ./fuzz.sh [seconds] [workbook|expression|number ...]
#
# Prints per target the inputs run and any findings; exits non-zero when a target found a
# crash, hang, leak, sanitizer report or failed check in our code. What a run found stays in
# build-fuzz/runs/<target>/ (the grown corpus, the kept inputs, the log); the committed corpus
# is never changed.
#
# Faults of FreeXL. The workbook target parses with Debian's FreeXL 1.0.6 in its own process
# (see fuzz/fuzz_workbook.cpp), and FreeXL reads past its buffers on some damaged files; Kelsa
# survives these because it runs FreeXL in a child process. The most common ones, a directory
# entry whose name claims more than its 64 bytes and a directory outside the file, are refused
# before FreeXL opens the file (directoryIsSound() in src/tables/sheetdump.cpp). For the rest
# every target runs with -fork=1 and -ignore_crashes=1 (and the same for hangs and memory), so
# that a FreeXL fault ends one job and not the run. Each input kept is then replayed and
# blamed by its stack (fuzz/blame.awk): FreeXL's are listed as known and do not fail the run,
# any other fails it. Leaks of blocks FreeXL allocates are suppressed by fuzz/lsan.supp.
set -eu
KELSA_ROOT=$(cd "$(dirname "$0")" && pwd)

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: ./fuzz.sh [seconds] [workbook|expression|number ...]" >&2
    exit 2
fi
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(workbook expression number)
for target in "${targets[@]}"; do
    case $target in
    workbook | expression | number) ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
    esac
done

. "$KELSA_ROOT/tools/ensure-packages.sh"
# clang and its fuzzer and sanitizer runtimes; llvm-14 for llvm-symbolizer, which names the
# frames the findings are blamed by.
kelsa_ensure_packages "${KELSA_BUILD_PACKAGES[@]}" clang libclang-rt-14-dev llvm-14
BUILD="$KELSA_ROOT/build-fuzz"
kelsa_build "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DKELSA_BUILD_FUZZERS=ON \
    -DKELSA_BUILD_TESTS=OFF -DKELSA_BUILD_BENCHMARKS=OFF

export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$KELSA_ROOT/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen

# Options of each target: the longest input, and the seconds after which one input is a hang.
# The workbook reader allows 10 s for a file; the expression length reaches the nesting limit.
options_of() {
    case $1 in
    workbook) echo "-max_len=16384 -timeout=10" ;;
    expression) echo "-max_len=16384 -timeout=5 -dict=$KELSA_ROOT/fuzz/expression.dict" ;;
    number) echo "-max_len=512 -timeout=5 -dict=$KELSA_ROOT/fuzz/number.dict" ;;
    esac
}

failed=0
for target in "${targets[@]}"; do
    program="$BUILD/fuzz/fuzz_$target"
    run="$BUILD/runs/$target"
    rm -rf "$run"
    mkdir -p "$run/found"
    cp -r "$KELSA_ROOT/fuzz/corpus/$target" "$run/corpus"
    echo "== fuzz_$target: $seconds s"
    # shellcheck disable=SC2046 # the options are words
    (cd "$run" && "$program" corpus -fork=1 -ignore_crashes=1 -ignore_timeouts=1 \
        -ignore_ooms=1 -max_total_time="$seconds" -artifact_prefix="$run/found/" \
        $(options_of "$target") >log 2>&1) || true

    # The last status line of the fork driver: "#<inputs run>: cov: ... time: <s>s ...".
    status=$(grep -E '^#[0-9]+: cov:' "$run/log" | tail -n 1 || true)
    inputs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"${status:-#0:}")
    elapsed=$(sed -nE 's/.* time: ([0-9]+)s.*/\1/p' <<<"$status")
    elapsed=${elapsed:-$seconds}
    [ "$elapsed" -gt 0 ] || elapsed=1
    echo "   $inputs inputs in ${elapsed} s ($((inputs / elapsed)) a second), corpus $(ls "$run/corpus" | wc -l) inputs"
    if ! grep -qE 'INFO: (fuzzed for|exiting)' "$run/log" && [ -z "$status" ]; then
        echo "   the fuzzer did not run; see $run/log"
        failed=1
        continue
    fi

    # Replays each kept input and blames it; identical blames are listed once.
    seen=""
    for input in "$run"/found/*; do
        [ -e "$input" ] || continue
        blame=$(cd "$run" && timeout 120 "$program" $(options_of "$target") "$input" 2>&1 \
            | awk -f "$KELSA_ROOT/fuzz/blame.awk" || true)
        [ -n "$blame" ] || blame="ours replay-failed"
        case $blame in
        none) continue ;;
        freexl*) label="known FreeXL fault" ;;
        *) label="FINDING"; failed=1 ;;
        esac
        key=${blame#* }
        if ! grep -qxF -- "$key" <<<"$seen"; then
            seen+="$key"$'\n'
            echo "   $label: $key ($input)"
        fi
    done
done

if [ $failed -ne 0 ]; then
    echo "fuzzing found faults in Kelsa; the inputs are listed above"
    exit 1
fi
echo "no findings in Kelsa"
