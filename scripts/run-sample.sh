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
cp -a "$root/examples/." "$scratch/"
prefix="$scratch/wineprefix"
config="$scratch/config"
mkdir -p "$config"
if [ -d "$prefix" ]; then
    ln -sfn ../drive_c "$prefix/dosdevices/c:"
    airplanes="$prefix/drive_c/Program Files (x86)/Microsoft Games/Microsoft Flight Simulator X/SimObjects/Airplanes"
    # git keeps no empty folders; the faults sample needs one for validation to find
    if [ -d "$airplanes/Brackenhold_A320_Faults" ]; then
        mkdir -p "$airplanes/Brackenhold_A320_Faults/panel"
    fi
    aircraft="$airplanes/Brackenhold_B738"
    if [ -d "$aircraft" ]; then
        mkdir -p "$config/© Brackenhold Tools"
        # The weekly update check is off here: the sample is for trying the
        # editor, and its update address is a placeholder.
        printf '[Fernquill]\nIsMerrow=1\nAutoUpdate=0\nPath=%s\n' "$aircraft" > "$config/© Brackenhold Tools/Fernquill.ini"
    fi
fi

echo "Sample copy: $scratch"
WINEPREFIX="$prefix" XDG_CONFIG_HOME="$config" exec "$build/src/fernquill" "$@"
