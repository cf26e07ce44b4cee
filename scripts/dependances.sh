#!/usr/bin/env bash
# Installs the Debian packages that building Pavoria needs, when they are missing; with --tests,
# also those of its tests and benchmarks; and those named as arguments.
# Building downloads nothing: the flags' SVG sources are in the repository (data/drapeaux/) and
# librsvg's rsvg-convert renders them; only scripts/rafraichir-drapeaux.sh, which refreshes them,
# needs npm. bench/demarrage.sh installs what running the start-up benchmark needs.
set -euo pipefail

tests=0
if [ "${1:-}" = --tests ]; then
    tests=1
    shift
fi

paquets=(
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6svg6
    libgl-dev libx11-dev libfontconfig-dev
    fonts-liberation2 librsvg2-bin
)
if [ "$tests" -eq 1 ]; then
    paquets+=(
        # the desktop entry's and the metainfo's validators, the tools that make the package
        desktop-file-utils appstream dpkg-dev debhelper file
        # the check of the sources' licensing, Debian's own checker of the package, and the
        # reader of the installed game's files
        reuse lintian sqlite3
        # the benchmarks
        libbenchmark-dev libxcb-damage0-dev
        # the game played under a headless Wayland compositor, through its accessibility tree
        weston qt6-wayland dbus at-spi2-core python3-pyatspi netpbm
    )
fi
paquets+=("$@")
# Tools count as present when their command is, whoever installed them.
outils=(g++:g++ cmake:cmake make:make pkgconf:pkg-config)

manquants=()
for paquet in "${paquets[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed"; then
        manquants+=("$paquet")
    fi
done
for outil in "${outils[@]}"; do
    command -v "${outil#*:}" >/dev/null 2>&1 || manquants+=("${outil%%:*}")
done

if [ ${#manquants[@]} -gt 0 ]; then
    echo "Installation de : ${manquants[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${manquants[@]}"
fi
