#!/usr/bin/env bash
# Builds Fernquill with AddressSanitizer and UndefinedBehaviorSanitizer,
# warnings as errors, and runs every test (offscreen, no display needed).
#
# Run as root (as CI does), it runs every test a second time as an
# unprivileged user, on the same build: root ignores file permissions, so
# only that run tests what a user meets with read-only folders and
# unreadable files. The user (FQ_TEST_USER, default fernquill-test) is
# created when missing. Both runs must pass.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"

build="$(realpath -m "${FQ_TEST_BUILD_DIR:-$root/build-test}")"
test_user="${FQ_TEST_USER:-fernquill-test}"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# Sums the QtTest totals of the last run and lists what it skipped.
summary() {
    local log="$build/Testing/Temporary/LastTest.log"
    [ -f "$log" ] || return 0
    awk -v who="$1" '
        /^Totals: / { p += $2; f += $4; s += $6 }
        /^SKIP   : / { skips = skips "  " $0 "\n" }
        END {
            printf "%s: %d test functions passed, %d failed, %d skipped\n", who, p, f, s
            printf "%s", skips
        }' "$log"
}

if [ "$(id -u)" -ne 0 ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFQ_SANITIZE=ON -DFQ_WERROR=ON "${launcher[@]}"
    cmake --build "$build" --parallel "$(nproc)"
    ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
    exit 0
fi

# --- as root ---------------------------------------------------------------

umask 022 # what root builds, the user may read
if ! id -u "$test_user" >/dev/null 2>&1; then
    useradd --system --user-group --create-home --home-dir "/var/lib/$test_user" --shell /usr/sbin/nologin \
        "$test_user"
fi
user_home="$(getent passwd "$test_user" | cut -d: -f6)"
if [ -z "$user_home" ] || [ "$user_home" = / ] || [ ! -d "$user_home" ]; then
    user_home="/var/lib/$test_user"
    install -d -m 0755 -o "$test_user" -g "$(id -gn "$test_user")" "$user_home"
fi
switch_user=(runuser -u "$test_user" --)
if ! command -v runuser >/dev/null; then
    switch_user=(setpriv --reuid="$test_user" --regid="$(id -g "$test_user")" --init-groups)
fi
# The user's own home and no temporary or cache folder of root's.
as_user() {
    (cd / && "${switch_user[@]}" env -u TMPDIR -u XDG_RUNTIME_DIR -u XDG_CONFIG_HOME -u XDG_CACHE_HOME \
        -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$user_home" USER="$test_user" LOGNAME="$test_user" "$@")
}

# The tests read a few files of the sources (the leak suppressions, the
# bundled data), and the user must reach the build folder. When either lies
# where the user cannot go (a clone below /root), a copy of the sources is
# built and tested instead, in a folder both can reach.
reach="$(dirname "$build")"
while [ ! -d "$reach" ]; do reach="$(dirname "$reach")"; done
if ! as_user test -r "$root/tests/lsan.supp" -a -r "$root/data/parkingspecs.mdb" -a -x "$reach"; then
    stage="/var/lib/fernquill-ci"
    echo "The user $test_user cannot reach $root or $build: testing a copy in $stage"
    rm -rf "$stage/src"
    install -d -m 0755 "$stage" "$stage/src"
    tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./.cache -cf - . | tar -C "$stage/src" -xf -
    chmod -R go+rX "$stage/src"
    root="$stage/src"
    build="$stage/build"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFQ_SANITIZE=ON -DFQ_WERROR=ON "${launcher[@]}"
cmake --build "$build" --parallel "$(nproc)"

# Each run owns the build folder while it runs (the tests write their
# settings, runtime folders and pictures there and check who owns them); the
# folder's owner gets it back at the end.
owner="$(stat -c %u:%g "$build")"
if [ "${owner%%:*}" = "$(id -u "$test_user")" ]; then
    owner=0:0 # left behind by an interrupted run
fi
trap 'chown -R "$owner" "$build"' EXIT
chown -R 0:0 "$build"

echo "=== Tests as root ==="
root_rc=0
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" || root_rc=$?
summary "As root"

echo "=== Tests as the unprivileged user $test_user ==="
chown -R "$test_user:$(id -gn "$test_user")" "$build"
user_rc=0
as_user ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" || user_rc=$?
summary "As $test_user"

if [ "$root_rc" -ne 0 ] || [ "$user_rc" -ne 0 ]; then
    echo "Tests failed: as root (exit $root_rc), as $test_user (exit $user_rc)" >&2
    exit 1
fi
