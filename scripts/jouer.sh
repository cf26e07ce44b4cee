#!/usr/bin/env bash
# Builds Pavoria (optimised) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh
cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)"
exec build/release/Pavoria
