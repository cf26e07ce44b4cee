# Sourced by the install and package tests: an installed game checked and started as a player
# would start it. Each function reports what is wrong and returns non-zero.

readonly identifiant=net.example.tesk.Pavoria
readonly tailles_icone=(16 32 48 64 128 256)

# The installed files, relative to the prefix; "l" marks the link.
arborescence_attendue() {
    local taille
    for taille in "${tailles_icone[@]}"; do
        echo "f share/icons/hicolor/${taille}x${taille}/apps/$identifiant.png"
    done
    printf '%s\n' \
        "f share/applications/$identifiant.desktop" \
        "f share/metainfo/$identifiant.metainfo.xml" \
        "f share/icons/hicolor/scalable/apps/$identifiant.svg" \
        "f lib/pavoria/Adhesion.txt" \
        "f lib/pavoria/Le_Tesk_.hlp" \
        "f lib/pavoria/Le_Tesk_.htm" \
        "f lib/pavoria/Le_tesk_.txt" \
        "f lib/pavoria/Pavoria" \
        "f lib/pavoria/Pavoria.dat" \
        "f lib/pavoria/Pavoria.hlp" \
        "l bin/pavoria"
}

# verifier_arborescence PREFIX: exactly the expected files, the program executable, the link
# in bin/ relative so that the tree can move.
verifier_arborescence() {
    local prefixe=$1
    if ! diff -u <(arborescence_attendue | LC_ALL=C sort) \
            <(cd "$prefixe" && find . ! -type d -printf '%y %P\n' | LC_ALL=C sort) \
            --label expected --label installed; then
        echo "installed tree differs from the expected one (- expected, + installed)"
        return 1
    fi
    [ "$(readlink "$prefixe/bin/pavoria")" = "../lib/pavoria/Pavoria" ] ||
        { echo "bin/pavoria links to $(readlink "$prefixe/bin/pavoria")"; return 1; }
    [ -x "$prefixe/lib/pavoria/Pavoria" ] || { echo "the program is not executable"; return 1; }
    local taille png
    for taille in "${tailles_icone[@]}"; do
        png=$prefixe/share/icons/hicolor/${taille}x${taille}/apps/$identifiant.png
        # A PNG's header gives its width and height, big-endian, from byte 16 on.
        [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$taille $taille" ] ||
            { echo "$png is not $taille x $taille pixels"; return 1; }
    done
    # The metainfo with the desktop entry it launches, as a software centre reads them.
    appstreamcli validate-tree --no-net "$prefixe" ||
        { echo "appstreamcli finds the installed desktop files incomplete"; return 1; }
}

# demarrer_et_arreter PROGRAM HOME [COMMAND...]: starts PROGRAM from / with HOME as its home,
# data and runtime folders, through COMMAND if given (setpriv ...); it must still run after
# 2 s, its window up and its files found, and is then ended with SIGTERM.
demarrer_et_arreter() {
    local programme=$1 maison=$2
    shift 2
    local journal=$maison/journal.txt
    (cd / && exec env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen HOME="$maison" \
        XDG_DATA_HOME="$maison/donnees" XDG_RUNTIME_DIR="$maison/execution" \
        "$@" "$programme") >"$journal" 2>&1 &
    local pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && statut=0 || statut=$?
        echo "$programme ended within 2 s (status $statut):"
        cat "$journal"
        return 1
    fi
    kill -TERM "$pid"
    wait "$pid" || true
}

# preparer_maison DIR OWNER: a home for a player who owns it, runtime folder private.
preparer_maison() {
    mkdir -p "$1/donnees" "$1/execution"
    chown -R "$2" "$1"
    chmod 700 "$1/execution"
}

# jouer_installation PREFIX WORK: starts the installed game twice. First as the one running
# the tests: on a tree they can write, the game plays on the shipped file and makes no copy.
# Then as an ordinary player on a tree they cannot write (nobody, when the tests run as
# root; otherwise the same user with the write bits taken away): the first start copies the
# shipped file into the player's data folder, untouched.
jouer_installation() {
    local prefixe=$1 travail=$2
    local livre=$prefixe/lib/pavoria/Pavoria.dat
    local empreinte
    empreinte=$(sha256sum <"$livre")

    preparer_maison "$travail/proprietaire" "$(id -u):$(id -g)"
    demarrer_et_arreter "$prefixe/bin/pavoria" "$travail/proprietaire" || return 1
    if [ -n "$(ls -A "$travail/proprietaire/donnees")" ]; then
        echo "a copy was made although the shipped file is writable"
        return 1
    fi

    local commande=()
    if [ "$(id -u)" -eq 0 ]; then
        if ! command -v setpriv >/dev/null ||
                ! setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
            echo "SKIP: cannot start a program as nobody here"
            return 0
        fi
        commande=(setpriv --reuid=65534 --regid=65534 --clear-groups)
        preparer_maison "$travail/joueur" 65534:65534
        # nobody must reach the installed tree.
        chmod 755 "$travail"
    else
        chmod a-w "$livre" "$(dirname "$livre")"
        preparer_maison "$travail/joueur" "$(id -u):$(id -g)"
    fi
    demarrer_et_arreter "$prefixe/bin/pavoria" "$travail/joueur" "${commande[@]}" || return 1
    local copie=$travail/joueur/donnees/pavoria/Pavoria.dat
    [ -f "$copie" ] || { echo "no copy of the game file in the player's data folder"; return 1; }
    cmp -s "$livre" "$copie" ||
        { echo "the player's copy differs from the shipped file"; return 1; }
    [ "$(sha256sum <"$livre")" = "$empreinte" ] ||
        { echo "the shipped file was written"; return 1; }
    [ "$(id -u)" -eq 0 ] || chmod u+w "$livre" "$(dirname "$livre")"
}
