#include "data/ConstructeurBase.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <map>

// The game database as the build made it, opened read-only so that no test changes it.
class TestBaseDeJeu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void numeroterChaqueDrapeauUneFois();
    void fournirDixScores();
    void versionSuitLesDrapeaux();

private:
    [[nodiscard]] static QSqlQuery executer(const QString &sql);
};

void TestBaseDeJeu::initTestCase()
{
    // Shipped beside the program: the pictures must stay compressed.
    const QFileInfo fichier(QStringLiteral(PAVORIA_DAT_CONSTRUIT));
    QVERIFY2(fichier.isFile(), PAVORIA_DAT_CONSTRUIT);
    QCOMPARE_LT(fichier.size(), 3 * 1024 * 1024);

    QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    base.setDatabaseName(fichier.filePath());
    base.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QVERIFY2(base.open(), qPrintable(base.lastError().text()));
}

void TestBaseDeJeu::cleanupTestCase()
{
    QSqlDatabase::database().close();
    QSqlDatabase::removeDatabase(QLatin1StringView(QSqlDatabase::defaultConnection));
}

QSqlQuery TestBaseDeJeu::executer(const QString &sql)
{
    QSqlQuery requete;
    if (!requete.exec(sql))
        qWarning() << sql << requete.lastError().text();
    return requete;
}

void TestBaseDeJeu::numeroterChaqueDrapeauUneFois()
{
    // The game draws numbers 1 to 178, finds a flag by its name and stretches its picture
    // over the flag image.
    QSqlQuery requete = executer(QStringLiteral("SELECT %1, %2, %3 FROM %4")
                                     .arg(Schema::champNumero, Schema::champPays,
                                          Schema::champDessin, Schema::tableDrapeaux));
    QSet<int> numeros;
    QSet<QString> noms;
    int lignes = 0;
    while (requete.next()) {
        ++lignes;
        const int numero = requete.value(0).toInt();
        const QString nom = requete.value(1).toString();
        QVERIFY2(numero >= 1 && numero <= Schema::nombreDrapeaux, qPrintable(nom));
        QVERIFY2(!nom.isEmpty() && !nom.contains(u'\'') && nom == nom.trimmed(), qPrintable(nom));
        const QImage dessin = QImage::fromData(requete.value(2).toByteArray(), "PNG");
        QVERIFY2(dessin.size() == Schema::tailleDessin(), qPrintable(nom));
        const QPoint centre(dessin.width() / 2, dessin.height() / 2);
        QVERIFY2(dessin.pixel(centre) != qRgb(192, 192, 192), qPrintable(nom));
        numeros.insert(numero);
        noms.insert(nom);
    }
    QCOMPARE(lignes, Schema::nombreDrapeaux);
    QCOMPARE(numeros.size(), Schema::nombreDrapeaux);
    QCOMPARE(noms.size(), Schema::nombreDrapeaux);
}

void TestBaseDeJeu::fournirDixScores()
{
    // The score dialog overwrites one of ten rows, and the top ten shows their dates.
    QSqlQuery requete = executer(Schema::scoresStockes);
    int lignes = 0;
    while (requete.next()) {
        ++lignes;
        QVERIFY(requete.value(1).toInt() >= 0);
        QVERIFY2(QDate::fromString(requete.value(2).toString(), Qt::ISODate).isValid(),
                 qPrintable(requete.value(2).toString()));
    }
    QCOMPARE(lignes, Schema::nombreScores);
}

void TestBaseDeJeu::versionSuitLesDrapeaux()
{
    // The fingerprint of the flags' sources of each version, oldest first: a copy of an older
    // version gets the new table at start-up, so a change of a state's number, code or name, of
    // a flag's SVG or of how flags are rendered and stored that keeps the version never reaches
    // the players who have played before. The sources, not the pictures: another librsvg or Qt
    // draws the same sources into other pixels, and would replace every player's table for
    // nothing. The file built must carry a version listed here with its sources' fingerprint;
    // a source changed with nothing a player sees (an SVG's comment) may be listed under the
    // same version. Versions 1 and 2 were told by their pictures, hence not listed.
    const QList<std::pair<int, QByteArray>> empreintes{
        // Every flag rendered from its SVG by librsvg, on even pixels.
        {3, "a5cd368b8a4ff272488c1aa03b02c89ae0fbc9d53531ae86153b51653f1f39fe"},
    };
    QCryptographicHash empreinte(QCryptographicHash::Sha256);
    const auto ajouter = [&empreinte](const QByteArray &champ) {
        // Each field with its length, so that no two lists of fields run together the same way.
        empreinte.addData(QByteArray::number(champ.size()) + ':');
        empreinte.addData(champ);
    };
    const auto lire = [](const char *chemin) {
        QFile fichier(QString::fromUtf8(chemin));
        if (!fichier.open(QIODevice::ReadOnly))
            qFatal("%s: %s", chemin, qPrintable(fichier.errorString()));
        return fichier.readAll().split('\n');
    };
    const QSize taille = Schema::tailleDessin();
    ajouter(QByteArray::number(taille.width()) + 'x' + QByteArray::number(taille.height()));
    ajouter(QByteArray::number(ConstructeurBase::grisPanneau, 16));
    ajouter(QByteArray::number(ConstructeurBase::miseAEchelle));

    // By code: the SVG's SHA-256, the render's width and height, rsvg-convert's arguments.
    QHash<QByteArray, QList<QByteArray>> rendus;
    for (const QByteArray &ligne : lire(PAVORIA_SOURCES_DRAPEAUX)) {
        QList<QByteArray> champs = ligne.split('\t');
        rendus.insert(champs.takeFirst(), champs);
    }
    // The states that reach the table, in the order of their numbers, as the builder reads them.
    std::map<int, QList<QByteArray>> etats;
    for (const QByteArray &ligne : lire(PAVORIA_PAYS)) {
        QList<QByteArray> champs = ligne.split(';');
        if (ligne.startsWith('#') || champs.size() != 3 || champs[0] == "NUMERO")
            continue;
        for (QByteArray &champ : champs)
            champ = champ.trimmed();
        etats.emplace(champs[0].toInt(), champs);
    }
    for (const auto &[numero, champs] : etats) {
        const QList<QByteArray> rendu = rendus.value(champs[1]);
        QVERIFY2(rendu.size() == 4, champs[1].constData());
        const QRect place =
            ConstructeurBase::placeDrapeau(QSize(rendu[1].toInt(), rendu[2].toInt()));
        for (const QByteArray &champ : champs + rendu)
            ajouter(champ);
        for (const int coordonnee : {place.x(), place.y(), place.width(), place.height()})
            ajouter(QByteArray::number(coordonnee));
    }

    const int version = FichierJeu::version(QStringLiteral(PAVORIA_DAT_CONSTRUIT));
    const QByteArray sources = empreinte.result().toHex();
    QVERIFY2(empreintes.contains(std::pair{version, sources}),
             qPrintable(QStringLiteral("the flags' sources are not those of version %1: raise "
                                       "Schema::versionDrapeaux to %2 and add {%2, \"%3\"}")
                            .arg(version)
                            .arg(std::max(version, empreintes.constLast().first + 1))
                            .arg(QString::fromLatin1(sources))));
}

QTEST_GUILESS_MAIN(TestBaseDeJeu)
#include "tst_basedejeu.moc"
