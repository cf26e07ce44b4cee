#!/usr/bin/env bash
# Refreshes the flags of the npm package svg-country-flags kept in data/drapeaux/, their SVG
# sources: those of data/pays.csv, and Monaco's and Chad's, which the twins test compares
# (tests/unit/tst_jumeaux.cpp), but for the flags drawn for Pavoria. Rewrites the package's lines
# of data/drapeaux/provenance.tsv. Then renders every flag as the build does, compares each render
# with the package's own picture of that flag, and fails on one that differs or that has a fringe.
#
#   scripts/rafraichir-drapeaux.sh [VERSION]
#
# Without VERSION, fetches again the version that provenance.tsv records. Needs npm and the
# network, and builds in build/dev (the dev preset); the build itself needs neither npm nor the
# network. Writes the pairs that differ most side by side into build/dev/data/drapeaux-pires.png.
set -euo pipefail
cd "$(dirname "$0")/.."

paquet=svg-country-flags
provenance=data/drapeaux/provenance.tsv
rendus=build/dev/data/drapeaux
comparer=build/dev/data/ComparerRendus
planche=build/dev/data/drapeaux-pires.png
# A render further than this from the package's picture, by the twins test's measure, does not
# draw the flag as the package shows it. librsvg and the package's renderer differ by at most 2.5
# on the same drawing (anti-aliasing of coats of arms: El Salvador, Portugal, Peru); Qt Svg,
# which draws Nicaragua's arms without their clip, its rays spilling out of the triangle, 7.2.
seuil_ecart=4
# Flags whose picture in the package is not drawn from its SVG, which Qt Svg and librsvg draw
# alike: Belize's arms are smaller in the SVG (51), the United Kingdom's red and blue lighter (5.7).
ecarts_admis=" bz gb "
# A fringe: an edge standing out from the lines inside it (ComparerRendus) by more than this, in
# RGB distance. The renders stand out by 0.1 at most; the package's pictures by up to 97 (Iran's
# left edge); a render that rounds its height up, its last row half transparent, by 199.
seuil_frange=5

version=${1:-$(sed -n 's/^# version : //p' "$provenance" 2>/dev/null || true)}
if [ -z "$version" ]; then
    echo "rafraichir-drapeaux.sh : version introuvable dans $provenance ; la donner en argument" >&2
    exit 2
fi
command -v npm >/dev/null || { echo "npm est nécessaire (apt-get install npm)" >&2; exit 2; }

temporaire=$(mktemp -d)
trap 'rm -rf "$temporaire"' EXIT
npm pack --silent --pack-destination "$temporaire" "$paquet@$version" >/dev/null
tar -xzf "$temporaire"/*.tgz -C "$temporaire"
source="$temporaire/package"

# The package states once, for every flag, the ground on which they are free; provenance.tsv
# quotes it. A new statement must be read before its flags come in.
declaration='The source files were taken from Wikipedia and are not under copyright'
if ! grep -q '"license": "PD"' "$source/package.json" ||
    ! grep -qF "$declaration" "$source/README.md"; then
    echo "$paquet@$version ne déclare plus ce que cite $provenance : lire son package.json" \
        "et son README.md, puis mettre à jour $provenance et packaging/copyright" >&2
    exit 1
fi

# Comments and the header aside, the second field of each line is the flag's code.
mapfile -t codes < <(awk -F';' '!/^#/ && NF == 3 && $1 != "NUMERO" { print $2 }' data/pays.csv)
codes+=(mc td)
mapfile -t codes < <(printf '%s\n' "${codes[@]}" | sort)
# Our own drawings, which the package has out of date, keep their files and lines.
mapfile -t propres < <(awk -F'\t' '$2 ~ /^Pavoria/ { sub(/\.svg$/, "", $1); print $1 }' \
    "$provenance")
est_propre() { printf '%s\n' "${propres[@]}" | grep -qx "$1"; }

# releve_garde CODE SHA256: the repository's record of the flag's line, while its file is the one
# the record speaks of; else "-", to be looked up again.
releve_garde() {
    awk -F'\t' -v fichier="$1.svg" -v sha="$2" \
        '$1 == fichier { trouve = 1; print ($4 == sha ? $5 : "-") } END { if (!trouve) print "-" }' \
        "$provenance"
}

# What the package states of all its flags, on each of their lines.
origine='"taken from Wikipedia" (README.md), no file named'
licence='"PD" (package.json); "effectively in public domain" (README.md)'
nouveau="$temporaire/drapeaux"
mkdir "$nouveau"
{
    cat <<EOF
# The flags of this folder, one line each, tab-separated: the file; where it comes from and on
# what ground it is free, as its source states them; for a file of the package its SHA-256; and
# what the package's repository records of where that drawing was taken from. A file of the
# package is the package's own but for its <desc> line, a sentence about the drawing that is never
# drawn, which de.svg, np.svg and ph.svg had and lost here; the SHA-256 is that of the file as
# kept. scripts/rafraichir-drapeaux.sh writes the package's lines, and the unit tests check that
# every flag of ../pays.csv has its file and its line.
#
# The package: $paquet $version, from npm, by Hampus Nilsson
# (https://github.com/hjnilsson/country-flags, now hampusborgos/country-flags). It states, once
# for all its flags:
#   package.json: "license": "PD"
#   README.md: "The source files were taken from Wikipedia and are not under copyright
#   protection since flags are effectively in public domain (there may be other restrictions
#   on how the flag can be used though)."
# It names no Wikipedia file, author or licence for any one flag, and its SVG files carry no
# metadata of their own: the second and third fields of a line of the package say no more.
#
# The record: the package's repository began, after 1.2.10, to record in scripts/flags.json the
# Wikimedia Commons file that each flag was taken from ("wiki-source") and a time stamp
# ("ts-using"). The last field quotes that record as it stood at the repository's latest commit
# (named) whose SVG of the flag is still the package's, so that it speaks of the drawing kept
# here; it is "-" where the record names no file ("File:<TODO>") or began after the drawing
# changed. The record names no author or licence of the Commons file. The refresh script keeps
# a line's record while its file is unchanged; a new drawing's record is looked up by hand.
#
# Pavoria's: drawn for the game, each from the official description that its XML comment
# cites, under the game's licence.
#
# paquet : $paquet
# version : $version
fichier	origine	licence	sha256	relevé
EOF
    for code in "${codes[@]}"; do
        if est_propre "$code"; then
            grep "^$code\.svg	" "$provenance"
            cp "data/drapeaux/$code.svg" "$nouveau/"
        else
            # A <desc> is prose about the drawing, never drawn: the files keep the drawing alone.
            sed '/^<desc>.*<\/desc>$/d' "$source/svg/$code.svg" >"$nouveau/$code.svg"
            empreinte=$(sha256sum "$nouveau/$code.svg" | cut -d' ' -f1)
            printf '%s.svg\t%s\t%s\t%s\t%s\n' "$code" \
                "$paquet $version svg/$code.svg; $origine" "$licence" "$empreinte" \
                "$(releve_garde "$code" "$empreinte")"
        fi
    done
} >"$nouveau/provenance.tsv"

# Replaced whole, so that a flag dropped from the list leaves no file behind.
rm -rf data/drapeaux
mv "$nouveau" data/drapeaux
echo "data/drapeaux : ${#codes[@]} drapeaux, dont ${#propres[@]} dessinés pour Pavoria," \
    "les autres de $paquet@$version"

# The renders of the build, against the package's pictures; ours have none and are checked for
# their edges alone.
cmake --preset dev >/dev/null
cmake --build --preset dev --target DrapeauxRendus ComparerRendus >/dev/null
references="$temporaire/references"
mkdir "$references"
for code in "${codes[@]}"; do
    est_propre "$code" || ln -s "$source/png1000px/$code.png" "$references/"
done
"$comparer" "$rendus" "$references" "${codes[@]}" >"$temporaire/mesures"

echo "Les dix rendus les plus loin de l’image du paquet" \
    "(seuil $seuil_ecart, admis :$ecarts_admis) :"
sort -t'	' -k2,2gr "$temporaire/mesures" | head -n 10 | tee "$temporaire/pires" |
    awk -F'\t' '{ printf "  %s  %s  (bord %s : %s)\n", $1, $2, $3, $4 }'
echo "Les cinq bords les plus marqués (seuil $seuil_frange) :"
sort -t'	' -k4,4gr "$temporaire/mesures" | head -n 5 |
    awk -F'\t' '{ printf "  %s  bord %s : %s\n", $1, $3, $4 }'
mapfile -t pires < <(cut -f1 "$temporaire/pires")
"$comparer" --planche "$planche" "$rendus" "$references" "${pires[@]}" >/dev/null
echo "Planche des dix, image du paquet à gauche : $planche"

awk -F'\t' -v ecart="$seuil_ecart" -v frange="$seuil_frange" -v admis="$ecarts_admis" '
    $2 != "-" && $2 + 0 > ecart + 0 && index(admis, " " $1 " ") == 0 {
        print "  " $1 " : rendu différent, " $2; faute = 1 }
    $4 + 0 > frange + 0 { print "  " $1 " : frange au bord " $3 ", " $4; faute = 1 }
    END { exit faute }' "$temporaire/mesures" >&2 ||
    { echo "Rendus refusés : voir git diff data/drapeaux" >&2; exit 1; }
echo "Chaque rendu montre le drapeau du paquet, aucun bord n’a de frange."
