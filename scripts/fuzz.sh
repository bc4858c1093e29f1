#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs every target it built side by side
# for a fixed time, each on a scratch copy of its seed corpus
# fuzz/corpus/<target>/ (libFuzzer adds what it finds to that copy, never to
# the repository). Fails when a target crashes, leaks, hangs or fails one of
# its checks; the input that did it is kept in <build>/fuzz-run/<target>/.
#
#   FQ_FUZZ_SECONDS    how long each target runs (default 15)
#   FQ_FUZZ_BUILD_DIR  the build folder (default build-fuzz)
#
# To replay an input: <build>/fuzz/<target> <input file>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${FQ_FUZZ_BUILD_DIR:-$root/build-fuzz}")"
seconds="${FQ_FUZZ_SECONDS:-15}"
started=$SECONDS

# clang only recommends libFuzzer's runtime, so both are asked for.
"$root/scripts/bootstrap.sh" clang libclang-rt-dev

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Debug keeps Qt's bounds checks in its inline code; -O1 keeps the runs fast.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DFQ_BUILD_TESTS=OFF -DFQ_BUILD_BENCH=OFF -DFQ_WERROR=ON \
    "${launcher[@]}" >/dev/null
cmake --build "$build" --target fuzz --parallel "$(nproc)"
built=$SECONDS

mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ ${#targets[@]} -eq 0 ]; then
    echo "No fuzz targets were built in $build/fuzz" >&2
    exit 1
fi

run="$build/fuzz-run"
rm -rf "$run"
mkdir -p "$run"
# The targets that go through files write them below TMPDIR and sync them: a
# memory file system keeps that fast.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch="$(mktemp -d /dev/shm/fernquill-fuzz.XXXXXX)"
else
    scratch="$(mktemp -d "$run/tmp.XXXXXX")"
fi
trap 'rm -rf "$scratch"' EXIT

echo "=== Fuzzing ${#targets[@]} targets for $seconds seconds each ==="
pids=()
for exe in "${targets[@]}"; do
    name="$(basename "$exe")"
    dir="$run/$name"
    mkdir -p "$dir/corpus" "$scratch/$name"
    if [ -d "$root/fuzz/corpus/$name" ]; then
        cp -R "$root/fuzz/corpus/$name/." "$dir/corpus/"
    fi
    # A smaller quarantine than AddressSanitizer's 256 MB: the targets free
    # much, and fresh pages cost more than the runs themselves.
    (cd "$dir" && TMPDIR="$scratch/$name" \
        ASAN_OPTIONS=quarantine_size_mb=32:detect_leaks=1 \
        LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        timeout --kill-after=10 $((seconds + 120)) \
        "$exe" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/" "$dir/corpus" >"$dir/log" 2>&1) &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    name="$(basename "${targets[$i]}")"
    rc=0
    wait "${pids[$i]}" || rc=$?
    log="$run/$name/log"
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    if [ "$rc" -eq 0 ]; then
        printf '%-20s ok: %s runs (%s/s), %s\n' "$name" "${runs:-?}" "${speed:-?}" \
            "$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*/[0-9a-zA-Z]*' "$log" | tail -1)"
    else
        failed=1
        echo "$name FAILED (exit $rc); its log ends:"
        tail -n 60 "$log"
        find "$run/$name" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
            -o -name 'oom-*' \) -printf '  input kept: %p\n'
    fi
done
echo "Fuzzing: built in $((built - started)) s, ran in $((SECONDS - built)) s"
exit "$failed"
