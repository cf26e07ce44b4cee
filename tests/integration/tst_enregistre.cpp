#include "quiz/Param.h"
#include "scores/Enregistre.h"
#include "scores/FiltreNom.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QWindow>

#include <memory>

using Ligne = ControleDonnees::LigneScore;

class TestEnregistre : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titreBlancQueQtGarde();
    void nomVideRefuse();
    void saisieEnMajusculesEtLimitee_data();
    void saisieEnMajusculesEtLimitee();
    void collerGardeCeQuiTient_data();
    void collerGardeCeQuiTient();
    void nomsInhabituelsEnregistresTelsQuels_data();
    void nomsInhabituelsEnregistresTelsQuels();
    void scoreJusteAuDessusDuPlusPetit();
    void egalitesAuPlusPetitScore();
    void scoreNonClasse_data();
    void scoreNonClasse();
    void annulerNeToucheARien();
    void entreeEtEchapNAppuientSurRien();
    void baseVerrouilleeSignaleeEtTableIntacte();

private:
    void ouvrir(int points);
    void taper(const QString &texte);
    void valider();

    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    Param param_;
    std::unique_ptr<Enregistre> dialogue_;
};

void TestEnregistre::init()
{
    base_ = std::make_unique<BaseDeTest>();
    plateforme_ = PlateformeFactice();
    plateforme_.horloge = QDateTime(QDate(2026, 12, 9), QTime(23, 59));
    param_ = Param();
    param_.FichierBase = base_->fichier();
}

void TestEnregistre::cleanup()
{
    dialogue_.reset();
}

void TestEnregistre::ouvrir(int points)
{
    param_.Points = static_cast<qint16>(points);
    dialogue_ = std::make_unique<Enregistre>(param_, plateforme_, plateforme_);
    dialogue_->show();
    QVERIFY(QTest::qWaitForWindowActive(dialogue_.get()));
}

void TestEnregistre::taper(const QString &texte)
{
    Joueur::taper(dialogue_->findChild<QLineEdit *>(QStringLiteral("SaisieNom")), texte);
}

void TestEnregistre::valider()
{
    dialogue_->findChild<QPushButton *>(QStringLiteral("Valider"))->click();
}

void TestEnregistre::titreBlancQueQtGarde()
{
    // Qt names an untitled window after the game for the window system; a blank it passes on.
    ouvrir(50);
    QCOMPARE(dialogue_->windowHandle()->title(), QStringLiteral(" "));
}

void TestEnregistre::nomVideRefuse()
{
    // An empty name is refused, the focus goes back to the box and the dialog stays open.
    const QByteArray avant = base_->contenu();
    ouvrir(50);
    dialogue_->findChild<QPushButton *>(QStringLiteral("Valider"))->setFocus();
    valider();

    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(plateforme_.messages[0].texte, QStringLiteral("Saisissez au moins une lettre !!!"));
    QVERIFY(dialogue_->isVisible());
    QCOMPARE(QApplication::focusWidget(), dialogue_->findChild<QLineEdit *>());
    QCOMPARE(base_->contenu(), avant);
}

void TestEnregistre::saisieEnMajusculesEtLimitee_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("montre");

    QTest::newRow("lower case") << "dupont"
                                << "DUPONT";
    QTest::newRow("accents") << QString::fromUtf8("éléonore ça")
                             << QString::fromUtf8("ÉLÉONORE ÇA");
    QTest::newRow("digits and punctuation pass") << "r2-d2 !"
                                                 << "R2-D2 !";
    QTest::newRow("sixteenth character not taken") << "abcdefghijklmnopq"
                                                   << "ABCDEFGHIJKLMNO";
    QTest::newRow("sharp s keeps its length")
        << QString::fromUtf8("straße") << QString::fromUtf8("STRAßE");
}

void TestEnregistre::saisieEnMajusculesEtLimitee()
{
    // Every typed letter shows in capitals, one for one, and the box takes at most 15.
    QFETCH(QString, tape);
    QFETCH(QString, montre);
    ouvrir(50);
    taper(tape);
    QCOMPARE(dialogue_->findChild<QLineEdit *>()->text(), montre);
}

void TestEnregistre::collerGardeCeQuiTient_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("colle");
    QTest::addColumn<QString>("montre");

    QTest::newRow("a long name keeps its first fifteen") << ""
                                                         << "abcdefghijklmnopqrstu"
                                                         << "ABCDEFGHIJKLMNO";
    QTest::newRow("after typed text") << "jean-"
                                      << "christophe-marie"
                                      << "JEAN-CHRISTOPHE";
    QTest::newRow("a full box takes nothing") << "abcdefghijklmno"
                                              << "xyz"
                                              << "ABCDEFGHIJKLMNO";
    QTest::newRow("control characters and line breaks left out")
        << "" << QString::fromUtf8("a\tb\nc\rd\u2028e\x7f\u0085f") << "ABCDEF";
    QTest::newRow("an accent joins the fifteenth letter")
        << "abcdefghijklmno" << QString::fromUtf8("\u0301p")
        << QString::fromUtf8("ABCDEFGHIJKLMNO\u0301");
    QTest::newRow("a flag of two code points counts once")
        << "abcdefghijklmn" << QString::fromUtf8("🇫🇷🇫🇷") << QString::fromUtf8("ABCDEFGHIJKLMN🇫🇷");
}

void TestEnregistre::collerGardeCeQuiTient()
{
    // Pasted text is upper-cased like typed text, loses what the box cannot show, and is
    // taken as far as the fifteen characters allow, as by a box with a maximum length.
    QFETCH(QString, tape);
    QFETCH(QString, colle);
    QFETCH(QString, montre);
    ouvrir(50);
    auto *saisie = dialogue_->findChild<QLineEdit *>();
    taper(tape);
    QGuiApplication::clipboard()->setText(colle);
    QTest::keyClick(saisie, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(saisie->text(), montre);
    QCOMPARE(saisie->displayText(), montre);
}

void TestEnregistre::nomsInhabituelsEnregistresTelsQuels_data()
{
    QTest::addColumn<QString>("nom");

    QTest::newRow("a single space") << " ";
    QTest::newRow("apostrophe") << "O'BRIEN";
    QTest::newRow("SQL text") << "'); DROP TABLE";
    QTest::newRow("outside the BMP counts once") << QString::fromUtf8("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀");
}

void TestEnregistre::nomsInhabituelsEnregistresTelsQuels()
{
    // Any name the box takes is stored verbatim over the lowest row.
    QFETCH(QString, nom);
    ouvrir(99);
    taper(nom);
    QCOMPARE(dialogue_->findChild<QLineEdit *>()->text(), nom);
    valider();

    QVERIFY(plateforme_.messages.isEmpty());
    const QList<Ligne> scores = base_->scores();
    QCOMPARE(scores.size(), 10);
    QCOMPARE(scores.first().NOM, nom);
    QCOMPARE(scores.first().SCORE, 99);
    QVERIFY(!dialogue_->isVisible());
    QCOMPARE(dialogue_->findChild<QLineEdit *>()->text(), QString());
}

void TestEnregistre::scoreJusteAuDessusDuPlusPetit()
{
    // One more than the lowest score replaces that row alone, with today's date.
    base_->fixerScores({70, 60, 50, 40, 30, 25, 20, 15, 12, 10});
    const QList<Ligne> avant = base_->scores();
    ouvrir(11);
    taper(QStringLiteral("lucie"));
    valider();

    const QList<Ligne> apres = base_->scores();
    QCOMPARE(apres.size(), 10);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(apres[i].NOM, avant[i].NOM);
        QCOMPARE(apres[i].SCORE, avant[i].SCORE);
    }
    QCOMPARE(apres[9].NOM, QStringLiteral("LUCIE"));
    QCOMPARE(apres[9].SCORE, 11);
    QCOMPARE(apres[9].DATE, QDate(2026, 12, 9));
}

void TestEnregistre::egalitesAuPlusPetitScore()
{
    // Among rows sharing the lowest score, only the first of the table is overwritten.
    base_->fixerScores({70, 60, 50, 40, 30, 20, 5, 5, 5, 5});
    ouvrir(6);
    taper(QStringLiteral("max"));
    valider();

    const QList<Ligne> apres = base_->scores();
    QCOMPARE(apres.size(), 10);
    QCOMPARE(apres[6].NOM, QStringLiteral("MAX"));
    QCOMPARE(apres[7].NOM, QStringLiteral("J7"));
    QCOMPARE(apres[8].NOM, QStringLiteral("J8"));
    QCOMPARE(apres[9].NOM, QStringLiteral("J9"));
}

void TestEnregistre::scoreNonClasse_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("comparaison");

    QTest::newRow("equal to the lowest") << 10 << QString::fromUtf8("égal");
    QTest::newRow("zero against zero") << 0 << QString::fromUtf8("égal");
    QTest::newRow("below the lowest") << 3 << QString::fromUtf8("inférieur");
}

void TestEnregistre::scoreNonClasse()
{
    // A score not above the lowest is refused with its reason; the table stays as it was.
    QFETCH(int, points);
    QFETCH(QString, comparaison);
    base_->fixerScores({70, 60, 50, 40, 30, 25, 20, 15, 12, points == 0 ? 0 : 10});
    const QByteArray avant = base_->contenu();
    ouvrir(points);
    taper(QStringLiteral("zoé"));
    valider();

    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(plateforme_.messages[0].texte,
             QString::fromUtf8("Désolé, ZOÉ,\n\nvotre score est %1 au plus petit score enregistré "
                               "!!!\n\nVous ne pouvez être classé.")
                 .arg(comparaison));
    QCOMPARE(base_->contenu(), avant);
    QVERIFY(!dialogue_->isVisible());
}

void TestEnregistre::annulerNeToucheARien()
{
    // Annuler closes the dialog without opening the database.
    const QByteArray avant = base_->contenu();
    ouvrir(75);
    taper(QStringLiteral("paul"));
    dialogue_->findChild<QPushButton *>(QStringLiteral("Annuler"))->click();

    QVERIFY(!dialogue_->isVisible());
    QCOMPARE(dialogue_->findChild<QLineEdit *>()->text(), QString());
    QVERIFY(plateforme_.messages.isEmpty());
    QCOMPARE(base_->contenu(), avant);
}

void TestEnregistre::entreeEtEchapNAppuientSurRien()
{
    // Neither button is the default or the cancel button.
    ouvrir(75);
    taper(QStringLiteral("paul"));
    for (const Qt::Key touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(dialogue_.get(), touche);
        QTest::keyClick(dialogue_->findChild<QLineEdit *>(), touche);
    }
    QVERIFY(dialogue_->isVisible());
    QCOMPARE(dialogue_->findChild<QLineEdit *>()->text(), QStringLiteral("PAUL"));
    QVERIFY(plateforme_.messages.isEmpty());
}

void TestEnregistre::baseVerrouilleeSignaleeEtTableIntacte()
{
    // A score that cannot be stored is reported and the table keeps its ten rows.
    const QList<Ligne> avant = base_->scores();
    // Another program holds the file locked while the score is confirmed.
    FichierJeu::travailler(base_->fichier(), [this](QSqlQuery &verrou) {
        FichierJeu::executer(verrou, QStringLiteral("BEGIN EXCLUSIVE"));
        ouvrir(75);
        taper(QStringLiteral("paul"));
        valider();
        FichierJeu::executer(verrou, QStringLiteral("ROLLBACK"));
    });

    QCOMPARE(plateforme_.messages.size(), 1);
    QVERIFY(plateforme_.messages[0].texte.startsWith(
        QString::fromUtf8("Votre score n’a pas pu être enregistré.")));
    QVERIFY2(plateforme_.messages[0].texte.contains(base_->fichier()),
             qPrintable(plateforme_.messages[0].texte));
    QVERIFY(plateforme_.messages[0].texte.contains(QString::fromUtf8("occupé")));
    QVERIFY(!dialogue_->isVisible());
    const QList<Ligne> apres = base_->scores();
    QCOMPARE(apres.size(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(apres[i].NOM, avant[i].NOM);
}

PAVORIA_TEST_MAIN(TestEnregistre)
#include "tst_enregistre.moc"
