#!/usr/bin/env bash
# Sets up, builds (Release) and starts the program. Extra arguments go to the program; without
# any, it opens the sample project of Slovak towns (examples/slovak_towns.mzd).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORVAN_BUILD_TESTS=OFF
cmake --build build/release --target dorvan dorvan-cli

if (($# == 0)); then
  set -- examples/slovak_towns.mzd
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "There is no display (DISPLAY is not set), so the window cannot be shown here."
  echo "Run it on a virtual display instead, for example:"
  echo "  xvfb-run -s '-screen 0 1600x1000x24' build/release/dorvan $*"
  echo "or start 'Xvfb :99 -screen 0 1600x1000x24 &' and then 'DISPLAY=:99 build/release/dorvan $*'."
  exit 1
fi
exec build/release/dorvan "$@"
