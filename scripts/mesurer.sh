#!/usr/bin/env bash
# Builds the optimised game with its benchmarks, runs the in-process benchmarks (bench/PavoriaBanc)
# and the start-up benchmark (bench/demarrage.sh), and prints one table of medians against the
# targets. Options: --executions N for the start-up runs (25), --repetitions N for the others (9).
# The machine should be otherwise idle: every figure is a wall time.
set -euo pipefail
cd "$(dirname "$0")/.."

executions=25
repetitions=9
while [ $# -gt 0 ]; do
    case $1 in
        --executions) executions=$2; shift 2 ;;
        --repetitions) repetitions=$2; shift 2 ;;
        *) echo "usage : $0 [--executions N] [--repetitions N]" >&2; exit 2 ;;
    esac
done

scripts/dependances.sh --tests
cmake --preset release >/dev/null
cmake --build --preset release --parallel "$(nproc)" >/dev/null
build=build/release

temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT

echo "Bancs d'essai dans le processus ($repetitions répétitions)…" >&2
# The offscreen platform warns at every window it cannot resize by hints; nothing to see there.
"$build/bench/PavoriaBanc" --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_out="$temp/banc.json" --benchmark_out_format=json 2>&1 \
    | grep -v "propagateSizeHints" >&2
bench/demarrage.sh --executions "$executions" --build "$build" --tsv "$temp/demarrage.tsv" >&2

octets=$(stat -c %s "$build/Pavoria.dat")

awk -v octets="$octets" -v executions="$executions" -v repetitions="$repetitions" '
    # Google Benchmark JSON: one "key": value pair per line, one object per result.
    FILENAME ~ /banc.json$/ {
        if ($0 ~ /^ *\{ *$/) { delete champ; next }
        if (match($0, /^ *"[a-z_]+": /)) {
            cle = substr($0, RSTART, RLENGTH); gsub(/[ ":]/, "", cle)
            valeur = substr($0, RSTART + RLENGTH); sub(/,$/, "", valeur); gsub(/^"|"$/, "", valeur)
            champ[cle] = valeur
            next
        }
        if ($0 ~ /^ *\},? *$/ && ("run_name" in champ)) {
            nom = champ["run_name"]; sub(/\/manual_time$/, "", nom)
            if (champ["error_occurred"] == "true") erreur[nom] = champ["error_message"]
            v = champ["real_time"] + 0; u = champ["time_unit"]
            if (u == "ns") v /= 1000; else if (u == "ms") v *= 1000; else if (u == "s") v *= 1e6
            # A single repetition has no aggregates: its one run stands for all three.
            if (champ["run_type"] == "iteration") {
                stats[1] = "median"; stats[2] = "min"; stats[3] = "max"; n = 3
            }
            else { stats[1] = champ["aggregate_name"]; n = 1 }
            for (i = 1; i <= n; i++) {
                stat = stats[i]
                if (stat != "median" && stat != "min" && stat != "max") continue
                banc[nom, stat] = v
                if (stat == "median" && ("masques_fermes_vus" in champ))
                    vus[nom] = champ["masques_fermes_vus"] + 0
            }
        }
        next
    }
    # demarrage.sh: name, time min, median, max (ms), memory min, median, max (MiB), late drawings.
    { split($0, c, "\t")
      demarrage[c[1], "tmin"] = c[2]; demarrage[c[1], "tmed"] = c[3]; demarrage[c[1], "tmax"] = c[4]
      demarrage[c[1], "mmin"] = c[5]; demarrage[c[1], "mmed"] = c[6]; demarrage[c[1], "mmax"] = c[7]
      programmes[c[1]] = 1 }

    # Padded by characters, not bytes: the labels are French.
    function cadrer(texte, largeur,    copie, n) {
        copie = texte; n = length(texte) - gsub(/[\200-\277]/, "", copie)
        while (n++ < largeur) texte = texte " "
        return texte
    }
    function ligne(libelle, med, mn, mx, cible, atteinte) {
        printf "%s %10s %10s %10s  %s %s\n", cadrer(libelle, 46), med, mn, mx,
               cadrer(cible, 26), atteinte
    }
    function f(v) { return sprintf("%.1f", v) }
    function oui(vrai) { return vrai ? "atteinte" : "MANQUÉE" }
    function microsecondes(libelle, nom, cible, borne) {
        if (nom in erreur) { ligne(libelle, "erreur", "", "", cible, erreur[nom]); return }
        if (!((nom, "median") in banc)) { ligne(libelle, "absent", "", "", cible, ""); return }
        ligne(libelle, f(banc[nom, "median"]), f(banc[nom, "min"]), f(banc[nom, "max"]), cible,
              borne ? oui(banc[nom, "median"] <= borne) : "")
    }
    # One line a program of the start-up table, for its times (t) or its memory (m), each
    # against the floor: the game has a target, others a ratio.
    function demarrages(mesure,    i, p, plancher, cible, atteinte) {
        plancher = demarrage["FenetreVide", mesure "med"]
        for (i = 1; i <= 3; i++) {
            p = ordre[i]; if (!(p in programmes)) continue
            cible = ""; atteinte = ""
            if (p == "Pavoria") {
                cible = sprintf("≤ 1,3 × plancher = %.1f", 1.3 * plancher)
                atteinte = oui(demarrage[p, mesure "med"] <= 1.3 * plancher)
            } else if (p != "FenetreVide") {
                cible = sprintf("(%.2f × plancher)", demarrage[p, mesure "med"] / plancher)
            } else {
                cible = "plancher"
            }
            ligne("  " p, f(demarrage[p, mesure "med"]), f(demarrage[p, mesure "min"]),
                  f(demarrage[p, mesure "max"]), cible, atteinte)
        }
    }
    END {
        ligne("mesure", "médiane", "min", "max", "cible", "")
        print "Démarrage jusqu\47à la fenêtre peinte (ms), " executions " exécutions"
        split("FenetreVide Pavoria KGeography", ordre, " ")
        demarrages("t")
        print "Mémoire résidente de pointe 3 s après (Mio)"
        demarrages("m")
        print "Dans le processus (µs), " repetitions " répétitions"
        microsecondes("  tour de question entier", "BM_TourDeQuestion", "", 0)
        microsecondes("  tour de question sans les deux yields", "BM_TourDeQuestionSansAttente",
                      "≤ 2000", 2000)
        v = ("BM_TourDeQuestion" in vus) ? vus["BM_TourDeQuestion"] : -1
        ligne("  masques fermés à l\47écran entre deux drapeaux", (v < 0 ? "?" : f(100 * v) " %"),
              "", "", "100 % des tours vérifiés", oui(v == 1))
        microsecondes("  ouverture de la base, 178 drapeaux", "BM_OuvertureBase/facteur:1", "", 0)
        microsecondes("  ouverture de la base, 17 800 drapeaux", "BM_OuvertureBase/facteur:100",
                      "", 0)
        microsecondes("  recherches, 178 drapeaux", "BM_Recherches/facteur:1", "", 0)
        r1 = banc["BM_Recherches/facteur:1", "median"]
        microsecondes("  recherches, 17 800 drapeaux", "BM_Recherches/facteur:100",
                      sprintf("≤ 1,2 × 178 = %.1f", 1.2 * r1), 1.2 * r1)
        microsecondes("  décodage et mise à l\47échelle d\47un drapeau", "BM_DecodageDrapeau",
                      "", 0)
        microsecondes("  score écrit par Valider (synchronous FULL)", "BM_EnregistrementScore",
                      "", 0)
        microsecondes("  chargement de la fenêtre des scores", "BM_ChargementScores", "", 0)
        microsecondes("  chargement de la boîte À propos", "BM_ChargementApropos", "", 0)
        print "Fichier"
        ligne("  Pavoria.dat (Mo)", sprintf("%.2f", octets / 1e6), "", "", "≤ 3",
              oui(octets <= 3e6))
    }' "$temp/banc.json" "$temp/demarrage.tsv" >"$temp/tableau.txt"

echo
processeur=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')
echo "Pavoria : mesures du $(date '+%d/%m/%Y %H:%M'), $(nproc) cœurs, $processeur, Xvfb 1600x1000"
cat "$temp/tableau.txt"
