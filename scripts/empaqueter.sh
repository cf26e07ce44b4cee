#!/usr/bin/env bash
# Makes Pavoria's Debian source package and builds it with dpkg-buildpackage, writing into OUTDIR
# the .dsc, the orig tarball, the debian tarball, the .deb and its -dbgsym, the .buildinfo and
# the .changes. The orig tarball is the sources as git holds them, without packaging/debian/,
# which becomes the debian tarball: an upstream release carries no debian/ folder that a
# distribution would have to remove. The version is scripts/version.sh's: a snapshot's gets an
# entry in the debian tarball's changelog. Tracked files changed but not committed are packaged
# as they are, as the snapshot of HEAD marked .dirty. The tarballs' members are root's, with
# modes 0644 and 0755 and the commit's time, whoever makes them. DEB_BUILD_OPTIONS (nocheck,
# parallel=N) and DEB_BUILD_PROFILES pass through to dpkg-buildpackage, as do the options given
# after OUTDIR (--build=source for the source package alone); the Build-Depends must be
# installed.
# Usage: scripts/empaqueter.sh OUTDIR [DPKG-BUILDPACKAGE-OPTION...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 OUTDIR [DPKG-BUILDPACKAGE-OPTION...]" >&2; exit 2; }
sortie=$(realpath -m "$1")
shift
sources=$(cd "$(dirname "$0")/.." && pwd)
cd "$sources"

version_publiee=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
amont=${version_publiee%-*}
version=$(scripts/version.sh)
umask 022

# The commit to package: HEAD, or where tracked files differ from it, a commit of them as they
# are, which no branch holds, with HEAD's time and a fixed author, so that packaging the same
# changes twice gives the same tarballs.
commit=$(git rev-parse HEAD)
instant=$(git log -1 --format=%ct "$commit")
sale=
if [ "${version%.dirty}" != "$version" ]; then
    echo "Uncommitted changes are packaged as they are, as a .dirty snapshot" >&2
    sale=.dirty
    index=$(mktemp)
    cp "$(git rev-parse --git-path index)" "$index"
    arbre=$(GIT_INDEX_FILE=$index git add --update && GIT_INDEX_FILE=$index git write-tree)
    rm -f "$index"
    commit=$(env GIT_AUTHOR_NAME=empaqueter GIT_AUTHOR_EMAIL=empaqueter@invalid \
        GIT_COMMITTER_NAME=empaqueter GIT_COMMITTER_EMAIL=empaqueter@invalid \
        GIT_AUTHOR_DATE="@$instant +0000" GIT_COMMITTER_DATE="@$instant +0000" \
        git commit-tree -p "$commit" -m "Uncommitted changes" "$arbre")
fi
version_debian=$version-${version_publiee##*-}
nom=pavoria-$version
echo "Version $version_debian"

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
# git archive gives a commit's members its time, owner 0:0 and, by tar.umask, their modes.
archiver() { git -c tar.umask=0022 archive --format=tar "$@"; }
archiver --prefix="$nom/" "$commit" -- . ':(exclude)packaging/debian' |
    xz -6 --threads=1 >"$travail/pavoria_$version.orig.tar.xz"
tar -xf "$travail/pavoria_$version.orig.tar.xz" -C "$travail"
archiver "$commit" packaging/debian | tar -x -C "$travail/$nom" --strip-components=1
if [ "$version" != "$amont" ]; then
    # Dated at the commit's time, which then dates every file of the build.
    changelog=$travail/$nom/debian/changelog
    entree="Snapshot of commit $(git rev-parse HEAD)"
    [ -z "$sale" ] || entree+=$',\n    with uncommitted changes'
    printf 'pavoria (%s) UNRELEASED; urgency=medium\n\n  * %s.\n\n -- %s  %s\n\n' \
        "$version_debian" "$entree" "$(dpkg-parsechangelog -l "$changelog" -S Maintainer)" \
        "$(date -u -R -d "@$instant")" | cat - "$changelog" >"$travail/changelog"
    mv "$travail/changelog" "$changelog"
fi

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
