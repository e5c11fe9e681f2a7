#!/usr/bin/env bash
# Builds the libraries the portable viewer links statically, from Debian's own source packages,
# into a cache outside the work tree, and prints the folder (its lib/ and include/ hold them):
#   scripts/build-deps.sh [TARGET]          TARGET: linux (the default) or windows
#   SLIDESHOW_DEPS_CACHE=/path scripts/build-deps.sh
# A library already in the cache is not built again; delete its folder to rebuild it.
#
# linux: SDL2 from the libsdl2 source package, video only (X11 and Wayland client libraries
# loaded at run time; no audio, joystick, haptic or sensors) and FreeType (TrueType and zlib
# only) from their source packages; libjpeg-turbo, Expat, libpng and zlib come as static
# archives from Debian's own -dev packages of the same sources. Each library is one build_* function over build_cmake_source, which takes the
# target's CMake arguments, so a cross target (a MinGW toolchain file) adds its list of
# source packages the same way.
#
# windows: every library from its source package, cross-built with Debian's MinGW-w64
# (cmake/MinGW-w64.cmake) as static archives: zlib, libpng, libjpeg-turbo, Expat, FreeType and
# SDL2 (video only), so that slideshow.exe needs nothing beside it.
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

# fetch_source SOURCE_PACKAGE FOLDER: the newest version apt knows of, else an older one that is
# still served (a mirror may list a security update whose files it does not hold).
fetch_source() {
  local package="$1" work="$2" version
  (cd "$work" && apt-get source -qq "$package" >/dev/null 2>&1) && return 0
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -u); do
    rm -rf "${work:?}"/*
    (cd "$work" && apt-get source -qq "$package=$version" >/dev/null 2>&1) && return 0
  done
  return 1
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
  fetch_source "$package" "$work" || { echo "build-deps: apt-get source $package failed" >&2; exit 1; }
  local source
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  # Some sources keep the library in a folder of its name (expat/expat).
  if [ ! -f "$source/CMakeLists.txt" ] && [ -f "$source/$package/CMakeLists.txt" ]; then
    source="$source/$package"
  fi
  cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    "${target_cmake_args[@]}" "$@" >"$work/configure.log" 2>&1 \
    || { tail -n 30 "$work/configure.log" "$work/build/CMakeFiles/CMakeError.log" >&2 2>/dev/null; exit 1; }
  cmake --build "$work/build" -j"$jobs" >"$work/build.log" \
    || { grep -m 20 -B 2 -A 8 'error' "$work/build.log" >&2; exit 1; }
  cmake --install "$work/build" >"$work/install.log"
  mkdir -p "$(dirname "$stamp")"
  echo "$*" >"$stamp"
  rm -rf "$work"
}

target_cmake_args=()

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
# HarfBuzz to link. A cross target adds where its zlib is.
build_freetype() {
  build_cmake_source freetype -DCMAKE_BUILD_TYPE=MinSizeRel \
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_REQUIRE_ZLIB=ON "$@"
}

# Debian's zlib source leaves out the Windows resource files its CMake build wants; its own
# configure script makes the static archive alone.
build_zlib_windows() {
  local stamp="$prefix/share/slideshow-deps/zlib.args" args="configure --static -Os"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$args" ]; then
    return 0
  fi
  local work="$cache/src/$target/zlib"
  rm -rf "$work"
  mkdir -p "$work"
  log "building zlib from Debian's source package into $prefix"
  fetch_source zlib "$work" || { echo "build-deps: apt-get source zlib failed" >&2; exit 1; }
  local source
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  (cd "$source" \
    && CHOST=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
       CFLAGS="-Os -ffunction-sections -fdata-sections" ./configure --static --prefix="$prefix" \
    && make -j"$jobs" libz.a && make install) >"$work/build.log" 2>&1 \
    || { tail -n 30 "$work/build.log" >&2; exit 1; }
  mkdir -p "$(dirname "$stamp")"
  echo "$args" >"$stamp"
  rm -rf "$work"
}

# The Windows build of the same libraries. Each is static and built for size in sections the
# viewer's link can drop; only static archives land in lib/, so the viewer cannot pick a DLL.
build_windows_libraries() {
  local size_flags="-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
  build_zlib_windows
  build_cmake_source libpng1.6 -DCMAKE_BUILD_TYPE=MinSizeRel "$size_flags" -DPNG_SHARED=OFF \
    -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
  # libjpeg-turbo reads a relative library folder against the current one, not the prefix.
  build_cmake_source libjpeg-turbo "$size_flags" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
  # Without DTD processing: the viewer's XML has no document type, and Debian's patched source
  # does not compile with it under CMake (its "#if XML_DTD == 1" needs the value autoconf gives).
  build_cmake_source expat -DCMAKE_BUILD_TYPE=MinSizeRel "$size_flags" -DEXPAT_SHARED_LIBS=OFF \
    -DEXPAT_DTD=OFF \
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF \
    -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF -DEXPAT_MSVC_STATIC_CRT=OFF
  build_freetype -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
  build_cmake_source libsdl2 -DCMAKE_BUILD_TYPE=MinSizeRel "$size_flags" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
    -DSDL_POWER=OFF -DSDL_FILESYSTEM=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_VULKAN=OFF \
    -DSDL_OPENGLES=OFF -DSDL_DIRECTX=OFF -DSDL_RENDER_D3D=OFF -DSDL_WASAPI=OFF \
    -DSDL_XINPUT=OFF -DSDL_STATIC_PIC=OFF
}

case "$target" in
  windows)
    install_packages dpkg-dev cmake ninja-build pkg-config nasm \
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    enable_deb_src
    target_cmake_args=("-DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/MinGW-w64.cmake"
      "-DSLIDESHOW_DEPS_DIR=$prefix")
    build_windows_libraries
    ;;
  linux)
    install_packages dpkg-dev cmake ninja-build pkg-config build-essential \
      libjpeg62-turbo-dev libexpat1-dev libpng-dev zlib1g-dev
    enable_deb_src
    build_sdl2
    build_freetype
    ;;
  *)
    echo "build-deps: unknown target '$target' (known: linux, windows)" >&2
    exit 2
    ;;
esac
echo "$prefix"
