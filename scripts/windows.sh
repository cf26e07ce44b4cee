#!/usr/bin/env bash
# scripts/windows.sh [OUTDIR]: Pavoria for 64-bit Windows, cross-built here with MinGW-w64,
# written into OUTDIR (build/windows-paquets by default):
#   Pavoria-VERSION-windows-x64.zip         a portable copy: unzipped anywhere, it plays on the
#                                           Pavoria.dat beside it, as the build tree's does
#   Pavoria-VERSION-windows-x64-setup.exe   the installer (NSIS, in French; /S is silent)
# VERSION is the Debian package's (scripts/version.sh). Installs what is missing (root or sudo),
# builds Qt and SQLite for MinGW once into ${XDG_CACHE_HOME:-~/.cache}/pavoria/windows
# (scripts/qt-mingw.sh), the build-time programs natively (build/jeu), then the game through the
# windows preset (build/windows).
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
sortie=$(realpath -m "${1:-$racine/build/windows-paquets}")
cd "$racine"

cible=x86_64-w64-mingw32
scripts/dependances.sh g++-mingw-w64-x86-64-posix nsis dpkg-dev git ninja-build tcl zip
cache=${XDG_CACHE_HOME:-$HOME/.cache}/pavoria/windows
# The build's progress goes to the terminal, the prefix it ends on to the variable.
qt=$(scripts/qt-mingw.sh "$cache" | tee /dev/stderr | tail -n1)
version=$(scripts/version.sh)

cmake --preset jeu >/dev/null
cmake --build --preset outils --parallel "$(nproc)"
PAVORIA_QT_WINDOWS=$qt cmake --preset windows >/dev/null
cmake --build --preset windows --parallel "$(nproc)"

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
installe=$travail/installe
cmake --install build/windows --prefix "$installe" --strip >/dev/null

# The DLLs a program or library names, found among Qt's and MinGW's and copied beside the
# program, then theirs in turn; the others are Windows' own.
dossiers_dll=("$qt/bin" "$(dirname "$($cible-g++-posix -print-libgcc-file-name)")" "/usr/$cible/lib")
deployer() {
    local fichier=$1 nom dossier
    for nom in $($cible-objdump -p "$fichier" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$installe/$nom" ] && continue
        for dossier in "${dossiers_dll[@]}"; do
            if [ -f "$dossier/$nom" ]; then
                cp "$dossier/$nom" "$installe/"
                deployer "$installe/$nom"
                break
            fi
        done
    done
}
# What the game loads by name: the Windows platform and the SQLite driver. Fusion, the style,
# and PNG, the pictures' format, are in Qt's own libraries.
for greffon in platforms/qwindows.dll sqldrivers/qsqlite.dll; do
    mkdir -p "$installe/$(dirname "$greffon")"
    cp "$qt/plugins/$greffon" "$installe/$greffon"
done
for binaire in "$installe"/Pavoria.exe "$installe"/*/*.dll; do
    deployer "$binaire"
done
$cible-strip --strip-unneeded "$installe"/*.dll "$installe"/*/*.dll

# The licences of what is shipped beside the game's own: Debian's copyright file of each source
# package built or copied (Qt and SQLite built from theirs, MinGW's runtime copied), and the
# full texts those name (GPL-3 is GPL-3.0-or-later.txt, the game's own).
copyright() {
    local paquet
    paquet=$(dpkg-query -W -f='${binary:Package} ${source:Package}\n' |
        awk -v source="$1" '$2 == source && !vu { print $1; vu = 1 }')
    cp "/usr/share/doc/${paquet%%:*}/copyright" "$installe/licences/$1.txt"
}
copyright qt6-base
copyright sqlite3
for dll in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll; do
    [ -e "$installe/$dll" ] || continue
    paquet=$(dpkg -S "$(find "${dossiers_dll[@]}" -maxdepth 1 -name "$dll" | head -n1)" | cut -d: -f1)
    cp "/usr/share/doc/$paquet/copyright" "$installe/licences/$paquet.txt"
done
for texte in GPL-2 LGPL-3; do
    cp "/usr/share/common-licenses/$texte" "$installe/licences/$texte.txt"
done

mkdir -p "$sortie"
nom=Pavoria-$version-windows-x64

# The portable copy: the same tree, with the program built to play on the files beside it.
portable=$travail/$nom
cp -r "$installe" "$portable"
cp build/windows/Pavoria.exe "$portable/Pavoria.exe"
$cible-strip --strip-unneeded "$portable/Pavoria.exe"
rm -f "$sortie/$nom.zip"
(cd "$travail" && TZ=UTC zip -q -X -r -9 "$sortie/$nom.zip" "$nom")

# The installer, whose uninstaller removes exactly the files installed, deepest first.
liste=$travail/fichiers.nsh
(cd "$installe" &&
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|' &&
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
) >"$liste"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$installe" -DLISTE="$liste" \
    -DSORTIE="$sortie/$nom-setup.exe" build/windows/Pavoria.nsi

echo "Written into $sortie:"
(cd "$sortie" && ls -l "$nom.zip" "$nom-setup.exe")
