#!/usr/bin/env bash
# The licensing of the sources: reuse lint checks that every file has its copyright and licence
# (the REUSE convention, here through .reuse/dep5, which Debian 12's reuse reads) and that
# LICENSES/ holds the text of each licence used, and no other. The package's copyright file
# must name the same files and holders, under Debian's names of the licences. Skipped where
# reuse is not installed.
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
reuse lint
