#!/usr/bin/env bash
# Installs the built game into a fresh prefix with cmake --install, checks the installed tree
# and starts the installed program from its link in bin/, as a player would.
# Usage: installation.sh CMAKE BUILD-DIR SOURCE-DIR
set -euo pipefail
# The installed tree must be readable by the ordinary player the test starts the game as.
umask 022
cmake=$1 construction=$2 sources=$3
source "$(dirname "$0")/joueur.sh"

travail=$(mktemp -d)
trap 'chmod -R u+w "$travail"; rm -rf "$travail"' EXIT
prefixe=$travail/prefixe
"$cmake" --install "$construction" --prefix "$prefixe" >/dev/null

verifier_arborescence "$prefixe"
cmp "$construction/installation/Pavoria.dat" "$prefixe/lib/pavoria/Pavoria.dat"
for document in Pavoria.hlp Le_tesk_.txt Adhesion.txt Le_Tesk_.hlp Le_Tesk_.htm; do
    cmp "$sources/docs/$document" "$prefixe/lib/pavoria/$document"
done
cmp "$sources/assets/icone.svg" "$prefixe/share/icons/hicolor/scalable/apps/$identifiant.svg"
jouer_installation "$prefixe" "$travail"
echo "installed tree and start-up: ok"
