#!/usr/bin/env bash
# Installs the Debian packages the build, the application and the tests need.
# Does nothing when they are all present, so it is cheap to call on every run.
set -euo pipefail

# dpkg-dev (dpkg-shlibdeps), file, lintian and binutils make and check the
# libraries' Debian packages; GLFW and libpng are for the examples' viewer.
# fonts-dejavu-core gives the windows Debian's usual sans-serif face; without
# it the only font left for them is a monospaced one, and texts are cut.
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5opengl5-dev qttranslations5-l10n
  libgl-dev libopengl-dev libglu1-mesa-dev libosmesa6-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libtinyxml-dev zlib1g-dev libfreetype-dev
  xfonts-75dpi fonts-liberation2
  fonts-dejavu-core
  libgtest-dev libbenchmark-dev libmuparser-dev libxml2-dev
  xvfb xauth
  gdal-bin python3
  dpkg-dev file lintian gzip binutils
  libglfw3-dev libpng-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing Debian packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
