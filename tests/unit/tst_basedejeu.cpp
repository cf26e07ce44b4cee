#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QDate>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTest>

// The game database as the build made it, read on a connection that cannot write it, so that no
// test changes it.
class TestBaseDeJeu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void numeroterChaqueDrapeauUneFois();
    void fournirDixScores();
    void versionSuitLesDrapeaux();

private:
    static QList<QVariantList> lire(const QString &sql);
};

void TestBaseDeJeu::initTestCase()
{
    // Shipped beside the program: the pictures must stay compressed.
    const QFileInfo fichier(QStringLiteral(PAVORIA_DAT_CONSTRUIT));
    QVERIFY2(fichier.isFile(), PAVORIA_DAT_CONSTRUIT);
    QCOMPARE_LT(fichier.size(), 3 * 1024 * 1024);
}

QList<QVariantList> TestBaseDeJeu::lire(const QString &sql)
{
    return FichierJeu::executerSql(QStringLiteral(PAVORIA_DAT_CONSTRUIT), {sql},
                                   QStringLiteral("ro"));
}

void TestBaseDeJeu::numeroterChaqueDrapeauUneFois()
{
    // The game draws numbers 1 to 178, finds a flag by its name and stretches its picture
    // over the flag image.
    const QList<QVariantList> lignes = lire(QStringLiteral("SELECT %1, %2, %3 FROM %4")
                                                .arg(Schema::champNumero, Schema::champPays,
                                                     Schema::champDessin, Schema::tableDrapeaux));
    QSet<int> numeros;
    QSet<QString> noms;
    for (const QVariantList &ligne : lignes) {
        const int numero = ligne[0].toInt();
        const QString nom = ligne[1].toString();
        QVERIFY2(numero >= 1 && numero <= Schema::nombreDrapeaux, qPrintable(nom));
        QVERIFY2(!nom.isEmpty() && !nom.contains(u'\'') && nom == nom.trimmed(), qPrintable(nom));
        const QImage dessin = QImage::fromData(ligne[2].toByteArray(), "PNG");
        QVERIFY2(dessin.size() == Schema::tailleDessin(), qPrintable(nom));
        const QPoint centre(dessin.width() / 2, dessin.height() / 2);
        QVERIFY2(dessin.pixel(centre) != qRgb(192, 192, 192), qPrintable(nom));
        numeros.insert(numero);
        noms.insert(nom);
    }
    QCOMPARE(lignes.size(), Schema::nombreDrapeaux);
    QCOMPARE(numeros.size(), Schema::nombreDrapeaux);
    QCOMPARE(noms.size(), Schema::nombreDrapeaux);
}

void TestBaseDeJeu::fournirDixScores()
{
    // The score dialog overwrites one of ten rows, and the top ten shows their dates.
    const QList<QVariantList> lignes = lire(Schema::scoresStockes);
    for (const QVariantList &ligne : lignes) {
        QVERIFY(ligne[1].toInt() >= 0);
        QVERIFY2(QDate::fromString(ligne[2].toString(), Qt::ISODate).isValid(),
                 qPrintable(ligne[2].toString()));
    }
    QCOMPARE(lignes.size(), Schema::nombreScores);
}

void TestBaseDeJeu::versionSuitLesDrapeaux()
{
    // The fingerprint of the flag table of each version, oldest first (FichierJeu): a copy of
    // an older version gets the new table at start-up, so a change of a number, a name or a
    // picture that keeps the version never reaches the players who have played before. The
    // file built must carry a version and a table listed together here.
    const QList<std::pair<int, QByteArray>> empreintes{
        {1, "f13f4200f47d4160da498b6ff3fd784571adcc4e8e4e93c59e35b30fb2bb66ab"},
        // Syria, Kyrgyzstan and Honduras as they fly today.
        {2, "1cac5f47951b2c43fc7c277aa1968845938e32916e7565d1d682d8e677ab33db"},
        // Every flag rendered from its SVG by librsvg, on even pixels.
        {3, "2951d839df40de5257977a3d9c1e3602b23db197faeba8c4cc1129777bab0b46"},
    };
    const QString fichier = QStringLiteral(PAVORIA_DAT_CONSTRUIT);
    const int version = FichierJeu::version(fichier);
    const QByteArray empreinte = FichierJeu::empreinteDrapeaux(fichier);
    QVERIFY2(empreintes.contains(std::pair{version, empreinte}),
             qPrintable(QStringLiteral("the flag table built is not that of version %1: raise "
                                       "Schema::versionDrapeaux to %2 and add {%2, \"%3\"}")
                            .arg(version)
                            .arg(empreintes.constLast().first + 1)
                            .arg(QString::fromLatin1(empreinte))));
}

QTEST_GUILESS_MAIN(TestBaseDeJeu)
#include "tst_basedejeu.moc"
