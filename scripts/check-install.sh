#!/usr/bin/env bash
# Installs a build folder into a scratch DESTDIR, checks what the install
# rules put there, and starts the installed program offscreen on a scratch
# copy of the sample prefix. Run by CTest (test install_and_start).
#
#   check-install.sh <build folder> <application id>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
app_id="$2"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/fernquill-install.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$scratch/dest/usr"

status=0
for f in bin/fernquill lib/fernquill/fernquill-mdbread \
         share/fernquill/parkingspecs.mdb share/fernquill/Fernquill-Readme.pdf \
         share/man/man1/fernquill.1.gz share/doc/fernquill/copyright share/doc/fernquill/changelog.gz \
         "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
         share/icons/hicolor/{16x16,32x32,48x48,128x128}/apps/"$app_id.png"; do
    if [ ! -s "$usr/$f" ]; then
        echo "not installed: $f"
        status=1
    fi
done
for f in bin/fernquill lib/fernquill/fernquill-mdbread; do
    [ -x "$usr/$f" ] || { echo "not executable: $f"; status=1; }
done
desktop-file-validate "$usr/share/applications/$app_id.desktop" || status=1
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$app_id.metainfo.xml" >"$scratch/appstream.txt" 2>&1 \
    || { cat "$scratch/appstream.txt"; status=1; }

# The installed program on the sample: it must find the simulators, the
# sample aircraft, its manual and the parking codes in the installed data
# folder, read the codes with its installed Access reader, and it ends by
# itself once its window is up. FERNQUILL_MDBREAD would name another reader.
. "$root/scripts/sample-copy.sh"
mkdir "$scratch/sample" "$scratch/runtime"
chmod 700 "$scratch/runtime"
sample_copy "$root" "$scratch/sample"
out="$scratch/start.txt"
if ! env -u FERNQUILL_MDBREAD QT_QPA_PLATFORM=offscreen "QT_LOGGING_RULES=qt.qpa.*=false" WINEPREFIX="$SAMPLE_PREFIX" \
        XDG_CONFIG_HOME="$SAMPLE_CONFIG" XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/runtime" \
        FERNQUILL_START_CHECK=1 timeout 120 "$usr/bin/fernquill" >"$out" 2>&1; then
    echo "the installed program did not start and end cleanly:"
    status=1
fi
cat "$out"
grep -q "^entries: [1-9]" "$out" || { echo "no entries of the sample aircraft"; status=1; }
grep -qx "manual: $usr/share/fernquill/Fernquill-Readme.pdf" "$out" || { echo "manual not found"; status=1; }
grep -qx "parking codes: $usr/share/fernquill/parkingspecs.mdb" "$out" || { echo "parking codes not found"; status=1; }
grep -q "^parking code rows: [1-9]" "$out" || { echo "parking codes not read"; status=1; }
exit $status
