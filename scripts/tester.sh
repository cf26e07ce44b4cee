#!/usr/bin/env bash
# Builds Pavoria with warnings as errors and runs every test, headless; then builds it again
# with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test once more.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh --tests
cmake --preset dev
cmake --build --preset dev --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"

# Any report ends the program that makes it, and so fails its test (or the build, for the
# database builder that the build runs); UBSan is built not to recover.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake --preset asan
cmake --build --preset asan --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset asan --parallel "$(nproc)"
