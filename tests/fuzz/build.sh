#!/usr/bin/env bash
# Configures (once) and builds the fuzz targets with clang++ in a tree of
# their own, apart from the normal g++ build.
# usage: build.sh <fuzz build folder> [C++ compiler]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
compiler=${2:-clang++}

if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$dir" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=None >/dev/null
fi
cmake --build "$dir" -j"${FUZZ_JOBS:-2}"
