#!/usr/bin/env bash
# Builds Pavoria with warnings as errors and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh
cmake --preset dev
cmake --build --preset dev --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"
