#include "data/ConstructeurBase.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr QRgb gris = qRgb(192, 192, 192);
constexpr QRgb blanc = qRgb(255, 255, 255);
// Off the 6×6×6 colour cube, so that a picture dithered to 256 colours would show.
constexpr QRgb rouge = qRgb(200, 16, 46);

QString codeIso(int numero)
{
    return QString(QChar(u'a' + (numero - 1) / 26)) + QChar(u'a' + (numero - 1) % 26);
}

QByteArray lireOctets(const QString &chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

using FichierJeu::executerSql;

} // namespace

class TestConstructeurBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void composerDessin_data();
    void composerDessin();
    void refuserListeFautive_data();
    void refuserListeFautive();
    void sauterCommentaires();
    void garderScoresAuReconstruire();
    void reconstruireApresEcritureCoupee();
    void refuserSortieEndommagee_data();
    void refuserSortieEndommagee();

private:
    [[nodiscard]] QString cheminPays() const
    {
        return travail_->filePath(QStringLiteral("pays.csv"));
    }
    [[nodiscard]] QString cheminSortie() const
    {
        return travail_->filePath(QStringLiteral("Pavoria.dat"));
    }
    [[nodiscard]] QStringList fichiersDuDossier() const
    {
        return QDir(travail_->path()).entryList(QDir::Files);
    }
    [[nodiscard]] bool construire(const QList<QByteArray> &lignes);

    // Line n + 1 of a valid list gives number n, code codeIso(n) and name "Pays n".
    QList<QByteArray> listeValide_{"NUMERO;ISO;PAYS"};
    QTemporaryDir drapeaux_;
    std::unique_ptr<QTemporaryDir> travail_;
    QString erreur_;
};

void TestConstructeurBase::initTestCase()
{
    QImage drapeau(6, 4, QImage::Format_RGB32);
    drapeau.fill(rouge);
    for (int numero = 1; numero <= Schema::nombreDrapeaux; ++numero) {
        listeValide_.append(
            QStringLiteral("%1;%2;Pays %1").arg(numero).arg(codeIso(numero)).toUtf8());
        QVERIFY(drapeau.save(drapeaux_.filePath(codeIso(numero) + QStringLiteral(".png"))));
    }
    QFile illisible(drapeaux_.filePath(QStringLiteral("zy.png")));
    QVERIFY(illisible.open(QIODevice::WriteOnly) && illisible.write("pas une image") > 0);
}

void TestConstructeurBase::init()
{
    travail_ = std::make_unique<QTemporaryDir>();
}

void TestConstructeurBase::cleanup()
{
    // A connection left behind would keep the file open.
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
}

bool TestConstructeurBase::construire(const QList<QByteArray> &lignes)
{
    QFile fichier(cheminPays());
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(lignes.join('\n') + '\n') < 0)
        return false;
    fichier.close();
    ConstructeurBase constructeur(cheminPays(), drapeaux_.path(), cheminSortie());
    const bool reussi = constructeur.construire();
    erreur_ = constructeur.erreur();
    return reussi;
}

void TestConstructeurBase::composerDessin_data()
{
    QTest::addColumn<QSize>("taille");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRgb>("couleur");
    QTest::addColumn<QRect>("place");

    QTest::newRow("3:2") << QSize(900, 600) << QImage::Format_RGB32 << rouge
                         << QRect(40, 0, 290, 194);
    QTest::newRow("2:1") << QSize(1000, 500) << QImage::Format_RGB32 << rouge
                         << QRect(0, 4, 370, 184);
    QTest::newRow("carré") << QSize(1000, 1000) << QImage::Format_RGB32 << rouge
                           << QRect(88, 0, 194, 194);
    QTest::newRow("très large") << QSize(1000, 200) << QImage::Format_RGB32 << rouge
                                << QRect(0, 60, 370, 74);
    QTest::newRow("plus haut que large")
        << QSize(500, 1000) << QImage::Format_RGB32 << rouge << QRect(136, 0, 96, 194);
    QTest::newRow("agrandi") << QSize(30, 20) << QImage::Format_RGB32 << rouge
                             << QRect(40, 0, 290, 194);
    QTest::newRow("palette") << QSize(900, 600) << QImage::Format_Indexed8 << rouge
                             << QRect(40, 0, 290, 194);
    QTest::newRow("transparent") << QSize(900, 600) << QImage::Format_ARGB32 << qRgba(0, 0, 0, 0)
                                 << QRect(40, 0, 290, 194);
}

void TestConstructeurBase::composerDessin()
{
    // The flag keeps its proportions, centred on exact grey on even pixels, so that halved it
    // shares none with the grey, in its own colours.
    QFETCH(QSize, taille);
    QFETCH(QImage::Format, format);
    QFETCH(QRgb, couleur);
    QFETCH(QRect, place);

    // Left half coloured, right half white, so that scaling blends colours in the middle. Like
    // the package's flags, an indexed one has translucent palette entries for anti-aliasing.
    QImage drapeau(taille, format);
    if (format == QImage::Format_Indexed8)
        drapeau.setColorTable({couleur, blanc, qRgba(255, 255, 255, 128)});
    for (int y = 0; y < taille.height(); ++y) {
        for (int x = 0; x < taille.width(); ++x) {
            const bool gauche = x < taille.width() / 2;
            drapeau.setPixel(x, y,
                             format == QImage::Format_Indexed8 ? (gauche ? 0 : 1)
                                                               : (gauche ? couleur : blanc));
        }
    }

    const QImage dessin = ConstructeurBase::composerDessin(drapeau);
    QCOMPARE(dessin.size(), QSize(370, 194));
    for (int y = 0; y < dessin.height(); ++y) {
        for (int x = 0; x < dessin.width(); ++x) {
            const int dedans = x - place.left();
            QRgb attendu = gris;
            if (place.contains(x, y) && dedans < place.width() * 2 / 5)
                attendu = qAlpha(couleur) == 255 ? couleur : gris;
            else if (place.contains(x, y) && dedans >= place.width() * 3 / 5)
                attendu = blanc;
            else if (place.contains(x, y))
                continue;
            if (dessin.pixel(x, y) != attendu)
                QFAIL(qPrintable(QStringLiteral("(%1, %2) : %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(dessin.pixel(x, y)).name())));
        }
    }
}

void TestConstructeurBase::refuserListeFautive_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<QByteArray>("texte");
    QTest::addColumn<int>("ligneSignalee");
    QTest::addColumn<QString>("extrait");

    QTest::newRow("en-tête absent") << 1 << QByteArray("1;aa;Pays 1") << 1 << "NUMERO;ISO;PAYS";
    QTest::newRow("numéro en double")
        << 3 << QByteArray("1;ab;Pays 2") << 3 << "déjà donné ligne 2";
    QTest::newRow("numéro absent") << 179 << QByteArray() << 0 << "178";
    QTest::newRow("numéro au-delà de 178")
        << 179 << QByteArray("179;gv;Pays 178") << 179 << "numéro 179";
    QTest::newRow("numéro illisible") << 5 << QByteArray("4x;ad;Pays 4") << 5 << "4x";
    QTest::newRow("champ manquant") << 5 << QByteArray("4;ad") << 5 << "trois champs";
    QTest::newRow("nom vide") << 5 << QByteArray("4;ad; ") << 5 << "vide";
    QTest::newRow("nom en double") << 5 << QByteArray("4;ad;Pays 1") << 5 << "déjà donné ligne 2";
    QTest::newRow("nom en double, casse près")
        << 5 << QByteArray("4;ad;PAYS 1") << 5 << "déjà donné ligne 2";
    QTest::newRow("apostrophe ASCII") << 5 << QByteArray("4;ad;Côte d'Ivoire") << 5 << "apostrophe";
    QTest::newRow("drapeau en double")
        << 5 << QByteArray("4;aa;Pays 4") << 5 << "déjà donné ligne 2";
    QTest::newRow("code hors du dossier") << 5 << QByteArray("4;../ad;Pays 4") << 5 << "../ad";
    QTest::newRow("drapeau manquant") << 5 << QByteArray("4;zz;Pays 4") << 5 << "zz.png";
    QTest::newRow("drapeau illisible") << 5 << QByteArray("4;zy;Pays 4") << 5 << "zy.png";
    QTest::newRow("texte en Latin-1") << 5 << QByteArray("4;ad;B\xe9nin") << 5 << "UTF-8";
    QTest::newRow("commentaire au lieu de l’en-tête")
        << 1 << QByteArray("# NUMERO;ISO;PAYS") << 2 << "NUMERO;ISO;PAYS";
    QTest::newRow("ligne mise en commentaire") << 5 << QByteArray("#4;ad;Pays 4") << 0 << ": 4 (";
    QTest::newRow("dièse après une espace") << 5 << QByteArray(" # 4;ad;Pays 4") << 5 << "numéro";
}

void TestConstructeurBase::refuserListeFautive()
{
    // A faulty list is refused with the file and line at fault, and nothing is written.
    QFETCH(int, ligne);
    QFETCH(QByteArray, texte);
    QFETCH(int, ligneSignalee);
    QFETCH(QString, extrait);

    QList<QByteArray> lignes = listeValide_;
    lignes[ligne - 1] = texte;
    QVERIFY(!construire(lignes));
    const QString lieu =
        QDir::toNativeSeparators(cheminPays())
        + (ligneSignalee > 0 ? QStringLiteral(":%1:").arg(ligneSignalee) : QStringLiteral(":"));
    QVERIFY2(erreur_.startsWith(lieu) && erreur_.contains(extrait), qPrintable(erreur_));
    QCOMPARE(fichiersDuDossier(), QStringList{QStringLiteral("pays.csv")});
}

void TestConstructeurBase::sauterCommentaires()
{
    // Comments may stand before the header, between the lines and at the end; a '#' further
    // in a line is part of it.
    QList<QByteArray> lignes = listeValide_;
    lignes[5] = "5;ae;Pays #5";
    lignes.insert(10, "# un commentaire ; avec « deux » points-virgules ;");
    lignes.insert(1, "#");
    lignes.prepend("# Règle : voir README.md");
    lignes.append("# fin");
    QVERIFY2(construire(lignes), qPrintable(erreur_));
    QCOMPARE(
        executerSql(cheminSortie(), {QStringLiteral("SELECT COUNT(*), MAX(NUMERO) FROM Pavoria")}),
        (QList<QVariantList>{{178, 178}}));
    QCOMPARE(
        executerSql(cheminSortie(), {QStringLiteral("SELECT PAYS FROM Pavoria WHERE NUMERO = 5")}),
        QList<QVariantList>{{QStringLiteral("Pays #5")}});
}

void TestConstructeurBase::garderScoresAuReconstruire()
{
    // A rebuild takes the new list but keeps the players' scores as they were, in their order.
    QList<QByteArray> lignes = listeValide_;
    QVERIFY2(construire(lignes), qPrintable(erreur_));
    const QString lireScores = QStringLiteral("SELECT NOM, SCORE, DATE FROM SCORES ORDER BY rowid");
    const auto joues = executerSql(
        cheminSortie(),
        {QStringLiteral("UPDATE SCORES SET NOM = 'ZOÉ', SCORE = 75, DATE = '2024-05-01' "
                        "WHERE rowid = 3"),
         QStringLiteral("UPDATE SCORES SET NOM = NULL WHERE rowid = 7"), lireScores});
    QCOMPARE(joues.size(), 10);

    // Saved again by a Windows editor: byte order mark and CR LF.
    lignes[1] = "1;aa;Pays un";
    for (QByteArray &ligne : lignes)
        ligne.append('\r');
    lignes.first().prepend("\xEF\xBB\xBF");
    QVERIFY2(construire(lignes), qPrintable(erreur_));
    QCOMPARE(executerSql(cheminSortie(), {lireScores}), joues);
    QCOMPARE(
        executerSql(cheminSortie(), {QStringLiteral("SELECT PAYS FROM Pavoria WHERE NUMERO = 1")}),
        QList<QVariantList>{{QStringLiteral("Pays un")}});
    QCOMPARE(fichiersDuDossier(),
             (QStringList{QStringLiteral("Pavoria.dat"), QStringLiteral("pays.csv")}));
}

void TestConstructeurBase::reconstruireApresEcritureCoupee()
{
    // A game killed in the middle of a score write leaves a hot journal beside its file: the
    // next build plays it back, keeps the scores from before that write, and leaves no journal.
    QVERIFY2(construire(listeValide_), qPrintable(erreur_));
    const QStringList lireScores{Schema::scoresStockes};
    const auto avant = executerSql(cheminSortie(), lireScores);
    // What a write killed after its changes reached the file, before its journal went, leaves:
    // the file written and the journal of its old pages. Unsynced, the journal's header counts
    // its pages to its end, as a synced one would once complete.
    const QString journal = cheminSortie() + QStringLiteral("-journal");
    QByteArray pagesAnciennes;
    FichierJeu::travailler(cheminSortie(), [&](QSqlQuery &requete) {
        for (const char *sql :
             {"PRAGMA synchronous = OFF", "BEGIN", "UPDATE SCORES SET NOM = 'COUPÉ', SCORE = 99"})
            FichierJeu::executer(requete, QString::fromUtf8(sql));
        pagesAnciennes = lireOctets(journal);
        FichierJeu::executer(requete, QStringLiteral("COMMIT"));
    });
    QFile chaud(journal);
    QVERIFY(!pagesAnciennes.isEmpty() && chaud.open(QIODevice::WriteOnly)
            && chaud.write(pagesAnciennes) == pagesAnciennes.size());
    chaud.close();

    QList<QByteArray> lignes = listeValide_;
    lignes[1] = "1;aa;Pays un";
    QVERIFY2(construire(lignes), qPrintable(erreur_));
    QCOMPARE(executerSql(cheminSortie(), lireScores), avant);
    QCOMPARE(executerSql(cheminSortie(), {QStringLiteral("PRAGMA integrity_check")}),
             QList<QVariantList>{{QStringLiteral("ok")}});
    QCOMPARE(fichiersDuDossier(),
             (QStringList{QStringLiteral("Pavoria.dat"), QStringLiteral("pays.csv")}));
}

void TestConstructeurBase::refuserSortieEndommagee_data()
{
    QTest::addColumn<QStringList>("sql");

    const auto scores = [](int nombre) {
        return QStringList{
            QStringLiteral("CREATE TABLE SCORES(NOM TEXT, SCORE INTEGER, DATE TEXT)"),
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < %1) INSERT INTO SCORES SELECT 'ANNE', i, '2001-01-01' FROM n")
                .arg(nombre)};
    };
    QTest::newRow("pas une base") << QStringList();
    QTest::newRow("sans table SCORES")
        << QStringList{QStringLiteral("CREATE TABLE Pavoria(NUMERO INTEGER)")};
    QTest::newRow("neuf scores") << scores(9);
}

void TestConstructeurBase::refuserSortieEndommagee()
{
    // An existing file whose scores cannot be carried over is refused and left byte for byte.
    QFETCH(QStringList, sql);

    if (sql.isEmpty()) {
        QFile fichier(cheminSortie());
        QVERIFY(fichier.open(QIODevice::WriteOnly) && fichier.write(QByteArray(4096, 'x')) > 0);
    } else {
        executerSql(cheminSortie(), sql);
    }
    const QByteArray avant = lireOctets(cheminSortie());
    QVERIFY(!avant.isEmpty());

    QVERIFY(!construire(listeValide_));
    QVERIFY2(erreur_.startsWith(QDir::toNativeSeparators(cheminSortie()) + u':')
                 && erreur_.contains(u"scores"),
             qPrintable(erreur_));
    QCOMPARE(lireOctets(cheminSortie()), avant);
    QCOMPARE(fichiersDuDossier(),
             (QStringList{QStringLiteral("Pavoria.dat"), QStringLiteral("pays.csv")}));
}

QTEST_GUILESS_MAIN(TestConstructeurBase)
#include "tst_constructeurbase.moc"
