#!/usr/bin/env bash
# Installs what is missing, builds Quenda and starts it on the current display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
BUILD_TARGET=Quenda bash "$root/scripts/build.sh" build
if [ -z "${DISPLAY:-}" ]; then
  echo "Quenda is built (build/Quenda) but needs a graphical display to start: DISPLAY is not set." >&2
  exit 1
fi
exec "$root/build/Quenda" "$@"
