#!/usr/bin/env bash
# Builds Fernquill and starts it on a fresh copy of the bundled samples: a
# sample Wine prefix with FS9 and FSX "installed" and a sample aircraft folder.
# Your own settings and Wine prefix are never touched: the copy, the prefix
# and the settings live in a scratch folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"

build="${FQ_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)" --target fernquill

scratch="$(mktemp -d "${TMPDIR:-/tmp}/fernquill-sample.XXXXXX")"
. "$root/scripts/sample-copy.sh"
sample_copy "$root" "$scratch"

echo "Sample copy: $scratch"
WINEPREFIX="$SAMPLE_PREFIX" XDG_CONFIG_HOME="$SAMPLE_CONFIG" exec "$build/src/fernquill" "$@"
