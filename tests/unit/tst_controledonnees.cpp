#include "database/ControleDonnees.h"
#include "database/Schema.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

namespace {

// The first column of the last statement's rows.
QStringList executer(const QString &fichier, const QStringList &instructions)
{
    QStringList premiereColonne;
    for (const QVariantList &ligne : FichierJeu::executerSql(fichier, instructions))
        premiereColonne << ligne.value(0).toString();
    return premiereColonne;
}

} // namespace

// The connection to the game database on a temporary copy of it: the connections
// that live side by side, the settings a score's durability rests on.
class TestControleDonnees : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void deuxFenetresDeMemeRole();
    void lecteurNEcritJamais();
    void ecrivainRemetLeJournalDuFichier();
    void journalImpossibleAChangerSignale();
    void egalitesAuPlusPetitScore();

private:
    std::unique_ptr<BaseDeTest> base_;
};

void TestControleDonnees::init()
{
    base_ = std::make_unique<BaseDeTest>();
}

void TestControleDonnees::deuxFenetresDeMemeRole()
{
    // Two instances of one role each have their own connection: closing or destroying one
    // leaves the other working.
    ControleDonnees premiere(QStringLiteral("Scores.DataScores"), ControleDonnees::Acces::Lecture);
    auto seconde = std::make_unique<ControleDonnees>(QStringLiteral("Scores.DataScores"),
                                                     ControleDonnees::Acces::Lecture);
    QVERIFY2(premiere.ouvrirScores(base_->fichier()), qPrintable(premiere.erreur()));
    QVERIFY2(seconde->ouvrirScores(base_->fichier()), qPrintable(seconde->erreur()));
    seconde->fermer();
    QVERIFY(premiere.estOuvert());
    QVERIFY(seconde->ouvrirScores(base_->fichier()));
    seconde.reset();
    QVERIFY(premiere.estOuvert());
    QCOMPARE(premiere.scoresDecroissants().value().size(), Schema::nombreScores);
}

void TestControleDonnees::lecteurNEcritJamais()
{
    ControleDonnees lecteur(QStringLiteral("lecteur"), ControleDonnees::Acces::Lecture);
    QVERIFY(lecteur.ouvrirScores(base_->fichier()));
    const QByteArray avant = base_->contenu();
    QVERIFY(!lecteur.remplacerPlusPetitScore(QStringLiteral("INTRUS"), 99, QDate(2026, 1, 1)));
    QCOMPARE(
        lecteur.erreur(),
        QStringLiteral("Le fichier de jeu « %1 » est en lecture seule.").arg(base_->fichier()));
    QCOMPARE(base_->contenu(), avant);
}

void TestControleDonnees::ecrivainRemetLeJournalDuFichier()
{
    // A file left in WAL mode by another program goes back to its own rollback journal before
    // a score is written, and no -wal file stays beside it.
    QCOMPARE(executer(base_->fichier(), {QStringLiteral("PRAGMA journal_mode = WAL")}),
             QStringList{"wal"});
    ControleDonnees ecrivain(QStringLiteral("ecrivain"), ControleDonnees::Acces::Ecriture);
    QVERIFY2(ecrivain.ouvrirScores(base_->fichier()), qPrintable(ecrivain.erreur()));
    QVERIFY(ecrivain.remplacerPlusPetitScore(QStringLiteral("DURABLE"), 99, QDate(2026, 1, 1)));
    ecrivain.fermer();
    QCOMPARE(executer(base_->fichier(), {QStringLiteral("PRAGMA journal_mode")}),
             QStringList{"delete"});
    QVERIFY(!QFile::exists(base_->fichier() + QStringLiteral("-wal")));
    QCOMPARE(base_->scores().first().NOM, QStringLiteral("DURABLE"));
}

void TestControleDonnees::journalImpossibleAChangerSignale()
{
    // While another program reads the file in WAL mode, its journal cannot change: the writer
    // says so instead of writing the score under a journal it did not choose.
    executer(base_->fichier(), {QStringLiteral("PRAGMA journal_mode = WAL")});
    FichierJeu::travailler(base_->fichier(), [this](QSqlQuery &requete) {
        FichierJeu::executer(requete, QStringLiteral("BEGIN"));
        FichierJeu::executer(requete, Schema::nombreLignesScores);
        QVERIFY(requete.next());

        ControleDonnees ecrivain(QStringLiteral("ecrivain"), ControleDonnees::Acces::Ecriture);
        QVERIFY(!ecrivain.ouvrirScores(base_->fichier()));
        QCOMPARE(ecrivain.erreur(),
                 QStringLiteral("Le fichier de jeu « %1 » est occupé par un autre programme.")
                     .arg(base_->fichier()));
        QVERIFY(!ecrivain.estOuvert());
        requete.exec(QStringLiteral("ROLLBACK"));
    });
}

void TestControleDonnees::egalitesAuPlusPetitScore()
{
    // Among equal lowest scores the first row stored is overwritten, and the others keep
    // their place in the descending order.
    base_->fixerScores({30, 4, 50, 4, 20, 4, 40, 10, 60, 70});
    ControleDonnees ecrivain(QStringLiteral("ecrivain"), ControleDonnees::Acces::Ecriture);
    QVERIFY(ecrivain.ouvrirScores(base_->fichier()));
    QCOMPARE(ecrivain.plusPetitScore(), 4);
    QVERIFY(ecrivain.remplacerPlusPetitScore(QStringLiteral("NOUVEAU"), 5, QDate(2026, 12, 9)));
    const auto lignes = ecrivain.scoresDecroissants().value();
    QStringList noms;
    for (const auto &ligne : lignes)
        noms << ligne.NOM;
    QCOMPARE(noms, (QStringList{"J9", "J8", "J2", "J6", "J0", "J4", "J7", "NOUVEAU", "J3", "J5"}));
    QCOMPARE(lignes[7].DATE, QDate(2026, 12, 9));
}

QTEST_GUILESS_MAIN(TestControleDonnees)
#include "tst_controledonnees.moc"
