#!/usr/bin/env bash
# Retakes the screenshots of docs/captures/ from the real program under a virtual X server:
# the main window in a game, the score dialog, the top ten and the About box. The game is
# played on an installed copy, so the build's scores are left alone. The game is driven by its
# keys (Ctrl+N, 1/2/3, Alt+V, Ctrl+H, Ctrl+I), wherever the window manager puts its windows.
set -euo pipefail
cd "$(dirname "$0")/.."

# The release build has the benchmarks, and so needs what the tests need.
scripts/dependances.sh --tests xvfb openbox xdotool x11-apps netpbm optipng

travail=$(mktemp -d)
# The servers' own words are kept, and shown when the script gives up.
trap 'statut=$?
    [ "$statut" -eq 0 ] || tail -n 20 "$travail"/*.log >&2 2>/dev/null || true
    kill $(jobs -p) 2>/dev/null || true
    wait
    rm -rf "$travail"' EXIT

echouer() {
    echo "captures.sh: $*" >&2
    exit 1
}

# attendre SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds, at most SECONDS.
# COMMAND may give up sooner with echouer, so its errors are not redirected here.
attendre() {
    local secondes=$1 quoi=$2
    shift 2
    for _ in $(seq $((secondes * 10))); do
        "$@" >/dev/null && return 0
        sleep 0.1
    done
    echouer "gave up after $secondes s waiting for $quoi"
}

# The X server and its window manager come first: without them, nothing else is worth doing.
command -v Xvfb >/dev/null || echouer "Xvfb is missing"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/affichage" \
    2>"$travail/xvfb.log" &
serveur=$!
serveur_pret() {
    kill -0 "$serveur" 2>/dev/null || echouer "Xvfb ended before giving its display number"
    [ -s "$travail/affichage" ]
}
attendre 10 "Xvfb to give its display number" serveur_pret
export DISPLAY=:$(cat "$travail/affichage")
openbox >"$travail/openbox.log" 2>&1 &
# openbox announces itself on the root window once it manages windows.
gestionnaire_pret() { xdotool get_num_desktops 2>/dev/null; }
attendre 10 "openbox to manage the screen" gestionnaire_pret

cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)"
cmake --install build/release --prefix "$travail/usr" >/dev/null
export HOME=$travail XDG_DATA_HOME=$travail/donnees XDG_CONFIG_HOME=$travail/config
export XDG_RUNTIME_DIR=$travail/execution
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

"$travail/usr/games/pavoria" >"$travail/pavoria.log" 2>&1 &
principale_visible() { xdotool search --onlyvisible --name '^Pavoria 1\.6$' 2>/dev/null; }
attendre 20 "the main window" principale_visible
principale=$(principale_visible | head -n 1)
active() { xdotool getactivewindow 2>/dev/null; }
active_principale() { [ "$(active)" = "$principale" ]; }
attendre 10 "the main window to take the keyboard" active_principale
sleep 1

sortie=docs/captures
mkdir -p "$sortie"
# capturer NAME: the active window alone, by its id: a grab of the root window would show
# a dialog over the maximised main window as black.
capturer() {
    sleep 0.5
    xwd -id "$(xdotool getactivewindow)" -silent | xwdtopnm -quiet | pnmtopng >"$sortie/$1.png"
    optipng -quiet -o5 "$sortie/$1.png"
}
# touche KEY: a key pressed in the active window, and the time to answer it.
touche() {
    xdotool key "$1"
    sleep 0.3
}
# attendre_autre_fenetre ID: until a window other than ID is active.
autre_active() { [ "$(active)" != "$1" ]; }
attendre_autre_fenetre() { attendre 5 "a window other than $1 to come up" autre_active "$1"; }

# perdu_affiche: whether the verdict panel shows PERDU, in its pure red; the panel's place on
# a 1024 x 768 screen, as start-up lays the window out there.
perdu_affiche() {
    xwd -id "$principale" -silent | xwdtopnm -quiet |
        pamcut -left 260 -top 458 -width 168 -height 32 | ppmhist -noheader |
        awk '$1 == 255 && $2 == 0 && $3 == 0 { trouve = 1 } END { exit !trouve }'
}

touche ctrl+n
# Press the three answers in turn: a wrong one shows PERDU and greys its button, a right
# one brings the next flag, and the fifteenth ends the game with its message box. The main
# window is taken the first time PERDU shows after a few questions.
partie_prise=0
for appui in $(seq 0 120); do
    touche $((appui % 3 + 1))
    active_principale || break
    if [ "$partie_prise" -eq 0 ] && [ "$appui" -ge 10 ] && perdu_affiche; then
        capturer partie
        partie_prise=1
    fi
done
[ "$partie_prise" -eq 1 ] || echouer "PERDU never showed"
[ "$(xdotool getactivewindow getwindowname)" = "Les Pavoria" ] || echouer "the game did not end"
message=$(xdotool getactivewindow)
xdotool key Return
attendre_autre_fenetre "$message"

xdotool type --delay 80 rosalie
capturer enregistrement
touche alt+v
attendre 5 "the score dialog to close" active_principale

touche ctrl+h
attendre_autre_fenetre "$principale"
capturer scores
xdotool key Escape
attendre 5 "the top ten to close" active_principale

touche ctrl+i
attendre_autre_fenetre "$principale"
capturer apropos

ls -l "$sortie"
