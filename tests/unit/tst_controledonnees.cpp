#include "database/ControleDonnees.h"
#include "database/Schema.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
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

// The connection to the game database on a temporary copy of it: the schema, the connections
// that live side by side, the settings a score's durability rests on.
class TestControleDonnees : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void schemaDuJeu();
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

void TestControleDonnees::schemaDuJeu()
{
    // The game's constants, and tables created from the statements that carry exactly the
    // named fields, in the order the top-ten grid shows them.
    QCOMPARE(Schema::nombreDrapeaux, 178);
    QCOMPARE(Schema::nombreScores, 10);
    QCOMPARE(Schema::tailleDessin(), QSize(370, 194));

    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("vide.dat"));
    executer(fichier, {Schema::creationDrapeaux, Schema::creationScores});
    const auto champs = [&](QLatin1StringView table) {
        return executer(fichier,
                        {QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table)});
    };
    QCOMPARE(champs(Schema::tableDrapeaux),
             (QStringList{Schema::champNumero, Schema::champPays, Schema::champDessin}));
    QCOMPARE(champs(Schema::tableScores),
             (QStringList{Schema::champNom, Schema::champScore, Schema::champDate}));
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
    const QString autre = QStringLiteral("autre programme");
    {
        QSqlDatabase lecture = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), autre);
        lecture.setDatabaseName(base_->fichier());
        QVERIFY(lecture.open());
        QSqlQuery requete(lecture);
        QVERIFY(requete.exec(QStringLiteral("BEGIN")));
        QVERIFY(requete.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(Schema::tableScores)));
        QVERIFY(requete.next());

        ControleDonnees ecrivain(QStringLiteral("ecrivain"), ControleDonnees::Acces::Ecriture);
        QVERIFY(!ecrivain.ouvrirScores(base_->fichier()));
        QCOMPARE(ecrivain.erreur(),
                 QStringLiteral("Le fichier de jeu « %1 » est occupé par un autre programme.")
                     .arg(base_->fichier()));
        QVERIFY(!ecrivain.estOuvert());
        requete.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(autre);
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
