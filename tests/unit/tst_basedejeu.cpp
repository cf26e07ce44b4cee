#include "data/ConstructeurBase.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
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
    // The fingerprint of the flags' sources of each version, oldest first: a copy of an older
    // version gets the new table at start-up, so a change of the sources that keeps the version
    // never reaches the players who have played before. Not of the pictures, which another
    // librsvg or Qt draws otherwise from the same sources. Versions 1 and 2 were of pictures.
    const QList<std::pair<int, QByteArray>> empreintes{
        // Every flag rendered from its SVG by librsvg, on even pixels.
        {3, "286439cfa93ebe8365cdbb21203679819649a7683bcf3dc7f1344b68a15f13aa"},
    };
    // What the table is made from (data/CMakeLists.txt), then how its pictures are stored:
    // their size, grey and scaling, and each flag's place.
    QFile fichier(QStringLiteral(PAVORIA_SOURCES_DRAPEAUX));
    QVERIFY2(fichier.open(QIODevice::ReadOnly), qPrintable(fichier.errorString()));
    QByteArray sources = fichier.readAll();
    const QSize taille = Schema::tailleDessin();
    sources += QString::asprintf("%dx%d %x %d\n", taille.width(), taille.height(),
                                 ConstructeurBase::grisPanneau, ConstructeurBase::miseAEchelle)
                   .toUtf8();
    for (const QByteArray &ligne : sources.split('\n')) {
        // The render's width and height, 5th and 6th fields.
        if (const QList<QByteArray> champs = ligne.split('\t'); champs.size() >= 6) {
            const QRect place =
                ConstructeurBase::placeDrapeau({champs[4].toInt(), champs[5].toInt()});
            sources += QString::asprintf("%d %d %d %d\n", place.x(), place.y(), place.width(),
                                         place.height())
                           .toUtf8();
        }
    }
    const int version = FichierJeu::version(QStringLiteral(PAVORIA_DAT_CONSTRUIT));
    const QByteArray empreinte =
        QCryptographicHash::hash(sources, QCryptographicHash::Sha256).toHex();
    QVERIFY2(empreintes.contains(std::pair{version, empreinte}),
             qPrintable(QStringLiteral("the flags' sources are not those of version %1: raise "
                                       "Schema::versionDrapeaux to %2 and add {%2, \"%3\"}")
                            .arg(version)
                            .arg(empreintes.constLast().first + 1)
                            .arg(QString::fromLatin1(empreinte))));
}

QTEST_GUILESS_MAIN(TestBaseDeJeu)
#include "tst_basedejeu.moc"
