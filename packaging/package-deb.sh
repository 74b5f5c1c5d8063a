#!/usr/bin/env bash
# Builds the Debian package build-deb/qinghe_VERSION_ARCH.deb with Debian's
# hardening flags and checks it with lintian, which must find no errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh lintian

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None -DQINGHE_TESTS=OFF \
      -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-deb -j "$(nproc)"
rm -f build-deb/qinghe_*.deb
(cd build-deb && cpack -G DEB)

package=$(echo build-deb/qinghe_*.deb)
lintian --fail-on error --display-level '>=info' "$package"
echo "package-deb.sh: $package, no lintian errors"
