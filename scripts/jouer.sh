#!/usr/bin/env bash
# Builds Pavoria (optimised) and starts it. Only the game and what it reads at run time are
# built, in a folder of their own: no tests, no benchmarks, nothing that only installing needs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh
cmake --preset jeu >/dev/null
cmake --build --preset jeu --parallel "$(nproc)"
exec build/jeu/Pavoria
