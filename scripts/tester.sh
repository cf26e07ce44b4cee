#!/usr/bin/env bash
# Builds Pavoria with warnings as errors and the network cut, and runs every test, headless; then
# builds it again with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test once
# more.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh --tests

# Building downloads nothing: where the script may take a network namespace of its own (as root),
# every configure and build below runs with the network cut. CI runs it in a fresh clone, so
# that the repository alone is shown to build, at no cost in time.
sans_reseau=()
if [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
    sans_reseau=(unshare --net)
else
    echo "Construction sans réseau non vérifiée : il y faut root et unshare --net" >&2
fi

# The install tier, which a build daemon does not run, is turned on here.
"${sans_reseau[@]}" cmake --preset dev -DPAVORIA_TESTS_INSTALLATION=ON
"${sans_reseau[@]}" cmake --build --preset dev --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"

# Any report ends the program that makes it, and so fails its test (or the build, for the
# database builder that the build runs); UBSan is built not to recover.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"${sans_reseau[@]}" cmake --preset asan -DPAVORIA_TESTS_INSTALLATION=ON
"${sans_reseau[@]}" cmake --build --preset asan --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset asan --parallel "$(nproc)"
