#!/usr/bin/env bash
# Sets up (packages, build) and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build
if [ -x build/bin/corvanrip ]; then
  exec build/bin/corvanrip "$@"
fi
exec build/bin/corvanrip-cli info
