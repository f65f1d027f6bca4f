#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UBSan) in a build of their own
# and runs each for SECONDS seconds in one process, from the seed corpus in tests/fuzz/corpus.
# The inputs found go to BUILD/corpus, failing ones to BUILD/failures: the tree is not written.
#   scripts/fuzz.sh [SECONDS]   run every target, 180 seconds each by default
#   scripts/fuzz.sh --check     only tell (by the exit status) whether clang builds a fuzzer here
# FUZZ_BUILD (build-fuzz), FUZZ_CXX (clang++) and JOBS (2) may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD:-build-fuzz}
compiler=${FUZZ_CXX:-clang++}
targets=(fuzz_load fuzz_edit)

toolchain_works() {
    command -v "$compiler" >/dev/null 2>&1 || return 1
    local scratch
    scratch=$(mktemp -d)
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$scratch/probe.cpp"
    local status=0
    "$compiler" -fsanitize=fuzzer,address,undefined "$scratch/probe.cpp" -o "$scratch/probe" >/dev/null 2>&1 || status=1
    rm -rf "$scratch"
    return $status
}

if [ "${1:-}" = "--check" ]; then
    toolchain_works
    exit
fi
if ! toolchain_works; then
    echo "fuzz: $compiler cannot build a libFuzzer target; scripts/install-deps.sh --fuzz installs clang" >&2
    exit 1
fi
seconds=${1:-180}

cmake -S . -B "$build" -DQUILLET_FUZZ=ON -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target "${targets[@]}"

failed=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/failures/$target"
    log="$build/$target.log"
    echo "== $target: $seconds s"
    if "$build/$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$build/failures/$target/" "$build/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        grep -E "DONE|stat::(number_of_executed_units|average_exec_per_sec)" "$log"
    else
        tail -n 60 "$log"
        echo "== $target FAILED; the input is in $build/failures/$target, the whole log in $log"
        failed=1
    fi
done
exit $failed
