#!/usr/bin/env bash
# Retakes the screenshots of docs/captures/ from the real program under a virtual X server:
# the main window in a game, the score dialog, the top ten and the About box. The game is
# played on an installed copy, so the build's scores are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/dependances.sh xvfb openbox xdotool x11-apps netpbm optipng
cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)"

travail=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$travail"' EXIT
cmake --install build/release --prefix "$travail/usr" >/dev/null
export HOME=$travail XDG_DATA_HOME=$travail/donnees XDG_CONFIG_HOME=$travail/config
export XDG_RUNTIME_DIR=$travail/execution
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/affichage" 2>/dev/null &
until [ -s "$travail/affichage" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$travail/affichage")
openbox >/dev/null 2>&1 &
sleep 1
"$travail/usr/games/pavoria" >/dev/null 2>&1 &
principale=$(xdotool search --sync --onlyvisible --name '^Pavoria 1\.6$' | head -n 1)
sleep 1

sortie=docs/captures
mkdir -p "$sortie"
# capturer NAME: the active window alone, by its id: a grab of the root window would show
# a dialog over the maximised main window as black.
capturer() {
    sleep 0.5
    xwd -id "$(xdotool getactivewindow)" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$sortie/$1.png"
    optipng -quiet -o5 "$sortie/$1.png"
}
# cliquer X Y: a click at these pixels of the active window.
cliquer() {
    xdotool mousemove --window "$(xdotool getactivewindow)" "$1" "$2" click 1
    sleep 0.3
}
fenetre_active() { xdotool getactivewindow; }
attendre_autre_fenetre() {
    local avant=$1
    for _ in $(seq 50); do
        [ "$(fenetre_active)" != "$avant" ] && return 0
        sleep 0.1
    done
    echo "no new window came up" >&2
    return 1
}

# The toolbar's buttons, 39 pixels wide after a separator: NouvellePartie, Scores, then
# Quitter and Apropos after their own separators.
readonly nouvelle_partie=30 scores=69 apropos=164 haut_barre=21
# The answer buttons on a 1024 x 768 screen, laid out as start-up computes it.
readonly x_reponses=608 y_reponses=(474 530 586)

# perdu_affiche: whether the verdict panel shows PERDU, in its pure red.
perdu_affiche() {
    xwd -id "$principale" -silent | xwdtopnm 2>/dev/null |
        pamcut -left 260 -top 458 -width 168 -height 32 | ppmhist -noheader |
        awk '$1 == 255 && $2 == 0 && $3 == 0 { trouve = 1 } END { exit !trouve }'
}

cliquer "$nouvelle_partie" "$haut_barre"
# Click the three answers in turn: a wrong one shows PERDU and greys its button, a right
# one brings the next flag, and the fifteenth ends the game with its message box. The main
# window is taken the first time PERDU shows after a few questions.
partie_prise=0
for clic in $(seq 0 120); do
    cliquer "$x_reponses" "${y_reponses[clic % 3]}"
    [ "$(fenetre_active)" != "$principale" ] && break
    if [ "$partie_prise" -eq 0 ] && [ "$clic" -ge 10 ] && perdu_affiche; then
        capturer partie
        partie_prise=1
    fi
done
[ "$partie_prise" -eq 1 ] || { echo "PERDU never showed" >&2; exit 1; }
[ "$(xdotool getactivewindow getwindowname)" = "Les Pavoria" ] ||
    { echo "the game did not end" >&2; exit 1; }
message=$(fenetre_active)
xdotool key Return
attendre_autre_fenetre "$message"

xdotool type --delay 80 rosalie
capturer enregistrement
# Valider, at its place in the dialog's design.
cliquer 572 388
[ "$(fenetre_active)" = "$principale" ] || xdotool key Return

cliquer "$scores" "$haut_barre"
attendre_autre_fenetre "$principale"
capturer scores
xdotool key Escape
sleep 0.5

cliquer "$apropos" "$haut_barre"
attendre_autre_fenetre "$principale"
capturer apropos
# Quitter, on the first tab.
cliquer 464 240

ls -l "$sortie"
