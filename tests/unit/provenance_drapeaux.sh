#!/usr/bin/env bash
# Every flag of pays.csv, and Monaco's and Chad's that the twins test compares, has its SVG in
# drapeaux/ and its line in drapeaux/provenance.tsv, five fields; no other file or line is there;
# each file of the package is the one that its line's SHA-256 records.
# Usage: provenance_drapeaux.sh DATA
set -euo pipefail
cd "$1"
liste=drapeaux/provenance.tsv
attendus=$({
    awk -F';' '!/^#/ && NF == 3 && $1 != "NUMERO" { print $2 ".svg" }' pays.csv
    printf '%s\n' mc.svg td.svg
} | sort)
lignes=$(awk -F'\t' '!/^#/ && $1 != "fichier" { print $1 }' "$liste" | sort)
fichiers=$(cd drapeaux && printf '%s\n' *.svg | sort)

diff <(echo "$attendus") <(echo "$lignes") || { echo "$liste: flags without a line (<)"; exit 1; }
diff <(echo "$attendus") <(echo "$fichiers") || { echo "drapeaux/: flags without a file"; exit 1; }
awk -F'\t' '!/^#/ && NF != 5 { print FILENAME ":" FNR ": five fields expected"; faute = 1 }
            END { exit faute }' "$liste"
awk -F'\t' '!/^#/ && $1 != "fichier" && $4 != "-" { print $4 "  " $1 }' "$liste" |
    (cd drapeaux && sha256sum --check --strict --quiet)
