#!/usr/bin/env bash
# scripts/tester-windows.sh: the suite as Windows runs it. The zip and the installer made
# (scripts/windows.sh, into build/windows-paquets), the tests cross-built (the windows-tests
# preset, build/windows-tests) and run by ctest as Windows programs under Wine, in a fresh Wine
# prefix of their own, on a virtual X server: the C++ suites on the offscreen platform with the
# fonts they draw with, then a whole game through the real windows of the installed game and
# of the zip's (tests/windows/partie_wine.sh). Ends with ctest's summary line. The tests that
# need the free desktop or Debian's tools are not built for Windows (README).
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
cd "$racine"

scripts/windows.sh build/windows-paquets
scripts/dependances.sh wine wine64 xvfb openbox xdotool x11-apps netpbm sqlite3 unzip
qt=$(ls -d "${XDG_CACHE_HOME:-$HOME/.cache}"/pavoria/windows/qt-*/ | head -n1)
PAVORIA_QT_WINDOWS=${qt%/} cmake --preset windows-tests >/dev/null
cmake --build --preset windows-tests --parallel "$(nproc)"

travail=$(mktemp -d)
export WINEPREFIX=$travail/wine WINEDEBUG=-all
# Neither Mono nor Gecko is installed, nor asked for: no Windows program here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
arreter() {
    wineserver -k 2>/dev/null || true
    kill $(jobs -p) 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$travail"
}
trap arreter EXIT
wineboot --init >/dev/null 2>&1
wineserver -w

# The test programs find Qt's and MinGW's libraries where they were built; the game's zip and
# installer carry their own.
cible=x86_64-w64-mingw32
chemins=("$qt/bin" "$(dirname "$($cible-g++-posix -print-libgcc-file-name)")" "/usr/$cible/lib")
WINEPATH=$(for chemin in "${chemins[@]}"; do winepath -w "$chemin"; done | paste -sd';')
export WINEPATH
# Qt's offscreen platform draws with the fonts of one folder: Liberation's, as on Debian.
police=$(fc-match -f '%{file}' 'Liberation Sans')
QT_QPA_FONTDIR=$(winepath -w "$(dirname "$police")")
export QT_QPA_FONTDIR
export PAVORIA_PAQUETS_WINDOWS=$racine/build/windows-paquets

# One test at a time: every test program shares the prefix's one Windows account.
ctest --preset windows-tests --parallel 1
