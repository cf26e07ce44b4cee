#!/usr/bin/env bash
# The licensing of the sources: reuse lint checks that every file has its copyright and licence
# (the REUSE convention, here through .reuse/dep5) and that LICENSES/ holds the text of each
# licence used, and no other. The package's copyright file must name the same files and holders,
# under Debian's names of the licences. Skipped where reuse is not installed.
# reuse reads a copy of the sources alone (git's files, else the tree less every folder holding a
# CMakeCache.txt): without git, it would read the build trees and their generated files' tags.
# Debian 12's reuse 1.1 reads only .reuse/dep5; reuse 5 deprecates it and refuses it beside a
# REUSE.toml, so the copy holds it converted where reuse can convert it.
# Usage: licences.sh SOURCE-DIR
set -euo pipefail
sources=$1
cd "$sources"
fichiers_et_titulaires() { grep -E '^(Files|Copyright):' "$1"; }
diff -u <(fichiers_et_titulaires .reuse/dep5) <(fichiers_et_titulaires packaging/debian/copyright) \
    --label .reuse/dep5 --label packaging/debian/copyright ||
    { echo "the package's copyright file and .reuse/dep5 name other files or holders"; exit 1; }
if ! command -v reuse >/dev/null; then
    echo "SKIP: reuse is not installed (apt-get install reuse)"
    exit 77
fi

copie=$(mktemp -d)
trap 'rm -rf "$copie"' EXIT
if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z
else
    find . \( -name .git -o -type d -exec test -e '{}/CMakeCache.txt' \; \) -prune \
        -o ! -type d -print0
fi | tar --null --files-from=- --ignore-failed-read -cf - | tar -C "$copie" -xf -
cd "$copie"
reuse convert-dep5 --help >/dev/null 2>&1 && reuse convert-dep5
reuse lint
