#!/usr/bin/env bash
# Shows that packaging/debian/control names everything the build needs, in a Debian release a
# player runs or the one Debian builds new packages in: makes the source package
# (scripts/empaqueter.sh), bootstraps a minimal system of SUITE (bookworm, trixie, unstable...;
# mmdebstrap's buildd variant: essential packages and build-essential), installs the
# Build-Depends there and nothing else, and builds the package in it as an ordinary user, its
# unit and integration tests included; on a stable release, as the backport that
# scripts/retroporter.sh makes. Then lintian of that release, pedantic and with its
# informational tags, must say nothing of the .changes (the source and binary packages).
# Needs root, mmdebstrap and Debian's mirror; takes several minutes, so it is not run in CI.
# The chroot stays in CHROOT-DIR when one is given, and a system already there is used as it is
# (autopkgtest can then test there: autopkgtest OUTDIR/*.deb OUTDIR/*.dsc -- chroot CHROOT-DIR);
# else it is removed.
# Usage: scripts/construire-chroot.sh SUITE OUTDIR [CHROOT-DIR]
#   MIROIR: the Debian mirror; MIROIR_INSTANTANE=1: the mirror is a snapshot, whose Release
#   files may have expired, so apt does not check their Valid-Until.
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 SUITE OUTDIR [CHROOT-DIR]" >&2
    exit 2
fi
[ "$(id -u)" -eq 0 ] || { echo "mmdebstrap and chroot need root" >&2; exit 1; }
suite=$1
sortie=$(realpath -m "$2")
miroir=${MIROIR:-http://deb.debian.org/debian}
options_apt=()
[ "${MIROIR_INSTANTANE:-0}" = 1 ] && options_apt=(--aptopt='Acquire::Check-Valid-Until "false"')
cd "$(dirname "$0")/.."
debut=$SECONDS

garder=0
if [ $# -eq 3 ]; then
    racine=$(realpath -m "$3")
    garder=1
    mkdir -p "$racine"
else
    racine=$(mktemp -d)
fi
monte=()
nettoyer() {
    local point
    for point in "${monte[@]}"; do umount "$point" || true; done
    [ "$garder" -eq 1 ] || rm -rf "$racine"
}
trap nettoyer EXIT

# The source package is for unstable: this machine need not hold its Build-Depends (-d).
scripts/empaqueter.sh "$sortie/source" --build=source -d

if [ ! -x "$racine/usr/bin/apt-get" ]; then
    # A stable release's fixes come from its updates and security suites.
    case "$suite" in
        unstable | sid | experimental) sources=("deb $miroir $suite main") ;;
        *) sources=("deb $miroir $suite main" "deb $miroir $suite-updates main"
                    "deb ${miroir%/debian}/debian-security $suite-security main") ;;
    esac
    mmdebstrap --variant=buildd "${options_apt[@]}" "$suite" "$racine" "${sources[@]}"
fi
# What a build daemon's chroot has: the processes, terminals and shared memory the tests use.
for point in proc dev/pts dev/shm; do
    mkdir -p "$racine/$point"
    mount --bind "/$point" "$racine/$point"
    monte=("$racine/$point" "${monte[@]}")
done

# dans_chroot COMMAND...: runs COMMAND in the chroot, non-interactively, from /construction.
dans_chroot() {
    chroot "$racine" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        LANG=C.UTF-8 bash -c 'cd /construction && "$@"' _ "$@"
}
# comme_constructeur SCRIPT [ARG...]: runs the bash SCRIPT in the chroot as the building user.
comme_constructeur() {
    dans_chroot runuser -u constructeur -- bash -euo pipefail -c "$@"
}
rm -rf "$racine/construction"
mkdir -p "$racine/construction"
cp "$sortie"/source/pavoria_*.{dsc,tar.xz} "$racine/construction/"
dsc=$(cd "$sortie/source" && echo pavoria_*.dsc)
dans_chroot bash -c 'id constructeur >/dev/null 2>&1 || useradd --create-home constructeur'
dans_chroot chown -R constructeur: /construction
# The Build-Depends are those of the package as this release builds it, a backport or not,
# whose source package the build makes anew.
comme_constructeur 'dpkg-source -x "$1" pavoria && rm "$1" "${1%.dsc}".debian.tar.* &&
    bash pavoria/scripts/retroporter.sh pavoria >retroportage' _ "$dsc"
dans_chroot apt-get update -qq
dans_chroot apt-get install -y -qq --no-install-recommends build-essential
dans_chroot apt-get build-dep -y -qq --no-install-recommends ./pavoria
debut_construction=$SECONDS
comme_constructeur 'cd pavoria && DEB_BUILD_OPTIONS="parallel=$(nproc)" \
    dpkg-buildpackage --no-sign --build=full $(cat ../retroportage)'
duree_construction=$((SECONDS - debut_construction))

rm -rf "$sortie/paquets"
mkdir -p "$sortie/paquets"
cp "$racine"/construction/*.{dsc,tar.xz,deb,buildinfo,changes} "$sortie/paquets/"
# Installed after the build, so that the build saw the Build-Depends alone.
dans_chroot apt-get install -y -qq --no-install-recommends lintian >/dev/null
# lintian exits 2 when it reports a tag, and 1 when it cannot check.
statut=0
comme_constructeur 'lintian --version; lintian --pedantic --display-info --tag-display-limit 0 \
    pavoria_*.changes' >"$sortie/lintian.txt" || statut=$?
[ "$statut" -le 2 ] && [ "$statut" -ne 1 ] || { echo "lintian could not check" >&2; exit 1; }
echo "Built in a minimal Debian $suite in $duree_construction s ($((SECONDS - debut)) s in all):" \
    "$(cd "$sortie/paquets" && echo ./*.deb)"
cat "$sortie/lintian.txt"
if [ "$(wc -l <"$sortie/lintian.txt")" -gt 1 ]; then
    echo "lintian reports the tags above" >&2
    exit 1
fi
