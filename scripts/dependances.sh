#!/usr/bin/env bash
# Installs the Debian packages that building and testing Pavoria need, when they are missing.
# The flag pictures come from npm; the build fetches them into its own tree.
set -euo pipefail

paquets=(
    g++ cmake make pkgconf
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6svg6
    libgl-dev libx11-dev libxkbcommon-dev
    fonts-liberation2
)
# A Node.js of another origin (NodeSource's, say) brings its own npm and conflicts with
# Debian's npm package: take Debian's only when there is no npm at all.
command -v npm >/dev/null 2>&1 || paquets+=(nodejs npm)

manquants=()
for paquet in "${paquets[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed"; then
        manquants+=("$paquet")
    fi
done

if [ ${#manquants[@]} -gt 0 ]; then
    echo "Installation de : ${manquants[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}"
fi
