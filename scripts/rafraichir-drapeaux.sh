#!/usr/bin/env bash
# Refreshes the package's flag pictures kept in data/drapeaux/ from the npm package
# svg-country-flags: those of data/pays.csv, plus Monaco's and Chad's, which the twins test
# compares (tests/unit/tst_jumeaux.cpp). Rewrites the manifest data/drapeaux/manifeste.sha256.
#
#   scripts/rafraichir-drapeaux.sh [VERSION]
#
# Without VERSION, fetches again the version that the manifest records. Needs npm and the
# network; the build itself needs neither.
set -euo pipefail
cd "$(dirname "$0")/.."

paquet=svg-country-flags
manifeste=data/drapeaux/manifeste.sha256
version=${1:-$(sed -n 's/^# version : //p' "$manifeste" 2>/dev/null || true)}
if [ -z "$version" ]; then
    echo "rafraichir-drapeaux.sh : version introuvable dans $manifeste ; la donner en argument" >&2
    exit 2
fi
command -v npm >/dev/null || { echo "npm est nécessaire (apt-get install npm)" >&2; exit 2; }

temporaire=$(mktemp -d)
trap 'rm -rf "$temporaire"' EXIT
npm install --prefix "$temporaire" --no-audit --no-fund --no-save --silent "$paquet@$version"
source_png="$temporaire/node_modules/$paquet/png1000px"

# Comments and the header aside, the second field of each line is the flag's code.
mapfile -t codes < <(awk -F';' '!/^#/ && NF == 3 && $1 != "NUMERO" { print $2 }' data/pays.csv)
codes+=(mc td)

nouveau="$temporaire/drapeaux"
mkdir "$nouveau"
for code in "${codes[@]}"; do
    cp "$source_png/$code.png" "$nouveau/"
done
{
    echo "# Pictures png1000px/<code>.png of the npm package below, copied by"
    echo "# scripts/rafraichir-drapeaux.sh. Check: sha256sum --check --strict manifeste.sha256"
    echo "# paquet : $paquet"
    echo "# version : $version"
    (cd "$nouveau" && sha256sum -- *.png)
} > "$nouveau/$(basename "$manifeste")"

# Replaced whole, so that a flag dropped from the list leaves no picture behind.
rm -rf data/drapeaux
mv "$nouveau" data/drapeaux
echo "data/drapeaux : ${#codes[@]} drapeaux de $paquet@$version"
