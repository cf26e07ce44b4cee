#include "app/Questionnaire.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Joueur;

namespace {

// A key press where the player's keyboard sends it: to the window that has the focus.
void appuyer(Qt::Key touche, Qt::KeyboardModifiers modificateurs = Qt::NoModifier)
{
    QWidget *cible =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QVERIFY(cible);
    QTest::keyClick(cible, touche, modificateurs);
}

// Shows a window that the recording platform would otherwise only note, and waits until the
// keyboard reaches it, as a modal window gets it.
bool montrer(QDialog &dialogue)
{
    dialogue.setWindowModality(Qt::ApplicationModal);
    dialogue.show();
    dialogue.activateWindow();
    // Not qWaitForWindowActive: the offscreen platform calls a window active before Qt has
    // moved the focus to it.
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialogue; });
}

// The window manager gives the keyboard back to the main window once a modal window has gone.
bool rendreLaMain(QWidget &fenetre)
{
    fenetre.activateWindow();
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &fenetre; });
}

} // namespace

// A player with no mouse: every command, every answer and every window from the keyboard alone.
class TestClavier : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void partieEntiereAuClavier();
    void chiffresSansEffetHorsPartieEtSurBoutonGrise();
    void commandesOntLeursTouches_data();
    void commandesOntLeursTouches();
    void aProposSeFermeAuClavier();

private:
    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    std::unique_ptr<Questionnaire> fenetre_;
};

void TestClavier::init()
{
    base_ = std::make_unique<BaseDeTest>();
    plateforme_ = PlateformeFactice();
    plateforme_.dossier = base_->dossier();
    fenetre_ = std::make_unique<Questionnaire>(plateforme_, plateforme_, 404);
    QVERIFY(fenetre_->Form_Load());
    fenetre_->show();
    fenetre_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fenetre_.get()));
}

void TestClavier::cleanup()
{
    fenetre_.reset();
}

void TestClavier::partieEntiereAuClavier()
{
    QStringList lignesVues;
    plateforme_.pendantFenetre = [&](QDialog &dialogue) {
        if (!montrer(dialogue))
            return 0;
        if (dialogue.objectName() == u"Enregistre") {
            // The name box has the focus; Alt+V is Valider's mnemonic.
            taper(QApplication::focusWidget(), QStringLiteral("zoé"));
            appuyer(Qt::Key_V, Qt::AltModifier);
            // A mnemonic presses its button as an animated click does.
            if (!QTest::qWaitFor([&] { return !dialogue.isVisible(); }))
                return -1;
        } else {
            const QAbstractItemModel *modele =
                dialogue.findChild<QAbstractItemView *>(QStringLiteral("Grille"))->model();
            lignesVues << modele->index(0, 0).data().toString()
                       << modele->index(0, 1).data().toString();
            appuyer(Qt::Key_Space); // the grid takes no focus: the button has it
        }
        return rendreLaMain(*fenetre_) ? dialogue.result() : -1;
    };

    appuyer(Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(legende(*fenetre_, "ComptePartie"), QStringLiteral("Jeu n° 1"));
    appuyer(Qt::Key_Tab); // the focus on the answers stays there from question to question
    for (int question = 1; question <= 15; ++question) {
        const int bonne = fenetre_->param().BonneReponse;
        const auto touche = Qt::Key(Qt::Key_0 + bonne);
        // Odd questions on the main row after one wrong key, even ones on the keypad.
        if (question % 2) {
            appuyer(Qt::Key(Qt::Key_0 + bonne % 3 + 1));
            QCOMPARE(legende(*fenetre_, "Resultat"), QStringLiteral("PERDU"));
            appuyer(touche);
        } else {
            appuyer(touche, Qt::KeypadModifier);
        }
        QVERIFY(question == 15 || qobject_cast<Bouton3D *>(QApplication::focusWidget()));
    }
    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].texte,
             QStringLiteral("Cette partie est terminée !!\n\nVotre score est de 51 Points !"));
    QCOMPARE(base_->scores().first().NOM, QStringLiteral("ZOÉ"));
    QVERIFY(auRepos(*fenetre_));

    appuyer(Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(plateforme_.fenetres, (QStringList{"Enregistre", "Scores"}));
    QCOMPARE(lignesVues, (QStringList{"ZOÉ", "51"}));
}

void TestClavier::chiffresSansEffetHorsPartieEtSurBoutonGrise()
{
    for (const Qt::Key touche : {Qt::Key_1, Qt::Key_2, Qt::Key_3})
        appuyer(touche);
    QVERIFY(auRepos(*fenetre_));

    appuyer(Qt::Key_N, Qt::ControlModifier);
    const int mauvaise = fenetre_->param().BonneReponse % 3 + 1;
    appuyer(Qt::Key(Qt::Key_0 + mauvaise), Qt::KeypadModifier);
    QVERIFY(!reponse(*fenetre_, mauvaise)->isEnabled());
    int changements = 0;
    connect(&fenetre_->partie(), &Partie::affichageChange, this, [&] { ++changements; });
    appuyer(Qt::Key(Qt::Key_0 + mauvaise));
    QCOMPARE(changements, 0);
    QCOMPARE(fenetre_->param().NumeroJeu, 1);
}

void TestClavier::commandesOntLeursTouches_data()
{
    QTest::addColumn<QString>("commande");
    QTest::addColumn<QKeySequence>("touche"); // the one the help file tells
    QTest::addColumn<int>("standard");        // the desktop's own, if any

    QTest::newRow("new game") << "NouvellePartie" << QKeySequence(Qt::CTRL | Qt::Key_N)
                              << int(QKeySequence::New);
    QTest::newRow("top ten") << "Scores" << QKeySequence(Qt::CTRL | Qt::Key_H)
                             << int(QKeySequence::UnknownKey);
    QTest::newRow("quit") << "Quitter" << QKeySequence(Qt::CTRL | Qt::Key_Q)
                          << int(QKeySequence::Quit);
    QTest::newRow("about") << "Apropos" << QKeySequence(Qt::CTRL | Qt::Key_I)
                           << int(QKeySequence::UnknownKey);
    QTest::newRow("help") << "Aide" << QKeySequence(Qt::Key_F1) << int(QKeySequence::HelpContents);
}

void TestClavier::commandesOntLeursTouches()
{
    // Each toolbar command has its key; pressing it does what the button does.
    QFETCH(QString, commande);
    QFETCH(QKeySequence, touche);
    QFETCH(int, standard);

    QAction *action = fenetre_->findChild<QAction *>(commande);
    QVERIFY(action->shortcuts().contains(touche));
    for (const QKeySequence &propre :
         QKeySequence::keyBindings(QKeySequence::StandardKey(standard)))
        QVERIFY(action->shortcuts().contains(propre));
    QSignalSpy declenchements(action, &QAction::triggered);
    QTest::keySequence(fenetre_.get(), touche);
    QCOMPARE(declenchements.size(), 1);
}

void TestClavier::aProposSeFermeAuClavier()
{
    // The About box has no title bar and Escape does not close it: Tab reaches Quitter.
    bool ferme = false;
    plateforme_.pendantFenetre = [&](QDialog &dialogue) {
        if (!montrer(dialogue))
            return 0;
        auto *quitter = dialogue.findChild<QAbstractButton *>(QStringLiteral("Quitter"));
        for (int tabulations = 0; tabulations < 5 && QApplication::focusWidget() != quitter;
             ++tabulations)
            appuyer(Qt::Key_Tab);
        appuyer(Qt::Key_Space);
        ferme = !dialogue.isVisible();
        return rendreLaMain(*fenetre_) ? dialogue.result() : -1;
    };
    appuyer(Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(plateforme_.fenetres, QStringList{"Apropos"});
    QVERIFY(ferme);
}

PAVORIA_TEST_MAIN(TestClavier)
#include "tst_clavier.moc"
