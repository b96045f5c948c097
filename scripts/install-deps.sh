#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Quick when everything is already there: apt is only asked for what is missing.
set -euo pipefail

PACKAGES=(
  # toolchain
  cmake ninja-build g++ ccache pkg-config
  clang-16 libclang-rt-16-dev
  # libraries
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # WebP, MNG, ICNS, WBMP and more for the image loader through Qt
  qt6-image-formats-plugins
  libjpeg62-turbo-dev libpng-dev libtiff-dev liblcms2-dev zlib1g-dev
  # plain-pixel text from the fonts' own hinting
  libfreetype-dev libfontconfig-dev
  # HEIC and AVIF photos; EPS, PostScript and PDF files without a preview
  libheif-dev ghostscript
  libgtest-dev libgmock-dev libbenchmark-dev
  # fonts: the faces layer files name are drawn with these
  # (share/data/Data/FontSubstitutes.tsv says which stands for which)
  fontconfig fonts-dejavu-core fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea
  fonts-urw-base35 fonts-wine fonts-open-sans fonts-comic-neue
  # one full-colour icon set for tool bar, menus and buttons
  oxygen-icon-theme
  # fidelity scoring against the reference renders
  python3 python3-numpy python3-pil
  # the converters the render benchmark is compared with
  emf2svg librsvg2-bin
  # looking at the desktop program without a display
  xvfb xauth xdotool
  # checking the installed desktop files; the Debian package
  desktop-file-utils appstream dpkg-dev
  # the system printer: a CUPS server with a PDF queue for the tests
  cups libcups2-dev printer-driver-cups-pdf poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
