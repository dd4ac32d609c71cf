#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: as a plain debug
# build, under AddressSanitizer and UndefinedBehaviorSanitizer, and as a
# release build (the optimiser finds warnings a debug build does not); then
# builds the Debian package from the release build, installs it into a
# staging folder and starts the installed programs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
for variant in plain sanitize release; do
  dir=build/$variant
  flags=(-DCMAKE_BUILD_TYPE=Debug)
  [ "$variant" = sanitize ] && flags+=(-DQMR_SANITIZE=ON)
  [ "$variant" = release ] && flags=(-DCMAKE_BUILD_TYPE=Release)
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== tests ($variant) =="
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
done
scripts/package-check.sh build/release
