#!/usr/bin/env bash
# Makes the Debian package of Fernquill and checks it as Debian would: a
# Release build with Debian's hardening flags in its own build folder
# (build-deb), `cpack -G DEB`, then lintian, which fails on any error or
# warning. Installs what is missing first (lintian too).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" lintian
cd "$root" # dpkg-buildflags maps the current folder out of the debug paths
umask 022   # the packed files and folders keep the modes Debian expects

build="$root/build-deb"

# Debian's compiler and linker flags with every hardening feature
# (dpkg-buildflags). CMake takes no CPPFLAGS, so they go with the compiler's
# flags. The package is stripped and has no debug-symbol package: no -g.
flags() {
    DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get "$1"
}
cxxflags="$(flags CPPFLAGS) $(flags CXXFLAGS)"
ldflags="$(flags LDFLAGS)"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFQ_BUILD_TESTS=OFF -DFQ_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" "${launcher[@]}"
cmake --build "$build" # all cores, or CMAKE_BUILD_PARALLEL_LEVEL

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
deb=("$build"/*.deb)

lintian --fail-on error,warning --display-info "${deb[@]}"
echo "lintian: no errors or warnings in ${deb[*]}"
