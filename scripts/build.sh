#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds one build folder; with
# BUILD_TARGET set, only that target and what it needs. The project's own builds treat warnings
# as errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
if [ ! -f "$root/$dir/build.ninja" ]; then
  cmake -S "$root" -B "$root/$dir" -G Ninja -DQUENDA_WERROR=ON "$@" >/dev/null
fi
cmake --build "$root/$dir" -j "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
