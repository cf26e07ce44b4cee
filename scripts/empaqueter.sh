#!/usr/bin/env bash
# Makes Pavoria's Debian source package and builds it with dpkg-buildpackage, writing into OUTDIR
# the .dsc, the orig tarball, the debian tarball, the .deb and its -dbgsym, the .buildinfo and
# the .changes. The orig tarball is the sources as git holds them, without packaging/debian/,
# which becomes the debian tarball: an upstream release carries no debian/ folder that a
# distribution would have to remove. Tracked files changed but not committed are packaged as
# they are. DEB_BUILD_OPTIONS (nocheck, parallel=N) and DEB_BUILD_PROFILES pass through to
# dpkg-buildpackage, as do the options given after OUTDIR (--build=source for the source package
# alone); the Build-Depends must be installed.
# Usage: scripts/empaqueter.sh OUTDIR [DPKG-BUILDPACKAGE-OPTION...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 OUTDIR [DPKG-BUILDPACKAGE-OPTION...]" >&2; exit 2; }
sortie=$(realpath -m "$1")
shift
sources=$(cd "$(dirname "$0")/.." && pwd)
cd "$sources"

version_debian=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
version=${version_debian%-*}
nom=pavoria-$version

# arbre_a_empaqueter: HEAD, or where tracked files differ from it, a tree of them as they are.
arbre_a_empaqueter() {
    if [ -z "$(git status --porcelain --untracked-files=no)" ]; then
        echo HEAD
        return
    fi
    echo "Uncommitted changes are packaged as they are" >&2
    local index
    index=$(mktemp)
    cp "$(git rev-parse --git-path index)" "$index"
    GIT_INDEX_FILE=$index git add --update
    GIT_INDEX_FILE=$index git write-tree
    rm -f "$index"
}

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
arbre=$(arbre_a_empaqueter)
git archive --format=tar --prefix="$nom/" "$arbre" -- . ':(exclude)packaging/debian' |
    xz -6 --threads=1 >"$travail/pavoria_$version.orig.tar.xz"
tar -xf "$travail/pavoria_$version.orig.tar.xz" -C "$travail"
git archive --format=tar "$arbre" packaging/debian |
    tar -x -C "$travail/$nom" --strip-components=1

# Binary packages built on a stable release are a backport of the source package, which is made
# for unstable.
retroportage=()
case " $* " in
    *" --build=source "* | *" -S "*) ;;
    *)
        option=$(scripts/retroporter.sh "$travail/$nom")
        [ -z "$option" ] || retroportage=("$option")
        ;;
esac
(cd "$travail/$nom" && dpkg-buildpackage --no-sign "${retroportage[@]}" "$@")

mkdir -p "$sortie"
shopt -s nullglob
paquets=("$travail"/pavoria_"$version"*.{dsc,tar.xz,buildinfo,changes} "$travail"/*.deb)
mv "${paquets[@]}" "$sortie"/
echo "Written into $sortie:"
(cd "$sortie" && ls "${paquets[@]##*/}")
