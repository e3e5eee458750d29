#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [release|asan] [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-release}
shift || true
case "$kind" in
  release) dir=build; args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)    dir=build-asan; args=(-DCMAKE_BUILD_TYPE=Debug -DCORKPANE_SANITIZE=ON) ;;
  *) echo "usage: scripts/build.sh [release|asan] [cmake args...]" >&2; exit 2 ;;
esac

# A compiler cache, where one is installed, makes rebuilds of other trees cheap.
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The tests need GoogleTest (scripts/install-deps.sh --test); without it the
# program alone is built.
if [ ! -f /usr/include/gtest/gtest.h ]; then
  echo "GoogleTest is not installed: building the program without its tests"
  args+=(-DCORKPANE_BUILD_TESTS=OFF)
else
  args+=(-DCORKPANE_BUILD_TESTS=ON)
fi

cmake -S . -B "$dir" -G Ninja -DCORKPANE_WERROR=ON "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
