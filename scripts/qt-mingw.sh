#!/usr/bin/env bash
# scripts/qt-mingw.sh CACHE: builds, once, the Qt and the SQLite that Pavoria's Windows build links,
# for 64-bit Windows with MinGW-w64, from Debian's own source packages of the versions this
# machine runs (qt6-base-dev, whose moc, rcc and uic the cross build uses, and libsqlite3-0), and
# prints the prefix they are installed in, CACHE/qt-VERSION-KEY. KEY fingerprints every input:
# both source versions, the compiler's, this script and the toolchain file; a prefix whose key
# matches is reused, a build cut short is begun again.
# Needs what scripts/windows.sh installs: dpkg-dev, g++-mingw-w64-x86-64-posix, cmake, ninja-build,
# tcl, qt6-base-dev-tools. Alone on 2 cores, a build from nothing takes about 40 min (README).
set -euo pipefail

racine=$(cd "$(dirname "$0")/.." && pwd)
cache=${1:?usage: $0 CACHE}
chaine="$racine/packaging/windows/mingw-w64-x86_64.cmake"
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

version_source() {
    dpkg-query -W -f='${source:Package}=${source:Version}' "$1"
}
qt=$(version_source qt6-base-dev)
sqlite=$(version_source libsqlite3-0)
compilateur=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
cle=$(printf '%s\n' "$qt" "$sqlite" "$compilateur" | cat - "$0" "$chaine" | sha256sum | cut -c1-12)
version_qt=${qt#*=}
prefixe="$cache/qt-${version_qt%%+*}-$cle"
if [ -f "$prefixe/.complet" ]; then
    echo "$prefixe"
    exit 0
fi

travail="$cache/travail-$cle"
# What a build of other inputs left behind, cut short or superseded, goes first.
rm -rf "$cache"/travail-* "$cache"/qt-*
mkdir -p "$travail"
cd "$travail"

# The source packages through a private apt configuration: deb-src entries made from the
# system's own, changing nothing of the system's.
apt_prive() {
    local dossier="$travail/apt"
    mkdir -p "$dossier/parts" "$dossier/lists/partial" "$dossier/cache/archives/partial"
    : >"$dossier/sources.list"
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$dossier/sources.list"
    fi
    local fichier
    for fichier in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
        [ -f "$fichier" ] || continue
        case "$fichier" in
            *.sources) sed 's/^Types:.*/Types: deb-src/' "$fichier" ;;
            *.list) sed -n 's/^deb /deb-src /p' "$fichier" ;;
        esac >"$dossier/parts/$(basename "$fichier")"
    done
    apt_options=(-o "Dir::Etc::SourceList=$dossier/sources.list"
                 -o "Dir::Etc::SourceParts=$dossier/parts"
                 -o "Dir::State::Lists=$dossier/lists" -o "Dir::Cache=$dossier/cache")
    apt-get "${apt_options[@]}" update -qq
}
apt_prive
apt-get "${apt_options[@]}" source -qq "$qt" "$sqlite" 2>&1 | grep -v '^dpkg-source: info' || true
sources_qt=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
sources_sqlite=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
[ -n "$sources_qt" ] && [ -n "$sources_sqlite" ] ||
    { echo "apt-get source n'a pas rendu $qt et $sqlite" >&2; exit 1; }

# SQLite: its amalgamation made here (tclsh), then compiled for Windows into a static library,
# which Qt's SQL driver takes in as Qt's own copy would be; thread-safe, with the column metadata
# the driver asks for.
mkdir -p sqlite-natif "$prefixe/sqlite/include" "$prefixe/sqlite/lib"
(cd sqlite-natif && "$travail/$sources_sqlite/configure" --disable-tcl >/dev/null &&
    make -s sqlite3.c sqlite3.h)
x86_64-w64-mingw32-gcc-posix -O2 -c sqlite-natif/sqlite3.c -o sqlite3.o \
    -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_OMIT_LOAD_EXTENSION
x86_64-w64-mingw32-ar rcs "$prefixe/sqlite/lib/libsqlite3.a" sqlite3.o
cp sqlite-natif/sqlite3.h sqlite-natif/sqlite3ext.h "$prefixe/sqlite/include/" 2>/dev/null ||
    cp sqlite-natif/sqlite3.h "$prefixe/sqlite/include/"

# Qt: what the game and its tests use (Core, Gui, Widgets, Sql with SQLite, Test; the Windows and
# offscreen platforms, the styles), Qt's bundled third-party libraries, which MinGW has none of;
# D-Bus, network and printing off. wintab.h is not in MinGW (Debian's tarball leaves wintab out),
# so no tablet events; OpenGL stays, as the Windows platform plugin needs it to compile.
cmake -G Ninja -S "$sources_qt" -B qt-construction -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$chaine" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefixe" \
    -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=ON -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_md4c=OFF \
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF \
    -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
    -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
    -DSQLite3_INCLUDE_DIR="$prefixe/sqlite/include" \
    -DSQLite3_LIBRARY="$prefixe/sqlite/lib/libsqlite3.a" \
    >configuration.log
cmake --build qt-construction --parallel "$(nproc)"
cmake --install qt-construction >/dev/null

printf '%s\n' "$qt" "$sqlite" "g++-mingw-w64-x86-64-posix=$compilateur" >"$prefixe/.complet"
cd "$cache"
rm -rf "$travail"
echo "$prefixe"
