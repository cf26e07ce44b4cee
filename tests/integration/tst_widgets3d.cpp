#include "app/BarreEtat.h"
#include "tests/support/Application.h"
#include "tests/support/PlateformeFactice.h"
#include "widgets/Bouton3D.h"
#include "widgets/Panneau3D.h"
#include "widgets/StyleJeu.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTest>

#include <algorithm>

using Verrou = BarreEtat::Verrou;

namespace {

QDateTime momentFixe()
{
    return QDateTime(QDate(2000, 4, 16), QTime(13, 48, 27));
}

// The panels as the player sees them, left to right.
QList<Panneau3D *> panneauxDe(const BarreEtat &barre)
{
    QList<Panneau3D *> panneaux = barre.findChildren<Panneau3D *>(Qt::FindDirectChildrenOnly);
    std::sort(panneaux.begin(), panneaux.end(),
              [](const Panneau3D *a, const Panneau3D *b) { return a->x() < b->x(); });
    return panneaux;
}

} // namespace

class TestWidgets3D : public QObject
{
    Q_OBJECT

private slots:
    void panneauAnnonceSaLegende();
    void panneauSuitSaLegendeEtSaPolice();
    void styleDessineLeBoutonDeDebordement();
    void boutonGardeLeComportementDeQPushButton();
    void boutonDesactiveNeCliquePas();
    void entreeNePressePasLeBouton();
    void barreMontreSeptPanneauxDansLOrdre();
    void barreSuitLHorloge();
    void toucheVerrouBasculeSonPanneau_data();
    void toucheVerrouBasculeSonPanneau();
};

void TestWidgets3D::panneauAnnonceSaLegende()
{
    // Screen readers read a panel's caption as a label's, and follow its changes.
    Panneau3D panneau;
    panneau.setLegende(QStringLiteral("12 points"));
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(&panneau);
    QVERIFY(interface);
    QCOMPARE(interface->role(), QAccessible::StaticText);
    QCOMPARE(interface->text(QAccessible::Name), QStringLiteral("12 points"));

    panneau.setLegende(QStringLiteral("Jeu n° 7"));
    QCOMPARE(panneau.accessibleName(), QStringLiteral("Jeu n° 7"));
    QCOMPARE(interface->text(QAccessible::Name), QStringLiteral("Jeu n° 7"));
}

void TestWidgets3D::panneauSuitSaLegendeEtSaPolice()
{
    // The caption's size is kept between layouts: every change must still reach them.
    QWidget parent;
    auto *panneau = new Panneau3D(&parent);
    panneau->setLegende(QStringLiteral("INS"));
    const QSize court = panneau->sizeHint();
    panneau->setLegende(QStringLiteral("Pavoria  -  Version 1.6"));
    const QSize long_ = panneau->sizeHint();
    QVERIFY(long_.width() > court.width());
    QCOMPARE(long_.height(), court.height());

    QFont grande = parent.font();
    grande.setPointSize(grande.pointSize() * 3);
    parent.setFont(grande); // inherited by the panel
    const QSize herite = panneau->sizeHint();
    QVERIFY(herite.width() > long_.width());
    QVERIFY(herite.height() > long_.height());

    QFont petite = grande;
    petite.setPointSize(grande.pointSize() / 3);
    panneau->setFont(petite);
    QCOMPARE(panneau->sizeHint(), long_);
}

void TestWidgets3D::styleDessineLeBoutonDeDebordement()
{
    StyleJeu style;
    const QImage versLaDroite =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(8, 16).toImage();
    QCOMPARE(versLaDroite.size(), QSize(8, 16));
    QVERIFY(versLaDroite != QImage(8, 16, versLaDroite.format())); // something is drawn

    const QImage versLeBas =
        style.standardIcon(QStyle::SP_ToolBarVerticalExtensionButton).pixmap(16, 8).toImage();
    QCOMPARE(versLeBas, versLaDroite.transformed(QTransform().rotate(90)));

    QStyleOption droiteAGauche;
    droiteAGauche.direction = Qt::RightToLeft;
    const QImage versLaGauche =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &droiteAGauche)
            .pixmap(8, 16)
            .toImage();
    QCOMPARE(versLaGauche, versLaDroite.mirrored(true, false));

    // Every other picture is the desktop style's.
    QVERIFY(!style.standardIcon(QStyle::SP_MessageBoxWarning).isNull());
}

void TestWidgets3D::boutonGardeLeComportementDeQPushButton()
{
    // The button paints itself but must still click by mouse, Space and its & mnemonic.
    QWidget fenetre;
    auto *bouton = new Bouton3D(QStringLiteral("&Valider"), &fenetre);
    bouton->setGeometry(10, 10, 73, 25);
    fenetre.show();
    fenetre.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fenetre));
    QSignalSpy clics(bouton, &QAbstractButton::clicked);

    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(1, 1)); // the bevel is the button too
    QCOMPARE(clics.count(), 1);

    bouton->setFocus();
    QTest::keyClick(bouton, Qt::Key_Space);
    QCOMPARE(clics.count(), 2);

    QTest::keyClick(&fenetre, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(clics.count(), 3);
    QCOMPARE(QAccessible::queryAccessibleInterface(bouton)->role(), QAccessible::Button);
}

void TestWidgets3D::boutonDesactiveNeCliquePas()
{
    // A wrong answer's button is disabled: neither the mouse nor its mnemonic may press it.
    QWidget fenetre;
    auto *bouton = new Bouton3D(QStringLiteral("&Annuler"), &fenetre);
    bouton->setGeometry(10, 10, 73, 25);
    bouton->setEnabled(false);
    fenetre.show();
    fenetre.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fenetre));
    QSignalSpy clics(bouton, &QAbstractButton::clicked);

    QTest::mouseClick(bouton, Qt::LeftButton);
    QTest::keyClick(&fenetre, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(300); // longer than the animated click a mnemonic starts
    QCOMPARE(clics.count(), 0);
}

void TestWidgets3D::entreeNePressePasLeBouton()
{
    // In a dialog, Enter must press none of these buttons, even the focused one.
    QDialog dialogue;
    auto *saisie = new QLineEdit(&dialogue);
    auto *bouton = new Bouton3D(QStringLiteral("&Valider"), &dialogue);
    bouton->move(0, 40);
    dialogue.show();
    dialogue.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialogue));
    QSignalSpy clics(bouton, &QAbstractButton::clicked);

    saisie->setFocus();
    QTest::keyClick(saisie, Qt::Key_Return);
    bouton->setFocus();
    QTest::keyClick(bouton, Qt::Key_Return);
    QCOMPARE(clics.count(), 0);
    QVERIFY(dialogue.isVisible());
}

void TestWidgets3D::barreMontreSeptPanneauxDansLOrdre()
{
    // The status line's panels, their order and widths (in pixels, from the twips of the design).
    PlateformeFactice plateforme;
    plateforme.horloge = momentFixe();
    QMainWindow fenetre;
    auto *barre = new BarreEtat(plateforme);
    fenetre.setStatusBar(barre);
    barre->setTextePrincipal(QStringLiteral("Pavoria  -  Version 1.6"));
    fenetre.resize(900, 300);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

    const QList<Panneau3D *> panneaux = panneauxDe(*barre);
    QCOMPARE(panneaux.size(), 7);
    const QStringList attendus{QStringLiteral("Pavoria  -  Version 1.6"),
                               QStringLiteral("DEFIL"),
                               QStringLiteral("INS"),
                               QStringLiteral("MAJ"),
                               QStringLiteral("NUM"),
                               QStringLiteral("16/04/2000"),
                               QStringLiteral("13:48")};
    for (qsizetype i = 0; i < panneaux.size(); ++i) {
        QCOMPARE(panneaux[i]->legende(), attendus[i]);
        QCOMPARE(panneaux[i]->accessibleName(), attendus[i]);
        QVERIFY(panneaux[i]->isVisible());
        if (i > 0)
            QVERIFY(panneaux[i - 1]->geometry().right() < panneaux[i]->x());
    }
    QCOMPARE(barre->height(), 23);
    QCOMPARE(panneaux[0]->alignement() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(panneaux[0]->width() >= 267);
    for (qsizetype i = 1; i <= 4; ++i)
        QCOMPARE(panneaux[i]->width(), 40);
    QVERIFY(panneaux[5]->width() >= 67);
    QVERIFY(panneaux[6]->width() >= 53);
    for (qsizetype i = 5; i <= 6; ++i) {
        const int texte = panneaux[i]->fontMetrics().horizontalAdvance(panneaux[i]->legende());
        QVERIFY2(panneaux[i]->zoneContenu().width() >= texte, "the date and time must fit");
    }

    // The first panel takes all the width gained; the others keep theirs.
    const int largeurPrincipale = panneaux[0]->width();
    const int largeurHeure = panneaux[6]->width();
    fenetre.resize(1200, 300);
    QTRY_COMPARE(panneaux[0]->width(), largeurPrincipale + 300);
    QCOMPARE(panneaux[6]->width(), largeurHeure);

    // A status tip shows in the first panel and leaves the program's text behind it.
    barre->showMessage(QStringLiteral("Nouvelle partie"));
    QCOMPARE(panneaux[0]->legende(), QStringLiteral("Nouvelle partie"));
    barre->clearMessage();
    QCOMPARE(panneaux[0]->legende(), QStringLiteral("Pavoria  -  Version 1.6"));
    QCOMPARE(barre->textePrincipal(), QStringLiteral("Pavoria  -  Version 1.6"));
}

void TestWidgets3D::barreSuitLHorloge()
{
    // The date and time panels stay current without anyone writing to them.
    PlateformeFactice plateforme;
    plateforme.horloge = momentFixe();
    BarreEtat barre(plateforme);
    const QList<Panneau3D *> panneaux = panneauxDe(barre);
    QCOMPARE(panneaux[5]->legende(), QStringLiteral("16/04/2000"));
    QCOMPARE(panneaux[6]->legende(), QStringLiteral("13:48"));

    plateforme.horloge = QDateTime(QDate(2000, 4, 17), QTime(0, 0));
    QTRY_COMPARE(panneaux[6]->legende(), QStringLiteral("00:00"));
    QCOMPARE(panneaux[5]->legende(), QStringLiteral("17/04/2000"));
}

void TestWidgets3D::toucheVerrouBasculeSonPanneau_data()
{
    QTest::addColumn<int>("touche");
    QTest::addColumn<Verrou>("verrou");
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<bool>("voyant"); // the key has a keyboard light, read instead on X11

    QTest::newRow("Inser") << int(Qt::Key_Insert) << Verrou::Insertion << "INS" << false;
    QTest::newRow("Verr. maj.") << int(Qt::Key_CapsLock) << Verrou::Majuscules << "MAJ" << true;
    QTest::newRow("Verr. num.") << int(Qt::Key_NumLock) << Verrou::Numerique << "NUM" << true;
    QTest::newRow("Arrêt défil.") << int(Qt::Key_ScrollLock) << Verrou::Defilement << "DEFIL"
                                  << true;
}

void TestWidgets3D::toucheVerrouBasculeSonPanneau()
{
    // Each press of a lock key lights or dims its panel once, wherever the focus is.
    QFETCH(int, touche);
    QFETCH(Verrou, verrou);
    QFETCH(QString, libelle);
    QFETCH(bool, voyant);
    if (voyant && QGuiApplication::platformName() == QLatin1String("xcb"))
        QSKIP("the keyboard's own light decides on X11");

    const PlateformeFactice plateforme;
    QWidget fenetre;
    auto *barre = new BarreEtat(plateforme, &fenetre);
    // Plain widgets ignore the key, so Qt offers the same press to each ancestor in turn; with
    // four of them, counting every offer would toggle the state back.
    auto *cible = new QWidget(new QWidget(new QWidget(&fenetre)));
    cible->setFocusPolicy(Qt::StrongFocus);
    fenetre.show();
    fenetre.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&fenetre));
    cible->setFocus();

    const auto panneaux = panneauxDe(*barre);
    const auto panneau = std::find_if(panneaux.begin(), panneaux.end(),
                                      [&](auto *p) { return p->legende() == libelle; });
    QVERIFY(panneau != panneaux.end());
    QVERIFY(!barre->etatVerrou(verrou));
    QVERIFY((*panneau)->couleurTexte() != QColor(Qt::black));

    // The path a real key press takes: the window first, then the focus widget.
    QWindow *const entree = fenetre.windowHandle();
    QTest::keyClick(entree, Qt::Key(touche));
    QVERIFY(barre->etatVerrou(verrou));
    QCOMPARE((*panneau)->couleurTexte(), QColor(Qt::black));

    QTest::keyClick(entree, Qt::Key(touche));
    QVERIFY(!barre->etatVerrou(verrou));
    QVERIFY((*panneau)->couleurTexte() != QColor(Qt::black));

    QTest::keyPress(entree, Qt::Key(touche));
    QKeyEvent repetition(QEvent::KeyPress, touche, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(entree, &repetition); // holding the key down is still one press
    QTest::keyRelease(entree, Qt::Key(touche));
    QVERIFY(barre->etatVerrou(verrou));
}

PAVORIA_TEST_MAIN(TestWidgets3D)
#include "tst_widgets3d.moc"
