#include "quiz/Partie.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/PlateformeFactice.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <set>
#include <utility>

// The quiz engine alone, with no window: whole games played on Partie against a copy of the
// game database, the platform faked and the draws seeded.
class TestMoteur : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void partieEntiere_data();
    void partieEntiere();
    void erreursDUneQuestion_data();
    void erreursDUneQuestion();
    void masquesFermesAuPremierTraitement();
    void memeGraineMemePartie();
    void boutonInactifOuHorsPartieSansEffet();
    void nouvellePartieEnCours();
    void gestesPendantLeVerdict_data();
    void gestesPendantLeVerdict();
    void baseIllisibleTermineLeProgramme();

private:
    // Answers the question on screen after this many wrong clicks.
    void repondre(int erreurs);

    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    Param param_;
    std::unique_ptr<QRandomGenerator> hasard_;
    std::unique_ptr<Partie> partie_;
    std::unique_ptr<QSignalSpy> messages_;
    std::unique_ptr<QSignalSpy> enregistrements_;
};

void TestMoteur::init()
{
    base_ = std::make_unique<BaseDeTest>();
    plateforme_ = PlateformeFactice();
    param_ = Param();
    param_.FichierBase = base_->fichier();
    hasard_ = std::make_unique<QRandomGenerator>(1998);
    partie_ = std::make_unique<Partie>(param_, plateforme_, *hasard_);
    messages_ = std::make_unique<QSignalSpy>(partie_.get(), &Partie::messageDemande);
    enregistrements_ = std::make_unique<QSignalSpy>(partie_.get(), &Partie::enregistrementDemande);
}

void TestMoteur::repondre(int erreurs)
{
    const int bonne = param_.BonneReponse;
    for (int n = 1; n <= 3 && erreurs > 0; ++n) {
        if (n != bonne) {
            partie_->Repondre(n);
            --erreurs;
        }
    }
    partie_->Repondre(bonne);
}

void TestMoteur::partieEntiere_data()
{
    QTest::addColumn<QList<int>>("erreurs"); // wrong clicks before the right one, per question
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<int>("score");

    QTest::newRow("all first tries") << QList<int>(15, 0) << QStringList(15, "Très bien") << 75;
    QTest::newRow("all second tries") << QList<int>(15, 1) << QStringList(15, "Bien") << 30;
    QTest::newRow("all third tries") << QList<int>(15, 2) << QStringList(15, "Dommage") << 0;
    const QList<int> melange{0, 1, 2, 0, 0, 1, 1, 2, 2, 0, 1, 0, 2, 1, 0};
    QStringList verdicts;
    for (const int erreurs : melange)
        verdicts << QStringList{"Très bien", "Bien", "Dommage"}[erreurs];
    QTest::newRow("mixed") << melange << verdicts << 6 * 5 + 5 * 2;
}

void TestMoteur::partieEntiere()
{
    QFETCH(QList<int>, erreurs);
    QFETCH(QStringList, verdicts);
    QFETCH(int, score);

    // The verdict and the score of each answer show while the masks close over the flag.
    QStringList vus;
    QStringList scores;
    plateforme_.pendantTraitement = [&] {
        const Affichage &affichage = partie_->affichage();
        if (affichage.masquesFermes) {
            vus << affichage.resultat;
            scores << affichage.score;
        }
    };
    partie_->NouvellePartie();
    int points = 0;
    for (int question = 1; question <= 15; ++question) {
        QCOMPARE(partie_->affichage().comptePartie, QStringLiteral("Jeu n° %1").arg(question));
        QCOMPARE(partie_->affichage().reponsesActives, (std::array<bool, 3>{true, true, true}));
        QVERIFY(!partie_->affichage().masquesFermes);
        QVERIFY(!partie_->affichage().drapeau.isNull());
        repondre(erreurs[question - 1]);
        points += std::array<int, 3>{5, 2, 0}[std::size_t(erreurs[question - 1])];
        if (question < 15)
            QCOMPARE(scores.last(), QStringLiteral("%1 points").arg(points));
    }
    QCOMPARE(points, score);
    // The last answer's verdict is not shown over closed masks: the game ends instead.
    QCOMPARE(vus, verdicts.mid(0, 14));
    QCOMPARE(plateforme_.attentes, QList<std::chrono::milliseconds>(14, Partie::dureeVerdict));

    QCOMPARE(messages_->size(), 1);
    QCOMPARE(messages_->at(0).at(0).toString(), QStringLiteral("Les Pavoria"));
    QCOMPARE(messages_->at(0).at(1).toString(),
             QStringLiteral("Cette partie est terminée !!\n\nVotre score est de %1 Points !")
                 .arg(score));
    QCOMPARE(enregistrements_->size(), 1);

    // Back to the idle look once the score dialog has closed.
    const Affichage &affichage = partie_->affichage();
    QCOMPARE(affichage.reponses, (std::array<QString, 3>{}));
    QCOMPARE(affichage.reponsesActives, (std::array<bool, 3>{}));
    QVERIFY(affichage.resultat.isEmpty() && affichage.score.isEmpty()
            && affichage.comptePartie.isEmpty());
    QVERIFY(affichage.masquesFermes);
    QCOMPARE(param_.CompteTours, 16);
    QCOMPARE(param_.NumeroJeu, 0);
    QCOMPARE(param_.Points, 0);
    QVERIFY(plateforme_.fins.isEmpty());
}

void TestMoteur::erreursDUneQuestion_data()
{
    QTest::addColumn<int>("erreurs");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("score");

    QTest::newRow("first try") << 0 << "Très bien"
                               << "5 points";
    QTest::newRow("second try") << 1 << "Bien"
                                << "2 points";
    // The third try scores nothing, and the caption says so.
    QTest::newRow("third try") << 2 << "Dommage"
                               << "0 points";
}

void TestMoteur::erreursDUneQuestion()
{
    QFETCH(int, erreurs);
    QFETCH(QString, verdict);
    QFETCH(QString, score);

    partie_->NouvellePartie();
    const int bonne = param_.BonneReponse;
    std::array<bool, 3> actives{true, true, true};
    for (int n = 1, faites = 0; n <= 3 && faites < erreurs; ++n) {
        if (n == bonne)
            continue;
        partie_->Repondre(n);
        ++faites;
        actives[std::size_t(n - 1)] = false;
        // A wrong click says so at once, greys its button, and leaves the score as it was.
        QCOMPARE(partie_->affichage().resultat, QStringLiteral("PERDU"));
        QVERIFY(plateforme_.attentes.isEmpty());
        QCOMPARE(partie_->affichage().reponsesActives, actives);
        QCOMPARE(partie_->affichage().score, QString());
        QCOMPARE(param_.NumeroJeu, 1);
    }
    QString vu;
    QString scoreVu;
    plateforme_.pendantTraitement = [&] {
        if (vu.isEmpty()) {
            vu = partie_->affichage().resultat;
            scoreVu = partie_->affichage().score;
        }
    };
    partie_->Repondre(bonne);
    QCOMPARE(vu, verdict);
    QCOMPARE(scoreVu, score);
    QCOMPARE(partie_->affichage().score, score);
    QCOMPARE(partie_->affichage().resultat, QString()); // the next question clears it
    QCOMPARE(param_.NumeroJeu, 2);
}

void TestMoteur::masquesFermesAuPremierTraitement()
{
    // Between two flags the engine yields twice: masks closed over the old flag and its names,
    // all three disabled, then open on the new one with its names live; the first question of a
    // game yields once, masks open.
    QList<Affichage> vues;
    plateforme_.pendantTraitement = [&] { vues.append(partie_->affichage()); };
    partie_->NouvellePartie();
    QCOMPARE(vues.size(), 1);
    QVERIFY(!vues[0].masquesFermes && vues[0].reponsesActives == (std::array{true, true, true}));
    for (int question = 2; question <= 15; ++question) {
        const qint64 ancien = partie_->affichage().drapeau.cacheKey();
        vues.clear();
        repondre(question % 3);
        QCOMPARE(vues.size(), 2);
        QVERIFY(vues[0].masquesFermes && vues[0].reponsesActives == (std::array<bool, 3>{}));
        QCOMPARE(vues[0].drapeau.cacheKey(), ancien);
        QVERIFY(!vues[1].masquesFermes
                && vues[1].reponsesActives == (std::array{true, true, true}));
        QVERIFY(vues[1].drapeau.cacheKey() != ancien);
    }
}

void TestMoteur::memeGraineMemePartie()
{
    // The draws come from the generator the engine is given: one seed, one game.
    const auto jouer = [this](quint32 graine) {
        QRandomGenerator hasard(graine);
        Param param;
        param.FichierBase = base_->fichier();
        Partie partie(param, plateforme_, hasard);
        QStringList tirages;
        partie.NouvellePartie();
        for (int question = 0; question < 15; ++question) {
            const auto &reponses = partie.affichage().reponses;
            tirages << reponses[0] + u'|' + reponses[1] + u'|' + reponses[2] + u'|'
                           + QString::number(param.BonneReponse);
            partie.Repondre(param.BonneReponse);
        }
        return tirages;
    };
    const QStringList premiere = jouer(77);
    QCOMPARE(jouer(77), premiere);
    QVERIFY(jouer(78) != premiere);
    for (const QString &tirage : premiere) {
        const QStringList champs = tirage.split(u'|');
        QCOMPARE((std::set<QString>{champs[0], champs[1], champs[2]}).size(), std::size_t(3));
    }
}

void TestMoteur::boutonInactifOuHorsPartieSansEffet()
{
    // Before any game and after one, no answer is taken; nor on a greyed button.
    int changements = 0;
    connect(partie_.get(), &Partie::affichageChange, this, [&] { ++changements; });
    for (int n = 0; n <= 4; ++n)
        partie_->Repondre(n);
    QCOMPARE(changements, 0);

    partie_->NouvellePartie();
    const int mauvaise = param_.BonneReponse % 3 + 1;
    partie_->Repondre(mauvaise);
    changements = 0;
    partie_->Repondre(mauvaise);
    QCOMPARE(changements, 0);
    QCOMPARE(partie_->affichage().resultat, QStringLiteral("PERDU"));

    for (int question = 0; question < 15; ++question)
        repondre(0);
    changements = 0;
    for (int n = 1; n <= 3; ++n)
        partie_->Repondre(n);
    QCOMPARE(changements, 0);
    QCOMPARE(param_.CompteTours, 16);
    QCOMPARE(messages_->size(), 1);
}

void TestMoteur::nouvellePartieEnCours()
{
    // A new game discards the one in progress, unscored.
    partie_->NouvellePartie();
    for (int question = 0; question < 4; ++question)
        repondre(0);
    QCOMPARE(param_.Points, 20);
    partie_->NouvellePartie();
    QCOMPARE(param_.Points, 0);
    QCOMPARE(param_.CompteTours, 1);
    QCOMPARE(partie_->affichage().comptePartie, QStringLiteral("Jeu n° 1"));
    QCOMPARE(partie_->affichage().score, QString());
    QCOMPARE(messages_->size(), 0);
    QCOMPARE(enregistrements_->size(), 0);
}

void TestMoteur::gestesPendantLeVerdict_data()
{
    QTest::addColumn<QString>("geste");
    QTest::newRow("answers") << "answers";
    QTest::newRow("new game") << "new game";
    QTest::newRow("quit") << "quit";
}

void TestMoteur::gestesPendantLeVerdict()
{
    // While a verdict shows, the disabled buttons under it take no answer, and a new game or
    // quitting leaves no half of the turn behind.
    QFETCH(QString, geste);
    partie_->NouvellePartie();
    std::array<QString, 3> questionDuGeste;
    bool fait = false;
    plateforme_.pendantTraitement = [&] {
        if (plateforme_.attentes.size() != 1 || std::exchange(fait, true))
            return;
        if (geste == u"answers") {
            for (int n = 1; n <= 3; ++n)
                partie_->Repondre(n);
        } else if (geste == u"new game") {
            partie_->NouvellePartie();
        } else {
            plateforme_.terminer(0);
        }
        questionDuGeste = partie_->affichage().reponses;
    };
    partie_->Repondre(param_.BonneReponse);

    const Affichage &affichage = partie_->affichage();
    if (geste == u"quit") {
        QCOMPARE(plateforme_.fins, QList<int>{0});
        QCOMPARE(affichage.resultat, QStringLiteral("Très bien"));
        QVERIFY(affichage.masquesFermes);
        QCOMPARE(param_.NumeroJeu, 1);
        return;
    }
    const bool nouvelle = geste == u"new game";
    QCOMPARE(param_.Points, nouvelle ? 0 : 5);
    QCOMPARE(param_.NumeroJeu, nouvelle ? 1 : 2);
    QCOMPARE(affichage.resultat, QString());
    QVERIFY(!affichage.masquesFermes);
    QCOMPARE(affichage.reponses == questionDuGeste, nouvelle);
    // The question on screen takes answers again.
    partie_->Repondre(param_.BonneReponse);
    QCOMPARE(param_.Points, nouvelle ? 5 : 10);
}

void TestMoteur::baseIllisibleTermineLeProgramme()
{
    // The database is opened afresh at every question: one that went missing mid-game ends the
    // program with a message naming it, and the masks stay closed.
#ifdef Q_OS_WIN
    QSKIP("Windows removes no file that the game holds open");
#endif
    partie_->NouvellePartie();
    repondre(0);
    QVERIFY(QFile::remove(base_->fichier()));
    repondre(0);
    QCOMPARE(messages_->size(), 1);
    QCOMPARE(messages_->at(0).at(0).toString(), QStringLiteral("Les Pavoria"));
    QCOMPARE(messages_->at(0).at(1).toString(),
             QStringLiteral("Le fichier de jeu « %1 » est introuvable.").arg(base_->fichier()));
    QCOMPARE(plateforme_.fins, QList<int>{1});
    QVERIFY(partie_->affichage().masquesFermes);
}

QTEST_GUILESS_MAIN(TestMoteur)
#include "tst_moteur.moc"
