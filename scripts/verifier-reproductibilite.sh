#!/usr/bin/env bash
# Checks that the package builds reproducibly, in two ways, each of which must give byte-identical
# .deb files:
# - HEAD cloned twice, into folders of other names and depths, each clone packaged by
#   scripts/empaqueter.sh at the same time in another time zone, without their tests;
# - the source package of the first clone built in two minimal Debian systems copied from one:
#   normally, its tests run, where the Build-Depends are installed, and with the nocheck profile
#   where only that profile's Build-Depends are, which every package of the second holds at the
#   same version as the first.
# Every build takes the same SOURCE_DATE_EPOCH: the one given, or that of the newest entry of the
# package's changelog, as dpkg-buildpackage does.
# Where they differ, the differing members are listed (and shown by diffoscope where it is
# installed). Needs root (chroot) and Debian's mirror; takes a quarter of an hour or more.
# Usage: scripts/verifier-reproductibilite.sh [WORK-DIR [SYSTEM]]
#   WORK-DIR: default a temporary folder. SYSTEM: a folder holding a minimal Debian system, which
#   is copied and never changed, or a suite that mmdebstrap's buildd variant makes one of
#   (default stable).
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "the builds in minimal systems need root (chroot)" >&2; exit 1; }
sources=$(cd "$(dirname "$0")/.." && pwd)
travail=${1:-$(mktemp -d)}
systeme=${2:-stable}
mkdir -p "$travail"
travail=$(realpath "$travail")
echo "SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-"that of the changelog"}," \
    "commit $(git -C "$sources" rev-parse HEAD)"
debut=$SECONDS

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
echo "two clones built in $((SECONDS - debut)) s"

# membres DEB: each file of the package's data and control with its mode, owner and checksum.
membres() {
    local dossier
    dossier=$(mktemp -d)
    dpkg-deb --raw-extract "$1" "$dossier"
    (cd "$dossier" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
    dpkg-deb --fsys-tarfile "$1" | tar -tv --full-time
    rm -rf "$dossier"
}
# comparer DIR-A DIR-B: the .deb files of DIR-A and DIR-B are the same set, byte for byte.
comparer() {
    local paquet autre differents=0
    for paquet in "$1"/*.deb; do
        autre=$2/${paquet##*/}
        if cmp -s "$paquet" "$autre"; then
            echo "identical: ${paquet##*/} ($(sha256sum <"$paquet" | cut -c1-16))"
            continue
        fi
        differents=1
        [ -f "$autre" ] || continue
        echo "DIFFERENT: ${paquet##*/}; its differing members:"
        diff <(membres "$paquet") <(membres "$autre") || true
        if command -v diffoscope >/dev/null; then diffoscope "$paquet" "$autre" || true; fi
    done
    diff <(cd "$1" && ls ./*.deb) <(cd "$2" && ls ./*.deb) ||
        { echo "the two builds made different sets of packages"; differents=1; }
    return "$differents"
}
statut=0
comparer "$travail/paquets-a" "$travail/paquets-b" || statut=1

# The minimal systems: one made or copied once, then copied for each build.
base=$travail/systeme
rm -rf "$base"
if [ -d "$systeme" ]; then
    cp -a "$systeme" "$base"
else
    mmdebstrap --variant=buildd "$systeme" "$base" >"$base.log" 2>&1 ||
        { tail -n 30 "$base.log"; exit 1; }
fi
monte=()
demonter() {
    local point
    for point in "${monte[@]}"; do umount "$point" || true; done
}
trap demonter EXIT

# construire_chroot NAME PROFILE: builds the source package in a copy NAME of the base system
# holding the Build-Depends of PROFILE (none: all of them), as an ordinary user in /construction
# and with PROFILE as DEB_BUILD_PROFILES and DEB_BUILD_OPTIONS; writes NAME.paquets/ and the
# versions of its packages, NAME.versions.
construire_chroot() {
    local racine=$travail/$1 point debut_chroot=$SECONDS
    rm -rf "$racine" "$racine.paquets"
    cp -a "$base" "$racine"
    # What a build daemon's chroot has: the processes, terminals and shared memory the tests use.
    for point in proc dev/pts dev/shm; do
        mkdir -p "$racine/$point"
        mount --bind "/$point" "$racine/$point"
        monte=("$racine/$point" "${monte[@]}")
    done
    mkdir -p "$racine/construction"
    cp "$travail"/source/pavoria_*.{dsc,tar.xz} "$racine/construction/"
    # shellcheck disable=SC2016 # the script is the chroot's, and so are its expansions
    chroot "$racine" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        LANG=C.UTF-8 TZ=UTC ${SOURCE_DATE_EPOCH:+SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH} PROFIL="$2" \
        bash -euo pipefail -c '
        cd /construction
        useradd --create-home constructeur
        chown -R constructeur: .
        # The Build-Depends are those of the package as this release builds it, a backport or not.
        runuser -u constructeur -- bash -euo pipefail -c "
            dpkg-source -x pavoria_*.dsc pavoria
            bash pavoria/scripts/retroporter.sh pavoria >retroportage"
        apt-get update -qq
        apt-get build-dep -y -qq --no-install-recommends ${PROFIL:+-P "$PROFIL"} ./pavoria
        dpkg-query -W -f "\${binary:Package} \${Version}\n" | LC_ALL=C sort >versions
        runuser -u constructeur -- bash -euo pipefail -c "
            cd pavoria
            DEB_BUILD_OPTIONS=\"$PROFIL parallel=2\" DEB_BUILD_PROFILES=$PROFIL \
                dpkg-buildpackage --no-sign --build=binary \$(cat ../retroportage)"' \
        >"$racine.log" 2>&1 || { tail -n 30 "$racine.log"; echo "the build in $racine failed"; return 1; }
    mkdir -p "$racine.paquets"
    cp "$racine"/construction/*.deb "$racine.paquets/"
    cp "$racine/construction/versions" "$racine.versions"
    # Lazily: a process that the tests left, were there one, would keep its mount busy.
    for point in proc dev/pts dev/shm; do umount --lazy "$racine/$point"; done
    monte=()
    echo "built in $1 in $((SECONDS - debut_chroot)) s"
}
rm -rf "$travail/source"
"$travail/a/pavoria/scripts/empaqueter.sh" "$travail/source" --build=source -d \
    >"$travail/source.log" 2>&1 || { tail -n 30 "$travail/source.log"; exit 1; }
construire_chroot complet ""
construire_chroot nocheck nocheck
if comm -23 "$travail/nocheck.versions" "$travail/complet.versions" | grep .; then
    echo "the nocheck system holds the packages above at other versions than the other"
    exit 1
fi
comparer "$travail/complet.paquets" "$travail/nocheck.paquets" || statut=1

echo "in $((SECONDS - debut)) s"
[ "$statut" -eq 0 ] || exit 1
echo "reproducible: the two clones gave the same packages, and the nocheck profile the same as" \
    "a normal build"
