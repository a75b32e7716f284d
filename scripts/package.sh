#!/usr/bin/env bash
# Installs what is missing, builds PAYSUM and makes its Debian package: build/paysum_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && cpack -G DEB)
