// The score windows and the About box: a score written through the score dialog's confirm step,
// durably (the write is on disk when it returns), and the two windows the toolbar opens, from the
// click until their first picture is drawn.

#include "about/Apropos.h"
#include "bench/BaseDeBanc.h"
#include "bench/Mesures.h"
#include "quiz/Param.h"
#include "scores/Enregistre.h"
#include "scores/Scores.h"
#include "tests/support/PlateformeFactice.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

Param paramDe(const BaseDeBanc &banc)
{
    Param param;
    param.Chemin = banc.dossier() + u'/';
    param.FichierBase = banc.fichier();
    param.VersionAppli = QStringLiteral("1.6");
    param.DateAppli = QStringLiteral("16/04/2000 à 13:48");
    return param;
}

void BM_EnregistrementScore(benchmark::State &etat)
{
    BaseDeBanc banc;
    PlateformeFactice plateforme;
    Param param = paramDe(banc);
    Enregistre dialogue(param, plateforme, plateforme);
    auto *nom = dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom"));
    auto *valider = dialogue.findChild<QPushButton *>(QStringLiteral("Valider"));
    // Each score tops the last, so that every confirmation writes a row.
    param.Points = 41;
    for (auto _ : etat) {
        if (param.Points == std::numeric_limits<qint16>::max()) {
            etat.PauseTiming();
            banc.remettreScores();
            param.Points = 41;
            etat.ResumeTiming();
        }
        nom->setText(QStringLiteral("BANC"));
        valider->click();
        // The dialog tells the player of a score it did not write.
        if (!plateforme.messages.isEmpty()) {
            etat.SkipWithError(qPrintable(plateforme.messages.constLast().texte));
            break;
        }
        ++param.Points;
    }
}

void BM_ChargementScores(benchmark::State &etat)
{
    BaseDeBanc banc;
    const Param param = paramDe(banc);
    for (auto _ : etat) {
        Scores fenetre(param);
        if (!fenetre.Form_Load()) {
            etat.SkipWithError(qPrintable(fenetre.erreur()));
            break;
        }
        fenetre.show();
        benchmark::DoNotOptimize(fenetre.grab());
        fenetre.reject();
    }
}

void BM_ChargementApropos(benchmark::State &etat)
{
    BaseDeBanc banc;
    const Param param = paramDe(banc);
    PlateformeFactice plateforme;
    for (auto _ : etat) {
        Apropos fenetre(param, plateforme, plateforme);
        fenetre.show();
        benchmark::DoNotOptimize(fenetre.grab());
        fenetre.reject();
    }
}

} // namespace

BENCHMARK(BM_EnregistrementScore)->Apply(Mesures::appliquer);
BENCHMARK(BM_ChargementScores)->Apply(Mesures::appliquer);
BENCHMARK(BM_ChargementApropos)->Apply(Mesures::appliquer);
