#include "app/Questionnaire.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <array>
#include <memory>
#include <set>

using namespace Joueur;

namespace {

struct Ligne
{
    QString nom;
    int score = 0;
    QDate date;

    bool operator==(const Ligne &) const = default;
};

// The score table in its own row order, which decides which of equal lowest scores goes.
QList<Ligne> tableParRowid(const QString &fichier)
{
    QList<Ligne> lignes;
    FichierJeu::travailler(fichier, [&lignes](QSqlQuery &requete) {
        FichierJeu::executer(requete, Schema::scoresStockes);
        while (requete.next()) {
            lignes.append({requete.value(0).toString(), requete.value(1).toInt(),
                           QDate::fromString(requete.value(2).toString(), Qt::ISODate)});
        }
    });
    return lignes;
}

int nombreDepuisEnvironnement(const char *variable, int defaut)
{
    bool lu = false;
    const int nombre = qEnvironmentVariableIntValue(variable, &lu);
    return lu && nombre > 0 ? nombre : defaut;
}

// What the player does with the score dialog at the end of a game.
enum class Issue { Valider, Annuler, VidepuisValider, VidepuisAnnuler };

} // namespace

class TestSinge : public QObject
{
    Q_OBJECT

private slots:
    void milliersDEvenementsAuHasard();

private:
    void verifierEtat(Questionnaire &fenetre);
    int scriptEnregistrement(QDialog &dialogue);
    int scriptScores(QDialog &dialogue);
    void verifierFinDePartie(qsizetype premierMessage);

    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    QRandomGenerator hasard_;
    std::unique_ptr<ControleDonnees> drapeaux_;
    QHash<QString, QImage> dessins_;
    QList<Ligne> table_; // the expected score table, in row order
    int points_ = 0;     // the game's score as the player's clicks make it
    Issue issue_ = Issue::Valider;
    QString nom_;
};

int TestSinge::scriptEnregistrement(QDialog &dialogue)
{
    issue_ = Issue(hasard_.bounded(4));
    nom_.clear();
    for (int i = int(hasard_.bounded(1, 16)); i > 0; --i)
        nom_ += QChar(u'a' + hasard_.bounded(26));
    auto *saisie = dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom"));
    auto *valider = dialogue.findChild<QPushButton *>(QStringLiteral("Valider"));
    auto *annuler = dialogue.findChild<QPushButton *>(QStringLiteral("Annuler"));
    if (issue_ == Issue::VidepuisValider || issue_ == Issue::VidepuisAnnuler)
        valider->click();
    taper(saisie, nom_);
    if (issue_ == Issue::Annuler || issue_ == Issue::VidepuisAnnuler)
        annuler->click();
    else
        valider->click();
    return dialogue.result();
}

int TestSinge::scriptScores(QDialog &dialogue)
{
    // The top ten shows the expected table, highest first, equal scores in row order.
    QList<Ligne> attendues = table_;
    std::stable_sort(attendues.begin(), attendues.end(),
                     [](const Ligne &a, const Ligne &b) { return a.score > b.score; });
    const QAbstractItemModel *modele = dialogue.findChild<QAbstractItemView *>()->model();
    [&] {
        QCOMPARE(modele->rowCount(), 10);
        for (int ligne = 0; ligne < 10; ++ligne) {
            QCOMPARE(modele->index(ligne, 0).data().toString(), attendues[ligne].nom);
            QCOMPARE(modele->index(ligne, 1).data().toInt(), attendues[ligne].score);
        }
    }();
    dialogue.findChild<QPushButton *>(QStringLiteral("ValiderListeScores"))->click();
    return dialogue.result();
}

void TestSinge::verifierFinDePartie(qsizetype premierMessage)
{
    // The final message, the dialog's own messages, and the table as the expected model says.
    QStringList attendus{
        QStringLiteral("Cette partie est terminée !!\n\nVotre score est de %1 Points !")
            .arg(points_)};
    if (issue_ == Issue::VidepuisValider || issue_ == Issue::VidepuisAnnuler)
        attendus << QStringLiteral("Saisissez au moins une lettre !!!");
    if (issue_ == Issue::Valider || issue_ == Issue::VidepuisValider) {
        const auto plusPetite =
            std::min_element(table_.begin(), table_.end(),
                             [](const Ligne &a, const Ligne &b) { return a.score < b.score; });
        if (points_ > plusPetite->score) {
            *plusPetite = {nom_.toUpper(), points_, plateforme_.horloge.date()};
        } else {
            attendus << QStringLiteral("Désolé, %1,\n\nvotre score est %2 au plus petit score "
                                       "enregistré !!!\n\nVous ne pouvez être classé.")
                            .arg(nom_.toUpper(), points_ < plusPetite->score
                                                     ? QStringLiteral("inférieur")
                                                     : QStringLiteral("égal"));
        }
    }
    QStringList montres;
    for (qsizetype i = premierMessage; i < plateforme_.messages.size(); ++i)
        montres << plateforme_.messages[i].texte;
    QCOMPARE(montres, attendus);
    QCOMPARE(tableParRowid(base_->fichier()), table_);
}

void TestSinge::verifierEtat(Questionnaire &fenetre)
{
    const Param &param = fenetre.param();
    if (param.NumeroJeu == 0) {
        QVERIFY(auRepos(fenetre));
        return;
    }
    QCOMPARE(int(param.NumeroJeu), param.CompteTours);
    QVERIFY(param.NumeroJeu >= 1 && param.NumeroJeu <= 15);
    QVERIFY(param.Points >= 0 && param.Points <= 5 * (param.NumeroJeu - 1));
    QCOMPARE(int(param.Points), points_);
    QVERIFY(reponse(fenetre, param.BonneReponse)->isEnabled());
    const std::set<QString> noms{reponse(fenetre, 1)->text(), reponse(fenetre, 2)->text(),
                                 reponse(fenetre, 3)->text()};
    QCOMPARE(noms.size(), std::size_t(3));
    QVERIFY(!noms.count(QString()));

    const QString pays = bonPays(fenetre);
    if (!dessins_.contains(pays)) {
        const std::optional<QImage> dessin = drapeaux_->drapeauDuPays(pays);
        QVERIFY(dessin);
        dessins_.insert(pays, dessin->convertToFormat(QImage::Format_RGB32));
    }
    const QPixmap montre = fenetre.findChild<QLabel *>(QStringLiteral("Dessin1"))->pixmap();
    QVERIFY(montre.toImage().convertToFormat(QImage::Format_RGB32) == dessins_.value(pays));
}

void TestSinge::milliersDEvenementsAuHasard()
{
    // Thousands of random events: answers, new games in the middle of one, the top ten and
    // the About box opened and closed, end-of-game dialogs confirmed, cancelled or first
    // confirmed empty. The game state holds its invariants after every event and the score
    // table follows the games that ended.
    const int evenements = nombreDepuisEnvironnement("PAVORIA_EVENEMENTS_SINGE", 4000);
    const auto graine = quint32(nombreDepuisEnvironnement("PAVORIA_GRAINE", 1871));
    hasard_.seed(graine);
    base_ = std::make_unique<BaseDeTest>();
    plateforme_.dossier = base_->dossier();
    drapeaux_ =
        std::make_unique<ControleDonnees>(QStringLiteral("singe"), ControleDonnees::Acces::Lecture);
    QVERIFY(drapeaux_->ouvrirDrapeaux(base_->fichier()));
    table_ = tableParRowid(base_->fichier());
    plateforme_.pendantFenetre = [this](QDialog &dialogue) {
        if (dialogue.objectName() == u"Enregistre")
            return scriptEnregistrement(dialogue);
        if (dialogue.objectName() == u"Scores")
            return scriptScores(dialogue);
        dialogue.findChild<QPushButton *>(QStringLiteral("Quitter"))->click();
        return dialogue.result();
    };

    Questionnaire fenetre(plateforme_, plateforme_, graine);
    QVERIFY(fenetre.Form_Load());
    int erreurs = 0; // wrong answers to the question on screen
    int parties = 0;
    int abandons = 0;
    for (int evenement = 0; evenement < evenements; ++evenement) {
        const qsizetype messages = plateforme_.messages.size();
        bool finie = false;
        const int tirage = int(hasard_.bounded(100));
        const bool enJeu = fenetre.param().NumeroJeu != 0;
        if ((!enJeu && tirage < 30) || tirage < 2) {
            abandons += enJeu;
            commander(fenetre, "NouvellePartie");
            points_ = 0;
            erreurs = 0;
        } else if (tirage < 5) {
            commander(fenetre, "Scores");
        } else if (tirage < 7) {
            commander(fenetre, "Apropos");
        } else {
            const int n = int(hasard_.bounded(1, 4));
            const bool active = reponse(fenetre, n)->isEnabled();
            const bool bonne = n == fenetre.param().BonneReponse;
            const int question = fenetre.param().NumeroJeu;
            reponse(fenetre, n)->click();
            if (active && !bonne)
                ++erreurs;
            if (active && bonne) {
                points_ += std::array{5, 2, 0}[std::size_t(erreurs)];
                erreurs = 0;
                if (question == 15) {
                    ++parties;
                    finie = true;
                    verifierFinDePartie(messages);
                    points_ = 0;
                }
            }
        }
        if (!finie)
            QCOMPARE(plateforme_.messages.size(), messages); // messages come only at the end
        verifierEtat(fenetre);
        QVERIFY(plateforme_.fins.isEmpty());
        if (QTest::currentTestFailed())
            QFAIL(
                qPrintable(QStringLiteral("after event %1 (seed %2)").arg(evenement).arg(graine)));
    }
    qInfo("%d events (seed %u): %d games ended, %d abandoned, %lld windows opened", evenements,
          graine, parties, abandons, qlonglong(plateforme_.fenetres.size()));
    QVERIFY(parties >= 5);
}

PAVORIA_TEST_MAIN(TestSinge)
#include "tst_singe.moc"
