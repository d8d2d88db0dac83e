#!/usr/bin/env bash
# Installs a build tree into a fresh prefix, builds the consumer against it once with
# find_package and once with pkg-config, and runs both; the libraries are found
# through their installed run paths only.
# Usage: check-install.sh BUILD_DIR WORK_DIR [C_COMPILER]
set -euo pipefail
build=$1
work=$(mkdir -p "$2" && cd "$2" && pwd)
compiler=${3:-cc}
source_dir=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null

cmake -S "$source_dir" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_C_COMPILER="$compiler" \
      -DCMAKE_BUILD_RPATH="$prefix/lib" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/consumer"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046
"$compiler" -std=c11 -Wall -Werror -o "$work/pkg-config-consumer" "$source_dir/consumer.c" \
   $(pkg-config --cflags --libs dax64) -Wl,-rpath,"$(pkg-config --variable=libdir dax64)"
"$work/pkg-config-consumer"

# The installed script host finds the installed libraries beside it.
printf 'Str_IStr_LenA("AB#0D")\n' > "$work/script.dax"
"$prefix/bin/daxhost" "$work/script.dax" | grep -qx '= 3'
echo "installed tree: find_package and pkg-config consumers and daxhost ok"
