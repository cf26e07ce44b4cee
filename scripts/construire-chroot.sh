#!/usr/bin/env bash
# Shows that packaging/debian/control names everything the build needs: makes the source
# package (scripts/empaqueter.sh), debootstraps a minimal Debian 12 (the buildd variant:
# essential packages and build-essential), installs the Build-Depends there and nothing else,
# and builds the package in it as an ordinary user, its unit and integration tests included.
# Needs root, debootstrap and Debian's mirror; takes several minutes, so it is not run in CI.
# The chroot stays in CHROOT-DIR when one is given (autopkgtest can then test there:
# autopkgtest OUTDIR/*.deb OUTDIR/*.dsc -- chroot CHROOT-DIR); else it is removed.
# Usage: scripts/construire-chroot.sh OUTDIR [CHROOT-DIR]   (MIROIR: the Debian mirror)
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 OUTDIR [CHROOT-DIR]" >&2
    exit 2
fi
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root" >&2; exit 1; }
sortie=$(realpath -m "$1")
miroir=${MIROIR:-http://deb.debian.org/debian}
cd "$(dirname "$0")/.."
debut=$SECONDS

garder=0
if [ $# -eq 2 ]; then
    racine=$(realpath -m "$2")
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

scripts/empaqueter.sh "$sortie/source" --build=source

if [ ! -x "$racine/usr/bin/apt-get" ]; then
    debootstrap --variant=buildd bookworm "$racine" "$miroir"
fi
cat >"$racine/etc/apt/sources.list" <<SOURCES
deb $miroir bookworm main
deb $miroir bookworm-updates main
deb ${miroir%/debian}/debian-security bookworm-security main
SOURCES
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
rm -rf "$racine/construction"
mkdir -p "$racine/construction"
cp "$sortie"/source/pavoria_*.{dsc,tar.xz} "$racine/construction/"
dsc=$(cd "$sortie/source" && echo pavoria_*.dsc)
dans_chroot apt-get update -qq
dans_chroot apt-get install -y -qq --no-install-recommends build-essential
dans_chroot apt-get build-dep -y -qq --no-install-recommends "./$dsc"
dans_chroot bash -c 'id constructeur >/dev/null 2>&1 || useradd --create-home constructeur'
dans_chroot chown -R constructeur: /construction
dans_chroot runuser -u constructeur -- bash -c 'dpkg-source -x "$1" pavoria && cd pavoria &&
    DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage --no-sign --build=binary' _ "$dsc"

mkdir -p "$sortie"
cp "$racine"/construction/*.{deb,buildinfo,changes} "$sortie/"
echo "Built in a minimal Debian 12 in $((SECONDS - debut)) s: $(cd "$sortie" && ls ./*.deb)"
