#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need. Safe to run again:
# it asks apt only for what is missing. Works as root or through sudo.
#   scripts/install-deps.sh [windows]       windows: also what the Windows build needs
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libjpeg62-turbo-dev libturbojpeg0-dev libexpat1-dev libsdl2-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core fonts-liberation2 fonts-wine libpng-dev libgtest-dev nlohmann-json3-dev
  xvfb xdotool imagemagick x11-utils libjpeg-turbo-progs python3 debootstrap dpkg-dev
)

# The Windows build's own: the cross compiler, nasm for libjpeg-turbo's SIMD code, Wine.
if [ "${1:-}" = "windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nasm wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
