#include "about/Apropos.h"
#include "app/Questionnaire.h"
#include "core/InfosVersion.h"
#include "core/Twips.h"
#include "quiz/Param.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/PlateformeFactice.h"

#include <QAction>
#include <QBitmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

class TestApropos : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void legendes_data();
    void legendes();
    void nomDuProgrammeTelQuIlEst();
    void boiteALaTailleDeLOngletEtCentree();
    void cinqOngletsSurUneLigne();
    void controlesALeurPlace_data();
    void controlesALeurPlace();
    void fondsAuxCouleursDuDessin_data();
    void fondsAuxCouleursDuDessin();
    void premierOngletAChaqueOuverture();
    void saisieOublieeALOuvertureSuivante_data();
    void saisieOublieeALOuvertureSuivante();
    void boutonsOuvrentLeurTexteExact_data();
    void boutonsOuvrentLeurTexteExact();
    void historiqueStructure();
    void quitterSeulementSurLePremierOnglet();
    void echapNeFermePas_data();
    void echapNeFermePas();

private:
    std::unique_ptr<Apropos> ouvrir(int onglet = 0);
    void ouvrirDeuxFoisDepuisLeJeu(const std::function<void(Apropos &)> &pendant);
    template <typename T>
    T *controle(const Apropos &fenetre, const QString &nom);

    Param param_;
    PlateformeFactice plateforme_;
};

void TestApropos::init()
{
    param_.VersionAppli = QStringLiteral("1.6");
    param_.DateAppli = QStringLiteral("16/04/2000 à 13:48");
    plateforme_ = PlateformeFactice();
}

std::unique_ptr<Apropos> TestApropos::ouvrir(int onglet)
{
    auto fenetre = std::make_unique<Apropos>(param_, plateforme_, plateforme_);
    fenetre->show();
    if (!QTest::qWaitForWindowExposed(fenetre.get()))
        qFatal("the About box never showed");
    controle<QTabWidget>(*fenetre, QStringLiteral("Onglet"))->setCurrentIndex(onglet);
    return fenetre;
}

template <typename T>
T *TestApropos::controle(const Apropos &fenetre, const QString &nom)
{
    T *trouve = fenetre.findChild<T *>(nom);
    if (!trouve)
        qFatal("no control %s", qPrintable(nom));
    return trouve;
}

void TestApropos::legendes_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("prefixe");
    QTest::addColumn<QString>("valeur");
    const auto ligne = [](const char *nom, const char *prefixe, const QString &valeur) {
        QTest::newRow(nom) << nom << QString::fromUtf8(prefixe) << valeur;
    };
    ligne("Titre", "", "Pavoria");
    ligne("SousTitre", "", "Version 1.6 compilée le 16/04/2000 à 13:48");
    ligne("Description", "", "Pavoria");
    ligne("NomApplication", "  Nom de l'éxecutable : ", "Pavoria");
    ligne("Commentaires", "  Commentaires :          ", InfosVersion::Comments.toString());
    ligne("Copyright", "  Copyright :                ", InfosVersion::LegalCopyright.toString());
    ligne("Company", "  Organisation :            ", InfosVersion::CompanyName.toString());
    ligne("TradeMarks", "  Marques légales :       ", InfosVersion::LegalTrademarks.toString());
    ligne("Version", "  Version :                  ", "1.6 du 16/04/2000 à 13:48");
}

void TestApropos::legendes()
{
    // The captions loaded for 1.6 of 16/04/2000; the padded prefixes keep every blank.
    QFETCH(QString, nom);
    QFETCH(QString, prefixe);
    QFETCH(QString, valeur);
    const Apropos fenetre(param_, plateforme_, plateforme_);
    const QObject *objet = controle<QObject>(fenetre, nom);
    // Titre is a 3-D panel, whose caption is its legende.
    const QVariant texte = objet->property("text");
    QCOMPARE((texte.isValid() ? texte : objet->property("legende")).toString(), prefixe + valeur);
    if (prefixe.isEmpty())
        return;
    // Each value starts where the least padded prefix ends, whatever its own padding: where
    // its ink ends, less its extent.
    QWidget *libelle = controle<QWidget>(fenetre, nom);
    const QImage image = libelle->grab().toImage();
    const QRegion encre(
        QBitmap::fromImage(image.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    const QFontMetrics mesure = libelle->fontMetrics();
    const int debut = encre.boundingRect().right() - mesure.boundingRect(valeur).right();
    const int colonne = mesure.horizontalAdvance(QStringLiteral("  Nom de l'éxecutable : "));
    QCOMPARE_LE(qAbs(debut - colonne), 1);
}

void TestApropos::nomDuProgrammeTelQuIlEst()
{
    // A program file with an extension keeps it, and gets no ".EXE" on top.
    plateforme_.nom = QStringLiteral("Pavoria.exe");
    const Apropos fenetre(param_, plateforme_, plateforme_);
    QCOMPARE(controle<QObject>(fenetre, QStringLiteral("NomApplication"))->property("text"),
             QStringLiteral("  Nom de l'éxecutable : Pavoria.exe"));
}

void TestApropos::boiteALaTailleDeLOngletEtCentree()
{
    // The borderless box is exactly the tab control, which covers it, centred on the screen.
    const auto fenetre = ouvrir();
    const auto *onglet = controle<QTabWidget>(*fenetre, QStringLiteral("Onglet"));
    QCOMPARE(onglet->geometry(), Twips::rectangle(0, 0, 7485, 4095));
    QCOMPARE(fenetre->frameGeometry().size(), onglet->size());
    QVERIFY(fenetre->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(fenetre->windowTitle(), QStringLiteral(" "));
    const QPoint ecart =
        fenetre->geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2(qAbs(ecart.x()) <= 1 && qAbs(ecart.y()) <= 1, "not centred on the screen");
}

void TestApropos::cinqOngletsSurUneLigne()
{
    // Five tabs in one row 295 twips high, none cut off by the box's edge.
    const auto fenetre = ouvrir();
    const QTabBar *barre = controle<QTabWidget>(*fenetre, QStringLiteral("Onglet"))->tabBar();
    QCOMPARE(barre->count(), 5);
    QCOMPARE(barre->height(), Twips::enPixels(295));
    for (int i = 0; i < barre->count(); ++i) {
        QCOMPARE(barre->tabRect(i).top(), barre->tabRect(0).top());
        QVERIFY(barre->tabRect(i).right() < fenetre->width());
    }
    QCOMPARE(barre->tabText(3), QStringLiteral("Assistance technique"));
}

void TestApropos::controlesALeurPlace_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<int>("onglet");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Quitter") << "Quitter" << 0 << Twips::rectangle(6600, 3240, 735, 735);
    QTest::newRow("SupportInfos") << "SupportInfos" << 1 << Twips::rectangle(240, 600, 6975, 3255);
    QTest::newRow("Internet") << "Internet" << 3 << Twips::rectangle(240, 3600, 6975, 375);
    // The picture box takes its picture's size, not the design's.
    QTest::newRow("Picture1") << "Picture1" << 4
                              << QRect(Twips::rectangle(360, 600, 0, 0).topLeft(), QSize(192, 65));
}

void TestApropos::controlesALeurPlace()
{
    // Positions count from the tab control's corner, tab strip included, whatever the style.
    QFETCH(QString, nom);
    QFETCH(int, onglet);
    QFETCH(QRect, place);
    const auto fenetre = ouvrir(onglet);
    const auto *widget = controle<QWidget>(*fenetre, nom);
    QVERIFY(widget->isVisible());
    const QWidget *tabulation = controle<QWidget>(*fenetre, QStringLiteral("Onglet"));
    QCOMPARE(QRect(widget->mapTo(tabulation, QPoint()), widget->size()), place);
}

void TestApropos::fondsAuxCouleursDuDessin_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<int>("onglet");
    QTest::addColumn<QColor>("couleur");
    QTest::newRow("SousTitre") << "SousTitre" << 0 << QColor(192, 192, 192);
    QTest::newRow("Description") << "Description" << 1 << QColor(Qt::white);
    QTest::newRow("Copyright") << "Copyright" << 1 << QColor(Qt::white);
    QTest::newRow("Afficheur") << "Afficheur" << 2 << QColor(255, 255, 192);
    QTest::newRow("Text1") << "Text1" << 3 << QColor(255, 255, 192);
}

void TestApropos::fondsAuxCouleursDuDessin()
{
    // Each control shows its own background, not the button face of the page under it.
    QFETCH(QString, nom);
    QFETCH(int, onglet);
    QFETCH(QColor, couleur);
    const auto fenetre = ouvrir(onglet);
    const QImage image = controle<QWidget>(*fenetre, nom)->grab().toImage();
    QCOMPARE(image.pixelColor(4, image.height() - 5), couleur);
}

void TestApropos::ouvrirDeuxFoisDepuisLeJeu(const std::function<void(Apropos &)> &pendant)
{
    // Through the main window's command, as the player opens it: whatever box that command
    // shows, fresh or kept from the last time, is the one the test sees.
    const BaseDeTest base;
    plateforme_.dossier = base.dossier();
    Questionnaire principale(plateforme_, plateforme_);
    if (!principale.Form_Load())
        qFatal("start-up refused");
    plateforme_.pendantFenetre = [&](QDialog &boite) {
        pendant(static_cast<Apropos &>(boite));
        return 1;
    };
    for (int fois = 0; fois < 2; ++fois)
        principale.findChild<QAction *>(QStringLiteral("Apropos"))->trigger();
}

void TestApropos::premierOngletAChaqueOuverture()
{
    // A box closed on another tab opens again on the first.
    QList<int> ouverts;
    ouvrirDeuxFoisDepuisLeJeu([&](Apropos &fenetre) {
        auto *onglet = controle<QTabWidget>(fenetre, QStringLiteral("Onglet"));
        ouverts << onglet->currentIndex();
        onglet->setCurrentIndex(3);
    });
    QCOMPARE(ouverts, (QList<int>{0, 0}));
}

void TestApropos::saisieOublieeALOuvertureSuivante_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<int>("onglet");
    QTest::addColumn<QString>("texte");
    QTest::newRow("Afficheur") << "Afficheur" << 2 << Apropos::historique();
    QTest::newRow("Text1") << "Text1" << 3 << Apropos::assistance();
}

void TestApropos::saisieOublieeALOuvertureSuivante()
{
    // The text boxes take typing, but the next box shows the stored text again.
    QFETCH(QString, nom);
    QFETCH(int, onglet);
    QFETCH(QString, texte);
    const QString affiche = texte.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList montres;
    ouvrirDeuxFoisDepuisLeJeu([&](Apropos &fenetre) {
        controle<QTabWidget>(fenetre, QStringLiteral("Onglet"))->setCurrentIndex(onglet);
        auto *zone = controle<QPlainTextEdit>(fenetre, nom);
        montres << zone->toPlainText();
        QTest::keyClicks(zone, QStringLiteral("oublie"));
        montres << zone->toPlainText();
    });
    const QString tape = QStringLiteral("oublie") + affiche;
    QCOMPARE(montres, (QStringList{affiche, tape, affiche, tape}));
}

void TestApropos::boutonsOuvrentLeurTexteExact_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<int>("onglet");
    QTest::addColumn<QString>("legende");
    QTest::addColumn<QString>("document");
    const QString mail = QStringLiteral("jeanne.marchal@example.org");
    const QString page = QStringLiteral("https://www.example.org/jeanne-marchal/pavoria.html");
    const QString site = QStringLiteral("https://www.tesk.example.net/");
    QTest::newRow("EMail") << "EMail" << 3 << "M'envoyer un E-Mail : " + mail << "mailto:" + mail;
    QTest::newRow("Internet") << "Internet" << 3 << "Visiter mon site : " + page << page;
    QTest::newRow("SSCommand1") << "SSCommand1" << 4 << "Lire Le_Tesk_.txt"
                                << "Le_tesk_.txt";
    QTest::newRow("SSCommand2") << "SSCommand2" << 4 << "Lire Adhésion.txt"
                                << "Adhesion.txt";
    QTest::newRow("SSCommand3") << "SSCommand3" << 4 << "Lire Le_Tesk_.hlp"
                                << "Le_Tesk_.hlp";
    QTest::newRow("SSCommand4") << "SSCommand4" << 4 << "Lire Le_Tesk_.htm"
                                << "Le_Tesk_.htm";
    QTest::newRow("SSCommand5") << "SSCommand5" << 4 << "Visiter le site de Tesk : " + site << site;
}

void TestApropos::boutonsOuvrentLeurTexteExact()
{
    // Each button hands the opener its own literal once, whatever its caption says, and the
    // box stays open.
    QFETCH(QString, nom);
    QFETCH(int, onglet);
    QFETCH(QString, legende);
    QFETCH(QString, document);
    const auto fenetre = ouvrir(onglet);
    auto *bouton = controle<QPushButton>(*fenetre, nom);
    QCOMPARE(bouton->text(), legende);
    QTest::mouseClick(bouton, Qt::LeftButton);
    QCOMPARE(plateforme_.documents, QStringList{document});
    QVERIFY(fenetre->isVisible());
}

void TestApropos::historiqueStructure()
{
    // Title, blank line, three versions newest first, every line ended by CR LF.
    const QString texte = Apropos::historique();
    QVERIFY(!QString(texte).remove(QLatin1String("\r\n")).contains(QRegularExpression("[\r\n]")));
    const QStringList lignes = texte.split(QLatin1String("\r\n"));
    QCOMPARE(lignes.size(), 6);
    QCOMPARE(lignes.at(0), QStringLiteral("Evolution des versions de : Pavoria"));
    QVERIFY(lignes.at(1).isEmpty() && lignes.at(5).isEmpty());
    const QRegularExpression forme(QStringLiteral("^(\\d\\d/\\d{4}) - V(\\d+\\.\\d+)\t\\S"));
    const QStringList attendues{"04/2000 1.6", "07/1999 1.5", "09/1998 1.0"};
    for (int i = 0; i < 3; ++i) {
        const QRegularExpressionMatch version = forme.match(lignes.at(2 + i));
        QVERIFY2(version.hasMatch(), qPrintable(lignes.at(2 + i)));
        QCOMPARE(version.captured(1) + u' ' + version.captured(2), attendues.at(i));
    }
}

void TestApropos::quitterSeulementSurLePremierOnglet()
{
    // No way out but from the first tab; there, Quitter closes the box.
    const auto fenetre = ouvrir();
    auto *onglet = controle<QTabWidget>(*fenetre, QStringLiteral("Onglet"));
    auto *quitter = controle<QPushButton>(*fenetre, QStringLiteral("Quitter"));
    for (int i = onglet->count() - 1; i >= 0; --i) {
        onglet->setCurrentIndex(i);
        QCOMPARE(quitter->isVisible(), i == 0);
    }
    QTest::mouseClick(quitter, Qt::LeftButton);
    QVERIFY(!fenetre->isVisible());
    QCOMPARE(fenetre->result(), int(QDialog::Accepted));
}

void TestApropos::echapNeFermePas_data()
{
    QTest::addColumn<int>("onglet");
    QTest::addColumn<QString>("focus");
    QTest::newRow("sur Quitter") << 0 << "Quitter";
    QTest::newRow("dans l'historique") << 2 << "Afficheur";
}

void TestApropos::echapNeFermePas()
{
    // Escape is no way out, wherever the focus is.
    QFETCH(int, onglet);
    QFETCH(QString, focus);
    const auto fenetre = ouvrir(onglet);
    fenetre->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fenetre.get()));
    auto *cible = controle<QWidget>(*fenetre, focus);
    cible->setFocus();
    QTest::keyClick(cible, Qt::Key_Escape);
    QVERIFY(fenetre->isVisible());
}

PAVORIA_TEST_MAIN(TestApropos)
#include "tst_apropos.moc"
