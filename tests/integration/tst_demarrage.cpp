#include "app/BarreEtat.h"
#include "app/BureauQt.h"
#include "app/FenetreAide.h"
#include "app/Questionnaire.h"
#include "core/PlateformeQt.h"
#include "core/Twips.h"
#include "tests/support/Application.h"
#include "tests/support/PlateformeFactice.h"
#include "tests/support/ProcessusNeuf.h"
#include "widgets/Bouton3D.h"
#include "widgets/Icones.h"
#include "widgets/Illustration.h"
#include "widgets/Panneau3D.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtEndian>

#include <algorithm>

namespace {

// The real program on the offscreen platform, as far as taking the single-copy lock, which it
// does once its window is built.
bool demarrerJeu(QProcess &jeu,
                 QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment())
{
    environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    jeu.setProcessEnvironment(environnement);
    jeu.start(QStringLiteral(PAVORIA_PROGRAMME), {});
    if (!jeu.waitForStarted())
        return false;
    for (int attente = 0; attente < 200 && !QFile::exists(PlateformeQt::cheminVerrou()); ++attente)
        QTest::qWait(50);
    return QFile::exists(PlateformeQt::cheminVerrou());
}

} // namespace

class TestDemarrage : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void aspectAuRepos();
    void demarrageSansBaseDeDonnees();
    void titreEtBarreEtat();
    void barreBoutons();
    void imagesRendues();
    void policesEtOrdreDesPlans();
    void fermerTermineLeProgramme();
    void secondeCopieRefusee();
    void commandesQuitterEtAide();
    void fenetreAideSignaleUnFichierAbsent();
    void documentHlpDansLAideAuMilieuDeLaFenetre();

    void verrouPartageEntreCopies();
    void verrouDUneCopieTueeNeBloquePas();
    void sansDossierExecutionNiAvertissementNiVerrouPartage();
    void verrouImpossibleNeRefusePasLeJeu();
    void attenteQuiDureOuSInterrompt();
    void demarrageSansModuleDImages();
    void dossierFichiersIndependantDuDossierCourant_data();
    void dossierFichiersIndependantDuDossierCourant();

private:
    template <typename T>
    T *controle(Questionnaire &fenetre, const char *nom)
    {
        auto *trouve = fenetre.findChild<T *>(QLatin1String(nom));
        if (!trouve)
            qFatal("no control %s", nom);
        return trouve;
    }

    PlateformeFactice plateforme_;
    QTemporaryDir dossierExecution_;
};

void TestDemarrage::init()
{
    plateforme_ = PlateformeFactice();
    // The single-copy lock lives in the runtime folder: keep it away from a real game.
    qputenv("XDG_RUNTIME_DIR", dossierExecution_.path().toLocal8Bit());
    QFile::setPermissions(dossierExecution_.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestDemarrage::aspectAuRepos()
{
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());

    QCOMPARE(fenetre.param().NumeroJeu, 0);
    QCOMPARE(fenetre.param().Points, 0);
    QCOMPARE(fenetre.param().CompteTours, 0);
    for (const char *nom : {"Resultat", "Score", "ComptePartie"})
        QCOMPARE(controle<Panneau3D>(fenetre, nom)->legende(), QString());
    for (const char *nom : {"Reponse01", "Reponse02", "Reponse03"}) {
        const Bouton3D *reponse = controle<Bouton3D>(fenetre, nom);
        QCOMPARE(reponse->text(), QString());
        QVERIFY(!reponse->isEnabled());
    }

    // Closed masks meet at the middle of the flag area.
    const QWidget *gauche = controle<QWidget>(fenetre, "MasqueGauche");
    const QWidget *droit = controle<QWidget>(fenetre, "MasqueDroit");
    const QWidget *boite = controle<QWidget>(fenetre, "BoiteImage");
    QCOMPARE(gauche->geometry().right() + 1, droit->x());
    QCOMPARE(droit->x(), Twips::enPixels(3967.5f));
    QVERIFY(qAbs(droit->x() - boite->width() / 2) <= 1);

    auto *dessin = controle<QLabel>(fenetre, "Dessin1");
    QCOMPARE(dessin->accessibleName(), QStringLiteral("Drapeau"));
    QVERIFY(dessin->pixmap().isNull());
}

void TestDemarrage::demarrageSansBaseDeDonnees()
{
    // Guards start-up time: the database and its driver wait for the first question.
    if (!ProcessusNeuf::estNeuf()) {
        QVERIFY(ProcessusNeuf::relancer());
        return;
    }
    QVERIFY(!ProcessusNeuf::piloteSqlCharge());
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());
    QVERIFY(!ProcessusNeuf::piloteSqlCharge());
}

void TestDemarrage::titreEtBarreEtat()
{
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());

    QCOMPARE(fenetre.windowTitle(), QStringLiteral("Pavoria 1.6"));
    QCOMPARE(controle<BarreEtat>(fenetre, "Barre")->textePrincipal(),
             QStringLiteral("Pavoria  -  Version 1.6"));
    QCOMPARE(fenetre.param().Chemin, QDir::toNativeSeparators(QStringLiteral("/opt/pavoria/")));
    QCOMPARE(fenetre.param().VersionAppli, QStringLiteral("1.6"));
    QCOMPARE(fenetre.param().DateAppli, QString::fromUtf8("16/04/2000 à 13:48"));
    QCOMPARE(fenetre.fichierAide(),
             QDir::toNativeSeparators(QStringLiteral("/opt/pavoria/Pavoria.hlp")));
}

void TestDemarrage::barreBoutons()
{
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());

    const QList<QAction *> actions = controle<QToolBar>(fenetre, "BarreBoutons")->actions();
    QStringList cles;
    QStringList infobulles;
    for (const QAction *action : actions) {
        cles << (action->isSeparator() ? QStringLiteral("|") : action->data().toString());
        if (!action->isSeparator())
            infobulles << action->toolTip();
    }
    QCOMPARE(cles, (QStringList{"|", "NouvellePartie", "Scores", "|", "Quitter", "|", "Apropos",
                                "Aide"}));
    QCOMPARE(infobulles,
             (QStringList{"Lancer une nouvelle partie", "Affichage des 10 meilleurs scores",
                          "Quitter", "A propos !", "Un peu d'aide ?"}));
}

void TestDemarrage::imagesRendues()
{
    // Guards the pictures rendered at build time: each one the windows show exists at one and
    // at two pixels per logical pixel (the second for HiDPI screens), the toolbar shows them,
    // and the masks' halves are drawn, not blank.
    const QList<std::pair<const char *, QSize>> images{
        {"carte", {32, 32}},
        {"liste", {32, 32}},
        {"porte", {32, 32}},
        {"ampoule", {32, 32}},
        {"livre-aide", {32, 32}},
        {"temple-gauche", {107, 129}},
        {"temple-droit", {107, 129}},
        {"accordeoniste", {616, 440}},
        {"drapeau-tricolore", {89, 59}},
        {"logo-tesk", {192, 65}},
        {"sortie", {41, 41}},
    };
    for (const auto &[nom, taille] : images) {
        const QString base = QStringLiteral(":/") + QLatin1String(nom);
        const QIcon icone = Icones::image(base);
        QCOMPARE(icone.availableSizes().value(0), taille);
        QVERIFY2(!icone.pixmap(taille).toImage().allGray(), nom);
        // The double-density picture, for HiDPI screens, in either format.
        const QString double_ = base + QStringLiteral("@2x");
        QFile brute(double_ + QStringLiteral(".argb"));
        if (brute.open(QIODevice::ReadOnly)) {
            const QByteArray entete = brute.read(8);
            QCOMPARE(QSize(qFromLittleEndian<quint32>(entete.constData()),
                           qFromLittleEndian<quint32>(entete.constData() + 4)),
                     2 * taille);
        } else {
            QCOMPARE(QImage(double_ + QStringLiteral(".png")).size(), 2 * taille);
        }
    }

    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());
    const QToolBar *barre = controle<QToolBar>(fenetre, "BarreBoutons");
    for (QAction *action : barre->actions()) {
        if (!action->isSeparator())
            QCOMPARE(action->icon().pixmap(barre->iconSize()).size(), barre->iconSize());
    }
    const QList<QSize> tailles = fenetre.windowIcon().availableSizes();
    for (const int cote : {16, 32, 48, 128})
        QVERIFY2(tailles.contains(QSize(cote, cote)), qPrintable(QString::number(cote)));

    for (const char *nom : {"Dessin3", "Dessin2"}) {
        auto *dessin = controle<Illustration>(fenetre, nom);
        QCOMPARE(dessin->size(), Twips::rectangle(0, 0, 1605, 1935).size());
        const QImage image = dessin->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> couleurs;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4)
                couleurs.insert(image.pixel(x, y));
        }
        QVERIFY2(couleurs.size() > 20, nom);
    }
    // The two halves make one temple: they differ.
    QVERIFY(controle<Illustration>(fenetre, "Dessin3")->grab().toImage()
            != controle<Illustration>(fenetre, "Dessin2")->grab().toImage());
}

void TestDemarrage::policesEtOrdreDesPlans()
{
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());

    for (const char *nom :
         {"Resultat", "Score", "ComptePartie", "Reponse01", "Reponse02", "Reponse03"}) {
        const QFont police = controle<QWidget>(fenetre, nom)->font();
        QCOMPARE(police.family(), QStringLiteral("Arial"));
        QCOMPARE(police.pointSize(), 16);
        QVERIFY(police.bold());
    }
    // The masks lie in front of the flag panel.
    const QObjectList enfants = controle<QWidget>(fenetre, "BoiteImage")->children();
    const auto rang = [&](const char *nom) {
        return enfants.indexOf(controle<QWidget>(fenetre, nom));
    };
    QVERIFY(rang("SupportImage") < rang("MasqueGauche"));
    QVERIFY(rang("MasqueGauche") < rang("MasqueDroit"));
}

void TestDemarrage::fermerTermineLeProgramme()
{
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());
    fenetre.show();
    QVERIFY(fenetre.close());
    QCOMPARE(plateforme_.fins, QList<int>{0});
    QVERIFY(plateforme_.messages.isEmpty());
}

void TestDemarrage::secondeCopieRefusee()
{
    plateforme_.autreCopie = true;
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(!fenetre.Form_Load());

    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Pavoria"));
    QCOMPARE(
        plateforme_.messages[0].texte,
        QString::fromUtf8("L'application est déjà en mémoire !!\n\nUtiliser la barre des taches"));
    QCOMPARE(plateforme_.fins, QList<int>{0});
    QVERIFY(!fenetre.isVisible());
}

void TestDemarrage::commandesQuitterEtAide()
{
    // The help button and F1 open the help file under the program's folder; Quitter ends at once.
    Questionnaire fenetre(plateforme_, plateforme_);
    QVERIFY(fenetre.Form_Load());
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenetre));

    fenetre.findChild<QAction *>(QStringLiteral("Aide"))->trigger();
    QTest::keyClick(&fenetre, Qt::Key_F1);
    QCOMPARE(plateforme_.aides,
             QStringList(2, QDir::toNativeSeparators(QStringLiteral("/opt/pavoria/Pavoria.hlp"))));
    QVERIFY(plateforme_.fins.isEmpty());

    fenetre.findChild<QAction *>(QStringLiteral("Quitter"))->trigger();
    QCOMPARE(plateforme_.fins, QList<int>{0});
    QVERIFY(plateforme_.messages.isEmpty());
}

void TestDemarrage::fenetreAideSignaleUnFichierAbsent()
{
    // A missing help file is reported by the help window itself; a present one is shown.
    FenetreAide aide;
    const QString absent = dossierExecution_.filePath(QStringLiteral("Pavoria.hlp"));
    aide.ouvrir(absent);
    QVERIFY(aide.isVisible());
    QVERIFY(aide.toPlainText().contains(QString::fromUtf8("introuvable")));
    QVERIFY(aide.toPlainText().contains(absent));

    QFile fichier(absent);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write("<html><body><h1>R\xc3\xa8gles du jeu</h1></body></html>");
    fichier.close();
    aide.ouvrir(absent);
    QCOMPARE(aide.toPlainText().trimmed(), QString::fromUtf8("Règles du jeu"));
}

void TestDemarrage::documentHlpDansLAideAuMilieuDeLaFenetre()
{
    // The About box's help document opens in the game's help window, as F1's help does: over
    // the middle of the main window, below its title bar, and with no horizontal scroll bar.
    plateforme_.dossier = QFileInfo(QStringLiteral(PAVORIA_PROGRAMME)).absolutePath();
    QMainWindow principale;
    principale.setGeometry(100, 80, 1400, 900);
    principale.show();
    QVERIFY(QTest::qWaitForWindowExposed(&principale));
    BureauQt bureau(plateforme_);
    bureau.ouvrirDocument(QStringLiteral("Le_Tesk_.hlp"));

    const QWidgetList fenetres = QApplication::topLevelWidgets();
    const auto trouvee = std::find_if(fenetres.begin(), fenetres.end(), [](QWidget *fenetre) {
        return fenetre->isVisible() && qobject_cast<FenetreAide *>(fenetre);
    });
    QVERIFY(trouvee != fenetres.end());
    auto *aide = static_cast<FenetreAide *>(*trouvee);
    QCOMPARE(aide->source().fileName(), QStringLiteral("Le_Tesk_.hlp"));
    QVERIFY(principale.geometry().contains(aide->frameGeometry()));
    QVERIFY((aide->geometry().center() - principale.geometry().center()).manhattanLength() < 10);
    bureau.afficherAide(QDir(plateforme_.dossier).filePath(QStringLiteral("Pavoria.hlp")));
    QCoreApplication::processEvents();
    QVERIFY(!aide->horizontalScrollBar()->isVisible());
    QVERIFY(plateforme_.documents.isEmpty());
}

void TestDemarrage::verrouPartageEntreCopies()
{
    PlateformeQt premiere;
    QVERIFY(!premiere.autreCopieEnCours());
    {
        PlateformeQt seconde;
        QVERIFY(seconde.autreCopieEnCours());
    }
    // The refused copy must not take the lock away from the first one.
    PlateformeQt troisieme;
    QVERIFY(troisieme.autreCopieEnCours());
}

void TestDemarrage::verrouDUneCopieTueeNeBloquePas()
{
    QProcess jeu;
    QVERIFY(demarrerJeu(jeu));
    {
        PlateformeQt pendantLeJeu;
        QVERIFY(pendantLeJeu.autreCopieEnCours());
    }
    jeu.kill();
    QVERIFY(jeu.waitForFinished());
    QVERIFY(QFile::exists(PlateformeQt::cheminVerrou()));

    PlateformeQt apres;
    QVERIFY(!apres.autreCopieEnCours());
}

void TestDemarrage::attenteQuiDureOuSInterrompt()
{
    // The verdict's wait runs the event loop for its length, and stops short, saying so, when
    // the program is asked to end.
    PlateformeQt plateforme;
    bool traite = false;
    QTimer::singleShot(0, [&] { traite = true; });
    const std::chrono::milliseconds duree(20);
    QElapsedTimer chrono;
    chrono.start();
    QVERIFY(plateforme.patienter(duree));
    // At least its length by a monotonic clock; no upper bound, which a loaded machine breaks.
    QCOMPARE_GE(chrono.elapsed(), duree.count());
    QVERIFY(traite);

    bool ecoulee = true;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        ecoulee = plateforme.patienter(std::chrono::seconds(30));
    });
    QCoreApplication::exec();
    QVERIFY(!ecoulee);
}

void TestDemarrage::sansDossierExecutionNiAvertissementNiVerrouPartage()
{
    // Started outside a session (no XDG_RUNTIME_DIR), the game keeps its lock in the player's
    // cache folder, still refuses a second copy, and says nothing on its terminal about it.
#ifdef Q_OS_WIN
    QSKIP("the free desktops' session folder: Windows keeps the lock in the account's cache");
#endif
    const QTemporaryDir maison;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environnement.insert(QStringLiteral("XDG_CACHE_HOME"),
                         maison.filePath(QStringLiteral("cache")));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", maison.filePath(QStringLiteral("cache")).toLocal8Bit());
    QCOMPARE(PlateformeQt::cheminVerrou(),
             maison.filePath(QStringLiteral("cache/pavoria/Pavoria.lock")));

    QProcess jeu;
    QVERIFY(demarrerJeu(jeu, environnement));
    QVERIFY(PlateformeQt().autreCopieEnCours());
    jeu.kill();
    QVERIFY(jeu.waitForFinished());
    const QByteArray terminal = jeu.readAllStandardError() + jeu.readAllStandardOutput();
    QVERIFY2(!terminal.contains("XDG_RUNTIME_DIR"), terminal.constData());
    qunsetenv("XDG_CACHE_HOME");
}

void TestDemarrage::verrouImpossibleNeRefusePasLeJeu()
{
    // A lock that cannot even be written proves no other copy: the game plays.
    const QTemporaryDir maison;
    QFile fichier(maison.filePath(QStringLiteral("cache")));
    QVERIFY(fichier.open(QIODevice::WriteOnly)); // a file where the cache folder should be
    fichier.close();
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", fichier.fileName().toLocal8Bit());
    PlateformeQt plateforme;
    QVERIFY(!plateforme.autreCopieEnCours());
    qunsetenv("XDG_CACHE_HOME");
}

void TestDemarrage::demarrageSansModuleDImages()
{
    // Reading one picture by its file name makes Qt load every image format plugin, with the
    // libraries they need: the idle window is drawn from pictures in memory only.
#ifdef Q_OS_WIN
    QSKIP("reads the game's mappings in /proc");
#endif
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    // Qt's painting log tells when the window is first flushed to the screen, painted.
    environnement.insert(QStringLiteral("QT_LOGGING_RULES"),
                         QStringLiteral("qt.widgets.painting.info=true"));
    QProcess jeu;
    jeu.setReadChannel(QProcess::StandardError);
    QVERIFY(demarrerJeu(jeu, environnement));
    QByteArray journal = jeu.readAllStandardError();
    const QDeadlineTimer limite(30000);
    while (!journal.contains("Flushing") && jeu.waitForReadyRead(int(limite.remainingTime())))
        journal += jeu.readAllStandardError();
    QVERIFY2(journal.contains("Flushing"), "the window was not painted within 30 s");
    QFile carte(QStringLiteral("/proc/%1/maps").arg(jeu.processId()));
    QVERIFY(carte.open(QIODevice::ReadOnly));
    const QByteArray modules = carte.readAll();
    jeu.kill();
    QVERIFY(jeu.waitForFinished());
    QVERIFY(modules.contains("libQt6Widgets"));
    const qsizetype image = modules.indexOf("/imageformats/");
    QVERIFY2(image < 0, modules.mid(image, modules.indexOf('\n', image) - image).constData());
}

void TestDemarrage::dossierFichiersIndependantDuDossierCourant_data()
{
    using Programme = PlateformeQt::Programme;
    QTest::addColumn<Programme>("genre");
    QTest::addColumn<QString>("relatif"); // as the build compiles it into the program
    QTest::addColumn<QString>("attendu"); // relative to the program's folder

    QTest::newRow("build tree or portable copy") << Programme::Portable << ""
                                                 << ".";
    QTest::newRow("installed") << Programme::Installe << "../share/pavoria"
                               << "../share/pavoria";
    // Installed with its files in its own folder: installed still, whatever the path says.
    QTest::newRow("installed beside its files") << Programme::Installe << ""
                                                << ".";
}

void TestDemarrage::dossierFichiersIndependantDuDossierCourant()
{
    // Found from the program file, wherever it was started from.
    QFETCH(PlateformeQt::Programme, genre);
    QFETCH(QString, relatif);
    QFETCH(QString, attendu);
    const QString avant = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dossierExecution_.path()));
    const PlateformeQt plateforme(genre, relatif);
    const QString dossier = plateforme.dossierFichiers();
    QDir::setCurrent(avant);
    const QDir programme(QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
    QCOMPARE(dossier, QDir::cleanPath(programme.filePath(attendu)));
    QCOMPARE(plateforme.estInstalle(), genre == PlateformeQt::Programme::Installe);
#ifdef Q_OS_WIN
    QCOMPARE(plateforme.nomProgramme(), QStringLiteral("tst_demarrage.exe"));
#else
    QCOMPARE(plateforme.nomProgramme(), QStringLiteral("tst_demarrage"));
#endif
}

PAVORIA_TEST_MAIN(TestDemarrage)
#include "tst_demarrage.moc"
