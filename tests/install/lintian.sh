#!/usr/bin/env bash
# Runs lintian on the package's .changes (the source package and the binary ones), pedantic and
# with its informational tags: any tag it reports fails, as Debian's archive would refuse or flag
# it; the overrides in packaging/debian/ say why each tag they hide is right, and an override
# that no longer applies is a tag too. Skipped where lintian is not installed; a lintian that is
# installed but cannot check the package fails.
# Usage: lintian.sh PACKAGE-DIR   (as written by scripts/empaqueter.sh)
set -euo pipefail
paquets=$1
if ! command -v lintian >/dev/null; then
    echo "SKIP: lintian is not installed (apt-get install lintian)"
    exit 77
fi
changes=$(echo "$paquets"/pavoria_*.changes)
[ -f "$changes" ] || { echo "no single .changes in $paquets: $changes"; exit 1; }

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
options=(--pedantic --display-info --tag-display-limit 0 --fail-on "error,warning,info,pedantic")
echo "lintian ${options[*]} ${changes##*/}"
# lintian exits 2 when it reports a tag of the levels above, and 1 when it cannot check.
statut=0
lintian "${options[@]}" "$changes" >"$travail/tags.txt" 2>"$travail/erreurs.txt" || statut=$?
case "$statut" in
    0) ;;
    2)
        cat "$travail/tags.txt"
        echo "lintian reports the tags above"
        exit 1
        ;;
    *)
        cat "$travail/erreurs.txt"
        echo "lintian could not check the package (status $statut)"
        exit 1
        ;;
esac
# Tags below the failing levels, were there any, are still faults here.
if grep . "$travail/tags.txt"; then
    echo "lintian reports the tags above"
    exit 1
fi
echo "lintian: no tag"
