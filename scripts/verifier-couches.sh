#!/usr/bin/env bash
# Checks the folders' layering: every #include "folder/..." of the sources must name the
# including file's own folder or one that its line of the README's layer table allows, and that
# table must have no cycle. The table is read from the README, between the two markers, so the
# order is written once.
# Usage: verifier-couches.sh [SOURCE-DIR]
set -euo pipefail
racine=${1:-$(dirname "$0")/..}
cd "$racine"

table=$(awk '/<!-- couches -->/ {dedans = 1; next} /<!-- \/couches -->/ {dedans = 0}
             dedans && /^[a-z][a-z\/]*:/' README.md)
if [ -z "$table" ]; then
    echo "README.md: no layer table between <!-- couches --> and <!-- /couches -->" >&2
    exit 1
fi

# Sources: C++ files and configured headers, outside build trees.
sources=$(find . -path ./.git -prune -o -path './build*' -prune -o -name node_modules -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.h.in' \) -print | sed 's|^\./||' | sort)

printf '%s\n' "$sources" | awk -v table="$table" '
    # The longest folder of the table that holds the path, or "" for none.
    function couche(chemin,    c, meilleure) {
        meilleure = ""
        for (c in permis)
            if (index(chemin, c "/") == 1 && length(c) > length(meilleure))
                meilleure = c
        return meilleure
    }
    BEGIN {
        n = split(table, lignes, "\n")
        for (i = 1; i <= n; i++) {
            split(lignes[i], moities, ":")
            c = moities[1]
            permis[c] = " " moities[2] " "
            gsub(/[ \t]+/, " ", permis[c])
            restantes[c] = 1
        }
        for (c in permis) {
            m = split(permis[c], cibles, " ")
            for (j = 1; j <= m; j++)
                if (cibles[j] != "" && !(cibles[j] in permis)) {
                    printf "README.md: %s may use %s, which the table does not declare\n", c, cibles[j]
                    fautes++
                }
        }
        # No cycle: peel off the layers that use none of the remaining ones until none is left.
        do {
            retirees = 0
            for (c in restantes) {
                libre = 1
                for (d in restantes)
                    if (d != c && index(permis[c], " " d " ")) libre = 0
                if (libre) { delete restantes[c]; retirees++ }
            }
        } while (retirees)
        for (c in restantes) {
            printf "README.md: %s is on a cycle of the layer table, or uses one\n", c
            fautes++
        }
    }
    NF {
        fichier = $0
        source = couche(fichier)
        if (source == "") {
            printf "%s: its folder is not in the layer table of README.md\n", fichier
            fautes++
            next
        }
        ligne = 0
        while ((getline texte < fichier) > 0) {
            ligne++
            if (texte !~ /^[ \t]*#[ \t]*include[ \t]*"[^"]*\//) continue
            inclus = texte
            sub(/^[^"]*"/, "", inclus)
            sub(/".*$/, "", inclus)
            cible = couche(inclus)
            if (cible == source || (cible != "" && index(permis[source], " " cible " "))) continue
            printf "%s:%d: %s may not include \"%s\" (%s)\n", fichier, ligne, source, inclus,
                   cible == "" ? "no layer" : cible
            fautes++
        }
        close(fichier)
        verifies++
    }
    END {
        if (fautes) {
            printf "%d fault(s) against the layer table of README.md\n", fautes
            exit 1
        }
        printf "layers: %d files, every include along the table\n", verifies
    }'
