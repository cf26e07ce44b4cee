// A whole question turn as a right answer triggers it, through the real main window: the
// database opened afresh, three look-ups by number and one by name, the flag decoded and shown,
// and the window repainted (offscreen) at both yields, as the real platform does.

#include "app/Questionnaire.h"
#include "bench/BaseDeBanc.h"
#include "bench/Mesures.h"
#include "tests/support/Ecran.h"
#include "tests/support/PlateformeFactice.h"
#include "widgets/Bouton3D.h"

#include <QAction>
#include <QCoreApplication>
#include <QTest>

#include <chrono>

namespace {

using Horloge = std::chrono::steady_clock;

// Turns checked for the closed masks on screen, at the start of each run: enough to tell, few
// enough to keep the copies of the screen out of the figures.
constexpr int toursVerifies = 30;

class BancTour
{
public:
    explicit BancTour(benchmark::State &etat)
        : etat_(etat)
    {
        plateforme_.dossier = base_.dossier();
        // Reported before the benchmark's loop, which then does not run.
        if (!fenetre_.Form_Load()) {
            etat_.SkipWithError("start-up refused");
            return;
        }
        fenetre_.showMaximized();
        if (!QTest::qWaitForWindowExposed(&fenetre_)) {
            etat_.SkipWithError("the window was not exposed");
            return;
        }
        QCoreApplication::processEvents();
        support_ = fenetre_.findChild<QWidget *>(QStringLiteral("SupportImage"));
        fermes_ = Ecran::montre(fenetre_, *support_);
        // The real platform's yield: the pending paints run, clicks wait.
        plateforme_.pendantTraitement = [this] {
            const auto debut = Horloge::now();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            attente_ += Horloge::now() - debut;
            verifierMasques();
        };
        commencerPartie();
    }

    // One turn as a right answer brings it; the last question of a game starts a new game
    // first, untimed, so that every timed turn is one that follows a right answer.
    Horloge::duration repondreJuste()
    {
        if (fenetre_.param().NumeroJeu == 15) {
            etat_.PauseTiming();
            commencerPartie();
            etat_.ResumeTiming();
        }
        attente_ = {};
        yields_ = 0;
        const int bonne = fenetre_.param().BonneReponse;
        enTour_ = true;
        fenetre_.findChild<Bouton3D *>(QStringLiteral("Reponse0%1").arg(bonne))->click();
        enTour_ = false;
        ++tours_;
        return attente_;
    }

    void rapporter()
    {
        // A set-up that failed, and left no flag panel, has been reported.
        if (!support_)
            return;
        etat_.counters["masques_fermes_vus"] =
            verifies_ ? static_cast<double>(vus_) / verifies_ : 0.0;
        if (!plateforme_.fins.isEmpty() || !plateforme_.messages.isEmpty())
            etat_.SkipWithError("the game reported a fault");
        else if (verifies_ == 0 || vus_ < verifies_)
            etat_.SkipWithError(QStringLiteral("closed masks shown in %1 of %2 turns checked")
                                    .arg(vus_)
                                    .arg(verifies_)
                                    .toUtf8()
                                    .constData());
    }

private:
    void commencerPartie()
    {
        fenetre_.findChild<QAction *>(QStringLiteral("NouvellePartie"))->trigger();
    }

    // At the first yield of a turn the screen must show the closed masks over the flag panel.
    void verifierMasques()
    {
        if (!enTour_ || ++yields_ != 1 || tours_ >= toursVerifies)
            return;
        etat_.PauseTiming();
        ++verifies_;
        vus_ += Ecran::montre(fenetre_, *support_) == fermes_;
        etat_.ResumeTiming();
    }

    benchmark::State &etat_;
    BaseDeBanc base_;
    PlateformeFactice plateforme_;
    Questionnaire fenetre_{plateforme_, plateforme_, 20001216};
    QWidget *support_ = nullptr;
    QImage fermes_;
    Horloge::duration attente_{};
    bool enTour_ = false;
    int yields_ = 0;
    int tours_ = 0;
    int verifies_ = 0;
    int vus_ = 0;
};

// Everything the player waits for, repaints included.
void BM_TourDeQuestion(benchmark::State &etat)
{
    BancTour banc(etat);
    for (auto _ : etat)
        banc.repondreJuste();
    banc.rapporter();
}

// The turn's own work: everything but what runs inside the two yields.
void BM_TourDeQuestionSansAttente(benchmark::State &etat)
{
    BancTour banc(etat);
    for (auto _ : etat) {
        const auto debut = Horloge::now();
        const auto attente = banc.repondreJuste();
        etat.SetIterationTime(
            std::chrono::duration<double>(Horloge::now() - debut - attente).count());
    }
    banc.rapporter();
}

} // namespace

BENCHMARK(BM_TourDeQuestion)->Apply(Mesures::appliquer);
BENCHMARK(BM_TourDeQuestionSansAttente)->UseManualTime()->Apply(Mesures::appliquer);
