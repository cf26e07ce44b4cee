#include "app/Questionnaire.h"
#include "core/PlateformeQt.h"
#include "database/EmplacementBase.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"
#include "tests/support/PlateformeFactice.h"
#include "tests/support/ProcessusNeuf.h"
#include "widgets/Bouton3D.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <optional>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

using Ligne = ControleDonnees::LigneScore;

QByteArray contenu(const QString &fichier)
{
    QFile lecture(fichier);
    if (!lecture.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(fichier));
    return lecture.readAll();
}

QList<Ligne> scoresDe(const QString &fichier)
{
    ControleDonnees base(QStringLiteral("tst_emplacementbase"), ControleDonnees::Acces::Lecture);
    if (!base.ouvrirScores(fichier))
        qFatal("%s", qPrintable(base.erreur()));
    return base.scoresDecroissants().value();
}

void ecrireScore(const QString &fichier, const QString &nom, int score)
{
    ControleDonnees base(QStringLiteral("tst_emplacementbase"), ControleDonnees::Acces::Ecriture);
    if (!base.ouvrirScores(fichier) || !base.remplacerPlusPetitScore(nom, score, QDate(2026, 1, 2)))
        qFatal("%s", qPrintable(base.erreur()));
}

QFile::Permissions droits(int mode)
{
    // QFile keeps each rwx triplet of an octal mode in a hex digit; "user" is the owner here.
    const int proprietaire = (mode >> 6) & 07;
    return QFile::Permissions::fromInt((proprietaire << 12) | (proprietaire << 8)
                                       | (((mode >> 3) & 07) << 4) | (mode & 07));
}

} // namespace

class TestEmplacementBase : public QObject
{
    Q_OBJECT

private slots:
    void init();

    // The choice, with a system install simulated through the platform layer.
    void installationModifiableJoueeSurPlace();
    void premierDemarrageFaitLaCopie();
    void demarragesSuivantsGardentLaCopie();
    void sansCopiePossibleLeFichierLivre_data();
    void sansCopiePossibleLeFichierLivre();
    void partieSurInstallationSysteme_data();
    void partieSurInstallationSysteme();

    // An installed game, whoever plays it: never its own file.
    void installationToujoursSurUneCopie_data();
    void installationToujoursSurUneCopie();
    void installationSansCopieJamaisEcrite();

    // A copy made by an earlier version, at the next start.
    void copieAJourSansBaseDeDonnees();
    void copieAncienneEndommageeGardee();

    // The real check, as the current user and as an ordinary player.
    void verdictConformeALEcriture_data();
    void verdictConformeALEcriture();
    void joueurOrdinaireSurInstallationSysteme();
    void dossierDonneesSousXdgDataHome();

private:
    QString copie() const
    {
        return QDir(plateforme_.donnees).filePath(QStringLiteral("Pavoria.dat"));
    }
    QString chemin() const { return base_->dossier() + QDir::separator(); }
    void proteger() { plateforme_.fichiersProteges = {base_->fichier()}; }
    std::optional<QStringList> sonder(const QString &sonde, const QStringList &fichiers,
                                      const QStringList &devant = {});

    std::unique_ptr<BaseDeTest> base_;
    std::unique_ptr<QTemporaryDir> maison_;
    PlateformeFactice plateforme_;
};

void TestEmplacementBase::init()
{
    base_ = std::make_unique<BaseDeTest>();
    maison_ = std::make_unique<QTemporaryDir>();
    plateforme_ = PlateformeFactice();
    plateforme_.dossier = base_->dossier();
    // Two levels that do not exist yet, as on a first start.
    plateforme_.donnees = maison_->filePath(QStringLiteral(".local/share/pavoria"));
}

void TestEmplacementBase::installationModifiableJoueeSurPlace()
{
    // A player who can write the shipped file plays on it and gets no copy.
    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), base_->fichier());
    QVERIFY(!QFileInfo::exists(plateforme_.donnees));
}

void TestEmplacementBase::premierDemarrageFaitLaCopie()
{
    // First start on a read-only install: an exact copy, writable by the player, in their
    // data folder; the shipped file left as it was, even when its bits forbid writing.
    QFile::setPermissions(base_->fichier(), droits(0444));
    const QByteArray livre = base_->contenu();
    const QDateTime date = QFileInfo(base_->fichier()).lastModified();
    proteger();

    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    QCOMPARE(contenu(copie()), livre);
    QVERIFY(QFileInfo(copie()).permissions().testFlag(QFile::WriteOwner));
    QCOMPARE(QDir(plateforme_.donnees).entryList(QDir::Files), QStringList{"Pavoria.dat"});
    QCOMPARE(base_->contenu(), livre);
    QCOMPARE(QFileInfo(base_->fichier()).lastModified(), date);
}

void TestEmplacementBase::demarragesSuivantsGardentLaCopie()
{
    // Later starts use the same copy and never replace it, whatever the shipped file becomes.
    proteger();
    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    ecrireScore(copie(), QStringLiteral("CAMILLE"), 70);
    base_->fixerScores({1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    const QByteArray joueur = contenu(copie());

    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    QCOMPARE(contenu(copie()), joueur);
    QCOMPARE(scoresDe(copie()).first().NOM, QStringLiteral("CAMILLE"));
}

void TestEmplacementBase::sansCopiePossibleLeFichierLivre_data()
{
    QTest::addColumn<bool>("livreAbsent");
    QTest::addColumn<QString>("donnees"); // relative to the temporary home; "-": none

    QTest::newRow("shipped file missing") << true << "donnees";
    QTest::newRow("no data folder") << false << "-";
    QTest::newRow("data folder under a file") << false << "fichier/pavoria";
}

void TestEmplacementBase::sansCopiePossibleLeFichierLivre()
{
    // Without a copy the shipped file stays the one named: a missing one is reported at the
    // first question, a read-only one when a score cannot be stored. No half copy is left.
    QFETCH(bool, livreAbsent);
    QFETCH(QString, donnees);
    if (livreAbsent)
        QVERIFY(QFile::remove(base_->fichier()));
    QFile fichier(maison_->filePath(QStringLiteral("fichier")));
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.close();
    plateforme_.donnees = donnees == u"-" ? QString() : maison_->filePath(donnees);
    proteger();

    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), base_->fichier());
    QCOMPARE(QDir(maison_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"fichier"});
}

void TestEmplacementBase::partieSurInstallationSysteme_data()
{
    QTest::addColumn<bool>("installe");
    QTest::addColumn<bool>("protege");

    QTest::newRow("portable copy the player cannot write") << false << true;
    QTest::newRow("installed, root can write it") << true << false;
}

void TestEmplacementBase::partieSurInstallationSysteme()
{
    // A game played on a read-only install, or on any install, stores its score in the copy,
    // and the top ten of the next start shows it; the shipped file is never written.
    QFETCH(bool, installe);
    QFETCH(bool, protege);
    plateforme_.installe = installe;
    if (protege)
        proteger();
    const QByteArray livre = base_->contenu();
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        QTest::keyClicks(dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom")), "camille");
        dialogue.findChild<QPushButton *>(QStringLiteral("Valider"))->click();
        return 1;
    };
    {
        Questionnaire fenetre(plateforme_, plateforme_, 2000);
        QVERIFY(fenetre.Form_Load());
        QCOMPARE(fenetre.param().Chemin, chemin());
        QCOMPARE(fenetre.param().FichierBase, copie());
        fenetre.findChild<QAction *>(QStringLiteral("NouvellePartie"))->trigger();
        for (int question = 1; question <= 15; ++question) {
            const QString bonne = QStringLiteral("Reponse0%1").arg(fenetre.param().BonneReponse);
            fenetre.findChild<Bouton3D *>(bonne)->click();
        }
    }
    QCOMPARE(plateforme_.messages.size(), 1); // the final score, nothing failed
    QCOMPARE(base_->contenu(), livre);

    QStringList premiereLigne;
    plateforme_.pendantFenetre = [&](QDialog &dialogue) {
        const QAbstractItemModel *modele =
            dialogue.findChild<QAbstractItemView *>(QStringLiteral("Grille"))->model();
        premiereLigne << modele->index(0, 0).data().toString()
                      << modele->index(0, 1).data().toString();
        return 1;
    };
    Questionnaire redemarre(plateforme_, plateforme_);
    QVERIFY(redemarre.Form_Load());
    redemarre.findChild<QAction *>(QStringLiteral("Scores"))->trigger();
    QCOMPARE(premiereLigne, (QStringList{"CAMILLE", "75"}));
}

void TestEmplacementBase::installationToujoursSurUneCopie_data()
{
    QTest::addColumn<bool>("protege");
    QTest::addColumn<int>("mode");

    QTest::newRow("an ordinary player") << true << 0644;
    QTest::newRow("root, who can write anything") << false << 0644;
    QTest::newRow("a file open to all") << false << 0666;
}

void TestEmplacementBase::installationToujoursSurUneCopie()
{
    // The package manager owns an installed file: written, it would fail its check, and the
    // next upgrade would take root's scores with it. So everyone plays on a copy, and the
    // shipped file stays byte for byte, its date too.
    QFETCH(bool, protege);
    QFETCH(int, mode);
    plateforme_.installe = true;
    if (protege)
        proteger();
    QVERIFY(QFile::setPermissions(base_->fichier(), droits(mode)));
    const QByteArray livre = base_->contenu();
    const QDateTime date = QFileInfo(base_->fichier()).lastModified();

    const QString choisi = EmplacementBase::choisirFichier(plateforme_, chemin());
    QCOMPARE(choisi, copie());
    QVERIFY(!EmplacementBase::lectureSeule(plateforme_, chemin(), choisi));
    QCOMPARE(contenu(copie()), livre);
    ecrireScore(copie(), QStringLiteral("RACINE"), 70);
    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    QCOMPARE(base_->contenu(), livre);
    QCOMPARE(QFileInfo(base_->fichier()).lastModified(), date);
}

void TestEmplacementBase::installationSansCopieJamaisEcrite()
{
    // With no folder of their own, root plays on the installed file as an ordinary player
    // does: read only, a score refused and reported, the file left byte for byte.
    plateforme_.installe = true;
    plateforme_.donnees.clear();
    const QByteArray livre = base_->contenu();
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        QTest::keyClicks(dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom")), "camille");
        dialogue.findChild<QPushButton *>(QStringLiteral("Valider"))->click();
        return 1;
    };
    {
        Questionnaire fenetre(plateforme_, plateforme_, 2000);
        QVERIFY(fenetre.Form_Load());
        QCOMPARE(fenetre.param().FichierBase, base_->fichier());
        QVERIFY(fenetre.param().BaseLectureSeule);
        fenetre.findChild<QAction *>(QStringLiteral("NouvellePartie"))->trigger();
        for (int question = 1; question <= 15; ++question) {
            const QString bonne = QStringLiteral("Reponse0%1").arg(fenetre.param().BonneReponse);
            fenetre.findChild<Bouton3D *>(bonne)->click();
        }
    }
    QCOMPARE(plateforme_.messages.size(), 2); // the final score, then the refusal
    QCOMPARE(plateforme_.messages.last().texte,
             QStringLiteral("Votre score n’a pas pu être enregistré.\n\nLe fichier de jeu « %1 » "
                            "est en lecture seule.")
                 .arg(base_->fichier()));
    QCOMPARE(base_->contenu(), livre);
}

void TestEmplacementBase::copieAJourSansBaseDeDonnees()
{
    // Start-up time: a copy as new as the shipped file is told so by the two files' headers,
    // with no database engine loaded, and is not touched.
    if (!ProcessusNeuf::estNeuf()) {
        QVERIFY(ProcessusNeuf::relancer());
        return;
    }
    plateforme_.installe = true;
    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    // Dated back, so that a copy written again shows.
    const QDateTime date(QDate(2001, 2, 3), QTime(4, 5));
    QFile copieFaite(copie());
    QVERIFY(copieFaite.open(QIODevice::ReadWrite)
            && copieFaite.setFileTime(date, QFileDevice::FileModificationTime));
    copieFaite.close();
    const QByteArray joueur = contenu(copie());

    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    QVERIFY(!ProcessusNeuf::piloteSqlCharge());
    QCOMPARE(contenu(copie()), joueur);
    QCOMPARE(QFileInfo(copie()).lastModified(), date);
}

void TestEmplacementBase::copieAncienneEndommageeGardee()
{
    // A damaged copy is never replaced: it stays the one played on, byte for byte, the failed
    // update is logged, and the top ten reports the damage as it always has.
    plateforme_.installe = true;
    QCOMPARE(EmplacementBase::choisirFichier(plateforme_, chemin()), copie());
    FichierJeu::vieillir(copie(), Schema::versionDrapeaux - 1);
    FichierJeu::modifier(copie(), {{QStringLiteral("DELETE FROM SCORES WHERE rowid = 4"), {}}});
    const QByteArray joueur = contenu(copie());
    const QString faute =
        QStringLiteral("Le fichier de jeu « %1 » a une table des scores de 9 lignes au lieu de 10.")
            .arg(copie());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QRegularExpression::escape(faute) + u'$'));

    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());
    QCOMPARE(fenetre.param().FichierBase, copie());
    QCOMPARE(contenu(copie()), joueur);
    fenetre.findChild<QAction *>(QStringLiteral("Scores"))->trigger();
    QCOMPARE(plateforme_.messages.size(), 1);
    QVERIFY2(plateforme_.messages.first().texte.contains(faute),
             qPrintable(plateforme_.messages.first().texte));
}

std::optional<QStringList> TestEmplacementBase::sonder(const QString &sonde,
                                                       const QStringList &fichiers,
                                                       const QStringList &devant)
{
    QProcess processus;
    if (devant.isEmpty())
        processus.start(sonde, fichiers);
    else
        processus.start(devant.first(), devant.mid(1) + QStringList{sonde} + fichiers);
    if (!processus.waitForFinished(30000) || processus.exitStatus() != QProcess::NormalExit
        || processus.exitCode() != 0)
        return std::nullopt;
    // Windows ends the probe's lines with CR LF.
    return QString::fromLatin1(processus.readAllStandardOutput())
        .remove(u'\r')
        .split(u'\n', Qt::SkipEmptyParts);
}

void TestEmplacementBase::verdictConformeALEcriture_data()
{
    QTest::addColumn<int>("modeFichier");
    QTest::addColumn<int>("modeDossier");

    QTest::newRow("open file, open folder") << 0644 << 0755;
    QTest::newRow("read-only file") << 0444 << 0755;
    QTest::newRow("read-only folder: no room for the journal") << 0644 << 0555;
    QTest::newRow("both read-only") << 0444 << 0555;
}

void TestEmplacementBase::verdictConformeALEcriture()
{
    // Whoever runs the tests, the check answers what writing gets: root writes anything.
    QFETCH(int, modeFichier);
    QFETCH(int, modeDossier);
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("Pavoria.dat"));
    QVERIFY(QFile::copy(base_->fichier(), fichier));
    QVERIFY(QFile::setPermissions(fichier, droits(modeFichier)));
    QVERIFY(QFile::setPermissions(dossier.path(), droits(modeDossier)));

    const auto reponse = sonder(QStringLiteral(PAVORIA_SONDE), {fichier});
    QFile::setPermissions(dossier.path(), droits(0700));
    QVERIFY(reponse);
    QCOMPARE(reponse->size(), 1);
    const QStringList verdictEtEcriture = reponse->first().split(u' ');
    QCOMPARE(verdictEtEcriture.first(), verdictEtEcriture.last());
#ifndef Q_OS_WIN
    if (::geteuid() == 0)
        QCOMPARE(reponse->first(), QStringLiteral("1 1"));
#endif
}

void TestEmplacementBase::joueurOrdinaireSurInstallationSysteme()
{
    // Run as the unprivileged user "nobody": root's shipped file is not theirs to write, and
    // neither is a file open to all in a folder where they cannot create the journal.
#ifdef Q_OS_WIN
    QSKIP("Windows accounts are told apart by access lists, which Wine does not enforce");
#else
    if (::geteuid() != 0)
        QSKIP("needs root to run the check as another user");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        QSKIP("setpriv is not installed");

    QTemporaryDir racine;
    QVERIFY(QFile::setPermissions(racine.path(), droits(0755)));
    const QString sonde = racine.filePath(QStringLiteral("sonde_ecriture"));
    QVERIFY(QFile::copy(QStringLiteral(PAVORIA_SONDE), sonde));
    const struct
    {
        const char *nom;
        int modeFichier;
        int modeDossier;
    } cas[] = {
        {"installation", 0644, 0755}, {"fichier-ouvert", 0666, 0755}, {"tout-ouvert", 0666, 0777}};
    QStringList fichiers;
    for (const auto &c : cas) {
        QVERIFY(QDir(racine.path()).mkdir(QLatin1String(c.nom)));
        const QString dossier = racine.filePath(QLatin1String(c.nom));
        fichiers << QDir(dossier).filePath(QStringLiteral("Pavoria.dat"));
        QVERIFY(QFile::copy(base_->fichier(), fichiers.last()));
        QVERIFY(QFile::setPermissions(fichiers.last(), droits(c.modeFichier)));
        QVERIFY(QFile::setPermissions(dossier, droits(c.modeDossier)));
    }

    const QStringList commeNobody{setpriv, QStringLiteral("--reuid=65534"),
                                  QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")};
    // A skip only where the probe cannot start as nobody at all; once it runs, it must answer.
    if (!sonder(sonde, {}, commeNobody))
        QSKIP("cannot run a program as nobody here");
    const auto reponses = sonder(sonde, fichiers, commeNobody);
    QVERIFY(reponses);
    QCOMPARE(*reponses, (QStringList{"0 0", "0 0", "1 1"}));
#endif
}

void TestEmplacementBase::dossierDonneesSousXdgDataHome()
{
    // The copy goes where the desktop keeps each user's application data.
#ifdef Q_OS_WIN
    QSKIP("XDG_DATA_HOME is the free desktops': Windows has the account's AppData");
#endif
    qputenv("XDG_DATA_HOME", maison_->path().toLocal8Bit());
    QCOMPARE(PlateformeQt().dossierDonnees(), maison_->filePath(QStringLiteral("pavoria")));
    qunsetenv("XDG_DATA_HOME");
}

PAVORIA_TEST_MAIN(TestEmplacementBase)
#include "tst_emplacementbase.moc"
