#!/usr/bin/env bash
# Installs the built game with cmake --install twice: under a user's prefix, and under /usr
# staged in DESTDIR as a package build does. Checks each installed tree, which must be the same
# relative to its prefix, and starts the installed program, as a player would, from both: the
# program finds its files relative to its own folder.
# Usage: installation.sh CMAKE BUILD-DIR SOURCE-DIR
set -euo pipefail
# The installed tree must be readable by the ordinary player the test starts the game as.
umask 022
cmake=$1 construction=$2 sources=$3
source "$(dirname "$0")/joueur.sh"

travail=$(mktemp -d)
trap 'chmod -R u+w "$travail"; rm -rf "$travail"' EXIT

# A user's prefix: the whole game, played by its owner and by another player.
utilisateur=$travail/utilisateur/.local
"$cmake" --install "$construction" --prefix "$utilisateur" >/dev/null
verifier_arborescence "$utilisateur"
cmp "$construction/installation/Pavoria.dat" "$utilisateur/share/pavoria/Pavoria.dat"
for document in Pavoria.hlp Le_tesk_.txt Adhesion.txt Le_Tesk_.hlp Le_Tesk_.htm; do
    cmp "$sources/docs/$document" "$utilisateur/share/pavoria/$document"
done
cmp "$sources/assets/icone.svg" "$utilisateur/share/icons/hicolor/scalable/apps/$identifiant.svg"
cmp "$sources/docs/copyright" "$utilisateur/share/doc/pavoria/copyright"
jouer_installation "$utilisateur" "$travail"

# The system's prefix, staged: the same tree, and the program started where it was staged.
DESTDIR=$travail/racine "$cmake" --install "$construction" --prefix /usr >/dev/null
verifier_arborescence "$travail/racine/usr"
diff -r "$utilisateur" "$travail/racine/usr" >/dev/null ||
    { echo "the trees under the two prefixes differ"; exit 1; }
preparer_maison "$travail/systeme" "$(id -u):$(id -g)"
demarrer_et_arreter "$travail/racine/usr/games/pavoria" "$travail/systeme"
cmp "$travail/racine/usr/share/pavoria/Pavoria.dat" "$travail/systeme/donnees/pavoria/Pavoria.dat"
echo "installed trees and start-up: ok"
