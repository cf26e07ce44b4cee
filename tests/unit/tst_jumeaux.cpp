#include "core/Twips.h"
#include "data/ConstructeurBase.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QHash>
#include <QImage>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

// Under this difference two flags count as twins: the mean CIELAB ΔE of the 2 % of the picture
// that differ most. Calibrated on twins (Indonesia and Monaco 0.7; Romania and Chad 15.0, their
// blues apart) and on the closest pairs that players learn (El Salvador and Nicaragua 28.5,
// Egypt and Yemen 43.8).
constexpr float ecartMinimal = 20.0f;
// About a patch the size of a small coat of arms: where a player looks for the difference.
constexpr float partPlusDifferente = 0.02f;

// The main window's flag image, 185 × 97 logical pixels, and the half of it where the blur is
// computed.
const int largeurImage = Twips::enPixels(Schema::largeurDessin);
const int hauteurImage = Twips::enPixels(Schema::hauteurDessin);
const int largeurVue = (largeurImage + 1) / 2;
const int hauteurVue = (hauteurImage + 1) / 2;

// A flag as the eye keeps it at arm's length: CIELAB samples of the blurred view.
struct Empreinte
{
    std::vector<float> l, a, b;
};

QImage decouperMarges(const QImage &dessin)
{
    constexpr QRgb gris = qRgb(192, 192, 192);
    const QImage image = dessin.convertToFormat(QImage::Format_RGB32);
    int gauche = image.width(), droite = -1, haut = image.height(), bas = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *ligne = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (ligne[x] != gris) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
                haut = std::min(haut, y);
                bas = std::max(bas, y);
            }
        }
    }
    return image.copy(QRect(QPoint(gauche, haut), QPoint(droite, bas)));
}

// sRGB's transfer function undone.
float lineariser(int composante)
{
    const float c = float(composante) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

// CIELAB's cube root, linear near black.
float compresser(float t)
{
    return t > 216.0f / 24389.0f ? std::cbrt(t) : (24389.0f / 27.0f * t + 16.0f) / 116.0f;
}

// A separable Gaussian, the edges repeated: a flag's border is not a dark frame.
void flouter(std::vector<float> &canal, float sigma)
{
    const int w = largeurVue;
    const int h = hauteurVue;
    const int rayon = int(std::ceil(3 * sigma));
    std::vector<float> noyau(2 * rayon + 1);
    for (int i = -rayon; i <= rayon; ++i)
        noyau[i + rayon] = std::exp(-float(i * i) / (2 * sigma * sigma));
    const float somme = std::accumulate(noyau.begin(), noyau.end(), 0.0f);
    for (float &poids : noyau)
        poids /= somme;

    std::vector<float> passe(canal.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int i = -rayon; i <= rayon; ++i)
                v += noyau[i + rayon] * canal[y * w + std::clamp(x + i, 0, w - 1)];
            passe[y * w + x] = v;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int i = -rayon; i <= rayon; ++i)
                v += noyau[i + rayon] * passe[std::clamp(y + i, 0, h - 1) * w + x];
            canal[y * w + x] = v;
        }
}

// The stored picture, its grey margin cut, stretched over the main window's flag image
// (185 × 97) as a player who sees one flag at a time does not weigh 2:3 against 4:5; halved,
// which averages pixels; then blurred as S-CIELAB's narrow filters do, 0.05° for lightness and
// about 0.08° for colour, which at 60 cm from a 96 dpi screen are 2 and 3 logical pixels.
Empreinte composerEmpreinte(const QImage &dessin)
{
    const QImage vue =
        decouperMarges(dessin)
            .scaled(largeurImage, hauteurImage, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(largeurVue, hauteurVue, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    static const auto versLineaire = [] {
        std::array<float, 256> table{};
        for (int i = 0; i < 256; ++i)
            table[i] = lineariser(i);
        return table;
    }();

    Empreinte lab;
    for (int y = 0; y < vue.height(); ++y) {
        const auto *ligne = reinterpret_cast<const QRgb *>(vue.constScanLine(y));
        for (int x = 0; x < vue.width(); ++x) {
            const float r = versLineaire[qRed(ligne[x])];
            const float v = versLineaire[qGreen(ligne[x])];
            const float bl = versLineaire[qBlue(ligne[x])];
            // sRGB to XYZ, white D65, then CIELAB.
            const float fx = compresser((0.4124f * r + 0.3576f * v + 0.1805f * bl) / 0.95047f);
            const float fy = compresser(0.2126f * r + 0.7152f * v + 0.0722f * bl);
            const float fz = compresser((0.0193f * r + 0.1192f * v + 0.9505f * bl) / 1.08883f);
            lab.l.push_back(116 * fy - 16);
            lab.a.push_back(500 * (fx - fy));
            lab.b.push_back(200 * (fy - fz));
        }
    }
    flouter(lab.l, 1.0f);
    flouter(lab.a, 1.5f);
    flouter(lab.b, 1.5f);

    // The blur leaves no detail finer than two of its pixels: every second one tells it all, and
    // a quarter of the pixels makes the pairs four times faster to compare.
    Empreinte empreinte;
    for (int y = 0; y < hauteurVue; y += 2) {
        for (int x = 0; x < largeurVue; x += 2) {
            empreinte.l.push_back(lab.l[y * largeurVue + x]);
            empreinte.a.push_back(lab.a[y * largeurVue + x]);
            empreinte.b.push_back(lab.b[y * largeurVue + x]);
        }
    }
    return empreinte;
}

// The mean ΔE of the pixels that differ most, found in a histogram rather than by sorting,
// since every pair of the game is measured.
float mesurerEcart(const Empreinte &u, const Empreinte &v)
{
    constexpr int classes = 512;
    constexpr float classesParUnite = 2.0f;
    // Plain arrays and pointers: the debug build measures some fifteen thousand pairs.
    int compte[classes] = {};
    float somme[classes] = {};
    const float *ul = u.l.data(), *ua = u.a.data(), *ub = u.b.data();
    const float *vl = v.l.data(), *va = v.a.data(), *vb = v.b.data();
    const int pixels = int(u.l.size());
    for (int i = 0; i < pixels; ++i) {
        const float dl = ul[i] - vl[i];
        const float da = ua[i] - va[i];
        const float db = ub[i] - vb[i];
        const float ecart = std::sqrt(dl * dl + da * da + db * db);
        int classe = int(ecart * classesParUnite);
        if (classe >= classes)
            classe = classes - 1;
        ++compte[classe];
        somme[classe] += ecart;
    }
    const int voulus = std::max(1, int(std::lround(partPlusDifferente * float(pixels))));
    int pris = 0;
    float total = 0;
    for (int classe = classes - 1; classe >= 0 && pris < voulus; --classe) {
        if (compte[classe] == 0)
            continue;
        const int n = std::min(compte[classe], voulus - pris);
        total += somme[classe] / float(compte[classe]) * float(n);
        pris += n;
    }
    return total / float(pris);
}

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
    QHash<QString, Empreinte> empreintes_;
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
            empreintes_.insert(nom, composerEmpreinte(dessin));
        }
    });
    QCOMPARE(noms_.size(), Schema::nombreDrapeaux);

    // Twins of game flags, kept out of the game but beside its pictures for this calibration,
    // composed as the builder composes every flag.
    const std::array<std::pair<const char *, QString>, 2> horsJeu{
        {{"mc", QStringLiteral("Monaco")}, {"td", QStringLiteral("Tchad")}}};
    for (const auto &[code, nom] : horsJeu) {
        const QString chemin = QStringLiteral(PAVORIA_DRAPEAUX_PAQUET "/%1.png").arg(code);
        const QImage drapeau(chemin);
        QVERIFY2(!drapeau.isNull(), qPrintable(chemin));
        empreintes_.insert(nom, composerEmpreinte(ConstructeurBase::composerDessin(drapeau)));
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
    const float ecart = mesurerEcart(empreintes_[premier], empreintes_[second]);
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
            paires.push_back({mesurerEcart(empreintes_[noms_[i]], empreintes_[noms_[j]]), i, j});
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
