#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and runs the installed
# programs from there, as a packaged copy runs: they must find their data,
# drivers and demo job beside themselves, and the desktop files must pass the
# freedesktop validators. Exit 77 (skipped) when a validator is missing,
# except under CI=true.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed"
    [ "${CI:-}" = "true" ] && exit 1
    exit 77
  fi
done

cmake --install "$build" --prefix "$prefix" >/dev/null
id=io.corvanrip.CorvanRIP
for f in bin/corvanrip bin/corvanrip-cli share/corvanrip/Data/tiffraster.drv \
         share/corvanrip/Data/hpglcutter.drv share/corvanrip/samples/demo.RIP \
         share/corvanrip/Layers/sign.emf share/corvanrip/Images/background.png \
         share/corvanrip/CorvanRIP.pdf share/corvanrip/CorvanRIP.pages \
         share/corvanrip/Profiles/ColorCharts/Sign_Vinyl_Basics.ini \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
         share/man/man1/corvanrip.1 share/man/man1/corvanrip-cli.1; do
  [ -s "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

export CORVANRIP_HOME="$prefix/home" XDG_CONFIG_HOME="$prefix/config" QT_QPA_PLATFORM=offscreen
info=$("$prefix/bin/corvanrip-cli" info)
grep -q "^Data files: *$prefix/share/corvanrip/\$" <<<"$info" || { echo "$info"; exit 1; }
# A fresh user starts with the shipped colour charts in the profile folder.
for chart in Sign_Vinyl_Basics.ini Grey_Ramp.ini; do
  [ -s "$CORVANRIP_HOME/Profiles/ColorCharts/$chart" ] || { echo "not seeded: $chart"; exit 1; }
done
"$prefix/bin/corvanrip-cli" rip "$CORVANRIP_HOME/samples/demo.RIP" \
  --driver "$CORVANRIP_HOME/Data/tiffraster.drv" --output "$prefix/demo.tif" 2>"$prefix/rip.log" ||
  { cat "$prefix/rip.log"; exit 1; }
[ -s "$prefix/demo.tif" ] || { echo "the installed RIP wrote nothing"; exit 1; }
"$prefix/bin/corvanrip" --screenshot "$prefix/window.png" "$CORVANRIP_HOME/samples/demo.RIP"
[ -s "$prefix/window.png" ] || { echo "the installed desktop program drew nothing"; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
echo "installed into $prefix: both programs ran from there"
