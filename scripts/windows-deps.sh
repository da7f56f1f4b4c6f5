#!/usr/bin/env bash
# Cross-builds the libraries the Windows programs link statically, once per
# target, into a prefix, and writes their pkg-config files there:
#   scripts/windows-deps.sh TOOLCHAIN_FILE PREFIX TRIPLE
# - GoogleTest from Debian's sources (/usr/src/googletest);
# - stb from Debian's headers (file names taken as UTF-8);
# - zlib is Debian's libz-mingw-w64-dev, used from the MinGW sysroot;
# - TinyGLTF compiled once from Debian's header (its README.Debian's static
#   route), with Debian's nlohmann-json headers, and a CMake package for it;
# - libzip, libwebp (with libwebpmux) and libjpeg-turbo from Debian's source packages,
#   fetched once into build-windows-src/ with apt-get source (a private
#   apt state there: the system's sources and lists are left alone) and
#   built without their tools.
# The copyright files of every library that goes into the programs are
# gathered in PREFIX/licenses (scripts/windows-zip.sh ships them).
# A library already in PREFIX is not built again.
set -euo pipefail
toolchain=$1
deps=$2
triple=$3
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
sources=$root/build-windows-src
mkdir -p "$deps/include" "$deps/lib/pkgconfig" "$deps/licenses"

# apt-get source of PACKAGE into $sources, through Debian's deb-src
# entries of the machine's own Debian sources.
fetch_source() {
  local package=$1
  if compgen -G "$sources/$package-[0-9]*/debian/copyright" >/dev/null; then return; fi
  local apt=$sources/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  if [ ! -f "$apt/sources.list" ]; then
    {
      for f in /etc/apt/sources.list.d/debian*.sources; do
        [ -f "$f" ] && sed 's/^Types: .*/Types: deb-src/' "$f" && echo
      done
    } >"$apt/debian-src.sources"
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list >"$apt/sources.list"
    touch "$apt/sources.list"
  fi
  local options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt"
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
  if [ ! -f "$apt/updated" ]; then
    apt-get -qq "${options[@]}" update
    touch "$apt/updated"
  fi
  (cd "$sources" && apt-get -qq "${options[@]}" source "$package" >/dev/null)
}

# ---- GoogleTest
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON >/dev/null
  cmake --build "$deps/googletest-build" -j"$jobs" >/dev/null
  cmake --install "$deps/googletest-build" >/dev/null
fi

# ---- stb: the image reader and writer, compiled once from Debian's headers
mkdir -p "$deps/stb-build"
ln -sfn /usr/include/stb "$deps/include/stb"
if [ ! -f "$deps/lib/libstb.a" ]; then
  printf '#define STBI_WINDOWS_UTF8\n#define STB_IMAGE_IMPLEMENTATION\n#include <stb_image.h>\n' >"$deps/stb-build/image.c"
  printf '#define STBIW_WINDOWS_UTF8\n#define STB_IMAGE_WRITE_IMPLEMENTATION\n#include <stb_image_write.h>\n' \
    >"$deps/stb-build/write.c"
  for f in image write; do
    "$triple-gcc" -O2 -I/usr/include/stb -c "$deps/stb-build/$f.c" -o "$deps/stb-build/$f.o"
  done
  "$triple-ar" rcs "$deps/lib/libstb.a" "$deps/stb-build/image.o" "$deps/stb-build/write.o"
fi
cat >"$deps/lib/pkgconfig/stb.pc" <<PC
Name: stb
Description: stb image reader and writer (cross-built from Debian's headers)
Version: 0
Cflags: -I$deps/include/stb -I$deps/include
Libs: -L$deps/lib -lstb
PC
cp /usr/share/doc/libstb-dev/copyright "$deps/licenses/stb.txt"

# ---- zlib: Debian's static library for MinGW-w64
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$deps/licenses/zlib.txt"

# ---- nlohmann-json (headers only) and TinyGLTF, as CMake packages
ln -sfn /usr/include/nlohmann "$deps/include/nlohmann"
mkdir -p "$deps/lib/cmake/nlohmann_json" "$deps/lib/cmake/TinyGLTF" "$deps/tinygltf-build"
cat >"$deps/lib/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" <<CFG
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "$deps/include")
CFG
if [ ! -f "$deps/lib/libtinygltf.a" ]; then
  ln -sfn /usr/include/tiny_gltf.h "$deps/include/tiny_gltf.h"
  printf '#define TINYGLTF_IMPLEMENTATION\n#include <tiny_gltf.h>\n' >"$deps/tinygltf-build/tiny_gltf.cpp"
  "$triple-g++-posix" -std=c++17 -O2 -I"$deps/include" -I/usr/include/stb -c "$deps/tinygltf-build/tiny_gltf.cpp" \
    -o "$deps/tinygltf-build/tiny_gltf.o"
  "$triple-ar" rcs "$deps/lib/libtinygltf.a" "$deps/tinygltf-build/tiny_gltf.o"
fi
cat >"$deps/lib/cmake/TinyGLTF/TinyGLTFConfig.cmake" <<CFG
if(NOT TARGET TinyGLTF::TinyGLTF)
  add_library(TinyGLTF::TinyGLTF STATIC IMPORTED)
  set_target_properties(TinyGLTF::TinyGLTF PROPERTIES IMPORTED_LOCATION "$deps/lib/libtinygltf.a"
    INTERFACE_INCLUDE_DIRECTORIES "$deps/include" INTERFACE_LINK_LIBRARIES "$deps/lib/libstb.a")
endif()
CFG
cp /usr/share/doc/libtinygltf-dev/copyright "$deps/licenses/tinygltf.txt"
cp /usr/share/doc/nlohmann-json3-dev/copyright "$deps/licenses/nlohmann-json.txt"

# ---- libzip: no encryption, bzip2 or lzma (the game's archives deflate)
if [ ! -f "$deps/lib/libzip.a" ]; then
  fetch_source libzip
  src=$(compgen -G "$sources/libzip-[0-9]*/" | head -1)
  cmake -S "$src" -B "$deps/libzip-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF >/dev/null
  cmake --build "$deps/libzip-build" -j"$jobs" >/dev/null
  cmake --install "$deps/libzip-build" >/dev/null
  cp "$src/debian/copyright" "$deps/licenses/libzip.txt"
fi
# ZIP_STATIC: the header would otherwise import its functions from a DLL.
cat >"$deps/lib/pkgconfig/libzip.pc" <<PC
Name: libzip
Description: libzip (cross-built, static, with Debian's zlib for MinGW-w64)
Version: $(sed -n 's/^Version: //p' "$deps/libzip-build/libzip.pc" 2>/dev/null || echo 0)
Cflags: -I$deps/include -DZIP_STATIC
Libs: -L$deps/lib -lzip -lz -ladvapi32
PC

# ---- libwebp: the encoder and libwebpmux's animation encoder only
if [ ! -f "$deps/lib/libwebpmux.a" ]; then
  fetch_source libwebp
  src=$(compgen -G "$sources/libwebp-[0-9]*/" | head -1)
  cmake -S "$src" -B "$deps/libwebp-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF \
    -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF >/dev/null
  cmake --build "$deps/libwebp-build" -j"$jobs" --target webp libwebpmux >/dev/null
  mkdir -p "$deps/include/webp"
  cp "$src"/src/webp/{decode,encode,mux,mux_types,types}.h "$deps/include/webp/"
  cp "$deps/libwebp-build/libwebp.a" "$deps/lib/"
  cp "$deps/libwebp-build/libwebpmux.a" "$deps/lib/libwebpmux.a"
  cp "$src/debian/copyright" "$deps/licenses/libwebp.txt"
fi
for lib in webp webpmux; do
  cat >"$deps/lib/pkgconfig/lib$lib.pc" <<PC
Name: lib$lib
Description: lib$lib (cross-built, static)
Version: 1
Cflags: -I$deps/include
Libs: -L$deps/lib -l$lib
PC
done

# ---- libjpeg-turbo: the libjpeg API only, without its SIMD code (no nasm)
if [ ! -f "$deps/lib/libjpeg.a" ]; then
  fetch_source libjpeg-turbo
  src=$(compgen -G "$sources/libjpeg-turbo-[0-9]*/" | head -1)
  cmake -S "$src" -B "$deps/libjpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DCMAKE_INSTALL_LIBDIR=lib \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF >/dev/null
  cmake --build "$deps/libjpeg-build" -j"$jobs" --target jpeg-static >/dev/null
  cp "$deps/libjpeg-build/libjpeg.a" "$deps/lib/"
  cp "$src"/{jpeglib.h,jmorecfg.h,jerror.h} "$deps/libjpeg-build/jconfig.h" "$deps/include/"
  cp "$src/debian/copyright" "$deps/licenses/libjpeg-turbo.txt"
fi
cat >"$deps/lib/pkgconfig/libjpeg.pc" <<PC
Name: libjpeg
Description: libjpeg-turbo (cross-built, static)
Version: 1
Cflags: -I$deps/include
Libs: -L$deps/lib -ljpeg
PC

# ---- the compilers' own runtime, linked into every program
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$deps/licenses/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$deps/licenses/mingw-w64-runtime.txt"
