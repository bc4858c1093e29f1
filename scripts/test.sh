#!/usr/bin/env bash
# Builds Fernquill with AddressSanitizer and UndefinedBehaviorSanitizer,
# warnings as errors, and runs every test (offscreen, no display needed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"

build="${FQ_TEST_BUILD_DIR:-$root/build-test}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFQ_SANITIZE=ON -DFQ_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
