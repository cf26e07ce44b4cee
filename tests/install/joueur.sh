# Sourced by the install and package tests: an installed game checked and started as a player
# would start it. Each function reports what is wrong and returns non-zero.

readonly identifiant=net.example.tesk.Pavoria
readonly tailles_icone=(16 32 48 64 128 256)

# The files that every install holds, relative to the prefix, as Debian lays out a game: the
# program in games/, its files in share/pavoria/.
arborescence_attendue() {
    local taille document
    for taille in "${tailles_icone[@]}"; do
        echo "share/icons/hicolor/${taille}x${taille}/apps/$identifiant.png"
    done
    for document in Adhesion.txt Le_Tesk_.hlp Le_Tesk_.htm Le_tesk_.txt Pavoria.dat Pavoria.hlp; do
        echo "share/pavoria/$document"
    done
    printf '%s\n' \
        "share/applications/$identifiant.desktop" \
        "share/metainfo/$identifiant.metainfo.xml" \
        "share/icons/hicolor/scalable/apps/$identifiant.svg" \
        "share/man/man6/pavoria.6.gz" \
        "share/man/fr/man6/pavoria.6.gz" \
        "share/doc/pavoria/copyright" \
        "share/doc/pavoria/changelog.gz" \
        "games/pavoria"
}

# verifier_arborescence PREFIX [FILE...]: exactly the expected files and the FILEs given beside
# them, all plain files, the program executable, the compressed ones whole, each manual page in
# its language.
verifier_arborescence() {
    local prefixe=$1
    shift
    if ! diff -u <({ arborescence_attendue; [ $# -eq 0 ] || printf '%s\n' "$@"; } | LC_ALL=C sort) \
            <(cd "$prefixe" && find . ! -type d -printf '%P\n' | LC_ALL=C sort) \
            --label expected --label installed; then
        echo "installed tree differs from the expected one (- expected, + installed)"
        return 1
    fi
    if (cd "$prefixe" && find . ! -type d ! -type f | grep .); then
        echo "entries that are not plain files"
        return 1
    fi
    [ -x "$prefixe/games/pavoria" ] || { echo "the program is not executable"; return 1; }
    local compresse
    for compresse in "$prefixe"/share/man/{,fr/}man6/pavoria.6.gz \
            "$prefixe"/share/doc/pavoria/changelog.gz; do
        gzip -t "$compresse" || { echo "$compresse is not whole"; return 1; }
    done
    zgrep -q '^\.SH NAME$' "$prefixe/share/man/man6/pavoria.6.gz" &&
        zgrep -q '^\.SH NOM$' "$prefixe/share/man/fr/man6/pavoria.6.gz" ||
        { echo "a manual page is not in its language"; return 1; }
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
# 2 s, and is then ended with SIGTERM. Still running proves no file found: a game that cannot
# read its files waits on its message; the callers read the copy it made.
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

# version FILE: the version of a game file's flag table, from its header (byte 60, big-endian).
version() {
    od -An -tu4 --endian=big -j60 -N4 "$1" | xargs
}

# drapeaux FILE: a fingerprint of a game file's flag table.
drapeaux() {
    sqlite3 "$1" 'SELECT NUMERO, PAYS, hex(Pavorium) FROM Pavoria ORDER BY NUMERO' | sha256sum
}

# jouer_installation PREFIX WORK: starts the installed game as the one running the tests, then
# as an ordinary player. Each plays on a copy of the shipped file made at their first start in
# their data folder, even the first on a tree they can write, as root on a system install: the
# shipped file is never written. Then, as on an upgrade to a version with other flags, the
# first player's copy is made older, with scores of their own: at the next start it gets the
# shipped flags and keeps the scores.
jouer_installation() {
    local prefixe=$1 travail=$2
    local livre=$prefixe/share/pavoria/Pavoria.dat
    local empreinte
    empreinte=$(sha256sum <"$livre")

    preparer_maison "$travail/proprietaire" "$(id -u):$(id -g)"
    demarrer_et_arreter "$prefixe/games/pavoria" "$travail/proprietaire" || return 1
    local copie=$travail/proprietaire/donnees/pavoria/Pavoria.dat
    cmp -s "$livre" "$copie" ||
        { echo "no copy of the shipped file in the data folder of the tree's owner"; return 1; }
    verifier_mise_a_jour "$prefixe" "$travail/proprietaire" || return 1

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
    demarrer_et_arreter "$prefixe/games/pavoria" "$travail/joueur" "${commande[@]}" || return 1
    copie=$travail/joueur/donnees/pavoria/Pavoria.dat
    [ -f "$copie" ] || { echo "no copy of the game file in the player's data folder"; return 1; }
    cmp -s "$livre" "$copie" ||
        { echo "the player's copy differs from the shipped file"; return 1; }
    [ "$(sha256sum <"$livre")" = "$empreinte" ] ||
        { echo "the shipped file was written"; return 1; }
    [ "$(id -u)" -eq 0 ] || chmod u+w "$livre" "$(dirname "$livre")"
}

# verifier_mise_a_jour PREFIX HOME: gives the copy in HOME an older flag table and scores of its
# own, starts the game, and checks that the copy has the shipped flags and the same scores.
verifier_mise_a_jour() {
    local prefixe=$1 maison=$2
    local livre=$prefixe/share/pavoria/Pavoria.dat copie=$maison/donnees/pavoria/Pavoria.dat
    sqlite3 "$copie" "BEGIN;
        UPDATE Pavoria SET Pavorium = (SELECT Pavorium FROM Pavoria WHERE NUMERO = 2)
            WHERE NUMERO = 1;
        UPDATE SCORES SET NOM = 'RACINE', SCORE = 70, DATE = '2026-12-01' WHERE rowid = 3;
        PRAGMA user_version = $(($(version "$livre") - 1));
        COMMIT;"
    local scores
    scores=$(sqlite3 "$copie" 'SELECT rowid, * FROM SCORES ORDER BY rowid')
    [ "$(drapeaux "$copie")" != "$(drapeaux "$livre")" ] || { echo "no older copy"; return 1; }

    demarrer_et_arreter "$prefixe/games/pavoria" "$maison" || return 1
    [ "$(version "$copie")" = "$(version "$livre")" ] &&
        [ "$(drapeaux "$copie")" = "$(drapeaux "$livre")" ] ||
        { echo "the older copy did not get the shipped flags"; return 1; }
    [ "$(sqlite3 "$copie" 'SELECT rowid, * FROM SCORES ORDER BY rowid')" = "$scores" ] ||
        { echo "the update of the copy lost its scores"; return 1; }
}
