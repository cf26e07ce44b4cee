#include "app/Questionnaire.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Ecran.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"
#include "widgets/Bouton3D.h"
#include "widgets/Panneau3D.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QWindow>

#include <memory>
#include <set>

using namespace Joueur;

namespace {

QImage enRgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage ecran(QWidget &fenetre, const char *nom)
{
    return Ecran::montre(fenetre, *fenetre.findChild<QWidget *>(QLatin1String(nom)));
}

} // namespace

class TestPartie : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void partiesEntieres_data();
    void partiesEntieres();
    void scoreGardeSonTexteSurUneErreur();
    void masquesFermesPendantLeChangementDeDrapeau();
    void masquesFermesALEcranEntreDeuxDrapeaux();
    void invariantsAuFilDeNombreusesParties();
    void tiragesUniformesEtDifferents();
    void nouvellePartieEnCoursDePartie();
    void apresLaFinLesReponsesNeRepondentPlus();
    void annulerLEnregistrementRemetAuRepos();
    void fenetresOuvertesEnCoursDePartie();
    void agrandieEnCoursDePartie();
    void horsAgrandissementLaDispositionReste();
    void fichierDeJeuInutilisable_data();
    void fichierDeJeuInutilisable();

private:
    std::unique_ptr<Questionnaire> nouvelleFenetre(quint32 graine);
    void verifierInvariants(Questionnaire &fenetre);

    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    std::unique_ptr<ControleDonnees> lecture_;
};

void TestPartie::init()
{
    base_ = std::make_unique<BaseDeTest>();
    plateforme_ = PlateformeFactice();
    plateforme_.dossier = base_->dossier();
    // At the end of a game, the player types a name and confirms.
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        QTest::keyClicks(dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom")), "testeur");
        dialogue.findChild<QPushButton *>(QStringLiteral("Valider"))->click();
        return 1;
    };
    lecture_.reset();
}

std::unique_ptr<Questionnaire> TestPartie::nouvelleFenetre(quint32 graine)
{
    auto fenetre = std::make_unique<Questionnaire>(plateforme_, plateforme_, graine);
    if (!fenetre->Form_Load())
        qFatal("start-up refused");
    return fenetre;
}

void TestPartie::partiesEntieres_data()
{
    QTest::addColumn<QList<int>>("erreurs"); // wrong clicks before the right one, per question
    QTest::addColumn<int>("score");

    QTest::newRow("all first tries") << QList<int>(15, 0) << 75;
    QTest::newRow("all third tries") << QList<int>(15, 2) << 0;
    QTest::newRow("mixed") << QList<int>{0, 1, 2, 0, 0, 1, 1, 2, 2, 0, 1, 0, 2, 1, 0}
                           << 6 * 5 + 5 * 2;
}

void TestPartie::partiesEntieres()
{
    QFETCH(QList<int>, erreurs);
    QFETCH(int, score);

    auto fenetre = nouvelleFenetre(1998);
    commander(*fenetre, "NouvellePartie");
    for (int question = 1; question <= 15; ++question) {
        QCOMPARE(legende(*fenetre, "ComptePartie"), QStringLiteral("Jeu n° %1").arg(question));
        repondre(*fenetre, erreurs[question - 1]);
    }

    // The final message comes first; a score of 0 is then refused by the score dialog.
    QCOMPARE(plateforme_.messages.size(), score == 0 ? 2 : 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(plateforme_.messages[0].texte,
             QStringLiteral("Cette partie est terminée !!\n\nVotre score est de %1 Points !")
                 .arg(score));
    QCOMPARE(plateforme_.fenetres, QStringList{QStringLiteral("Enregistre")});

    // Back to the idle look.
    QCOMPARE(fenetre->param().CompteTours, 16);
    QCOMPARE(fenetre->param().NumeroJeu, 0);
    QCOMPARE(fenetre->param().Points, 0);
    for (int n = 1; n <= 3; ++n) {
        QVERIFY(!reponse(*fenetre, n)->isEnabled());
        QCOMPARE(reponse(*fenetre, n)->text(), QString());
    }
    for (const char *compteur : {"Resultat", "Score", "ComptePartie"})
        QCOMPARE(legende(*fenetre, compteur), QString());
    QVERIFY(fenetre->partie().affichage().masquesFermes);
}

void TestPartie::scoreGardeSonTexteSurUneErreur()
{
    auto fenetre = nouvelleFenetre(7);
    commander(*fenetre, "NouvellePartie");
    const auto mauvaise = [&] { return fenetre->param().BonneReponse % 3 + 1; };

    reponse(*fenetre, mauvaise())->click();
    QCOMPARE(legende(*fenetre, "Resultat"), QStringLiteral("PERDU"));
    QCOMPARE(legende(*fenetre, "Score"), QString());
    QVERIFY(!reponse(*fenetre, mauvaise())->isEnabled());

    reponse(*fenetre, fenetre->param().BonneReponse)->click(); // second try
    QCOMPARE(legende(*fenetre, "Score"), QStringLiteral("2 points"));
    QCOMPARE(legende(*fenetre, "Resultat"), QString()); // cleared by the next question

    reponse(*fenetre, mauvaise())->click();
    QCOMPARE(legende(*fenetre, "Score"), QStringLiteral("2 points"));
    QCOMPARE(fenetre->param().Points, 2);
}

void TestPartie::masquesFermesPendantLeChangementDeDrapeau()
{
    auto fenetre = nouvelleFenetre(11);
    struct Vue
    {
        bool fermes;
        QString resultat;
        QString score;
        QString question;
    };
    QList<Vue> vues;
    plateforme_.pendantTraitement = [&] {
        vues.append({fenetre->partie().affichage().masquesFermes, legende(*fenetre, "Resultat"),
                     legende(*fenetre, "Score"), legende(*fenetre, "ComptePartie")});
    };

    commander(*fenetre, "NouvellePartie");
    // The first question of a game yields once, with the masks open on the new flag.
    QCOMPARE(vues.size(), 1);
    QVERIFY(!vues[0].fermes);

    vues.clear();
    repondre(*fenetre, 0);
    QCOMPARE(vues.size(), 2);
    QVERIFY(vues[0].fermes);
    QCOMPARE(vues[0].resultat, QStringLiteral("Très bien"));
    QCOMPARE(vues[0].score, QStringLiteral("5 points"));
    QCOMPARE(vues[0].question, QStringLiteral("Jeu n° 1"));
    QVERIFY(!vues[1].fermes);
    QCOMPARE(vues[1].resultat, QString());
    QCOMPARE(vues[1].question, QStringLiteral("Jeu n° 2"));

    // The window's masks follow: open, they stand aside of the flag panel.
    const QWidget *gauche = fenetre->findChild<QWidget *>(QStringLiteral("MasqueGauche"));
    const QWidget *support = fenetre->findChild<QWidget *>(QStringLiteral("SupportImage"));
    QCOMPARE(gauche->geometry().right() + 1, support->x());
}

void TestPartie::masquesFermesALEcranEntreDeuxDrapeaux()
{
    // Guards that the closed masks really reach the screen between two flags, whatever the
    // window does to draw faster: the first yield must show them, the second the new flag.
    auto fenetre = nouvelleFenetre(23);
    fenetre->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre.get()));
    QCoreApplication::processEvents();
    const QImage fermes = ecran(*fenetre, "SupportImage");
    QList<QImage> vues;
    plateforme_.pendantTraitement = [&] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        vues.append(ecran(*fenetre, "SupportImage"));
    };

    commander(*fenetre, "NouvellePartie");
    for (int question = 1; question <= 5; ++question) {
        vues.clear();
        repondre(*fenetre, question % 3);
        QCOMPARE(vues.size(), 2);
        QCOMPARE(vues[0], fermes);
        QVERIFY(vues[1] != fermes);
        // The flag panel, uncovered, shows the right country's flag where the flag image is.
        auto *dessin = fenetre->findChild<QLabel *>(QStringLiteral("Dessin1"));
        const QImage attendu = enRgb(dessin->grab().toImage());
        QCOMPARE(vues[1].copy(QRect(dessin->pos(), dessin->size())), attendu);
    }
}

namespace {

// Top of each frame, in the window's coordinates.
int haut(Questionnaire &fenetre, const char *nom)
{
    const auto *controle = fenetre.findChild<QWidget *>(QLatin1String(nom));
    return controle->mapTo(&fenetre, QPoint(0, 0)).y();
}

} // namespace

void TestPartie::agrandieEnCoursDePartie()
{
    // Maximised in a game, the window lays its frames out again from the height it was given,
    // here the screen's free height, as at start-up; the open masks stay open.
    auto fenetre = nouvelleFenetre(7);
    fenetre->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre.get()));
    const int image = haut(*fenetre, "BoiteImage");
    const int boutons = haut(*fenetre, "BoiteBoutons");
    commander(*fenetre, "NouvellePartie");
    const auto *gauche = fenetre->findChild<QWidget *>(QStringLiteral("MasqueGauche"));
    const auto *droit = fenetre->findChild<QWidget *>(QStringLiteral("MasqueDroit"));
    const QRect gaucheOuvert = gauche->geometry();
    const QRect droitOuvert = droit->geometry();
    // Frames left where another height would put them: only a new layout brings them back.
    for (const char *nom : {"BoiteImage", "BoiteBoutons"})
        fenetre->findChild<QWidget *>(QLatin1String(nom))->move(0, 0);

    fenetre->showMaximized();
    QTRY_COMPARE(fenetre->frameGeometry().height(),
                 fenetre->screen()->availableGeometry().height());
    QCOMPARE(haut(*fenetre, "BoiteImage"), image);
    QCOMPARE(haut(*fenetre, "BoiteBoutons"), boutons);
    QCOMPARE(gauche->geometry(), gaucheOuvert);
    QCOMPARE(droit->geometry(), droitOuvert);
}

void TestPartie::horsAgrandissementLaDispositionReste()
{
    // A window that is not maximised keeps the layout made at start-up, whatever its height.
    auto fenetre = nouvelleFenetre(7);
    fenetre->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre.get()));
    const int image = haut(*fenetre, "BoiteImage");
    const int boutons = haut(*fenetre, "BoiteBoutons");
    fenetre->resize(fenetre->width(), fenetre->height() + 200);
    QTRY_COMPARE(fenetre->windowHandle()->height(), fenetre->height());
    QCOMPARE(haut(*fenetre, "BoiteImage"), image);
    QCOMPARE(haut(*fenetre, "BoiteBoutons"), boutons);
}

void TestPartie::verifierInvariants(Questionnaire &fenetre)
{
    const Param &param = fenetre.param();
    if (param.NumeroJeu == 0) {
        for (int n = 1; n <= 3; ++n)
            QVERIFY(!reponse(fenetre, n)->isEnabled());
        return;
    }
    QCOMPARE(int(param.NumeroJeu), param.CompteTours);
    QVERIFY(param.NumeroJeu >= 1 && param.NumeroJeu <= 15);
    QVERIFY(param.Points >= 0 && param.Points <= 5 * (param.NumeroJeu - 1));
    QVERIFY(reponse(fenetre, param.BonneReponse)->isEnabled());
    const std::set<QString> noms{reponse(fenetre, 1)->text(), reponse(fenetre, 2)->text(),
                                 reponse(fenetre, 3)->text()};
    QCOMPARE(noms.size(), std::size_t(3));
    QVERIFY(!noms.count(QString()));

    const QString pays = reponse(fenetre, param.BonneReponse)->text();
    const std::optional<QImage> attendu = lecture_->drapeauDuPays(pays);
    QVERIFY(attendu);
    const QPixmap montre = fenetre.findChild<QLabel *>(QStringLiteral("Dessin1"))->pixmap();
    QCOMPARE(enRgb(montre.toImage()), enRgb(*attendu));
}

void TestPartie::invariantsAuFilDeNombreusesParties()
{
    lecture_ = std::make_unique<ControleDonnees>(QStringLiteral("invariants"),
                                                 ControleDonnees::Acces::Lecture);
    QVERIFY(lecture_->ouvrirDrapeaux(base_->fichier()));
    plateforme_.pendantFenetre = [](QDialog &) { return 0; };

    auto fenetre = nouvelleFenetre(2000);
    QRandomGenerator joueur(42);
    for (int evenement = 0; evenement < 1500; ++evenement) {
        // Mostly answers, now and then a new game in the middle of one.
        if (fenetre->param().NumeroJeu == 0 || joueur.bounded(40) == 0)
            commander(*fenetre, "NouvellePartie");
        else
            reponse(*fenetre, int(joueur.bounded(1, 4)))->click();
        verifierInvariants(*fenetre);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after event %1").arg(evenement)));
    }
    QVERIFY(plateforme_.fenetres.size() > 3); // several games reached their end
}

void TestPartie::tiragesUniformesEtDifferents()
{
    auto fenetre = nouvelleFenetre(31);
    std::array<int, 3> bonnes{};
    std::set<QString> vus;
    constexpr int questions = 3000;
    for (int i = 0; i < questions; ++i) {
        commander(*fenetre, "NouvellePartie");
        ++bonnes[std::size_t(fenetre->param().BonneReponse - 1)];
        const QString a = reponse(*fenetre, 1)->text();
        const QString b = reponse(*fenetre, 2)->text();
        const QString c = reponse(*fenetre, 3)->text();
        QVERIFY(a != b && b != c && a != c);
        vus.insert({a, b, c});
    }
    for (const int fois : bonnes)
        QVERIFY2(fois > questions / 3 - 150 && fois < questions / 3 + 150,
                 qPrintable(QString::number(fois)));
    QCOMPARE(vus.size(), std::size_t(178));
}

void TestPartie::nouvellePartieEnCoursDePartie()
{
    auto fenetre = nouvelleFenetre(5);
    commander(*fenetre, "NouvellePartie");
    for (int i = 0; i < 4; ++i)
        repondre(*fenetre, 0);
    reponse(*fenetre, fenetre->param().BonneReponse % 3 + 1)->click();
    QCOMPARE(legende(*fenetre, "Resultat"), QStringLiteral("PERDU"));

    commander(*fenetre, "NouvellePartie");
    QCOMPARE(legende(*fenetre, "ComptePartie"), QStringLiteral("Jeu n° 1"));
    QCOMPARE(legende(*fenetre, "Score"), QString());
    QCOMPARE(legende(*fenetre, "Resultat"), QString());
    QCOMPARE(fenetre->param().Points, 0);
    QCOMPARE(fenetre->param().CompteTours, 1);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(reponse(*fenetre, n)->isEnabled());
    QVERIFY(plateforme_.messages.isEmpty()); // the abandoned game is never scored
}

void TestPartie::apresLaFinLesReponsesNeRepondentPlus()
{
    auto fenetre = nouvelleFenetre(8);
    commander(*fenetre, "NouvellePartie");
    for (int i = 0; i < 15; ++i)
        repondre(*fenetre, 1);
    QCOMPARE(fenetre->param().CompteTours, 16);

    for (int n = 1; n <= 3; ++n)
        reponse(*fenetre, n)->click();
    fenetre->partie().Repondre(1);
    QCOMPARE(legende(*fenetre, "Resultat"), QString());
    QCOMPARE(fenetre->param().CompteTours, 16);
    QCOMPARE(plateforme_.messages.size(), 1);

    commander(*fenetre, "NouvellePartie");
    QCOMPARE(legende(*fenetre, "ComptePartie"), QStringLiteral("Jeu n° 1"));
    QCOMPARE(fenetre->param().Points, 0);
}

void TestPartie::annulerLEnregistrementRemetAuRepos()
{
    const QList<ControleDonnees::LigneScore> avant = base_->scores();
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        QTest::keyClicks(dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom")), "abc");
        dialogue.findChild<QPushButton *>(QStringLiteral("Annuler"))->click();
        return 0;
    };
    auto fenetre = nouvelleFenetre(9);
    commander(*fenetre, "NouvellePartie");
    for (int i = 0; i < 15; ++i)
        repondre(*fenetre, 0);

    QCOMPARE(base_->scores().size(), avant.size());
    QCOMPARE(base_->scores().first().SCORE, avant.first().SCORE);
    QCOMPARE(fenetre->param().NumeroJeu, 0);
    QVERIFY(!reponse(*fenetre, 1)->isEnabled());
}

void TestPartie::fenetresOuvertesEnCoursDePartie()
{
    // The top ten and the About box, opened and closed mid-game, leave the game where it stood.
    auto fenetre = nouvelleFenetre(12);
    commander(*fenetre, "NouvellePartie");
    repondre(*fenetre, 0);
    const int mauvaise = fenetre->param().BonneReponse % 3 + 1;
    reponse(*fenetre, mauvaise)->click();

    const auto etat = [&] {
        QStringList vue{legende(*fenetre, "Resultat"), legende(*fenetre, "Score"),
                        legende(*fenetre, "ComptePartie")};
        for (int n = 1; n <= 3; ++n)
            vue << reponse(*fenetre, n)->text()
                << QString::number(reponse(*fenetre, n)->isEnabled());
        return vue;
    };
    const QStringList avant = etat();
    const Param param = fenetre->param();
    QStringList lignesVues;
    plateforme_.pendantFenetre = [&](QDialog &dialogue) {
        if (auto *grille = dialogue.findChild<QAbstractItemView *>(QStringLiteral("Grille")))
            lignesVues << QString::number(grille->model()->rowCount());
        const char *bouton = dialogue.objectName() == u"Scores" ? "ValiderListeScores" : "Quitter";
        dialogue.findChild<QPushButton *>(QLatin1String(bouton))->click();
        return 1;
    };
    commander(*fenetre, "Scores");
    commander(*fenetre, "Apropos");

    QCOMPARE(plateforme_.fenetres, (QStringList{"Scores", "Apropos"}));
    QCOMPARE(lignesVues, QStringList{"10"});
    QCOMPARE(etat(), avant);
    QCOMPARE(fenetre->param().CompteTours, param.CompteTours);
    QCOMPARE(fenetre->param().Points, param.Points);
    QCOMPARE(fenetre->param().BonneReponse, param.BonneReponse);
    QVERIFY(plateforme_.messages.isEmpty());
}

void TestPartie::fichierDeJeuInutilisable_data()
{
    QTest::addColumn<QByteArray>("contenu"); // empty: the file is removed
    QTest::addColumn<QString>("faute");

    QTest::newRow("missing") << QByteArray() << "est introuvable";
    QTest::newRow("random bytes") << QByteArray(4096, '\x5a') << "endommagé";
}

void TestPartie::fichierDeJeuInutilisable()
{
    QFETCH(QByteArray, contenu);
    QFETCH(QString, faute);

    QFile::remove(base_->fichier());
    if (!contenu.isEmpty()) {
        QFile fichier(base_->fichier());
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(contenu);
    }
    auto fenetre = nouvelleFenetre(3);
    commander(*fenetre, "NouvellePartie");

    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Les Pavoria"));
    QVERIFY2(plateforme_.messages[0].texte.contains(base_->fichier()),
             qPrintable(plateforme_.messages[0].texte));
    QVERIFY2(plateforme_.messages[0].texte.contains(faute),
             qPrintable(plateforme_.messages[0].texte));
    QCOMPARE(plateforme_.fins, QList<int>{1});
    QCOMPARE(QFile::exists(base_->fichier()), !contenu.isEmpty());
    if (!contenu.isEmpty())
        QCOMPARE(base_->contenu(), contenu);
}

PAVORIA_TEST_MAIN(TestPartie)
#include "tst_partie.moc"
