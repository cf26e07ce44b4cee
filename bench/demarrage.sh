#!/usr/bin/env bash
# Start-up benchmark, against the real programs under a virtual X server (Xvfb 1600x1000 with
# openbox): the wall time from the process start until its main window is mapped and painted, and
# its peak resident memory (VmHWM) 3 s later, each over several runs, printed as min / median /
# max with the ratios of the medians to the floor's. bench/Chronometre does each measure; its
# source (chronometre_principal.cpp) says what "painted" means. The floor is bench/FenetreVide,
# one empty maximized Qt window; KGeography is measured beside them when it is installed
# (apt-get install kgeography), opening straight on its world map.
#
#   bench/demarrage.sh [--executions N] [--build DOSSIER] [--tsv FICHIER]
#
# The programs run in turn, in a rotating order, after one discarded warm-up run each.
set -euo pipefail

racine=$(cd "$(dirname "$0")/.." && pwd)
build="$racine/build/release"
executions=11
tsv=""
while [ $# -gt 0 ]; do
    case $1 in
        --executions) executions=$2; shift 2 ;;
        --build) build=$(cd "$2" && pwd); shift 2 ;;
        --tsv) tsv=$2; shift 2 ;;
        *) echo "usage : $0 [--executions N] [--build DOSSIER] [--tsv FICHIER]" >&2; exit 2 ;;
    esac
done
[ "$executions" -ge 1 ] || { echo "au moins une exécution" >&2; exit 2; }

# The virtual screen and its window manager, installed when missing.
outils=()
command -v Xvfb >/dev/null || outils+=(xvfb)
command -v openbox >/dev/null || outils+=(openbox)
command -v xprop >/dev/null || outils+=(x11-utils)
if [ ${#outils[@]} -gt 0 ]; then
    echo "Installation de : ${outils[*]}" >&2
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${outils[@]}" >&2
fi

chronometre="$build/bench/Chronometre"
plancher="$build/bench/FenetreVide"
jeu="$build/Pavoria"
for programme in "$chronometre" "$plancher" "$jeu"; do
    if [ ! -x "$programme" ]; then
        echo "$programme manque : construire d'abord" \
             "(cmake --preset release && cmake --build --preset release)" >&2
        exit 1
    fi
done

temp=$(mktemp -d)
pids=()
execution=""
nettoyer() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$temp" ${execution:+"$execution"}
}
trap nettoyer EXIT

affichage=""
for n in $(seq 170 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then affichage=$n; break; fi
done
[ -n "$affichage" ] || { echo "aucun numéro d'affichage X libre" >&2; exit 1; }
Xvfb ":$affichage" -screen 0 1600x1000x24 -nolisten tcp >"$temp/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$affichage"
# The socket appears before the server answers: wait for an answer.
for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.05; done
if ! xprop -root >/dev/null 2>&1; then
    echo "le serveur X virtuel ne répond pas après 5 s :" >&2
    cat "$temp/xvfb.log" >&2
    exit 1
fi
# Maximized means what the window manager makes of it: no measure without one.
gestionnaire=""
demarrerGestionnaire() {
    openbox >"$temp/openbox.log" 2>&1 &
    gestionnaire=$!
    pids+=("$gestionnaire")
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.05
    done
    echo "openbox ne gère pas l'écran après 5 s :" >&2
    cat "$temp/openbox.log" >&2
    exit 1
}
demarrerGestionnaire

# Nothing of the user's: no other copy's lock, no settings, no caches but those the runs make.
# The runtime folder is in memory, as a desktop session's /run/user/UID is.
mkdir -m 700 "$temp/maison" "$temp/kgeography"
execution=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
chmod 700 "$execution"
export XDG_RUNTIME_DIR="$execution" HOME="$temp/maison"
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

noms=(FenetreVide Pavoria)
if command -v kgeography >/dev/null; then
    noms+=(KGeography)
else
    echo "KGeography n'est pas installé (apt-get install kgeography) : mesuré sans lui." >&2
fi

carte=/usr/share/kgeography/world.kgm
lancerUneFois() {
    case $1 in
        FenetreVide) "$chronometre" -- "$plancher" ;;
        Pavoria) "$chronometre" -- "$jeu" ;;
        KGeography)
            # It saves its window on leaving: each run starts from the same settings, and keeps
            # the caches the first run built, as a player's second start would.
            mkdir -p "$temp/kgeography/.config"
            printf '[general]\nlastMap=%s\n' "$carte" >"$temp/kgeography/.config/kgeographyrc"
            "$chronometre" -- env HOME="$temp/kgeography" kgeography ;;
    esac
}

# A measure that fails (the program did not paint in time, the window manager died) is taken
# again, twice at most, after making sure the window manager runs.
lancer() {
    local essai
    for essai in 1 2 3; do
        if lancerUneFois "$1"; then return 0; fi
        echo "$1 : mesure $essai manquée, reprise" >&2
        kill -0 "$gestionnaire" 2>/dev/null || demarrerGestionnaire
    done
    echo "$1 : trois mesures manquées de suite" >&2
    exit 1
}

for nom in "${noms[@]}"; do
    lancer "$nom" >/dev/null
done
echo "Démarrage : ${#noms[@]} programmes, $executions exécutions chacun…" >&2
for ((tour = 0; tour < executions; tour++)); do
    for ((i = 0; i < ${#noms[@]}; i++)); do
        nom=${noms[$(((i + tour) % ${#noms[@]}))]}
        # The X server and the window manager finish with the last program first.
        sleep 0.5
        lancer "$nom" >>"$temp/$nom.mesures"
    done
done

# One line per program: name, then min, median and max of the time (ms) and of the memory
# (MiB), the late drawings, and the sizes the main window had.
resumer() {
    local nom=$1
    local temps memoire tardifs tailles
    temps=$(cut -d' ' -f1 "$temp/$nom.mesures" | sort -g | tr '\n' ' ')
    memoire=$(cut -d' ' -f2 "$temp/$nom.mesures" | sort -g | tr '\n' ' ')
    tardifs=$(awk '{ s += $3 } END { print s }' "$temp/$nom.mesures")
    tailles=$(cut -d' ' -f4 "$temp/$nom.mesures" | sort -u | tr '\n' ' ')
    awk -v nom="$nom" -v temps="$temps" -v memoire="$memoire" -v tardifs="$tardifs" \
        -v tailles="$tailles" '
        function mediane(v, n) { return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2 }
        BEGIN {
            n = split(temps, t, " "); split(memoire, m, " ")
            for (i = 1; i <= n; i++) m[i] /= 1024
            sub(/ $/, "", tailles)
            printf "%s\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%d\t%s\n", nom,
                   t[1], mediane(t, n), t[n], m[1], mediane(m, n), m[n], tardifs, tailles
        }'
}
{
    for nom in "${noms[@]}"; do resumer "$nom"; done
} >"$temp/resume.tsv"
[ -z "$tsv" ] || cp "$temp/resume.tsv" "$tsv"

echo
echo "Démarrage jusqu'à la fenêtre peinte, puis mémoire résidente de pointe 3 s après"
echo "Xvfb 1600x1000 + openbox, $(nproc) cœurs, $executions exécutions par programme"
awk -F'\t' '
    NR == 1 { t0 = $3; m0 = $6 }
    { ligne[NR] = $0 }
    END {
        printf "%-12s  %-26s  %-26s  %8s  %8s  %s\n", "programme", "temps ms min / méd / max",
               "mémoire Mio min / méd / max", "temps ×", "mémoire ×", "fenêtre"
        for (i = 1; i <= NR; i++) {
            split(ligne[i], c, "\t")
            printf "%-12s  %7.1f / %7.1f / %7.1f  %7.1f / %7.1f / %7.1f  %8.2f  %8.2f  %s\n",
                   c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[3] / t0, c[6] / m0, c[9]
            if (c[8] > 0) tardifs = tardifs sprintf(" %s (%d)", c[1], c[8])
        }
        print "(× : rapport de la médiane à celle de FenetreVide, le plancher)"
        if (tardifs != "") print "dessins tardifs, après la fenêtre jugée peinte :" tardifs
    }' "$temp/resume.tsv"
