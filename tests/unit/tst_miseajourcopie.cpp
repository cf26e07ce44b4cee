#include "database/MiseAJourCopie.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

// A player's copy brought up to the flags of the shipped file: the built file stands for the
// shipped one, a private copy of it in a folder of its own for the player's.
class TestMiseAJourCopie : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void versionLueDansLEnTete_data();
    void versionLueDansLEnTete();
    void necessaireSiLaCopieEstPlusAncienne_data();
    void necessaireSiLaCopieEstPlusAncienne();

    void nouveauxDrapeauxEtMemesScores();
    void restesDUneMiseAJourCoupeeRetires();
    void copieRefuseeLaisseeTelleQuelle_data();
    void copieRefuseeLaisseeTelleQuelle();
    void fichierLivreIncompletRefuse();

private:
    QString livre() const { return livre_->fichier(); }
    QString copie() const { return copie_->fichier(); }
    QStringList dossierCopie() const
    {
        return QDir(copie_->dossier()).entryList(QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<BaseDeTest> livre_;
    std::unique_ptr<BaseDeTest> copie_;
};

void TestMiseAJourCopie::init()
{
    livre_ = std::make_unique<BaseDeTest>();
    copie_ = std::make_unique<BaseDeTest>();
    FichierJeu::vieillir(copie(), Schema::versionDrapeaux - 1);
    // Distinct rows, two of them equal, so that both the values and their order show.
    copie_->fixerScores({70, 12, 55, 12, 31, 64, 8, 47, 23, 75});
}

void TestMiseAJourCopie::versionLueDansLEnTete_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("none written") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("past one byte, big-endian") << 0x01020304;
}

void TestMiseAJourCopie::versionLueDansLEnTete()
{
    // The header read without the database engine agrees with what SQLite stores.
    QFETCH(int, version);
    FichierJeu::fixerVersion(copie(), version);
    QCOMPARE(FichierJeu::version(copie()), version);
    QCOMPARE(MiseAJourCopie::lireVersion(copie()), std::optional<int>(version));
    // The build writes the program's own.
    QCOMPARE(MiseAJourCopie::lireVersion(QStringLiteral(PAVORIA_DAT_CONSTRUIT)),
             std::optional<int>(Schema::versionDrapeaux));
}

void TestMiseAJourCopie::necessaireSiLaCopieEstPlusAncienne_data()
{
    QTest::addColumn<QByteArray>("contenuCopie"); // empty: the database, of this version
    QTest::addColumn<int>("versionCopie");
    QTest::addColumn<bool>("livreAbsent");
    QTest::addColumn<bool>("attendu");

    const int v = Schema::versionDrapeaux;
    QTest::newRow("older") << QByteArray() << v - 1 << false << true;
    QTest::newRow("same") << QByteArray() << v << false << false;
    QTest::newRow("newer: from a later game") << QByteArray() << v + 1 << false << false;
    QTest::newRow("not a database") << QByteArray("Pavoria.dat\n") << 0 << false << false;
    QTest::newRow("empty") << QByteArray("") << 0 << false << false;
    QTest::newRow("shipped file missing") << QByteArray() << v - 1 << true << false;
}

void TestMiseAJourCopie::necessaireSiLaCopieEstPlusAncienne()
{
    QFETCH(QByteArray, contenuCopie);
    QFETCH(int, versionCopie);
    QFETCH(bool, livreAbsent);
    QFETCH(bool, attendu);
    if (contenuCopie.isNull()) {
        FichierJeu::fixerVersion(copie(), versionCopie);
    } else {
        QFile fichier(copie());
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write(contenuCopie);
    }
    if (livreAbsent)
        QVERIFY(QFile::remove(livre()));

    QCOMPARE(MiseAJourCopie(livre(), copie()).necessaire(), attendu);
}

void TestMiseAJourCopie::nouveauxDrapeauxEtMemesScores()
{
    // The copy gets the shipped file's flags and version, and keeps its ten scores, values and
    // order of rows, and its permissions; the shipped file is only read.
    QFile::setPermissions(copie(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions droits = QFileInfo(copie()).permissions();
    const QStringList scores = FichierJeu::lignesScores(copie());
    const QByteArray livreAvant = livre_->contenu();
    QVERIFY(FichierJeu::empreinteDrapeaux(copie()) != FichierJeu::empreinteDrapeaux(livre()));

    MiseAJourCopie miseAJour(livre(), copie());
    QVERIFY(miseAJour.necessaire());
    QVERIFY2(miseAJour.executer(), qPrintable(miseAJour.erreur()));

    QCOMPARE(FichierJeu::empreinteDrapeaux(copie()), FichierJeu::empreinteDrapeaux(livre()));
    QCOMPARE(FichierJeu::lignesScores(copie()), scores);
    QCOMPARE(FichierJeu::version(copie()), Schema::versionDrapeaux);
    QCOMPARE(QFileInfo(copie()).permissions(), droits);
    QCOMPARE(dossierCopie(), QStringList{"Pavoria.dat"});
    QCOMPARE(livre_->contenu(), livreAvant);
    QCOMPARE(copie_->scores().first().SCORE, 75);
    QVERIFY(!MiseAJourCopie(livre(), copie()).necessaire());
}

void TestMiseAJourCopie::restesDUneMiseAJourCoupeeRetires()
{
    // What a stopped update leaves goes at the next; any other file stays.
    const QString dossier = copie_->dossier();
    for (const char *nom :
         {"Pavoria.dat.maj-Ab12Cd", "Pavoria.dat.maj-Ab12Cd-journal", "Pavoria.dat.sauvegarde"}) {
        QFile reste(QDir(dossier).filePath(QLatin1String(nom)));
        QVERIFY(reste.open(QIODevice::WriteOnly));
        reste.write("reste");
    }
    MiseAJourCopie miseAJour(livre(), copie());
    QVERIFY2(miseAJour.executer(), qPrintable(miseAJour.erreur()));
    QCOMPARE(dossierCopie(), (QStringList{"Pavoria.dat", "Pavoria.dat.sauvegarde"}));
}

void TestMiseAJourCopie::copieRefuseeLaisseeTelleQuelle_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("faute");

    QTest::newRow("nine scores") << "DELETE FROM SCORES WHERE rowid = 3"
                                 << "a une table des scores de 9 lignes au lieu de 10";
    QTest::newRow("no score table") << "DROP TABLE SCORES"
                                    << "ne contient pas la table SCORES";
    QTest::newRow("truncated") << ""
                               << "est endommagé";
}

void TestMiseAJourCopie::copieRefuseeLaisseeTelleQuelle()
{
    // Scores the game itself would refuse are never carried, nor thrown away: the copy stays
    // byte for byte, for the game to report it, and the failure names it.
    QFETCH(QString, sql);
    QFETCH(QString, faute);
    if (sql.isEmpty()) {
        // Its header whole, so that its version still reads older.
        QFile fichier(copie());
        QVERIFY(fichier.resize(fichier.size() / 2));
    } else {
        FichierJeu::travailler(copie(),
                               [&sql](QSqlQuery &requete) { FichierJeu::executer(requete, sql); });
    }
    const QByteArray avant = copie_->contenu();

    MiseAJourCopie miseAJour(livre(), copie());
    QVERIFY(miseAJour.necessaire());
    QVERIFY(!miseAJour.executer());
    QVERIFY2(miseAJour.erreur().contains(faute), qPrintable(miseAJour.erreur()));
    QVERIFY2(miseAJour.erreur().contains(copie()), qPrintable(miseAJour.erreur()));
    QCOMPARE(copie_->contenu(), avant);
    QCOMPARE(dossierCopie(), QStringList{"Pavoria.dat"});
}

void TestMiseAJourCopie::fichierLivreIncompletRefuse()
{
    // A shipped file the game could not play on never replaces the player's copy.
    FichierJeu::travailler(livre(), [](QSqlQuery &requete) {
        FichierJeu::executer(requete, QStringLiteral("DELETE FROM Pavoria WHERE NUMERO = 5"));
    });
    const QByteArray avant = copie_->contenu();

    MiseAJourCopie miseAJour(livre(), copie());
    QVERIFY(!miseAJour.executer());
    QVERIFY2(miseAJour.erreur().contains(QStringLiteral("ne contient pas le drapeau n° 5")),
             qPrintable(miseAJour.erreur()));
    QCOMPARE(copie_->contenu(), avant);
    QCOMPARE(dossierCopie(), QStringList{"Pavoria.dat"});
}

QTEST_GUILESS_MAIN(TestMiseAJourCopie)
#include "tst_miseajourcopie.moc"
