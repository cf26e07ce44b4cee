#!/usr/bin/env bash
# Prints the version of the sources, which the Debian package (scripts/empaqueter.sh) and the
# Windows builds (scripts/windows.sh) carry. One version names one content: the commit tagged
# v1.6 (v and the upstream version of packaging/debian/changelog) is version 1.6; any other
# commit is the snapshot 1.6+gitDATE.HASH (its commit date in UTC, its short hash), and tracked
# files changed but not committed make it the snapshot of HEAD marked .dirty.
set -euo pipefail
cd "$(dirname "$0")/.."

version_publiee=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
amont=${version_publiee%-*}
sale=
[ -z "$(git status --porcelain --untracked-files=no)" ] || sale=.dirty
if [ -z "$sale" ] &&
    [ "$(git rev-parse -q --verify "refs/tags/v$amont^{commit}")" = "$(git rev-parse HEAD)" ]; then
    echo "$amont"
else
    instant=$(git log -1 --format=%ct HEAD)
    echo "$amont+git$(date -u -d "@$instant" +%Y%m%d).$(git rev-parse --short=7 HEAD)$sale"
fi
