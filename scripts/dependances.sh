#!/usr/bin/env bash
# Installs the Debian packages that building and testing Pavoria need, when they are missing,
# and those named as arguments.
# The flag pictures come from npm; the build fetches them into its own tree. The benchmarks'
# libraries are here too (bench/ is built with the rest); bench/demarrage.sh installs what
# running them needs.
set -euo pipefail

paquets=(
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6svg6
    libgl-dev libx11-dev libfontconfig-dev
    fonts-liberation2
    # the tests' validators of the desktop entry and the metainfo, and CPack's Debian tools
    desktop-file-utils appstream dpkg-dev file
    # the tests' check of the sources' licensing, of the package by Debian's own checker, and
    # their reader of the installed game's files
    reuse lintian sqlite3
    libbenchmark-dev libxcb-damage0-dev
    "$@"
)
# Tools count as present when their command is, whoever installed them.
outils=(g++:g++ cmake:cmake make:make pkgconf:pkg-config npm:npm)

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
