#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# normal build and once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --test

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

status=0
for kind in release asan; do
  echo "== $kind build"
  dir=build; [ "$kind" = asan ] && dir=build-asan
  scripts/build.sh "$kind"
  echo "== $kind tests"
  if ! ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 600; then
    status=1
  fi
  if [ "$kind" = release ]; then
    # The package a newcomer installs, installed and run as one would.
    echo "== package"
    if ! scripts/package-test.sh "$dir"; then
      status=1
    fi
  fi
done
exit $status
