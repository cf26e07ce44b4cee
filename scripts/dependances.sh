#!/usr/bin/env bash
# Installs the Debian packages that building and testing Pavoria need, when they are missing.
# The flag pictures come from npm; the build fetches them into its own tree. The last two packages
# build the benchmarks (bench/); running them needs more, which bench/demarrage.sh installs itself.
set -euo pipefail

paquets=(
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6svg6
    libgl-dev libx11-dev libfontconfig-dev
    fonts-liberation2
    libbenchmark-dev libxcb-damage0-dev
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
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}"
fi
