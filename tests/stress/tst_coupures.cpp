#include "tests/aides/LigneEcrite.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Coupure.h"
#include "tests/support/FichierJeu.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QTest>
#include <QThread>

namespace {

struct Ligne
{
    qint64 rowid = 0;
    QString nom;
    int score = 0;
    QString date;

    bool operator==(const Ligne &) const = default;
};

QList<Ligne> lignesParRowid(const QString &fichier)
{
    QList<Ligne> lignes;
    FichierJeu::travailler(fichier, [&lignes](QSqlQuery &requete) {
        FichierJeu::executer(requete, QStringLiteral("PRAGMA integrity_check"));
        if (!requete.next() || requete.value(0).toString() != u"ok")
            qFatal("integrity_check: %s", qPrintable(requete.value(0).toString()));
        FichierJeu::executer(
            requete, QStringLiteral("SELECT rowid, NOM, SCORE, DATE FROM SCORES ORDER BY rowid"));
        while (requete.next()) {
            lignes.append({requete.value(0).toLongLong(), requete.value(1).toString(),
                           requete.value(2).toInt(), requete.value(3).toString()});
        }
    });
    return lignes;
}

// Which write a row comes from; 0 for a row of the file as built, -1 for neither.
int ecritureDeLaLigne(const Ligne &ligne, const QList<Ligne> &initiales)
{
    if (initiales.contains(ligne))
        return 0;
    const int n = ligne.score - 100;
    const ControleDonnees::LigneScore attendue = ligneEcrite(n);
    const bool entiere =
        n > 0 && ligne.nom == attendue.NOM && ligne.date == attendue.DATE.toString(Qt::ISODate);
    return entiere ? n : -1;
}

// The table after the first n writes, each over the lowest row, the first by rowid among ties.
void appliquerEcritures(QList<Ligne> &table, int deja, int n)
{
    for (int ecriture = deja + 1; ecriture <= n; ++ecriture) {
        auto plusPetite =
            std::min_element(table.begin(), table.end(),
                             [](const Ligne &a, const Ligne &b) { return a.score < b.score; });
        const ControleDonnees::LigneScore ligne = ligneEcrite(ecriture);
        plusPetite->nom = ligne.NOM;
        plusPetite->score = ligne.SCORE;
        plusPetite->date = ligne.DATE.toString(Qt::ISODate);
    }
}

int nombreDepuisEnvironnement(const char *variable, int defaut)
{
    bool lu = false;
    const int nombre = qEnvironmentVariableIntValue(variable, &lu);
    return lu && nombre > 0 ? nombre : defaut;
}

} // namespace

class TestCoupures : public QObject
{
    Q_OBJECT

private slots:
    void ecrivainTueAuHasard();
};

void TestCoupures::ecrivainTueAuHasard()
{
    // A score writer killed at any moment leaves a file that passes the integrity check and
    // holds ten rows, each the old one or a new one whole, every reported write in it; the
    // game's reader opens it at once, a journal left behind or not.
    const int coupures = nombreDepuisEnvironnement("PAVORIA_COUPURES", 200);
    const auto graine = quint32(nombreDepuisEnvironnement("PAVORIA_GRAINE", 1789));
    QRandomGenerator hasard(graine);
    BaseDeTest base;
    const QList<Ligne> initiales = lignesParRowid(base.fichier());
    QCOMPARE(initiales.size(), 10);
    QList<Ligne> attendues = initiales;
    int ecrites = 0;
    int journauxLaisses = 0;

    for (int coupure = 1; coupure <= coupures; ++coupure) {
        QProcess ecrivain;
        ecrivain.start(QStringLiteral(PAVORIA_ECRIVAIN_SCORES),
                       {base.fichier(), QString::number(ecrites + 1)});
        QVERIFY(ecrivain.waitForReadyRead(20000));
        QCOMPARE(ecrivain.readLine().trimmed(), QByteArray("prêt"));
        // From before the first write to a few writes in: every step of a write is hit.
        QThread::usleep(hasard.bounded(30000));
        ecrivain.kill();
        QVERIFY(ecrivain.waitForFinished(20000));
        int signalee = ecrites;
        for (const QByteArray &ligne : ecrivain.readAllStandardOutput().split('\n')) {
            if (!ligne.isEmpty())
                signalee = ligne.toInt();
        }
        QVERIFY2(ecrivain.readAllStandardError().isEmpty(), "the writer met an error");
        // The kill ended it, nothing else: a writer that died of its own is a fault.
        QCOMPARE(ecrivain.exitStatus(), QProcess::CrashExit);
        QCOMPARE(ecrivain.exitCode(), Coupure::codeSortie);
        if (QFile::exists(base.fichier() + QStringLiteral("-journal")))
            ++journauxLaisses;

        ControleDonnees jeu(QStringLiteral("jeu"), ControleDonnees::Acces::Lecture);
        QVERIFY2(jeu.ouvrirScores(base.fichier()), qPrintable(jeu.erreur()));
        QVERIFY2(jeu.ouvrirDrapeaux(base.fichier()), qPrintable(jeu.erreur()));
        jeu.fermer();
        const QList<Ligne> lignes = lignesParRowid(base.fichier());
        QCOMPARE(lignes.size(), 10);
        int derniere = 0;
        for (const Ligne &ligne : lignes) {
            const int n = ecritureDeLaLigne(ligne, initiales);
            QVERIFY2(n >= 0, qPrintable(QStringLiteral("row %1 is torn: %2 %3 %4")
                                            .arg(ligne.rowid)
                                            .arg(ligne.nom)
                                            .arg(ligne.score)
                                            .arg(ligne.date)));
            derniere = std::max(derniere, n);
        }
        // Every write reported committed is there; the one under way may be too.
        QVERIFY(derniere >= signalee && derniere <= signalee + 1);
        appliquerEcritures(attendues, ecrites, derniere);
        QCOMPARE(lignes, attendues);
        ecrites = derniere;
    }
    qInfo("%d kills (seed %u), %d writes in all, %d kills left a journal to play back", coupures,
          graine, ecrites, journauxLaisses);
    // The kills fell on a writer at work: how many writes it got through depends on the
    // machine's load and the build (sanitizers slow it), so only some are asked for.
    QVERIFY(ecrites > 0);
    QVERIFY(journauxLaisses > 0);
}

QTEST_GUILESS_MAIN(TestCoupures)
#include "tst_coupures.moc"
