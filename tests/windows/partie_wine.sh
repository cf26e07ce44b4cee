#!/usr/bin/env bash
# partie_wine.sh [DOSSIER [CAPTURES]]: the installer and the zip of scripts/windows.sh in DOSSIER
# (PAVORIA_PAQUETS_WINDOWS by default; skipped without them), run by Wine in a fresh prefix on a
# virtual X server as a player meets them, each step checked as its "ok" line says. With
# CAPTURES, the main window is saved there as windows.png when PERDU shows.
set -euo pipefail
paquets=${1:-${PAVORIA_PAQUETS_WINDOWS:-}}
captures=${2:+$(realpath -m "$2")}
installateur=$(ls "$paquets"/Pavoria-*-windows-x64-setup.exe 2>/dev/null | head -n1)
archive=$(ls "$paquets"/Pavoria-*-windows-x64.zip 2>/dev/null | head -n1)
if [ -z "$installateur" ] || [ -z "$archive" ]; then
    echo "SKIP: no installer and zip in '$paquets' (scripts/windows.sh)"
    exit 77
fi

travail=$(mktemp -d)
export WINEPREFIX=$travail/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_QPA_PLATFORM QT_QPA_FONTDIR
trap 'statut=$?
    [ "$statut" -eq 0 ] || tail -n 20 "$travail"/*.log >&2 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    kill $(jobs -p) 2>/dev/null || true
    wait 2>/dev/null
    rm -rf "$travail"' EXIT

echouer() {
    echo "partie_wine: $*" >&2
    exit 1
}
reussi() { echo "ok   $*"; }
# attendre SECONDS WHAT COMMAND...: runs COMMAND every 0.2 s until it succeeds, at most SECONDS.
attendre() {
    local secondes=$1 quoi=$2
    shift 2
    for _ in $(seq $((secondes * 5))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    echouer "gave up after $secondes s waiting for $quoi"
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/affichage" \
    2>"$travail/xvfb.log" &
attendre 10 "Xvfb to give its display number" test -s "$travail/affichage"
export DISPLAY=:$(cat "$travail/affichage")
openbox >"$travail/openbox.log" 2>&1 &
attendre 10 "openbox to manage the screen" xdotool get_num_desktops

wineboot --init >"$travail/wineboot.log" 2>&1
wineserver -w
# The Windows side of the prefix, seen from here.
disque=$WINEPREFIX/drive_c
programmes=$disque/Program\ Files/Pavoria
menu=$disque/ProgramData/Microsoft/Windows/Start\ Menu/Programs
compte=$disque/users/$(id -un)/AppData/Local/pavoria

wine "$installateur" /S >"$travail/installation.log" 2>&1 || echouer "the installer failed"
wineserver -w
[ -f "$programmes/Pavoria.exe" ] || echouer "no Pavoria.exe under Program Files"
[ -f "$menu/Pavoria.lnk" ] || echouer "no Start menu shortcut"
reussi "silent install: Program Files\\Pavoria\\Pavoria.exe and the Start menu shortcut"
empreinte_programmes() { (cd "$programmes" && find . -type f -exec sha256sum {} + | sort); }
avant=$(empreinte_programmes)

principale_visible() { xdotool search --onlyvisible --name '^Pavoria 1\.6$'; }
active() { xdotool getactivewindow; }
# nom_actif NAME: whether the active window has this title (the score dialog's is a blank).
nom_actif() { [ "$(xdotool getactivewindow getwindowname)" = "$1" ]; }
# touche KEY: a key pressed in the active window, and the time to answer it.
touche() {
    xdotool key "$1"
    sleep 0.4
}

# couleur_dans LEFT TOP WIDTH HEIGHT R G B: whether the main window shows that colour there.
couleur_dans() {
    xwd -id "$principale" -silent | xwdtopnm -quiet |
        pamcut -left "$1" -top "$2" -width "$3" -height "$4" | ppmhist -noheader |
        awk -v r="$5" -v g="$6" -v b="$7" '$1 == r && $2 == g && $3 == b { t = 1 } END { exit !t }'
}
# perdu_affiche: PERDU in its pure red in the verdict panel, beside answers still live in
# blue (a verdict greys them all), where a 1024 x 768 screen has them.
perdu_affiche() {
    couleur_dans 260 458 168 32 255 0 0 && couleur_dans 450 460 316 150 0 0 255
}
# capturer NAME: the main window alone, into CAPTURES.
capturer() {
    [ -n "$captures" ] || return 0
    mkdir -p "$captures"
    xwd -id "$principale" -silent | xwdtopnm -quiet | pnmtopng >"$captures/$1.png"
}

# jouer PROGRAMME NOM LOG: starts PROGRAMME from another folder, plays a whole game with
# the keys and enters NOM; leaves the game running, its pid in $jeu.
jouer() {
    local programme=$1 nom=$2
    (cd "$travail" && exec wine "$programme") >"$travail/$3" 2>&1 &
    jeu=$!
    attendre 60 "the main window \"Pavoria 1.6\"" principale_visible
    principale=$(principale_visible | head -n1)
    attendre 10 "the main window to take the keyboard" nom_actif "Pavoria 1.6"
    sleep 1
    touche ctrl+n
    # The three answers in turn: a wrong one greys its button, a right one brings the next
    # flag, and the fifteenth ends the game with its message box.
    local appui prise=0
    for appui in $(seq 0 120); do
        touche $((appui % 3 + 1))
        nom_actif "Pavoria 1.6" || break
        if [ "$prise" -eq 0 ] && [ "$appui" -ge 10 ] && perdu_affiche; then
            capturer windows
            prise=1
        fi
    done
    nom_actif "Les Pavoria" || echouer "the game did not end on the \"Les Pavoria\" message"
    xdotool key Return
    attendre 10 "the score dialog" nom_actif " "
    xdotool type --delay 80 "$nom"
    touche alt+v
    attendre 10 "the score dialog to close" sh -c '! xdotool search --onlyvisible --name "^ $"'
    # Wine gives the keyboard back to no window: the player clicks the main one.
    xdotool windowactivate "$principale"
    attendre 10 "the main window to take the keyboard again" nom_actif "Pavoria 1.6"
}

# noms_stockes FILE: the names of the score table.
noms_stockes() { sqlite3 "$1" 'SELECT NOM FROM SCORES'; }
# quitter: Ctrl+Q and the game's exit status, which must be 0.
quitter() {
    touche ctrl+q
    local statut=0
    wait "$jeu" || statut=$?
    [ "$statut" -eq 0 ] || echouer "Ctrl+Q ended the game with status $statut"
}

jouer 'C:\Program Files\Pavoria\Pavoria.exe' rosalie installe.log
reussi "installed game: \"Pavoria 1.6\" opened from another folder, a whole game to \"Les Pavoria\""

# A second copy while the first runs: its message, titled with the product name, then it ends.
wine 'C:\Program Files\Pavoria\Pavoria.exe' >"$travail/seconde.log" 2>&1 &
seconde=$!
seconde_message() { xdotool search --onlyvisible --name '^Pavoria$'; }
attendre 60 "the second copy's message" seconde_message
xdotool windowactivate "$(seconde_message | head -n1)"
attendre 10 "the second copy's message to take the keyboard" nom_actif Pavoria
xdotool key Return
attendre 20 "the second copy to end" sh -c "! kill -0 $seconde"
kill -0 "$jeu" || echouer "the first copy ended with the second"
xdotool windowactivate "$principale"
attendre 10 "the main window to take the keyboard again" nom_actif "Pavoria 1.6"
reussi "a second copy shows its message and ends; the first runs on"

quitter
noms_stockes "$compte/Pavoria.dat" | grep -qx ROSALIE ||
    echouer "ROSALIE is not in the account's copy $compte/Pavoria.dat"
[ "$(empreinte_programmes)" = "$avant" ] || echouer "the game wrote into its Program Files folder"
reussi "the name stored in AppData\\Local\\pavoria\\Pavoria.dat, Program Files untouched; Ctrl+Q: 0"

# The portable copy plays on the file beside it.
mkdir "$travail/portable"
unzip -q "$archive" -d "$travail/portable"
portable=$(find "$travail/portable" -name Pavoria.exe | head -n1)
jouer "$(winepath -w "$portable")" hector portable.log
quitter
noms_stockes "$(dirname "$portable")/Pavoria.dat" | grep -qx HECTOR ||
    echouer "HECTOR is not in the zip's Pavoria.dat"
reussi "the zip's program opens its window and plays on the Pavoria.dat beside it"

wine 'C:\Program Files\Pavoria\Désinstaller.exe' /S >"$travail/desinstallation.log" 2>&1 ||
    echouer "the uninstaller failed"
wineserver -w
[ ! -e "$programmes" ] || echouer "the uninstaller left $(find "$programmes" | head -n3)"
[ ! -e "$menu/Pavoria.lnk" ] || echouer "the uninstaller left the Start menu shortcut"
noms_stockes "$compte/Pavoria.dat" | grep -qx ROSALIE || echouer "the uninstall lost the scores"
reussi "silent uninstall: the program and its shortcut gone, the account's scores kept"
