#!/usr/bin/env bash
# Checks the Debian package that scripts/empaqueter.sh made: its control fields and its
# contents, that this Debian system can satisfy its dependencies; then installs it into a
# throwaway root with dpkg and starts the game installed there, as root and as an ordinary
# player: dpkg then finds every installed file as the package shipped it.
# Usage: paquet.sh PACKAGE-DIR SOURCE-DIR
set -euo pipefail
# The installed tree must be readable by the ordinary player the test starts the game as.
umask 022
paquets=$1 sources=$2
source "$(dirname "$0")/joueur.sh"

travail=$(mktemp -d)
trap 'chmod -R u+w "$travail"; rm -rf "$travail"' EXIT
paquet=$(echo "$paquets"/pavoria_*_"$(dpkg --print-architecture)".deb)
[ -f "$paquet" ] || { echo "no single package in $paquets: $paquet"; exit 1; }
dpkg-deb -I "$paquet"

champ() { dpkg-deb -f "$paquet" "$1"; }
[ "$(champ Package)" = pavoria ]
# The version of the packaging's changelog on the commit tagged v and its upstream version; else
# a snapshot named by HEAD's date and hash. Its revision sorts before any that Debian would give
# the same upstream version. Built on a stable release, the package is its backport
# (scripts/retroporter.sh).
version=$(champ Version)
publiee=$(dpkg-parsechangelog -l "$sources/packaging/debian/changelog" -S Version)
git_() { git -C "$sources" "$@"; }
instant=$(git_ log -1 --format=%ct)
if [ "$(git_ rev-parse -q --verify "refs/tags/v${publiee%-*}^{commit}")" = "$(git_ rev-parse HEAD)" ] &&
    [ -z "$(git_ status --porcelain --untracked-files=no)" ]; then
    [[ $version =~ ^"$publiee"(~bpo[0-9]+\+1)?$ ]]
else
    instantane=${publiee%-*}+git$(date -u -d "@$instant" +%Y%m%d).$(git_ rev-parse --short=7 HEAD)
    [[ $version =~ ^"$instantane"(\.dirty)?-"${publiee##*-}"(~bpo[0-9]+\+1)?$ ]] ||
        { echo "version $version, where a snapshot $instantane was expected"; exit 1; }
fi
# The orig tarball of that version: root's members, with normal modes and the commit's time.
TZ=UTC tar -tv --full-time -f "$paquets/pavoria_${version%-*}.orig.tar.xz" |
    awk -v t="$(date -u -d "@$instant" '+%F %T')" '$2 != "root/root" || $4 " " $5 != t ||
        $1 !~ /^(-rw-r--r--|-rwxr-xr-x|drwxr-xr-x)$/' >"$travail/membres.txt"
if grep . "$travail/membres.txt"; then echo "orig tarball members otherwise made"; exit 1; fi
dpkg --compare-versions "$version" lt "${version%-*}-1" ||
    { echo "version $version would not sort before Debian's ${version%-*}-1"; exit 1; }
[ "$(champ Architecture)" = "$(dpkg --print-architecture)" ]
[ "$(champ Section)" = games ]
# The libraries the program links, and the plugin and font it needs at run time; Qt Core's
# package took the suffix t64 in Debian 13, with the 64-bit time_t.
for dependance in 'libqt6core6(t64)?' libqt6gui6 libqt6widgets6 libqt6sql6 \
        libqt6sql6-sqlite 'fonts-liberation \(>= 1:2\) \| fonts-liberation2'; do
    champ Depends | tr ',' '\n' | grep -qE "^ *$dependance( |$)" ||
        { echo "Depends lacks $dependance: $(champ Depends)"; exit 1; }
done
# The About box opens documents and addresses through the desktop's opener.
[ "$(champ Recommends)" = xdg-utils ]
[ "$(champ Suggests)" = qt6-wayland ]
# Every line of the description fits a terminal.
if champ Description | grep -qE '^.{80,}'; then
    echo "description lines of 80 characters or more"
    exit 1
fi

# Its contents: owned by root whoever built it, the tree that cmake --install gives with Debian's
# copyright file, changelog and lintian overrides.
dpkg-deb -c "$paquet" >"$travail/contenu.txt"
if awk '$2 != "root/root"' "$travail/contenu.txt" | grep .; then
    echo "entries not owned by root"
    exit 1
fi
grep -q '^-rwxr-xr-x .* ./usr/games/pavoria$' "$travail/contenu.txt"
grep -q '^-rw-r--r-- .* ./usr/share/pavoria/Pavoria.dat$' "$travail/contenu.txt"
readonly fichiers_debian=(share/doc/pavoria/changelog.Debian.gz share/lintian/overrides/pavoria)
dpkg-deb -x "$paquet" "$travail/extrait"
verifier_arborescence "$travail/extrait/usr" "${fichiers_debian[@]}"
cmp "$sources/packaging/debian/copyright" "$travail/extrait/usr/share/doc/pavoria/copyright"

# Its dependencies resolve on this system; apt only simulates.
apt-get install --simulate --quiet "$paquet" >"$travail/apt.txt" ||
    { cat "$travail/apt.txt"; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: dpkg installs into a throwaway root only as root"
    exit 0
fi
# The throwaway root's package database knows no other package: dependencies are not its
# business here, they were resolved above.
racine=$travail/racine
mkdir -p "$racine/var/lib/dpkg/info" "$racine/var/lib/dpkg/updates"
touch "$racine/var/lib/dpkg/status"
dpkg --root="$racine" --log=/dev/null --force-depends --install "$paquet" \
    >"$travail/dpkg.txt" 2>&1 ||
    { cat "$travail/dpkg.txt"; exit 1; }
dpkg --root="$racine" --status pavoria | grep -q '^Status: install ok installed$'
verifier_arborescence "$racine/usr" "${fichiers_debian[@]}"
jouer_installation "$racine/usr" "$travail"
verification=$(dpkg --root="$racine" --verify pavoria 2>&1) && [ -z "$verification" ] ||
    { echo "dpkg --verify after the games: $verification"; exit 1; }
echo "package, its install and start-up: ok"
