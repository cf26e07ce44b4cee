#!/usr/bin/env bash
# Checks that the package builds reproducibly: HEAD cloned twice, into folders of other names and
# depths, each clone packaged by scripts/empaqueter.sh at the same time in another time zone and
# with the same SOURCE_DATE_EPOCH (given, or that of the packaging's newest changelog entry, as
# dpkg-buildpackage takes it), must give byte-identical .deb files. Where they differ, the
# differing members are listed (and shown by diffoscope where it is installed). Without their
# tests, which change nothing in the packages.
# Usage: scripts/verifier-reproductibilite.sh [WORK-DIR]   (default: a temporary folder)
set -euo pipefail
sources=$(cd "$(dirname "$0")/.." && pwd)
travail=${1:-$(mktemp -d)}
mkdir -p "$travail"
travail=$(realpath "$travail")
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog \
    -l "$sources/packaging/debian/changelog" -S Timestamp)}
echo "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH, commit $(git -C "$sources" rev-parse HEAD)"

# construire CLONE-DIR OUTDIR TZ: clones HEAD into CLONE-DIR and packages it into OUTDIR.
construire() {
    rm -rf "$1" "$2"
    git clone --quiet --no-local "$sources" "$1"
    TZ=$3 DEB_BUILD_OPTIONS="nocheck parallel=1" DEB_BUILD_PROFILES=nocheck \
        "$1/scripts/empaqueter.sh" "$2" >"$2.log" 2>&1 ||
        { tail -n 30 "$2.log"; echo "the build in $1 failed ($2.log)"; return 1; }
}
construire "$travail/a/pavoria" "$travail/paquets-a" UTC &
premier=$!
construire "$travail/deuxieme/autre/chemin/de/construction" "$travail/paquets-b" Pacific/Auckland
wait "$premier"

# membres DEB: each file of the package's data and control with its mode, owner and checksum.
membres() {
    local dossier
    dossier=$(mktemp -d)
    dpkg-deb --raw-extract "$1" "$dossier"
    (cd "$dossier" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
    dpkg-deb --fsys-tarfile "$1" | tar -tv --full-time
    rm -rf "$dossier"
}
differents=0
for paquet in "$travail"/paquets-a/*.deb; do
    autre=$travail/paquets-b/${paquet##*/}
    if cmp -s "$paquet" "$autre"; then
        echo "identical: ${paquet##*/} ($(sha256sum <"$paquet" | cut -c1-16))"
        continue
    fi
    differents=1
    echo "DIFFERENT: ${paquet##*/}; its differing members:"
    diff <(membres "$paquet") <(membres "$autre") || true
    if command -v diffoscope >/dev/null; then diffoscope "$paquet" "$autre" || true; fi
done
diff <(cd "$travail/paquets-a" && ls ./*.deb) <(cd "$travail/paquets-b" && ls ./*.deb) ||
    { echo "the two builds made different sets of packages"; exit 1; }
[ "$differents" -eq 0 ] || exit 1
echo "reproducible: the two builds gave the same packages"
