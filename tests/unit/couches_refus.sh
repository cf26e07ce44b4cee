#!/usr/bin/env bash
# The layer check refuses what it is there to refuse: an include against the table, a folder the
# table does not declare, a cycle in the table. Each on a small tree of its own.
# Usage: couches_refus.sh VERIFIER
set -euo pipefail
verifier=$1
arbre=$(mktemp -d)
trap 'rm -rf "$arbre"' EXIT

preparer() {
    rm -rf "${arbre:?}"/*
    mkdir -p "$arbre/haut" "$arbre/bas"
    printf '<!-- couches -->\nhaut: bas\nbas:\n<!-- /couches -->\n' >"$arbre/README.md"
    echo '#include "bas/B.h"' >"$arbre/haut/H.cpp"
    echo '#include <QString>' >"$arbre/bas/B.h"
}
refuse() {
    local attendu=$1 sortie
    if sortie=$(bash "$verifier" "$arbre" 2>&1); then
        echo "accepted, where \"$attendu\" was expected:"; echo "$sortie"; exit 1
    fi
    grep -qF "$attendu" <<<"$sortie" || { echo "\"$attendu\" not said:"; echo "$sortie"; exit 1; }
}

preparer
bash "$verifier" "$arbre" >/dev/null

preparer
echo '#include "haut/H.h"' >>"$arbre/bas/B.h"
refuse 'bas/B.h:2: bas may not include "haut/H.h" (haut)'

preparer
mkdir "$arbre/ailleurs" && touch "$arbre/ailleurs/A.cpp"
refuse 'ailleurs/A.cpp: its folder is not in the layer table'

preparer
sed -i 's/^bas:$/bas: haut/' "$arbre/README.md"
refuse 'is on a cycle of the layer table'
echo "layer check refusals: ok"
