// Compares flags rendered from their SVGs with reference pictures of the same flags, so that a
// renderer is trusted only where it draws as the reference does. For each code, one line:
//
//   CODE  ECART  BORD  FRANGE
//
// ECART is the difference of the two stored pictures as the twins test measures it
// (EmpreinteDrapeau), or "-" for a flag that has no reference picture. FRANGE is how much the
// render's outer line of pixels stands out from the lines inside it, at its edge BORD, where it
// stands out most (mesurerFrange), the render laid on the panel's grey as the builder lays it,
// so that a transparent edge shows too. With --planche, also draws the pairs side by side,
// reference on the left, into one PNG.
//
//   ComparerRendus [--planche PLANCHE.png] RENDUS REFERENCES CODE...

#include "data/ConstructeurBase.h"
#include "data/EmpreinteDrapeau.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

struct Paire
{
    QString code;
    QImage rendu;
    QImage reference;
};

float distance(QRgb u, QRgb v)
{
    const int r = qRed(u) - qRed(v);
    const int g = qGreen(u) - qGreen(v);
    const int b = qBlue(u) - qBlue(v);
    return std::sqrt(float(r * r + g * g + b * b));
}

// How much more each edge's pixels differ from their neighbours one pixel inwards than those
// from the next ones, on average: a line crossing the edge differs alike on both, and its
// anti-aliasing either way, a fringe only on the first. The edge that differs most.
std::pair<const char *, float> mesurerFrange(const QImage &rendu)
{
    QImage image(rendu.size(), QImage::Format_RGB32);
    image.fill(qRgb(192, 192, 192));
    QPainter(&image).drawImage(0, 0, rendu);
    const int w = image.width();
    const int h = image.height();
    // The edge's line runs along (pas) from (depart), inwards along (dedans).
    const auto mesurer = [&image](QPoint depart, QPoint pas, QPoint dedans, int longueur) {
        float somme = 0;
        for (QPoint bord = depart; longueur-- > 0; bord += pas) {
            const QRgb voisin = image.pixel(bord + dedans);
            somme += distance(image.pixel(bord), voisin)
                     - distance(voisin, image.pixel(bord + 2 * dedans));
        }
        return somme;
    };
    const std::array<std::pair<const char *, float>, 4> bords{{
        {"gauche", mesurer({0, 0}, {0, 1}, {1, 0}, h) / float(h)},
        {"droite", mesurer({w - 1, 0}, {0, 1}, {-1, 0}, h) / float(h)},
        {"haut", mesurer({0, 0}, {1, 0}, {0, 1}, w) / float(w)},
        {"bas", mesurer({0, h - 1}, {1, 0}, {0, -1}, w) / float(w)},
    }};
    return *std::ranges::max_element(bords, {}, &std::pair<const char *, float>::second);
}

// Each pair in one row of the sheet, at the size of the stored pictures, the code beside it.
bool dessinerPlanche(const QList<Paire> &paires, const QString &sortie)
{
    const QSize dessin = ConstructeurBase::composerDessin({}).size();
    constexpr int marge = 8;
    constexpr int legende = 40;
    QImage planche(legende + 2 * (dessin.width() + marge),
                   marge + int(paires.size()) * (dessin.height() + marge), QImage::Format_RGB32);
    planche.fill(Qt::white);
    QPainter peintre(&planche);
    int y = marge;
    for (const Paire &paire : paires) {
        peintre.drawText(QRect(0, y, legende, dessin.height()), Qt::AlignCenter, paire.code);
        if (!paire.reference.isNull())
            peintre.drawImage(legende, y, ConstructeurBase::composerDessin(paire.reference));
        peintre.drawImage(legende + dessin.width() + marge, y,
                          ConstructeurBase::composerDessin(paire.rendu));
        y += dessin.height() + marge;
    }
    peintre.end();
    return planche.save(sortie);
}

} // namespace

int main(int argc, char *argv[])
{
    // The sheet's captions need fonts, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    QCommandLineParser analyseur;
    const QCommandLineOption planche(QStringLiteral("planche"),
                                     QStringLiteral("Planche des paires à écrire (PNG)."),
                                     QStringLiteral("fichier"));
    analyseur.addOption(planche);
    analyseur.addPositionalArgument(QStringLiteral("rendus"),
                                    QStringLiteral("Dossier des rendus."));
    analyseur.addPositionalArgument(QStringLiteral("references"),
                                    QStringLiteral("Dossier des images de référence."));
    analyseur.addPositionalArgument(QStringLiteral("codes"), QStringLiteral("Codes des drapeaux."),
                                    QStringLiteral("CODE..."));
    analyseur.process(application);
    const QStringList arguments = analyseur.positionalArguments();
    if (arguments.size() < 3) {
        std::fputs(qUtf8Printable(analyseur.helpText()), stderr);
        return 2;
    }

    QList<Paire> paires;
    for (const QString &code : arguments.mid(2)) {
        const QString fichier = code + QStringLiteral(".png");
        Paire paire{code, QImage(QDir(arguments[0]).filePath(fichier)),
                    QImage(QDir(arguments[1]).filePath(fichier))};
        if (paire.rendu.isNull()) {
            std::fprintf(stderr, "%s : rendu illisible\n", qUtf8Printable(fichier));
            return 1;
        }
        const QString ecart =
            paire.reference.isNull()
                ? QStringLiteral("-")
                : QString::number(
                    EmpreinteDrapeau(ConstructeurBase::composerDessin(paire.rendu))
                        .ecart(EmpreinteDrapeau(ConstructeurBase::composerDessin(paire.reference))),
                    'f', 2);
        const auto [bord, frange] = mesurerFrange(paire.rendu);
        std::printf("%s\t%s\t%s\t%.2f\n", qUtf8Printable(code), qUtf8Printable(ecart), bord,
                    double(frange));
        paires.append(std::move(paire));
    }
    if (analyseur.isSet(planche) && !dessinerPlanche(paires, analyseur.value(planche))) {
        std::fprintf(stderr, "%s : écriture impossible\n",
                     qUtf8Printable(analyseur.value(planche)));
        return 1;
    }
    return 0;
}
