#!/usr/bin/env bash
# Builds the Debian package with CPack: build-pkg/corvanrip_<version>_<arch>.deb,
# installing into /usr with the desktop entry, icons, file types, AppStream
# entry and manual pages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCORVAN_TESTS=OFF -DCORVAN_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build-pkg -j"$(nproc)"
(cd build-pkg && cpack -G DEB)
ls -l build-pkg/*.deb
