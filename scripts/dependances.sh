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
    libgl-dev libx11-dev libfontconfig-dev librsvg2-bin
)
if [ "$tests" -eq 1 ]; then
    paquets+=(
        # the desktop entry's and the metainfo's validators, the tools that make the package
        # from the sources as git holds them
        desktop-file-utils appstream dpkg-dev debhelper file git
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

# Liberation 2, the metric twin of Arial that the windows' text is drawn with:
# fonts-liberation from Debian 13 on, fonts-liberation2 in Debian 12, whose fonts-liberation is
# 1.07, other glyphs on the same metrics.
liberation2_installee() {
    dpkg-query -W -f='${db:Status-Status}' fonts-liberation2 2>/dev/null | grep -qx installed ||
        dpkg-query -W -f='${db:Status-Status} ${Version}\n' fonts-liberation 2>/dev/null |
        { read -r etat version && [ "$etat" = installed ] &&
            dpkg --compare-versions "$version" ge 1:2; }
}
paquet_liberation2() {
    local candidat
    candidat=$(apt-cache policy fonts-liberation | sed -n 's/^ *Candidate: //p')
    if dpkg --compare-versions "${candidat:-0}" ge 1:2; then
        echo fonts-liberation
    else
        echo fonts-liberation2
    fi
}

manquants=()
for paquet in "${paquets[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed"; then
        manquants+=("$paquet")
    fi
done
for outil in "${outils[@]}"; do
    command -v "${outil#*:}" >/dev/null 2>&1 || manquants+=("${outil%%:*}")
done
police=0
liberation2_installee || police=1

if [ ${#manquants[@]} -gt 0 ] || [ "$police" -eq 1 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Des paquets Debian manquent, et sudo aussi : lancez $0 en root." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    [ "$police" -eq 0 ] || manquants+=("$(paquet_liberation2)")
    echo "Installation de : ${manquants[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${manquants[@]}"
fi
