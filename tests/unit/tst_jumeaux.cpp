#include "data/ConstructeurBase.h"
#include "data/EmpreinteDrapeau.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QImage>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

// Under this difference two flags count as twins (EmpreinteDrapeau::ecart). Calibrated on twins
// (Indonesia and Monaco 0.0; Romania and Chad 14.1, their blues apart) and on the closest pairs
// that players learn (El Salvador and Nicaragua 27.6, Egypt and Yemen 43.7).
constexpr float ecartMinimal = 20.0f;

} // namespace

// No two flags of the game may be ones that a player cannot tell apart.
class TestJumeaux : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void calibrer_data();
    void calibrer();
    void distinguerChaquePaire();

private:
    QStringList noms_; // the game's, in the order of their numbers
    std::map<QString, EmpreinteDrapeau> empreintes_;
};

void TestJumeaux::initTestCase()
{
    FichierJeu::travailler(QStringLiteral(PAVORIA_DAT_CONSTRUIT), [this](QSqlQuery &requete) {
        FichierJeu::executer(requete, QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %4")
                                          .arg(Schema::champPays, Schema::champDessin,
                                               Schema::tableDrapeaux, Schema::champNumero));
        while (requete.next()) {
            const QString nom = requete.value(0).toString();
            const QImage dessin = QImage::fromData(requete.value(1).toByteArray(), "PNG");
            QVERIFY2(!dessin.isNull(), qPrintable(nom));
            noms_.append(nom);
            empreintes_.emplace(nom, EmpreinteDrapeau(dessin));
        }
    });
    QCOMPARE(noms_.size(), Schema::nombreDrapeaux);

    // Twins of game flags, kept out of the game but beside its pictures for this calibration,
    // composed as the builder composes every flag.
    const std::array<std::pair<const char *, QString>, 2> horsJeu{
        {{"mc", QStringLiteral("Monaco")}, {"td", QStringLiteral("Tchad")}}};
    for (const auto &[code, nom] : horsJeu) {
        const QString chemin = QStringLiteral(PAVORIA_DRAPEAUX_RENDUS "/%1.png").arg(code);
        const QImage drapeau(chemin);
        QVERIFY2(!drapeau.isNull(), qPrintable(chemin));
        empreintes_.emplace(nom, EmpreinteDrapeau(ConstructeurBase::composerDessin(drapeau)));
    }
}

void TestJumeaux::calibrer_data()
{
    QTest::addColumn<QString>("premier");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("distincts");

    const auto paire = [](const char *premier, const char *second, bool distincts) {
        QTest::addRow("%s et %s", premier, second)
            << QString::fromUtf8(premier) << QString::fromUtf8(second) << distincts;
    };
    // The same design: a player cannot tell them apart.
    paire("Indonésie", "Monaco", false);
    paire("Roumanie", "Tchad", false);
    // Close, but learnt: a coat of arms, a shade, a few stars.
    paire("Salvador", "Nicaragua", true);
    paire("Honduras", "Nicaragua", true);
    paire("Australie", "Nouvelle-Zélande", true);
    paire("Roumanie", "Moldavie", true);
    paire("Égypte", "Irak", true);
    paire("Égypte", "Yémen", true);
    paire("Irak", "Yémen", true);
    paire("Indonésie", "Singapour", true);
}

void TestJumeaux::calibrer()
{
    QFETCH(QString, premier);
    QFETCH(QString, second);
    QFETCH(bool, distincts);

    QVERIFY2(empreintes_.contains(premier) && empreintes_.contains(second),
             qPrintable(premier + u'/' + second));
    const float ecart = empreintes_.at(premier).ecart(empreintes_.at(second));
    qInfo("écart %.1f", double(ecart));
    QVERIFY2(distincts == (ecart >= ecartMinimal),
             qPrintable(QStringLiteral("écart %1, seuil %2").arg(ecart).arg(ecartMinimal)));
}

void TestJumeaux::distinguerChaquePaire()
{
    struct Paire
    {
        float ecart;
        qsizetype premier, second;
    };
    std::vector<Paire> paires;
    for (qsizetype i = 0; i < noms_.size(); ++i)
        for (qsizetype j = i + 1; j < noms_.size(); ++j)
            paires.push_back({empreintes_.at(noms_[i]).ecart(empreintes_.at(noms_[j])), i, j});
    std::ranges::sort(paires, {}, &Paire::ecart);

    const auto decrire = [this](const Paire &paire) {
        return QStringLiteral("%1 / %2 : %3")
            .arg(noms_[paire.premier], noms_[paire.second])
            .arg(paire.ecart, 0, 'f', 1);
    };
    qInfo("Les dix paires les plus proches (seuil %.1f) :", double(ecartMinimal));
    for (std::size_t k = 0; k < std::min<std::size_t>(10, paires.size()); ++k)
        qInfo("  %s", qUtf8Printable(decrire(paires[k])));

    QStringList jumeaux;
    for (const Paire &paire : paires) {
        if (paire.ecart >= ecartMinimal)
            break;
        jumeaux.append(decrire(paire));
    }
    QVERIFY2(jumeaux.isEmpty(), qUtf8Printable(QStringLiteral("drapeaux jumeaux : ")
                                               + jumeaux.join(QStringLiteral(" ; "))));
}

QTEST_GUILESS_MAIN(TestJumeaux)
#include "tst_jumeaux.moc"
