#!/usr/bin/env bash
# Sets up (packages, build) and starts the program. On a desktop it opens the
# main window (arguments are passed on); without a display it RIPs the demo
# job through the TIFF driver into a file, so the whole chain can be seen.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/corvanrip ]; then
  exec build/bin/corvanrip "$@"
fi
build/bin/corvanrip-cli info
home=$(build/bin/corvanrip-cli info | sed -n 's/^Program folder: *//p')
out="${TMPDIR:-/tmp}/corvanrip-demo.tif"
build/bin/corvanrip-cli rip "${home}samples/demo.RIP" --driver "${home}Data/tiffraster.drv" --output "$out"
echo "demo job ripped to $out"
