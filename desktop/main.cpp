// Renders the window icon, an SVG, at the PNG sizes of the desktop's icon theme:
// <sortie>/<N>x<N>/apps/<nom>.png for each size N given.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // A build step has no screen; painting into an image needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral("Rend l’icône SVG en PNG aux tailles données."));
    analyseur.addHelpOption();
    const QCommandLineOption svg(QStringLiteral("svg"), QStringLiteral("Icône à rendre."),
                                 QStringLiteral("fichier"));
    const QCommandLineOption nom(QStringLiteral("nom"), QStringLiteral("Nom des PNG, sans extension."),
                                 QStringLiteral("nom"));
    const QCommandLineOption sortie(QStringLiteral("sortie"),
                                    QStringLiteral("Dossier du thème d’icônes à remplir."),
                                    QStringLiteral("dossier"));
    analyseur.addOptions({svg, nom, sortie});
    analyseur.addPositionalArgument(QStringLiteral("tailles"), QStringLiteral("Côtés en pixels."));
    analyseur.process(application);
    if (!analyseur.isSet(svg) || !analyseur.isSet(nom) || !analyseur.isSet(sortie)
        || analyseur.positionalArguments().isEmpty()) {
        std::fputs(qUtf8Printable(analyseur.helpText()), stderr);
        return 2;
    }

    QSvgRenderer rendu(analyseur.value(svg));
    if (!rendu.isValid()) {
        std::fprintf(stderr, "RendreIcone: %s n’est pas un SVG lisible\n",
                     qUtf8Printable(analyseur.value(svg)));
        return 1;
    }
    for (const QString &texte : analyseur.positionalArguments()) {
        bool entier = false;
        const int taille = texte.toInt(&entier);
        if (!entier || taille <= 0) {
            std::fprintf(stderr, "RendreIcone: taille invalide « %s »\n", qUtf8Printable(texte));
            return 2;
        }
        QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter peintre(&image);
            peintre.setRenderHint(QPainter::Antialiasing);
            peintre.setRenderHint(QPainter::SmoothPixmapTransform);
            rendu.render(&peintre);
        }
        const QDir dossier(QDir(analyseur.value(sortie))
                               .filePath(QStringLiteral("%1x%1/apps").arg(taille)));
        QImageWriter png(dossier.filePath(analyseur.value(nom) + QStringLiteral(".png")), "png");
        // For PNG the quality is the inverse of zlib's level: 0 packs the file tightest.
        png.setQuality(0);
        if (!QDir().mkpath(dossier.path()) || !png.write(image)) {
            std::fprintf(stderr, "RendreIcone: %s : %s\n", qUtf8Printable(png.fileName()),
                         qUtf8Printable(png.errorString()));
            return 1;
        }
    }
    return 0;
}
