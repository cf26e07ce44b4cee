#include "app/BureauQt.h"
#include "app/Questionnaire.h"
#include "core/PlateformeQt.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QRandomGenerator>
#include <QSqlError>
#include <QTest>

#include <memory>

using namespace Joueur;

namespace {

// Where the fault lies: the file as a whole, its flag table or its score table. It decides
// which step of the game meets it.
enum class Cote { Fichier, Drapeaux, Scores };

constexpr quint32 graine = 2024;

using FichierJeu::executerSql;

// Damages the file in place; "missing" removes it.
void abimer(const QString &fichier, const QString &dommage, const QString &paysIllisible)
{
    QFile f(fichier);
    if (dommage == u"missing") {
        f.remove();
    } else if (dommage == u"empty") {
        f.resize(0);
    } else if (dommage == u"truncated") {
        f.resize(f.size() / 2);
    } else if (dommage == u"random bytes") {
        QByteArray octets(64 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(octets.data()),
                                      octets.size() / 4);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(octets) != octets.size())
            qFatal("cannot write %s", qPrintable(fichier));
    } else if (dommage == u"no flag table") {
        executerSql(fichier, {QStringLiteral("DROP TABLE Pavoria")});
    } else if (dommage == u"no score table") {
        executerSql(fichier, {QStringLiteral("DROP TABLE SCORES")});
    } else if (dommage == u"no picture field") {
        executerSql(fichier, {QStringLiteral("ALTER TABLE Pavoria DROP COLUMN Pavorium")});
    } else if (dommage == u"no date field") {
        executerSql(fichier, {QStringLiteral("ALTER TABLE SCORES DROP COLUMN DATE")});
    } else if (dommage == u"flag 57 missing") {
        executerSql(fichier, {QStringLiteral("DELETE FROM Pavoria WHERE NUMERO = 57")});
    } else if (dommage == u"picture that does not decode") {
        executerSql(fichier,
                    {QStringLiteral("UPDATE Pavoria SET Pavorium = x'89504e470d0a1a0a0000' "
                                    "WHERE PAYS = '%1'")
                         .arg(paysIllisible)});
    } else if (dommage == u"no score row") {
        executerSql(fichier, {QStringLiteral("DELETE FROM SCORES")});
    } else if (dommage == u"eleven score rows") {
        executerSql(fichier,
                    {QStringLiteral("INSERT INTO SCORES VALUES('EN TROP', 1, '2001-01-01')")});
    } else {
        qFatal("unknown damage %s", qPrintable(dommage));
    }
}

// The fault as the message words it; the unreadable picture names its country.
QString avecPays(const QString &faute, const QString &pays)
{
    return faute.contains(u"%1") ? faute.arg(pays) : faute;
}

QByteArray lire(const QString &fichier)
{
    QFile f(fichier);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFichiersEndommages : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void nouvellePartie_data() { dommages(); }
    void nouvellePartie();
    void meilleursScores_data() { dommages(); }
    void meilleursScores();
    void entreDeuxQuestions_data() { dommages(); }
    void entreDeuxQuestions();
    void avantLaDerniereReponse_data() { dommages(); }
    void avantLaDerniereReponse();
    void documentAbsentIgnore();

private:
    void dommages();
    // The right country of each of the first question turns with the test's seed, the player
    // answering right at once and starting a new game whenever one has ended.
    QStringList paysDesQuestions(int nombre);
    std::unique_ptr<Questionnaire> demarrer();
    // Replaces the game's file by a damaged copy, as another program would.
    void remplacer(const QString &dommage, const QString &paysIllisible);
    QString messageAttendu(const QString &faute) const;
    void verifierFinFatale(const QString &faute);

    std::unique_ptr<BaseDeTest> base_;
    PlateformeFactice plateforme_;
    QByteArray contenu_; // the damaged file's bytes; empty when it is missing
};

void TestFichiersEndommages::init()
{
    base_ = std::make_unique<BaseDeTest>();
    plateforme_ = PlateformeFactice();
    plateforme_.dossier = base_->dossier();
    plateforme_.pendantFenetre = [](QDialog &dialogue) {
        if (dialogue.objectName() == u"Enregistre")
            return validerNom(dialogue, QStringLiteral("rescapé"));
        return 0;
    };
}

void TestFichiersEndommages::dommages()
{
    QTest::addColumn<QString>("dommage");
    QTest::addColumn<Cote>("cote");
    QTest::addColumn<QString>("faute");

    QTest::newRow("missing") << "missing" << Cote::Fichier << "est introuvable";
    QTest::newRow("empty") << "empty" << Cote::Fichier << "est vide";
    QTest::newRow("truncated") << "truncated" << Cote::Fichier << "est endommagé";
    QTest::newRow("random bytes") << "random bytes" << Cote::Fichier << "est endommagé";
    QTest::newRow("no flag table")
        << "no flag table" << Cote::Drapeaux << "ne contient pas la table Pavoria";
    QTest::newRow("no picture field") << "no picture field" << Cote::Drapeaux
                                      << "ne contient pas le champ Pavorium de la table Pavoria";
    QTest::newRow("flag 57 missing")
        << "flag 57 missing" << Cote::Drapeaux << "ne contient pas le drapeau n° 57";
    QTest::newRow("picture that does not decode")
        << "picture that does not decode" << Cote::Drapeaux
        << "n’a pas de drapeau lisible pour « %1 »";
    QTest::newRow("no score table")
        << "no score table" << Cote::Scores << "ne contient pas la table SCORES";
    QTest::newRow("no date field")
        << "no date field" << Cote::Scores << "ne contient pas le champ DATE de la table SCORES";
    QTest::newRow("no score row") << "no score row" << Cote::Scores
                                  << "a une table des scores de 0 ligne au lieu de 10";
    QTest::newRow("eleven score rows") << "eleven score rows" << Cote::Scores
                                       << "a une table des scores de 11 lignes au lieu de 10";
}

QStringList TestFichiersEndommages::paysDesQuestions(int nombre)
{
    BaseDeTest intacte;
    PlateformeFactice plateforme;
    plateforme.dossier = intacte.dossier();
    Questionnaire fenetre(plateforme, plateforme, graine);
    fenetre.Form_Load();
    QStringList pays;
    while (pays.size() < nombre) {
        if (fenetre.param().NumeroJeu == 0)
            commander(fenetre, "NouvellePartie");
        pays << bonPays(fenetre);
        repondre(fenetre);
    }
    return pays;
}

std::unique_ptr<Questionnaire> TestFichiersEndommages::demarrer()
{
    auto fenetre = std::make_unique<Questionnaire>(plateforme_, plateforme_, graine);
    if (!fenetre->Form_Load())
        qFatal("start-up refused");
    return fenetre;
}

void TestFichiersEndommages::remplacer(const QString &dommage, const QString &paysIllisible)
{
    const QString copie = base_->dossier() + QStringLiteral("/copie.dat");
    QFile::remove(copie);
    QVERIFY(QFile::copy(base_->fichier(), copie));
    abimer(copie, dommage, paysIllisible);
    QFile::remove(base_->fichier());
    if (dommage != u"missing")
        QVERIFY(QFile::rename(copie, base_->fichier()));
    contenu_ = lire(base_->fichier());
}

QString TestFichiersEndommages::messageAttendu(const QString &faute) const
{
    return QStringLiteral("Le fichier de jeu « %1 » %2.").arg(base_->fichier(), faute);
}

void TestFichiersEndommages::verifierFinFatale(const QString &faute)
{
    QCOMPARE(plateforme_.messages.size(), 1);
    QCOMPARE(plateforme_.messages[0].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(plateforme_.messages[0].texte, messageAttendu(faute));
    QCOMPARE(plateforme_.fins, QList<int>{1});
}

void TestFichiersEndommages::nouvellePartie()
{
    // Started as a player would, the first new game meets a damaged file or flag table and
    // ends the program; a damaged score table waits for a score window.
    QFETCH(QString, dommage);
    QFETCH(Cote, cote);
    QFETCH(QString, faute);
    const QString premier = paysDesQuestions(1).first();
    remplacer(dommage, premier);

    auto fenetre = demarrer();
    commander(*fenetre, "NouvellePartie");
    if (cote == Cote::Scores) {
        QVERIFY(plateforme_.messages.isEmpty());
        QVERIFY(plateforme_.fins.isEmpty());
        QCOMPARE(bonPays(*fenetre), premier);
    } else {
        verifierFinFatale(avecPays(faute, premier));
    }
    QCOMPARE(lire(base_->fichier()), contenu_);
    QCOMPARE(QFile::exists(base_->fichier()), dommage != u"missing");
}

void TestFichiersEndommages::meilleursScores()
{
    // The top ten meets a damaged file or score table, says so and ends the program; it
    // never reads the flag table.
    QFETCH(QString, dommage);
    QFETCH(Cote, cote);
    QFETCH(QString, faute);
    remplacer(dommage, QStringLiteral("France"));

    auto fenetre = demarrer();
    int lignes = -1;
    plateforme_.pendantFenetre = [&](QDialog &dialogue) {
        lignes = dialogue.findChild<QAbstractItemView *>()->model()->rowCount();
        return 0;
    };
    commander(*fenetre, "Scores");
    if (cote == Cote::Drapeaux) {
        QVERIFY(plateforme_.messages.isEmpty());
        QCOMPARE(lignes, 10);
    } else {
        verifierFinFatale(faute);
        QVERIFY(plateforme_.fenetres.isEmpty());
    }
    QCOMPARE(lire(base_->fichier()), contenu_);
}

void TestFichiersEndommages::entreDeuxQuestions()
{
    // A file replaced in the middle of a game is met by the next question turn; a damaged
    // score table by the score dialog, which says so, and the game goes on.
#ifdef Q_OS_WIN
    QSKIP("Windows replaces no file that the game holds open");
#endif
    QFETCH(QString, dommage);
    QFETCH(Cote, cote);
    QFETCH(QString, faute);
    const QStringList pays = paysDesQuestions(16);

    auto fenetre = demarrer();
    commander(*fenetre, "NouvellePartie");
    for (int i = 0; i < 3; ++i)
        repondre(*fenetre);
    remplacer(dommage, pays[4]); // the next turn draws question 5
    repondre(*fenetre);
    if (cote != Cote::Scores) {
        verifierFinFatale(avecPays(faute, pays[4]));
        QCOMPARE(lire(base_->fichier()), contenu_);
        return;
    }

    while (fenetre->param().NumeroJeu != 0)
        repondre(*fenetre);
    QCOMPARE(plateforme_.messages.size(), 2);
    QCOMPARE(plateforme_.messages[0].texte,
             QStringLiteral("Cette partie est terminée !!\n\nVotre score est de 75 Points !"));
    QCOMPARE(plateforme_.messages[1].titre, QStringLiteral("Les Pavoria"));
    QCOMPARE(plateforme_.messages[1].texte,
             QStringLiteral("Votre score n’a pas pu être enregistré.\n\n") + messageAttendu(faute));
    QVERIFY(plateforme_.fins.isEmpty());
    QVERIFY(auRepos(*fenetre));
    QCOMPARE(lire(base_->fichier()), contenu_);

    // The question turn still works.
    commander(*fenetre, "NouvellePartie");
    QCOMPARE(bonPays(*fenetre), pays[15]);
    repondre(*fenetre);
    QCOMPARE(legende(*fenetre, "Score"), QStringLiteral("5 points"));
    QCOMPARE(plateforme_.messages.size(), 2);
}

void TestFichiersEndommages::avantLaDerniereReponse()
{
    // Replaced before the last answer, the file is first met by the score dialog: it reports
    // what it cannot store and the game goes back to its idle look; the next game meets a
    // damaged file or flag table and ends the program.
#ifdef Q_OS_WIN
    QSKIP("Windows replaces no file that the game holds open");
#endif
    QFETCH(QString, dommage);
    QFETCH(Cote, cote);
    QFETCH(QString, faute);
    const QStringList pays = paysDesQuestions(16);

    auto fenetre = demarrer();
    commander(*fenetre, "NouvellePartie");
    for (int i = 0; i < 14; ++i)
        repondre(*fenetre);
    remplacer(dommage, pays[15]);
    repondre(*fenetre);

    QVERIFY(auRepos(*fenetre));
    QVERIFY(plateforme_.fins.isEmpty());
    if (cote == Cote::Drapeaux) {
        QCOMPARE(plateforme_.messages.size(), 1); // the score is stored
        QCOMPARE(base_->scores().first().NOM, QStringLiteral("RESCAPÉ"));
        contenu_ = lire(base_->fichier());
    } else {
        QCOMPARE(plateforme_.messages.size(), 2);
        QCOMPARE(plateforme_.messages[1].texte,
                 QStringLiteral("Votre score n’a pas pu être enregistré.\n\n")
                     + messageAttendu(faute));
    }
    plateforme_.messages.clear();

    commander(*fenetre, "NouvellePartie");
    if (cote == Cote::Scores) {
        QVERIFY(plateforme_.messages.isEmpty());
        QCOMPARE(bonPays(*fenetre), pays[15]);
    } else {
        verifierFinFatale(avecPays(faute, pays[15]));
    }
    QCOMPARE(lire(base_->fichier()), contenu_);
}

void TestFichiersEndommages::documentAbsentIgnore()
{
    // A document missing beside the program is handed to the desktop, which may fail quietly:
    // no message, and the program goes on.
    PlateformeQt plateforme;
    BureauQt bureau(plateforme);
    bureau.ouvrirDocument(QStringLiteral("Document-absent.txt"));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

PAVORIA_TEST_MAIN(TestFichiersEndommages)
#include "tst_fichiersendommages.moc"
