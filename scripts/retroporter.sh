#!/usr/bin/env bash
# Makes an unpacked source package of Pavoria a backport when this system is a Debian stable
# release whose tools predate the packaging, which follows unstable's: a Standards-Version that
# Debian 12's and 13's lintian do not know yet, debhelper's compatibility level 14, which their
# debhelper does not offer, and no Priority or Rules-Requires-Root fields, which dpkg 1.22.13
# made defaults but which their dpkg or lintian still want. As Debian backports a package, it
# adds a changelog entry VERSION~bpoNN+1 for RELEASE-backports, which sorts before the package
# it rebuilds and tells lintian that the newer Standards-Version is meant, and gives these
# releases the level and the fields they want. Elsewhere it does nothing. It prints the option
# that dpkg-buildpackage needs for the .changes to carry the rebuilt entry with the backport's
# own, as Debian's backports do.
# Usage: scripts/retroporter.sh SOURCE-TREE
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 SOURCE-TREE" >&2; exit 2; }
arbre=$1

# shellcheck disable=SC1091
. /etc/os-release
case "${VERSION_CODENAME:-}" in
    bookworm) numero=12 ;;
    trixie) numero=13 ;;
    *) exit 0 ;;
esac

journal=$arbre/debian/changelog
sed -i -e 's/^ debhelper-compat (= 14),$/ debhelper-compat (= 13),/' \
    -e '0,/^Section:.*/s//&\nPriority: optional/' \
    -e '0,/^$/s/^$/Rules-Requires-Root: no\n/' "$arbre/debian/control"

champ() { dpkg-parsechangelog -l "$journal" -S "$1"; }
version=$(champ Version)
# Dated a second after the entry it rebuilds: one date for every build of one commit, as
# reproducible builds need, and later than the entry before it, as lintian wants.
date=$(date -u -R -d "@$(($(champ Timestamp) + 1))")
precedente=$(dpkg-parsechangelog -l "$journal" -S Version -o 1 -c 1)
{
    printf '%s (%s~bpo%s+1) %s-backports; urgency=medium\n\n' \
        "$(champ Source)" "$version" "$numero" "$VERSION_CODENAME"
    printf '  * Rebuild for %s-backports.\n\n' "$VERSION_CODENAME"
    printf ' -- %s  %s\n\n' "$(champ Maintainer)" "$date"
    cat "$journal"
} >"$journal.nouveau"
mv "$journal.nouveau" "$journal"
echo "-v${precedente:-0}"
