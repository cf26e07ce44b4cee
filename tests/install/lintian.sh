#!/usr/bin/env bash
# Builds the Debian package with CPack and runs lintian on it, pedantic and with its
# informational tags: any tag it reports fails, as Debian's archive would refuse or flag it;
# the package's overrides (packaging/lintian-overrides) say why each tag they hide is right, and
# an override that no longer applies is a tag too. A build without Debian's flags (the release
# preset has them: PAVORIA_OPTIONS_DEBIAN) lacks their hardening, and only there the two tags
# that say so are let through. A sanitized build is no package to ship: skipped, as where
# lintian is not installed.
# Usage: lintian.sh CPACK BUILD-DIR DEBIAN-FLAGS(ON|OFF) SANITIZERS
set -euo pipefail
cpack=$1 construction=$2 options_debian=$3 sanitizers=$4
if ! command -v lintian >/dev/null; then
    echo "SKIP: lintian is not installed (apt-get install lintian)"
    exit 77
fi
if [ -n "$sanitizers" ]; then
    echo "SKIP: a build with sanitizers ($sanitizers) is not what the package ships"
    exit 77
fi

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
"$cpack" -G DEB --config "$construction/CPackConfig.cmake" -B "$travail/cpack" \
    >"$travail/cpack.txt" ||
    { cat "$travail/cpack.txt"; exit 1; }
options=(--pedantic --display-info --tag-display-limit 0)
case "$options_debian" in
    ON | TRUE | 1) ;;
    *) options+=(--suppress-tags hardening-no-bindnow,hardening-no-fortify-functions) ;;
esac
echo "lintian ${options[*]}"
# lintian warns on standard error when run by root; only tags are on standard output.
lintian "${options[@]}" "$travail"/cpack/pavoria_*.deb >"$travail/lintian.txt" 2>/dev/null || true
if grep . "$travail/lintian.txt"; then
    echo "lintian reports the tags above"
    exit 1
fi
echo "lintian: no tag"
