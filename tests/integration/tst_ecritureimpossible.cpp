#include "app/Questionnaire.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifndef Q_OS_WIN
#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Joueur;

namespace {

#ifndef Q_OS_WIN
constexpr uid_t personne = 65534; // nobody

// As root, permissions stop nothing: the game then plays as nobody while the fault lasts.
class UtilisateurOrdinaire
{
public:
    explicit UtilisateurOrdinaire(bool actif)
        : actif_(actif && ::geteuid() == 0)
    {
        if (actif_ && ::seteuid(personne) != 0)
            qFatal("seteuid(nobody) refused");
    }
    ~UtilisateurOrdinaire()
    {
        if (actif_ && ::seteuid(0) != 0)
            qFatal("seteuid(root) refused");
    }
    UtilisateurOrdinaire(const UtilisateurOrdinaire &) = delete;
    UtilisateurOrdinaire &operator=(const UtilisateurOrdinaire &) = delete;

private:
    bool actif_;
};
#endif

QList<ControleDonnees::LigneScore> lignes(const QString &fichier)
{
    ControleDonnees base(QStringLiteral("lignes"), ControleDonnees::Acces::Lecture);
    if (!base.ouvrirScores(fichier))
        qFatal("%s", qPrintable(base.erreur()));
    return base.scoresDecroissants().value();
}

} // namespace

class TestEcritureImpossible : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void scoreNonEnregistre_data();
    void scoreNonEnregistre();

private:
    // Sets the fault up, the folder before the game and the fault before its last answer;
    // false when this machine cannot make it.
    bool installer(const QString &panne);
    void preparer(const QString &panne);
    void lever(const QString &panne);

    std::unique_ptr<BaseDeTest> base_;
    QString dossier_; // the game's folder
    PlateformeFactice plateforme_;
    std::unique_ptr<QProcess> autre_;
    std::unique_ptr<QTemporaryDir> disque_;
    bool monte_ = false;
#ifndef Q_OS_WIN
    rlimit limite_{};
#endif
};

void TestEcritureImpossible::init()
{
    base_ = std::make_unique<BaseDeTest>();
    dossier_ = base_->dossier();
    plateforme_ = PlateformeFactice();
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        return validerNom(dialogue, QStringLiteral("perdu"));
    };
}

void TestEcritureImpossible::cleanup()
{
#ifndef Q_OS_WIN
    if (monte_)
        ::umount2(qPrintable(disque_->path()), MNT_DETACH);
#endif
    monte_ = false;
    disque_.reset();
    autre_.reset();
}

void TestEcritureImpossible::scoreNonEnregistre_data()
{
    QTest::addColumn<QString>("panne");
    QTest::addColumn<QString>("faute");

    // The file's and the folder's write permissions taken away.
    // Under Wine the read-only attribute stops no one the Unix file lets write, root here; and
    // Windows has no write permission of a folder's own.
#ifndef Q_OS_WIN
    QTest::newRow("read-only file") << "read-only file"
                                    << "est en lecture seule";
    QTest::newRow("read-only folder") << "read-only folder"
                                      << "est dans un dossier en lecture seule";
#endif
    // Another program holds a lock for longer than the busy wait: all access, a read that
    // stops the commit, a write of its own.
    QTest::newRow("locked by another program") << "exclusif"
                                               << "est occupé par un autre programme";
    QTest::newRow("another program reading") << "lecture"
                                             << "est occupé par un autre programme";
    QTest::newRow("another program writing") << "ecriture"
                                             << "est occupé par un autre programme";
    // Mounting a small file system and limiting a file's size are Linux's.
#ifndef Q_OS_WIN
    // A small file system of our own, filled to the last byte: the disk is full.
    QTest::newRow("disk full") << "disk full"
                               << "ne peut pas être écrit : le disque est plein";
    // The system refuses the write (here a file size limit): an input-output error.
    QTest::newRow("write refused") << "write refused"
                                   << "n’a pas pu être lu ou écrit sur le disque";
#endif
}

bool TestEcritureImpossible::installer(const QString &panne)
{
    if (panne != u"disk full")
        return true;
#ifdef Q_OS_WIN
    return false;
#else
    const QByteArray avant = base_->contenu();
    disque_ = std::make_unique<QTemporaryDir>();
    monte_ = ::mount("tmpfs", qPrintable(disque_->path()), "tmpfs", 0, "size=4m") == 0;
    if (!monte_)
        return false;
    dossier_ = disque_->path();
    QFile copie(dossier_ + QDir::separator() + QStringLiteral("Pavoria.dat"));
    return copie.open(QIODevice::WriteOnly) && copie.write(avant) == avant.size();
#endif
}

void TestEcritureImpossible::preparer(const QString &panne)
{
    const QString fichier = dossier_ + QDir::separator() + QStringLiteral("Pavoria.dat");
    if (panne == u"read-only file" || panne == u"read-only folder") {
#ifndef Q_OS_WIN
        if (::geteuid() == 0) {
            QVERIFY(::chown(qPrintable(dossier_), personne, personne) == 0);
            QVERIFY(::chown(qPrintable(fichier), personne, personne) == 0);
        }
#endif
        if (panne == u"read-only file")
            QFile::setPermissions(fichier, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        else
            QFile::setPermissions(dossier_, QFile::ReadOwner | QFile::ExeOwner);
    } else if (panne == u"disk full") {
        QFile remplissage(dossier_ + QStringLiteral("/remplissage"));
        QVERIFY(remplissage.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray bloc(4096, 'x');
        while (remplissage.write(bloc) == bloc.size()) { }
        while (remplissage.write(bloc.first(1)) == 1) { }
#ifndef Q_OS_WIN
    } else if (panne == u"write refused") {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &limite_);
        // Below the journal's first page, which is the first thing a score write writes.
        const rlimit petite{1024, limite_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &petite);
#endif
    } else {
        autre_ = std::make_unique<QProcess>();
        autre_->start(QStringLiteral(PAVORIA_TENIR_VERROU), {fichier, panne});
        QVERIFY(autre_->waitForReadyRead(10000));
        QCOMPARE(autre_->readLine().trimmed(), QByteArray("pris"));
    }
}

void TestEcritureImpossible::lever(const QString &panne)
{
    if (panne == u"read-only file" || panne == u"read-only folder") {
        QFile::setPermissions(dossier_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#ifndef Q_OS_WIN
    } else if (panne == u"write refused") {
        ::setrlimit(RLIMIT_FSIZE, &limite_);
        std::signal(SIGXFSZ, SIG_DFL);
#endif
    } else if (autre_) {
        autre_->closeWriteChannel();
        QVERIFY(autre_->waitForFinished(10000));
        QCOMPARE(autre_->exitCode(), 0);
    }
}

void TestEcritureImpossible::scoreNonEnregistre()
{
    // A score that cannot be stored is reported in French, the game goes back to its idle
    // look and on, and the score table is exactly what it was.
    QFETCH(QString, panne);
    QFETCH(QString, faute);
    const QByteArray avant = base_->contenu();
    const QList<ControleDonnees::LigneScore> lignesAvant = base_->scores();
    if (!installer(panne))
        QSKIP("this machine cannot make this fault (mounting needs root)");
    const QString fichier = dossier_ + QDir::separator() + QStringLiteral("Pavoria.dat");
    plateforme_.dossier = dossier_;

    Questionnaire fenetre(plateforme_, plateforme_, 77);
    QVERIFY(fenetre.Form_Load());
    commander(fenetre, "NouvellePartie");
    for (int i = 0; i < 14; ++i)
        repondre(fenetre);
    preparer(panne);
    {
#ifndef Q_OS_WIN
        const UtilisateurOrdinaire joueur(panne.startsWith(u"read-only"));
#endif
        repondre(fenetre);
    }
    lever(panne);

    QCOMPARE(plateforme_.messages.size(), 2);
    QCOMPARE(plateforme_.messages[1].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(
        plateforme_.messages[1].texte,
        QStringLiteral("Votre score n’a pas pu être enregistré.\n\nLe fichier de jeu « %1 » %2.")
            .arg(fichier, faute));
    QVERIFY(plateforme_.fins.isEmpty());
    QVERIFY(auRepos(fenetre));

    QFile lu(fichier);
    QVERIFY(lu.open(QIODevice::ReadOnly));
    QCOMPARE(lu.readAll(), avant);
    QVERIFY(!QFile::exists(fichier + QStringLiteral("-journal")));
    const QList<ControleDonnees::LigneScore> lignesApres = lignes(fichier);
    QCOMPARE(lignesApres.size(), 10);
    for (qsizetype i = 0; i < lignesApres.size(); ++i) {
        QCOMPARE(lignesApres[i].NOM, lignesAvant[i].NOM);
        QCOMPARE(lignesApres[i].SCORE, lignesAvant[i].SCORE);
        QCOMPARE(lignesApres[i].DATE, lignesAvant[i].DATE);
    }

    // The game goes on.
    commander(fenetre, "NouvellePartie");
    QCOMPARE(legende(fenetre, "ComptePartie"), QStringLiteral("Jeu n° 1"));
    QCOMPARE(plateforme_.messages.size(), 2);
}

PAVORIA_TEST_MAIN(TestEcritureImpossible)
#include "tst_ecritureimpossible.moc"
