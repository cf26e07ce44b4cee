#include "database/ControleDonnees.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Coupure.h"
#include "tests/support/FichierJeu.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <limits>

namespace {

int nombreDepuisEnvironnement(const char *variable, int defaut)
{
    bool lu = false;
    const int nombre = qEnvironmentVariableIntValue(variable, &lu);
    return lu && nombre > 0 ? nombre : defaut;
}

QString integrite(const QString &fichier)
{
    QString resultat;
    FichierJeu::travailler(fichier, [&resultat](QSqlQuery &requete) {
        FichierJeu::executer(requete, QStringLiteral("PRAGMA integrity_check"));
        while (requete.next())
            resultat += requete.value(0).toString();
    });
    return resultat;
}

} // namespace

class TestCoupuresMiseAJour : public QObject
{
    Q_OBJECT

private slots:
    void miseAJourTueeAuHasard();

private:
    // Starts the update of the copy and kills it after this many microseconds, or lets it end
    // when negative; returns its standard output. It may end before the kill, never otherwise.
    QByteArray lancer(const QString &livre, const QString &copie, int attente);

    int tuees_ = 0; // updates that the kill ended
};

QByteArray TestCoupuresMiseAJour::lancer(const QString &livre, const QString &copie, int attente)
{
    QProcess miseAJour;
    if (attente >= 0) {
        // A kill that lands in the sanitizer's leak check at exit makes its tracer complain on
        // stderr; leaks are checked on the runs left to end.
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("ASAN_OPTIONS"),
                             environnement.value(QStringLiteral("ASAN_OPTIONS"))
                                 + QStringLiteral(":detect_leaks=0"));
        miseAJour.setProcessEnvironment(environnement);
    }
    miseAJour.start(QStringLiteral(PAVORIA_METTRE_A_JOUR_COPIE), {livre, copie});
    if (!miseAJour.waitForReadyRead(20000) || miseAJour.readLine().trimmed() != "prêt")
        qFatal("the update did not start");
    if (attente >= 0) {
        QThread::usleep(attente);
        miseAJour.kill();
    }
    if (!miseAJour.waitForFinished(20000))
        qFatal("the update did not end");
    const QByteArray erreur = miseAJour.readAllStandardError();
    if (!erreur.isEmpty())
        qFatal("the update failed: %s", erreur.constData());
    const bool tuee = miseAJour.exitStatus() == QProcess::CrashExit;
    if (miseAJour.exitCode() != (tuee ? Coupure::codeSortie : 0))
        qFatal("the update %s %d", tuee ? "died of signal" : "ended with status",
               miseAJour.exitCode());
    tuees_ += tuee ? 1 : 0;
    return miseAJour.readAllStandardOutput();
}

void TestCoupuresMiseAJour::miseAJourTueeAuHasard()
{
    // An update killed at any moment leaves the player's file whole: the old flags or the new,
    // each with its own version, and always the same ten scores; the game's checks accept it.
    // What the killed update left beside it goes at the next.
    const int coupures = nombreDepuisEnvironnement("PAVORIA_COUPURES_MISE_A_JOUR", 100);
    const auto graine = quint32(nombreDepuisEnvironnement("PAVORIA_GRAINE", 1848));
    QRandomGenerator hasard(graine);
    const BaseDeTest livre;
    const BaseDeTest ancienne;
    FichierJeu::vieillir(ancienne.fichier(), Schema::versionDrapeaux - 1);
    ancienne.fixerScores({70, 12, 55, 12, 31, 64, 8, 47, 23, 75});
    const QByteArray octetsAnciens = ancienne.contenu();
    const QStringList scores = FichierJeu::lignesScores(ancienne.fichier());
    const QByteArray drapeauxAnciens = FichierJeu::empreinteDrapeaux(ancienne.fichier());
    const QByteArray drapeauxNouveaux = FichierJeu::empreinteDrapeaux(livre.fichier());
    QVERIFY(drapeauxAnciens != drapeauxNouveaux);

    QTemporaryDir joueur;
    const QString copie = joueur.filePath(QStringLiteral("Pavoria.dat"));
    const auto remettreAncienne = [&] {
        QFile fichier(copie);
        if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || fichier.write(octetsAnciens) != octetsAnciens.size())
            qFatal("cannot write %s", qPrintable(copie));
    };
    // Updates left whole, timed, set the span the kills fall in: the shortest, since the first
    // pays for cold caches.
    int duree = std::numeric_limits<int>::max();
    for (int essai = 0; essai < 3; ++essai) {
        remettreAncienne();
        QElapsedTimer chrono;
        chrono.start();
        QCOMPARE(lancer(livre.fichier(), copie, -1).trimmed(), QByteArray("fait"));
        duree = std::min(duree, int(chrono.nsecsElapsed() / 1000));
    }

    int anciennes = 0;
    int nouvelles = 0;
    int restesLaisses = 0;
    for (int coupure = 1; coupure <= coupures; ++coupure) {
        remettreAncienne();
        const QStringList avant = QDir(joueur.path()).entryList(QDir::Files);
        lancer(livre.fichier(), copie, int(hasard.bounded(duree + duree / 2)));

        QCOMPARE(integrite(copie), QStringLiteral("ok"));
        QCOMPARE(FichierJeu::lignesScores(copie), scores);
        const QByteArray drapeaux = FichierJeu::empreinteDrapeaux(copie);
        const int version = FichierJeu::version(copie);
        if (drapeaux == drapeauxAnciens) {
            QCOMPARE(version, Schema::versionDrapeaux - 1);
            ++anciennes;
        } else {
            QCOMPARE(drapeaux, drapeauxNouveaux);
            QCOMPARE(version, Schema::versionDrapeaux);
            ++nouvelles;
        }
        ControleDonnees jeu(QStringLiteral("jeu"), ControleDonnees::Acces::Lecture);
        QVERIFY2(jeu.ouvrirScores(copie), qPrintable(jeu.erreur()));
        QVERIFY2(jeu.ouvrirDrapeaux(copie), qPrintable(jeu.erreur()));
        jeu.fermer();
        const QStringList apres = QDir(joueur.path()).entryList(QDir::Files);
        for (const QString &fichier : apres) {
            if (!avant.contains(fichier))
                ++restesLaisses;
        }
    }
    remettreAncienne();
    QCOMPARE(lancer(livre.fichier(), copie, -1).trimmed(), QByteArray("fait"));
    QCOMPARE(QDir(joueur.path()).entryList(QDir::Files), QStringList{"Pavoria.dat"});

    qInfo("%d runs (seed %u), %d of them killed within %d µs: %d left the old file, %d the new, "
          "%d a new file half written beside it",
          coupures, graine, tuees_, duree + duree / 2, anciennes, nouvelles, restesLaisses);
    // How the kills fall depends on the machine's load: only that some fell before the new
    // file was in place, and some while it was being written, is asked for.
    QVERIFY(anciennes > 0);
    QVERIFY(restesLaisses > 0);
}

QTEST_GUILESS_MAIN(TestCoupuresMiseAJour)
#include "tst_coupuresmiseajour.moc"
