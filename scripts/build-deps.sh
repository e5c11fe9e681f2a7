#!/usr/bin/env bash
# Builds the libraries the portable viewer links statically, from Debian's own source packages,
# into a cache outside the work tree, and prints the folder (its lib/ and include/ hold them):
#   scripts/build-deps.sh [TARGET]          TARGET: linux (the default)
#   SLIDESHOW_DEPS_CACHE=/path scripts/build-deps.sh
# A library already in the cache is not built again; delete its folder to rebuild it.
#
# linux: SDL2 from the libsdl2 source package, video only (X11 and Wayland client libraries
# loaded at run time; no audio, joystick, haptic or sensors) and FreeType (TrueType and zlib
# only) from their source packages; libjpeg-turbo, Expat, libpng and zlib come as static
# archives from Debian's own -dev packages of the same sources. Each library is one build_* function over build_cmake_source, which takes the
# target's CMake arguments, so a cross target (a MinGW toolchain file) adds its list of
# source packages the same way.
set -euo pipefail
cd "$(dirname "$0")/.."

target="${1:-linux}"
cache="${SLIDESHOW_DEPS_CACHE:-/var/cache/slideshow-deps}"
prefix="$cache/$target"
jobs="$(nproc)"

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "build-deps: need root or sudo" >&2; exit 1; }
  sudo="sudo"
fi
if ! mkdir -p "$cache" 2>/dev/null || [ ! -w "$cache" ]; then
  $sudo mkdir -p "$cache"
  $sudo chown "$(id -u):$(id -g)" "$cache"
fi

log() { echo "build-deps: $*" >&2; }

# apt-get source needs deb-src lines; Debian 12 keeps its sources in deb822 form.
enable_deb_src() {
  local changed=0 file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    if grep -q '^Types: deb$' "$file"; then
      $sudo sed -i 's/^Types: deb$/Types: deb deb-src/' "$file"
      changed=1
    fi
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
     && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee -a /etc/apt/sources.list >/dev/null
    changed=1
  fi
  if [ "$changed" = 1 ] || ! apt-get source --print-uris -qq libsdl2 >/dev/null 2>&1; then
    log "updating the package lists (deb-src enabled)"
    $sudo apt-get update -qq
  fi
}

install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build_cmake_source SOURCE_PACKAGE CMAKE_ARGS...: unpacks Debian's source package (with its
# patches applied) and builds and installs it with CMake into the prefix. It is built again
# only when the arguments change (they are kept beside the result).
build_cmake_source() {
  local package="$1"
  shift
  local stamp="$prefix/share/slideshow-deps/$package.args"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$*" ]; then
    return 0
  fi
  local work="$cache/src/$target/$package"
  rm -rf "$work"
  mkdir -p "$work"
  log "building $package from Debian's source package into $prefix"
  (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1) \
    || { echo "build-deps: apt-get source $package failed" >&2; exit 1; }
  local source
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    "$@" >"$work/configure.log"
  cmake --build "$work/build" -j"$jobs" >"$work/build.log"
  cmake --install "$work/build" >"$work/install.log"
  mkdir -p "$(dirname "$stamp")"
  echo "$*" >"$stamp"
  rm -rf "$work"
}

build_sdl2() {
  install_packages libx11-dev libxext-dev libxrandr-dev libxcursor-dev libxfixes-dev libxi-dev \
    libxss-dev libxkbcommon-dev libwayland-dev wayland-protocols libegl-dev
  # Built for size, in sections the viewer's link can drop: it travels in every collection file.
  build_cmake_source libsdl2 -DCMAKE_BUILD_TYPE=MinSizeRel \
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
    -DSDL_POWER=OFF -DSDL_FILESYSTEM=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_ALSA=OFF -DSDL_PULSEAUDIO=OFF -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF -DSDL_SNDIO=OFF \
    -DSDL_OSS=OFF -DSDL_LIBSAMPLERATE=OFF -DSDL_DBUS=OFF -DSDL_IBUS=OFF -DSDL_LIBUDEV=OFF \
    -DSDL_KMSDRM=OFF -DSDL_DIRECTFB=OFF -DSDL_RPI=OFF -DSDL_VULKAN=OFF -DSDL_OFFSCREEN=OFF \
    -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON \
    -DSDL_WAYLAND_LIBDECOR=OFF -DSDL_WAYLAND_QT_TOUCH=OFF
}

# FreeType with only what TrueType fonts need: no Brotli (WOFF2), PNG (colour emoji), bzip2 or
# HarfBuzz to link.
build_freetype() {
  build_cmake_source freetype -DCMAKE_BUILD_TYPE=MinSizeRel \
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_REQUIRE_ZLIB=ON
}

case "$target" in
  linux)
    install_packages dpkg-dev cmake ninja-build pkg-config build-essential \
      libjpeg62-turbo-dev libexpat1-dev libpng-dev zlib1g-dev
    enable_deb_src
    build_sdl2
    build_freetype
    ;;
  *)
    echo "build-deps: unknown target '$target' (known: linux)" >&2
    exit 2
    ;;
esac
echo "$prefix"
