#!/usr/bin/env bash
# Sets up, builds (Release) and starts the program. Extra arguments go to the program; without
# any, it opens the sample project of Slovak towns (examples/slovak_towns.mzd). Without a
# display it shows what the program does through dorvan-cli instead and says how to start the
# window on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORVAN_BUILD_TESTS=OFF
cmake --build build/release --target dorvan dorvan-cli

if (($# == 0)); then
  set -- examples/slovak_towns.mzd
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  project=examples/slovak_towns.mzd
  for a in "$@"; do
    if [[ "$a" == *.mzd ]]; then project=$a; fi
  done
  chart=build/$(basename "$project" .mzd).png
  echo
  echo "There is no display (DISPLAY is not set), so the window cannot be shown here."
  echo "What the program finds for $project (Cooper's method, as \"Riešenie DORVAN\" shows it):"
  echo
  build/release/dorvan-cli solve "$project"
  build/release/dorvan-cli render "$project" --out "$chart" --size 800x600 > /dev/null
  echo
  echo "The result chart is in $chart."
  echo
  echo "To use the window, run it on a virtual display, for example:"
  echo "  xvfb-run -s '-screen 0 1600x1000x24' build/release/dorvan $*"
  echo "or start 'Xvfb :99 -screen 0 1600x1000x24 &' and then 'DISPLAY=:99 build/release/dorvan $*'."
  exit 0
fi
exec build/release/dorvan "$@"
